#pragma once
// The help: HTML pages in the folder "hilfe" beside the program, shown in
// the user's browser at an anchor; F1 finds the page of the focused control.
// The buttons of the help tab: index, questionnaire, web site, feedback mail.
#include <optional>
#include <string>
#include <string_view>

#include "app/options/Kontext.h"
#include "generator/Seitenanzeige.h"
#include "platform/Browser.h"

namespace mosaik {

// Virtual-key code of F1 as the key handlers receive it.
inline constexpr int kTasteF1 = 112;

// A page of the help folder and the anchor on it (empty: the page's top).
struct HilfeVerweis {
  std::string_view seite;
  std::string_view anker;
  // "seite#anker", or the page alone when it has no anchor.
  std::string text() const;
};

// The page that explains the option group of a control; nullopt for a
// control that no page explains (labels, pages, the read-me memo...).
std::optional<HilfeVerweis> hilfeVerweis(Opt o);

// Program folder + "hilfe/", with a trailing '/'.
std::string hilfeOrdner(const Kontext& k);

// Shows a page of the help folder (reference "seite" or "seite#anker"); a
// missing page gives a warning and starts no browser.
void hilfe(Kontext& k, const std::string& verweis);

// The main window's key handler: F1 opens the help of the focused control
// (nothing happens for a control without one). True when the key was F1.
bool FormKeyDown(Kontext& k, std::optional<Opt> fokus, int taste);

void BHilfeClick(Kontext& k);
void BFragebogenClick(Kontext& k);
// The maker's web site and a feedback mail, handed to the user's programs.
void BHomepageClick(Kontext& k);
void BMailClick(Kontext& k);
// The mail link of BMailClick, with its subject.
std::string rueckmeldungsLink();

}  // namespace mosaik

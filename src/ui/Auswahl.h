#pragma once
// Choosing folders and files for the options: the four folders of a run
// through the folder dialog, and single files (graphics, style sheet,
// favicon, link target) through the open dialog, started in the HTML
// folder and stored relative to it.
#include <functional>
#include <optional>
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// One kind of file choice: the open dialog's title, default extension and
// filter, and where the name last chosen with it is kept.
struct Dateiwahl {
  const char* titel;
  const char* erweiterung;
  const char* filter;
  std::string AppState::*letzterName;
};
// Background, link-back and navigation graphics share their last name.
extern const Dateiwahl kGrafikWahl;
extern const Dateiwahl kStylesheetWahl;
extern const Dateiwahl kFaviconWahl;
extern const Dateiwahl kVerlinkteDateiWahl;

// The HTML folder the file choices start in and are relative to: the
// chosen one, else the standard one.
std::string DateiwahlOrdner(const Kontext& k);

// Shows the open dialog. nullopt when cancelled; "" when the chosen file
// does not exist; else its path relative to the HTML folder (with "../"
// steps for a file outside it), and the name is remembered.
std::optional<std::string> DateiWaehlen(Kontext& k, const Dateiwahl& w);

// The folder dialog of the folder pickers, started at `start`; the chosen
// folder, nullopt when cancelled or when the item chosen has no folder.
std::optional<std::string> OrdnerWaehlen(Kontext& k, const std::string& start);

// A path shortened to a width: the middle folders give way to "..." until
// it fits, the root and the last part stay as long as possible. `breite`
// measures a text in the unit of `maxBreite`.
std::string pfadKuerzen(const std::string& pfad, int maxBreite, const std::function<int(const std::string&)>& breite);

// --- The main window's folder and file pickers ---------------------------------

class THauptForm;

// The picture folder: chosen, shown, and the other displays refreshed.
void BitBBilderPfadWahlClick(THauptForm& h);
// A new picture folder: the last result no longer matches, the folder
// becomes the current one, and the HTML display and the renaming rule
// follow.
void EdBilderPfadChange(THauptForm& h);
void BitBHTMLSpeicherortWaehlenClick(THauptForm& h);
void BitBHTMLOrdnerLoeschenClick(THauptForm& h);
void BitBgrosseBilderSpeicherortWaehlenClick(THauptForm& h);
void BitBgrosseBilderOrdnerLoeschenClick(THauptForm& h);
void BitBVorschaubilderSpeicherortWaehlenClick(THauptForm& h);
void BitBVorschaubilderordnerLoeschenClick(THauptForm& h);

// Runs the picker an event of a main-window control stands for (the choose
// and standard buttons, the five file buttons, a click on the picture or
// HTML folder display, a change of the picture folder); false for others.
bool auswahlEreignis(THauptForm& h, Opt o, Ev e);

}  // namespace mosaik

#include "ui/Auswahl.h"

#include <vector>

#include "generator/Generierung.h"
#include "generator/Namen.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"
#include "ui/HauptForm.h"
#include "winsupport/FolderDialog.h"

namespace mosaik {
namespace {

using O = Opt;

constexpr const char* kWebBilderFilter =
    "Web-Bilder (*.gif; *.jpg; *.png)|*.gif; *.jpg; *.jpeg; *.png|Alle Dateien (*.*)|*.*";

// The file's path goes into the field, whose exit check then repairs it
// like a typed one (an empty result unticks the option).
void dateiverweisWaehlen(Kontext& k, Opt feld, const Dateiwahl& w) {
  const std::optional<std::string> r = DateiWaehlen(k, w);
  if (!r) return;
  k.m.setText(feld, *r);
  k.m.run(feld, Ev::Exit);
}

void pfadanzeigenAktualisieren(THauptForm& h) {
  h.EdHTMLPfadAnpassen();
  h.EdgrosseBilderPfadnameAnpassen();
  h.EdVorschauPfadnameAnpassen();
}

// The large-image and thumbnail folders: a chosen folder that cannot be
// written or that is the picture folder is reported and kept, so the user
// can choose again; one equal to its standard folder is stored as the
// standard.
void bildordnerWaehlen(Kontext& k, std::string AppState::*ordner, std::string (*standard)(const Kontext&),
                       const char* warnung) {
  std::string& pfad = k.st.*ordner;
  if (auto gewaehlt = OrdnerWaehlen(k, pfad.empty() ? standard(k) : pfad)) {
    pfad = *gewaehlt;
    if (!OrdnerBeschreibbar(fs::withTrailingSlash(pfad)))
      k.fehler("In den Ordner " + pfad + " kann nicht geschrieben werden!\r\n"
               "Bitte wählen Sie ein anderes Verzeichnis für die HTML-Datei(en) aus!");
  }
  if (!pfad.empty() && gleicherOrdner(pfad, k.st.BilderOrdnerPfad)) k.meldung(MsgKind::Warning, warnung);
  if (gleicherOrdner(pfad, standard(k))) pfad.clear();
}

}  // namespace

const Dateiwahl kGrafikWahl{"Grafikdatei wählen", ".png", kWebBilderFilter, &AppState::LetzteGrafikdatei};
const Dateiwahl kStylesheetWahl{"StyleSheet-Datei wählen", ".css",
                                "StyleSheet-Dateien (*.css)|*.css|Alle Dateien (*.*)|*.*",
                                &AppState::LetzteCSSLadedatei};
const Dateiwahl kFaviconWahl{"Favicon wählen", ".ico", "Icon-Dateien (*.ico)|*.ico|Alle Dateien (*.*)|*.*",
                             &AppState::LetzteFavicondatei};
const Dateiwahl kVerlinkteDateiWahl{
    "Html/Php-Datei wählen", ".htm",
    "Html/Php-Dateien (*.htm; *.html; *.xhtml; *.php)|*.htm; *.html; *.xhtml; *.php|Alle Dateien (*.*)|*.*",
    &AppState::LetzteLinkZurueckDatei};

std::string DateiwahlOrdner(const Kontext& k) {
  return k.st.HTMLOrdnerPfad.empty() ? standardOrdnerHTML(k) : k.st.HTMLOrdnerPfad;
}

std::optional<std::string> DateiWaehlen(Kontext& k, const Dateiwahl& w) {
  const std::string ordner = DateiwahlOrdner(k);
  FileDialogOptions o;
  o.title = w.titel;
  o.defaultExt = w.erweiterung;
  o.filter = w.filter;
  o.fileName = k.st.*w.letzterName;
  o.folder = ordner;
  const std::optional<std::string> datei = k.sv.dialogs->openFileName(o);
  if (!datei) return std::nullopt;
  if (!fs::fileExists(*datei)) return std::string();
  k.st.*w.letzterName = DateinamenTeil(*datei);
  return RelativerPfad(ordner, *datei);
}

std::optional<std::string> OrdnerWaehlen(Kontext& k, const std::string& start) {
  TFolderDialog dialog(*k.sv.dialogs);
  dialog.Flags = {TBrowseInfoFlag::ShowPath, TBrowseInfoFlag::ShowShared};
  dialog.Folder = start;
  // An item that is no folder on disk (empty Folder) would leave the
  // program without a folder: it counts as no choice.
  if (!dialog.Execute() || dialog.Folder.empty()) return std::nullopt;
  return dialog.Folder;
}

std::string pfadKuerzen(const std::string& pfad, int maxBreite, const std::function<int(const std::string&)>& breite) {
  auto passt = [&](const std::string& t) { return breite(t) <= maxBreite; };
  if (passt(pfad)) return pfad;
  const std::string wurzel = !pfad.empty() && pfad.front() == '/' ? "/" : "";
  std::string rest = pfad.substr(wurzel.size());
  const std::string schluss = !rest.empty() && rest.back() == '/' ? "/" : "";
  if (!schluss.empty()) rest.pop_back();
  std::vector<std::string> teile;
  for (size_t anfang = 0;;) {
    const size_t ende = rest.find('/', anfang);
    teile.push_back(rest.substr(anfang, ende - anfang));
    if (ende == std::string::npos) break;
    anfang = ende + 1;
  }
  // The leading folders give way one by one.
  for (size_t weg = 1; weg < teile.size(); ++weg) {
    std::string kandidat = wurzel + "...";
    for (size_t i = weg; i < teile.size(); ++i) kandidat += "/" + teile[i];
    kandidat += schluss;
    if (passt(kandidat)) return kandidat;
  }
  const std::string letzter = teile.back() + schluss;
  if (passt(".../" + letzter)) return ".../" + letzter;
  if (passt(letzter)) return letzter;
  std::u32string z = toCodePoints(letzter);
  while (!z.empty()) {
    z.pop_back();
    std::string kandidat = fromCodePoints(z) + "...";
    if (passt(kandidat)) return kandidat;
  }
  return "...";
}

// --- Handlers of the main window ---------------------------------------------

void BitBBilderPfadWahlClick(THauptForm& h) {
  Kontext& k = h.kontext();
  if (auto gewaehlt = OrdnerWaehlen(k, k.st.BilderOrdnerPfad)) {
    k.st.BilderOrdnerPfad = *gewaehlt;
    k.m.setText(O::EdBilderPfad, *gewaehlt);
  }
  pfadanzeigenAktualisieren(h);
}

// The result of the last run no longer matches a new picture folder.
void EdBilderPfadChange(THauptForm& h) {
  Kontext& k = h.kontext();
  k.m.setEnabled(O::BitBErgebnisAnsehen, false);
  if (!k.st.BilderOrdnerPfad.empty()) fs::setCurrentFolder(k.st.BilderOrdnerPfad);
  h.EdHTMLPfadAnpassen();
  h.EdgrosseBilderPfadnameChange();
}

void BitBHTMLSpeicherortWaehlenClick(THauptForm& h) {
  Kontext& k = h.kontext();
  if (auto gewaehlt = OrdnerWaehlen(k, DateiwahlOrdner(k))) k.st.HTMLOrdnerPfad = *gewaehlt;
  // The standard folder chosen by hand stays the standard: it moves with
  // the picture folder.
  if (gleicherOrdner(k.st.HTMLOrdnerPfad, standardOrdnerHTML(k))) k.st.HTMLOrdnerPfad.clear();
  pfadanzeigenAktualisieren(h);
}

void BitBHTMLOrdnerLoeschenClick(THauptForm& h) {
  h.kontext().st.HTMLOrdnerPfad.clear();
  pfadanzeigenAktualisieren(h);
}

void BitBgrosseBilderSpeicherortWaehlenClick(THauptForm& h) {
  bildordnerWaehlen(h.kontext(), &AppState::GrosseBilderpfad, standardOrdnerGrosseBilder,
                    "Der Pfad zu den großen Bildern darf nicht gleich \r\ndem Originalbilderpfad sein!");
  h.EdgrosseBilderPfadnameAnpassen();
}

void BitBgrosseBilderOrdnerLoeschenClick(THauptForm& h) {
  h.kontext().st.GrosseBilderpfad.clear();
  h.EdgrosseBilderPfadnameAnpassen();
}

void BitBVorschaubilderSpeicherortWaehlenClick(THauptForm& h) {
  bildordnerWaehlen(h.kontext(), &AppState::Vorschaubilderpfad, standardOrdnerVorschaubilder,
                    "Der Pfad zu den Vorschaubildern darf nicht gleich \r\ndem Originalbilderpfad sein!");
  h.EdVorschauPfadnameAnpassen();
}

void BitBVorschaubilderordnerLoeschenClick(THauptForm& h) {
  h.kontext().st.Vorschaubilderpfad.clear();
  h.EdVorschauPfadnameAnpassen();
}

bool auswahlEreignis(THauptForm& h, Opt o, Ev e) {
  Kontext& k = h.kontext();
  if (e == Ev::Change && o == O::EdBilderPfad) {
    EdBilderPfadChange(h);
    return true;
  }
  if (e != Ev::Click) return false;
  switch (o) {
    // The two displays open their chooser when clicked, and from their
    // context menu ("Pfad ändern").
    case O::BitBBilderPfadWahl:
    case O::EdBilderPfad: BitBBilderPfadWahlClick(h); return true;
    case O::BitBHTMLSpeicherortWaehlen:
    case O::EdHTMLPfadname: BitBHTMLSpeicherortWaehlenClick(h); return true;
    case O::BitBHTMLOrdnerLoeschen: BitBHTMLOrdnerLoeschenClick(h); return true;
    case O::BitBgrosseBilderSpeicherortWaehlen: BitBgrosseBilderSpeicherortWaehlenClick(h); return true;
    case O::BitBgrosseBilderOrdnerLoeschen: BitBgrosseBilderOrdnerLoeschenClick(h); return true;
    case O::BitBVorschaubilderSpeicherortWaehlen: BitBVorschaubilderSpeicherortWaehlenClick(h); return true;
    case O::BitBVorschaubilderordnerLoeschen: BitBVorschaubilderordnerLoeschenClick(h); return true;
    case O::BitBWaehlerHintergrundgrafik: dateiverweisWaehlen(k, O::EdHintergrundgrafik, kGrafikWahl); return true;
    case O::BitBCSSDatei: dateiverweisWaehlen(k, O::EdAndereCSSDatei, kStylesheetWahl); return true;
    case O::BitBFavicon: dateiverweisWaehlen(k, O::EdFavicon, kFaviconWahl); return true;
    case O::BitBLinkZurueckGrafik: dateiverweisWaehlen(k, O::EdLinkZurueckGrafik, kGrafikWahl); return true;
    case O::BitBLinkZuruekVerlinkteDatei:
      dateiverweisWaehlen(k, O::EdLinkZuruekVerlinkteDatei, kVerlinkteDateiWahl);
      return true;
    default: return false;
  }
}

}  // namespace mosaik

// Own header, page end and edited style sheet; the output texts' defaults.
#include "ui/Kopfzeilen.h"

#include <sys/stat.h>

#include <cerrno>

#include "generator/Entities.h"
#include "generator/Namen.h"
#include "generator/Seitenrahmen.h"
#include "generator/StyleSheet.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"
#include "ui/HauptForm.h"

namespace mosaik {

const Memodatei kKopfdatei{Opt::MNeuerHeader, "Header in Textdatei speichern", "Header aus Textdatei laden",
                           kKopfFilter, &AppState::LetzteKopfdatei};
const Memodatei kFussdatei{Opt::MNeuerDateiabschluss, "Footer in Textdatei speichern", "Footer aus Textdatei laden",
                           kKopfFilter, &AppState::LetzteFussdatei};
const Memodatei kCSSDatei{Opt::MangepassteCSSDatei, "Textdatei speichern", "Textdatei wählen", kCSSFilter,
                          &AppState::LetzteCSSDatei};

const std::array<Ausgabetext, 13> kAusgabetexte{{
    {Opt::EdStartordnerName, "Startordner"},
    {Opt::EdDieserOrdner, "Dieser Ordner"},
    {Opt::EdUnterordnerSing, "Unterordner"},
    {Opt::EdUnterordnerPl, "Unterordner"},
    {Opt::EdBildSing, "Bild"},
    {Opt::EdBilderPl, "Bilder"},
    {Opt::EdKeineBilddateien, "Keine Bilder in diesem Ordner vorhanden. Bitte wählen Sie einen Unterordner!"},
    {Opt::EdBilderCopyright, "Bilder-Copyright: [AUTOR]"},
    {Opt::EdNachOben, "nach oben"},
    {Opt::EdVideodatei, "Videodatei"},
    {Opt::EdAudiodatei, "Audiodatei"},
    {Opt::EdTextdatei, "Textdatei"},
    {Opt::EdErstelltMit, "Erstellt mit"},
}};

namespace {

std::string ordnerVon(const std::string& datei) {
  const size_t s = datei.rfind('/');
  return s == std::string::npos ? fs::currentFolder() : datei.substr(0, s + 1);
}

FileDialogOptions dialog(const Kontext& k, const Memodatei& d, const char* titel) {
  FileDialogOptions o;
  o.title = titel;
  o.filter = d.filter;
  o.defaultExt = ".txt";
  o.folder = k.st.EinstellungsDialogOrdner;
  o.fileName = k.st.*d.letzterName;
  return o;
}

}  // namespace

void MemoSpeichern(Kontext& k, const Memodatei& d) {
  const FileDialogOptions o = dialog(k, d, d.speichernTitel);
  const auto gewaehlt = k.sv.dialogs->saveFileName(o);
  if (!gewaehlt || gewaehlt->empty()) return;
  std::string datei = *gewaehlt;
  if (Erweiterung(DateinamenTeil(datei)).empty()) datei += o.defaultExt;
  const std::string ordner = ordnerVon(datei);
  // Reached once: the question and the write concern the same place. A
  // link there is replaced, not written through.
  std::string warum;
  const fs::Place at = fs::resolve(datei, false, &warum);
  const int fehler = errno;
  struct stat st {};
  const bool schreiben =
      !(at && at.status(st) && (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) ||
      k.meldung(MsgKind::Warning, "Soll die bestehende Datei überschrieben werden?", MsgButtons::YesNo) ==
          MsgResult::Yes;
  // A file that cannot be written is said so with the reason: silence would
  // let the user believe the text were kept, and a full disk is mended
  // otherwise than missing rights (another user's link on the way names
  // itself).
  if (!at) warum = fs::writeFailureText(datei, fehler) + (fehler == EACCES ? " " + warum : "");
  if (schreiben && !(at && fs::writeFileAtomic(at, datei, textdateiAusMemo(k.m.text(d.memo)), true, &warum)))
    k.fehler("Die Datei " + datei + "\r\nkann nicht gespeichert werden!\r\n" + warum);
  k.st.EinstellungsDialogOrdner = ordner;
  k.st.*d.letzterName = DateinamenTeil(datei);
}

void MemoLaden(Kontext& k, const Memodatei& d) {
  const auto gewaehlt = k.sv.dialogs->openFileName(dialog(k, d, d.ladenTitel));
  if (!gewaehlt || gewaehlt->empty()) return;
  const std::string& datei = *gewaehlt;
  // Reached once, a link followed as every read follows it; another
  // user's link is no missing file but a refusal with its reason.
  std::string grund;
  const fs::Place at = fs::resolve(datei, true, &grund);
  const bool verweigert = !at && errno == EACCES;
  struct stat st {};
  if (!verweigert && !(at && at.status(st) && S_ISREG(st.st_mode))) {
    k.fehler("Die Datei " + datei + "\r\nexistiert nicht!");
    return;
  }
  const auto bytes = at ? fs::readTextFile(at, &grund) : std::nullopt;
  const auto text = bytes ? memoAusTextdatei(*bytes) : std::nullopt;
  if (!text) {
    k.fehler("Die Datei " + datei + "\r\nkann nicht gelesen werden!\r\n" + (bytes ? notUnicodeThroughout(*bytes) : grund));
    return;
  }
  k.m.setText(d.memo, *text);
  k.st.*d.letzterName = DateinamenTeil(datei);
  k.st.EinstellungsDialogOrdner = ordnerVon(datei);
}

// --- Handlers of the main window -------------------------------------------

void THauptForm::BHeaderEinstellungenUebernehmenClick() {
  k_.m.setText(Opt::MNeuerHeader, HTMLKopfVorlage(k_));
  k_.m.setText(Opt::MNeuerDateiabschluss, HTMLEnde());
}

void THauptForm::BCSSEinstellungenUebernehmenClick() { k_.m.setText(Opt::MangepassteCSSDatei, StyleSheetErzeugen(k_)); }

// Both dialogs come, the second also when the first was cancelled.
void THauptForm::BHeaderUndFooterSpeichernClick() {
  MemoSpeichern(k_, kKopfdatei);
  MemoSpeichern(k_, kFussdatei);
}

void THauptForm::BHeaderUndFooterLadenClick() {
  MemoLaden(k_, kKopfdatei);
  MemoLaden(k_, kFussdatei);
}

void THauptForm::BgeaenderteCSSSpeichernClick() { MemoSpeichern(k_, kCSSDatei); }
void THauptForm::BgeaenderteCSSLadenClick() { MemoLaden(k_, kCSSDatei); }

void THauptForm::BStandardClick() {
  for (const Ausgabetext& a : kAusgabetexte) k_.m.setText(a.feld, a.standard);
}

// The caption templates are edited only in the caption editor.
void THauptForm::MBeschreibungEnter() { weiterreichen(Opt::MBeschreibung, Opt::BExifDaten); }
void THauptForm::MBeschreibungGrossEnter() { weiterreichen(Opt::MBeschreibungGross, Opt::BGrossExifDaten); }

}  // namespace mosaik

#include <string>

#include "generator/Namen.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"
#include "ui/Feldfilter.h"
#include "ui/HauptForm.h"
#include "ui/Kopfzeilen.h"

// Key filters and the checks that run when a free-text field is left.
namespace mosaik {

using O = Opt;

// --- Key filters ----------------------------------------------------------------

// Ctrl+C, Ctrl+V and Ctrl+X let the next filtered key press pass, which is
// the control character of the shortcut itself.
void THauptForm::EdHintergrundgrafikKeyDown(Opt feld, int taste, bool strg) {
  if (!hatKopierausnahme(feld)) return;
  if (strg && (taste == 'C' || taste == 'V' || taste == 'X')) k_.st.TastenfilterAussetzen = true;
}

char32_t THauptForm::KeyPress(Opt feld, char32_t zeichen) {
  if (feldfilter(feld) == Feldfilter::Keiner) return zeichen;
  const char trenner = k_.m.decimalSeparator();
  zeichen = tasteErsetzen(feld, zeichen, trenner);
  if (hatKopierausnahme(feld)) {
    const bool aussetzen = k_.st.TastenfilterAussetzen;
    k_.st.TastenfilterAussetzen = false;
    if (aussetzen) return zeichen;
  }
  return tasteErlaubt(feld, zeichen, trenner) ? zeichen : 0;
}

// Pasted text passes the filter character by character, as if typed; line
// breaks and other control characters never reach a one-line field.
std::string THauptForm::einfuegen(Opt feld, const std::string& text) {
  const Feldfilter f = feldfilter(feld);
  if (f == Feldfilter::Keiner) return text;
  const char trenner = k_.m.decimalSeparator();
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t c = nextCodePoint(text, pos);
    c = tasteErsetzen(feld, c, trenner);
    if (c >= 32 && tasteErlaubt(feld, c, trenner)) appendUtf8(out, c);
  }
  return out;
}

// --- Start-page name -----------------------------------------------------------

void THauptForm::EdNameHTMLExit() {
  OptionModel& m = k_.m;
  // A name from a settings file has not passed the key filter: its
  // separators count as typed ones do, so that a Windows path of an older
  // file ("C:\Daten\web\xyz") leaves its last part, whose folder names
  // nothing here.
  std::string name;
  const std::string text = m.text(O::EdNameHTML);
  for (size_t pos = 0; pos < text.size();)
    appendUtf8(name, tasteErsetzen(O::EdNameHTML, nextCodePoint(text, pos), m.decimalSeparator()));
  // A typed path names the HTML folder too, when that folder exists.
  const size_t trenner = name.rfind('/');
  if (trenner != std::string::npos) {
    std::string ordner = name.substr(0, trenner + 1);
    name.erase(0, trenner + 1);
    if (ordner.front() != '/') ordner = fs::currentFolder() + ordner;
    if (fs::folderExists(ordner)) k_.st.HTMLOrdnerPfad = OrdnerNormalisieren(ordner);
  }
  pfadanzeigenAktualisieren();
  name = startseitenNameBereinigt(name);
  m.setText(O::EdNameHTML, name);
  const size_t punkt = name.rfind('.');
  const std::string endung = name.substr(punkt);
  m.setText(O::LHTMLName, name.substr(0, punkt));
  m.setText(O::LHTMLEndung, endung);
  m.setText(O::CBGrundnameistIndex, "Startseite heißt &index" + endung);
}

// The result of the last run no longer matches.
void THauptForm::EdNameHTMLChange() {
  k_.m.setEnabled(O::BitBErgebnisAnsehen, false);
  EdHTMLPfadAnpassen();
}

// --- Name affixes, paths and file references -------------------------------------

void THauptForm::EdErweiterungVorschaubilderExit() {
  k_.m.setText(O::EdErweiterungVorschaubilder, zeichenBehalten(k_.m.text(O::EdErweiterungVorschaubilder), imNamenssatz));
}

void THauptForm::EdErweiterungGrosseBilderExit() {
  k_.m.setText(O::EdErweiterungGrosseBilder, zeichenBehalten(k_.m.text(O::EdErweiterungGrosseBilder), imNamenssatz));
}

void THauptForm::ersatzpfadPruefen(Opt feld) { k_.m.setText(feld, ersatzpfadBereinigt(k_.m.text(feld))); }

void THauptForm::EdPfadErsetzungExit() { ersatzpfadPruefen(O::EdPfadErsetzung); }
void THauptForm::EdVorschaulinksErsetzenExit() { ersatzpfadPruefen(O::EdVorschaulinksErsetzen); }
void THauptForm::EdOriginalePfadErsetzungExit() { ersatzpfadPruefen(O::EdOriginalePfadErsetzung); }

// File references keep their letter case: on a case-sensitive file system
// or web server a lower-cased name would point at a file that is not there.
void THauptForm::dateiverweisPruefen(Opt feld) {
  OptionModel& m = k_.m;
  const std::string text = alsUrlPfad(m.text(feld));
  m.setText(feld, text);
  if (!text.empty()) return;
  switch (feld) {
    case O::EdHintergrundgrafik:
      m.setChecked(O::CBHintergrundgrafik, false);
      break;
    case O::EdAndereCSSDatei:
      k_.st.CSSKlickAktiv = false;
      m.setChecked(O::CBAndereCSSDatei, false);
      k_.st.CSSKlickAktiv = true;
      break;
    case O::EdFavicon:
      m.setChecked(O::CBFavicon, false);
      break;
    case O::EdLinkZurueckGrafik:
      m.setChecked(O::CBLinkZureckGrafikLink, false);
      fokus(O::CBLinkZurueckTextlink);
      break;
    case O::EdLinkZuruekVerlinkteDatei:
      m.setText(O::EdLinkZuruekVerlinkteDatei, "../index.htm");
      break;
    default:
      break;
  }
}

void THauptForm::EdHintergrundgrafikExit() { dateiverweisPruefen(O::EdHintergrundgrafik); }
void THauptForm::EdAndereCSSDateiExit() { dateiverweisPruefen(O::EdAndereCSSDatei); }
void THauptForm::EdFaviconExit() { dateiverweisPruefen(O::EdFavicon); }
void THauptForm::EdLinkZurueckGrafikExit() { dateiverweisPruefen(O::EdLinkZurueckGrafik); }
void THauptForm::EdLinkZuruekVerlinkteDateiExit() { dateiverweisPruefen(O::EdLinkZuruekVerlinkteDatei); }

void THauptForm::EdLinkZurueckTextExit() {
  if (!k_.m.text(O::EdLinkZurueckText).empty()) return;
  k_.m.setChecked(O::CBLinkZurueckTextlink, false);
  fokus(O::CBLinkZureckGrafikLink);
}

void THauptForm::EdAndereZeichenExit() {
  k_.m.setText(O::EdAndereZeichen, andereZeichenBereinigt(k_.m.text(O::EdAndereZeichen)));
}

// --- Separators of generated file names ---------------------------------------

void THauptForm::trennzeichenPruefen(Opt feld, const char* ersatz, bool leerErsetzen) {
  if (trennzeichenUngueltig(k_.m.text(feld), leerErsetzen)) k_.m.setText(feld, ersatz);
}

void THauptForm::EdKlammerAufExit() { trennzeichenPruefen(O::EdKlammerAuf, "(", true); }
void THauptForm::EdBindestrichExit() { trennzeichenPruefen(O::EdBindestrich, "-", true); }
void THauptForm::EdKlammerZuExit() { trennzeichenPruefen(O::EdKlammerZu, ")", false); }
void THauptForm::EdVerbindungszeichenExit() { trennzeichenPruefen(O::EdVerbindungszeichen, "-", false); }

// --- JPEG quality: edit and track bar in step ----------------------------------------

void THauptForm::qualitaetPruefen(Opt feld, Opt regler, int standard) {
  OptionModel& m = k_.m;
  const int wert = qualitaetAusText(m.text(feld), static_cast<int>(m.minValue(regler)),
                                    static_cast<int>(m.maxValue(regler)), standard);
  m.setText(feld, std::to_string(wert));
  m.setPosition(regler, wert);
}

void THauptForm::qualitaetEingetippt(Opt feld, Opt regler) {
  int64_t wert = 0;
  if (ganzeZahl(k_.m.text(feld), wert) && wert >= INT32_MIN && wert <= INT32_MAX)
    k_.m.setPosition(regler, static_cast<int>(wert));
}

void THauptForm::EdKomprimierungExit() { qualitaetPruefen(O::EdKomprimierung, O::TrBKomprimierung, 25); }
void THauptForm::EdKomprimierungGrosseBilderExit() {
  qualitaetPruefen(O::EdKomprimierungGrosseBilder, O::TrBKomprimierungGrosseBilder, 15);
}
void THauptForm::EdKomprimierungChange() { qualitaetEingetippt(O::EdKomprimierung, O::TrBKomprimierung); }
void THauptForm::EdKomprimierungGrosseBilderChange() {
  qualitaetEingetippt(O::EdKomprimierungGrosseBilder, O::TrBKomprimierungGrosseBilder);
}
void THauptForm::TrBKomprimierungChange() {
  k_.m.setText(O::EdKomprimierung, std::to_string(k_.m.position(O::TrBKomprimierung)));
}
void THauptForm::TrBKomprimierungGrosseBilderChange() {
  k_.m.setText(O::EdKomprimierungGrosseBilder, std::to_string(k_.m.position(O::TrBKomprimierungGrosseBilder)));
}

// --- Panorama ratio: two decimal places, ties to even ---------------------------

void THauptForm::RSpEdVerhaeltnisExit() {
  OptionModel& m = k_.m;
  const int64_t einheiten = m.decimal(O::RSpEdVerhaeltnis).units();
  int64_t hundertstel = einheiten / 100;
  int64_t rest = einheiten % 100;
  if (rest < 0) {
    rest += 100;
    --hundertstel;
  }
  if (rest > 50 || (rest == 50 && (hundertstel % 2 != 0))) ++hundertstel;
  m.setDecimal(O::RSpEdVerhaeltnis, Decimal4::fromUnits(hundertstel * 100));
}

// --- Texts that must not stay empty ----------------------------------------------

void THauptForm::ausgabetextPruefen(Opt feld, const char* standard) {
  if (k_.m.text(feld).empty()) k_.m.setText(feld, standard);
}

// One of the output texts of the texts tab: its default comes from their table.
void THauptForm::ausgabetextPruefen(Opt feld) {
  for (const Ausgabetext& a : kAusgabetexte)
    if (a.feld == feld) ausgabetextPruefen(feld, a.standard);
}

void THauptForm::EdSeitentitelExit() { ausgabetextPruefen(O::EdSeitentitel, "Mosaikschauer"); }
void THauptForm::EdStartordnerNameExit() { ausgabetextPruefen(O::EdStartordnerName); }
void THauptForm::EdDieserOrdnerExit() { ausgabetextPruefen(O::EdDieserOrdner); }
void THauptForm::EdUnterordnerSingExit() { ausgabetextPruefen(O::EdUnterordnerSing); }
void THauptForm::EdUnterordnerPlExit() { ausgabetextPruefen(O::EdUnterordnerPl); }
void THauptForm::EdBildSingExit() { ausgabetextPruefen(O::EdBildSing); }
void THauptForm::EdBilderPlExit() { ausgabetextPruefen(O::EdBilderPl); }
void THauptForm::EdKeineBilddateienExit() { ausgabetextPruefen(O::EdKeineBilddateien); }
void THauptForm::EdNachObenExit() { ausgabetextPruefen(O::EdNachOben); }
void THauptForm::EdErstelltMitExit() { ausgabetextPruefen(O::EdErstelltMit); }
void THauptForm::EdAudiodateiExit() { ausgabetextPruefen(O::EdAudiodatei); }
void THauptForm::EdTextdateiExit() { ausgabetextPruefen(O::EdTextdatei); }
void THauptForm::EdVideodateiExit() { ausgabetextPruefen(O::EdVideodatei); }
void THauptForm::EdBilderCopyrightExit() { ausgabetextPruefen(O::EdBilderCopyright); }

}  // namespace mosaik

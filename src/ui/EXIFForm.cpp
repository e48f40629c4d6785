// The caption template editor.
#include "ui/EXIFForm.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "generator/Bildbeschreibung.h"
#include "generator/Durchlauf.h"
#include "generator/Verzeichnis.h"
#include "imaging/JpegCodec.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {

namespace {

constexpr Decimal4 kZehntel = Decimal4::fromUnits(Decimal4::kScale / 10);

// A line break has no place in a template: it becomes the break code.
std::string umbruecheAlsCode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += "\\zu";
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The value a decimal spin edit's text stands for; nothing for a text that
// is no number (then the setting stays as it is).
std::optional<double> spinWert(const TRealSpinEdit& s) {
  if (!Decimal4::parse(s.Text(), s.Dezimaltrenner)) return std::nullopt;
  return s.Value().toDouble();
}

}  // namespace

size_t ZeichenOffset(std::string_view text, int zeichen) {
  size_t pos = 0;
  for (int i = 0; i < zeichen && pos < text.size(); ++i) nextCodePoint(text, pos);
  return pos;
}

int ZeichenAnzahl(std::string_view text) {
  int n = 0;
  for (size_t pos = 0; pos < text.size(); ++n) nextCodePoint(text, pos);
  return n;
}

Decimal4 VierStellen(double wert) {
  if (!std::isfinite(wert)) return Decimal4();
  const double einheiten = std::nearbyint(wert * static_cast<double>(Decimal4::kScale));
  if (einheiten >= 9.2e18) return Decimal4::max();
  if (einheiten <= -9.2e18) return Decimal4::min();
  return Decimal4::fromUnits(static_cast<int64_t>(einheiten));
}

std::pair<int, int> EXIFFensterposition(int hauptLinks, int hauptOben, int breite, int bildschirmbreite) {
  int links = hauptLinks + 472;
  if (links + breite > bildschirmbreite) links = bildschirmbreite - breite - 10;
  return {links, hauptOben + 20};
}

const std::vector<TEXIFForm::Etikett>& TEXIFForm::Etiketten() {
  static const std::vector<Etikett> liste{
#define ETIKETT(name, text, aktion, code, gruppe) {#name, text, Aktion::aktion, code, Gruppe::gruppe},
#include "ui/EXIFEtiketten.def"
#undef ETIKETT
  };
  return liste;
}

TEXIFForm::TEXIFForm(Kontext& k) : k_(k) {
  for (TRealSpinEdit* s : {&RSpEdRealBW, &RSpEdAequivalenteBW}) {
    s->Dezimaltrenner = k.sv.locale.decimalSeparator;
    s->MinValue = Decimal4();
    s->Increment = kZehntel;
  }
  RSpEdRealBW.MaxValue = Decimal4::fromInt(100);
  RSpEdAequivalenteBW.MaxValue = Decimal4::fromInt(1000);
  RSpEdRealBW.setText("5");
  RSpEdAequivalenteBW.setText("35");
  RSpEdRealBW.OnChange = [this] { RSpEdRealBWChange(); };
  RSpEdAequivalenteBW.OnChange = [this] { RSpEdAequivalenteBWChange(); };
}

void TEXIFForm::Zeigen(bool uebersicht) {
  BeschreibungUebersicht = uebersicht;
  FormShow();
  Visible = true;
  melden();
  if (modalAnzeigen) modalAnzeigen();
  Visible = false;
  FormHide();
}

void TEXIFForm::FormShow() {
  MBeschreibung = k_.m.text(hauptMemo());
  rueckgaengig_ = MBeschreibung;
  SelStart = ZeichenAnzahl(MBeschreibung);
  SelLength = 0;
  RSpEdRealBW.setValue(VierStellen(k_.st.BWreal));
  RSpEdAequivalenteBW.setValue(VierStellen(k_.st.BWumgerechnet));
  vorschaubildSuchen();
  melden();
}

// However the dialog is closed, the template goes back to the main window;
// a line break that was pasted and never left the memo becomes its code.
void TEXIFForm::FormHide() { k_.m.setText(hauptMemo(), umbruecheAlsCode(MBeschreibung)); }

void TEXIFForm::BSchliessenClick() {
  Visible = false;
  if (schliessen) schliessen();
}

void TEXIFForm::BStandardClick() {
  MBeschreibung = BeschreibungUebersicht ? kStandardUebersicht : kStandardGross;
  SelStart = SelLength = 0;
  melden();
}

void TEXIFForm::BRueckgaengigClick() {
  MBeschreibung = rueckgaengig_;
  SelStart = SelLength = 0;
  melden();
}

void TEXIFForm::RSpEdRealBWChange() {
  if (const auto w = spinWert(RSpEdRealBW)) k_.st.BWreal = *w;
}

void TEXIFForm::RSpEdAequivalenteBWChange() {
  if (const auto w = spinWert(RSpEdAequivalenteBW)) k_.st.BWumgerechnet = *w;
}

void TEXIFForm::BitBKommentareClick() {
  if (kommentareOeffnen) kommentareOeffnen();
}

void TEXIFForm::einfuegen(std::string_view code) {
  const int p = std::clamp(SelStart, 0, ZeichenAnzahl(MBeschreibung));
  MBeschreibung.insert(ZeichenOffset(MBeschreibung, p), code);
  SelStart = p + ZeichenAnzahl(code);
  SelLength = 0;
}

void TEXIFForm::klammern(std::string_view auf, std::string_view zu) {
  const int n = ZeichenAnzahl(MBeschreibung);
  const int p = std::clamp(SelStart, 0, n);
  const int l = std::clamp(SelLength, 0, n - p);
  MBeschreibung.insert(ZeichenOffset(MBeschreibung, p + l), zu);
  MBeschreibung.insert(ZeichenOffset(MBeschreibung, p), auf);
  SelStart = p;
  SelLength = l + ZeichenAnzahl(auf) + ZeichenAnzahl(zu);
}

void TEXIFForm::etikett(const Etikett& e) {
  if (e.aktion == Aktion::Einfuegen)
    einfuegen(e.code);
  else
    klammern(e.code.substr(0, 2), e.code.substr(2));
  melden();
}

#define ETIKETT(name, text, aktion, code, gruppe) \
  void TEXIFForm::name##Click() { EtikettKlick(#name); }
#include "ui/EXIFEtiketten.def"
#undef ETIKETT

bool TEXIFForm::EtikettKlick(std::string_view name) {
  for (const Etikett& e : Etiketten())
    if (e.name == name) {
      etikett(e);
      return true;
    }
  return false;
}

bool TEXIFForm::MBeschreibungKeyPress(char32_t zeichen) {
  if (zeichen != '\r') return true;
  einfuegen("\\zu");
  melden();
  return false;
}

void TEXIFForm::MBeschreibungExit() {
  const std::string neu = umbruecheAlsCode(MBeschreibung);
  if (neu == MBeschreibung) return;
  MBeschreibung = neu;
  SelStart = std::min(SelStart, ZeichenAnzahl(MBeschreibung));
  SelLength = 0;
  melden();
}

void TEXIFForm::MBeschreibungChange(int zeilen) { ScrollBalken = zeilen >= 3; }

// The first picture of the picture folder that can be read, under the
// listing's rules; a picture that cannot be read is passed by without a
// message, since the preview is asked for at every keystroke.
void TEXIFForm::vorschaubildSuchen() {
  vorschauOrdner_ = fs::withTrailingSlash(k_.st.BilderOrdnerPfad);
  vorschauDatei_.clear();
  if (vorschauOrdner_.empty()) return;
  int versuche = 0;
  for (const fs::Entry& e : fs::listFolder(vorschauOrdner_)) {
    if (e.folder || (e.hidden && !k_.m.checked(Opt::CBAttrVersteckt)) || !IstBilddatei(k_, e.name)) continue;
    if (++versuche > 20) break;
    const auto daten = fs::readFile(vorschauOrdner_ + e.name);
    if (!daten) continue;
    try {
      if (imaging::ReadJpegInfo(*daten).Width <= 0) continue;
    } catch (const imaging::JpegError&) {
      continue;
    }
    vorschauDatei_ = e.name;
    vorschauGroesse_ = e.size;
    vorschauDatum_ = e.dosTime;
    return;
  }
}

std::string TEXIFForm::Vorschau() {
  if (vorschauDatei_.empty()) return {};
  return BildbeschreibungErzeugen(k_, umbruecheAlsCode(MBeschreibung), vorschauOrdner_, vorschauDatei_,
                                  vorschauGroesse_, vorschauDatum_);
}

}  // namespace mosaik

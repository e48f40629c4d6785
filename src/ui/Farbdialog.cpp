#include "ui/Farbdialog.h"

#include <algorithm>

#include "generator/Seitenrahmen.h"
#include "platform/Win1252.h"
#include "ui/HauptForm.h"

namespace mosaik {
namespace {

constexpr char32_t kRueckschritt = 8;
constexpr int kCodelaenge = 7;  // "#RRGGBB"

bool hexZiffer(char32_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int laenge(const std::string& s) { return static_cast<int>(toCodePoints(s).size()); }

}  // namespace

void TfarbForm::setFarbquadrat(uint32_t rgb) {
  farbquadrat_ = rgb & 0xFFFFFF;
  melden();
}

void TfarbForm::setSpin(Kanal kanal, int wert) {
  wert = std::clamp(wert, 0, 255);
  if (spin_[kanal] == wert) return;
  spin_[kanal] = wert;
  melden();
  SpEdRotChange();
}

void TfarbForm::codeSetzen(const std::string& text, bool caretBehalten) {
  if (!caretBehalten) selStart_ = selLength_ = 0;
  if (code_ == text) return;
  code_ = text;
  const int n = laenge(code_);
  selStart_ = std::min(selStart_, n);
  selLength_ = std::min(selLength_, n - selStart_);
  melden();
  EdHTMLCodeChange();
}

void TfarbForm::setEdHTMLCode(const std::string& text) { codeSetzen(text, false); }

void TfarbForm::eingabe(const std::string& text, int selStart, int selLength) {
  selStart_ = selStart;
  selLength_ = selLength;
  codeSetzen(text, true);
}

void TfarbForm::setAuswahl(int selStart, int selLength) {
  const int n = laenge(code_);
  selStart_ = std::clamp(selStart, 0, n);
  selLength_ = std::clamp(selLength, 0, n - selStart_);
}

void TfarbForm::FormShow() { gemerkt_ = farbquadrat_; }

// The three values make the colour; the code follows without moving the
// caret of someone typing in it.
void TfarbForm::SpEdRotChange() {
  const uint32_t farbe = static_cast<uint32_t>(spin_[Rot]) << 16 | static_cast<uint32_t>(spin_[Gruen]) << 8 |
                         static_cast<uint32_t>(spin_[Blau]);
  const int start = selStart_, auswahl = selLength_;
  codeSetzen(HTMLFarbe(farbe), true);
  setAuswahl(start, auswahl);
  setFarbquadrat(farbe);
}

void TfarbForm::farbquadratClick() {
  const std::optional<uint32_t> neu = k_.sv.dialogs->chooseColor(farbquadrat_);
  if (!neu) return;
  setFarbquadrat(*neu);
  setSpin(Rot, static_cast<int>(*neu >> 16 & 0xFF));
  setSpin(Gruen, static_cast<int>(*neu >> 8 & 0xFF));
  setSpin(Blau, static_cast<int>(*neu & 0xFF));
}

// Only a complete code counts; what is still being typed changes nothing.
void TfarbForm::EdHTMLCodeChange() {
  const std::u32string t = toCodePoints(code_);
  if (t.size() != kCodelaenge || t[0] != '#' || t.find('#', 1) != std::u32string::npos) return;
  const uint32_t farbe = HTMLFarbe2TColor(code_);
  setFarbquadrat(farbe);
  setSpin(Rot, static_cast<int>(farbe >> 16 & 0xFF));
  setSpin(Gruen, static_cast<int>(farbe >> 8 & 0xFF));
  setSpin(Blau, static_cast<int>(farbe & 0xFF));
}

char32_t TfarbForm::EdHTMLCodeKeyPress(char32_t c) {
  bool& aussetzen = k_.st.TastenfilterAussetzen;
  if (aussetzen) {
    aussetzen = false;
    return c;
  }
  const int n = laenge(code_);
  char32_t r = c;
  if (c != kRueckschritt && c != '#' && !hexZiffer(c)) {
    r = 0;
  } else if (c == '#' && selStart_ != 0) {
    r = 0;
  } else if (c != kRueckschritt && n >= kCodelaenge && selLength_ != n) {
    r = 0;
  }
  aussetzen = false;
  return r;
}

void TfarbForm::EdHTMLCodeKeyDown(int taste, bool strg) {
  if (strg && (taste == 'C' || taste == 'V' || taste == 'X')) k_.st.TastenfilterAussetzen = true;
}

void TfarbForm::EdHTMLCodeExit() {
  std::u32string t = toCodePoints(code_);
  for (size_t i = t.size(); i-- > 0;)
    if ((t[i] != '#' && !hexZiffer(t[i])) || (t[i] == '#' && i != 0)) t.erase(i, 1);
  if (t.empty() || t[0] != '#') t.insert(t.begin(), U'#');
  if (t.size() > kCodelaenge) t.resize(kCodelaenge);
  if (t.size() < kCodelaenge) t.append(kCodelaenge - t.size(), U'0');
  setEdHTMLCode(fromCodePoints(t));
}

void TfarbForm::BAbbruchClick() {
  setFarbquadrat(gemerkt_);
  schliessenMit(Ergebnis::Abbrechen);
}

void TfarbForm::BschliessenClick() { schliessenMit(Ergebnis::OK); }

void TfarbForm::schliessenMit(Ergebnis e) {
  ModalResult = e;
  if (schliessen) schliessen();
}

TfarbForm::Ergebnis TfarbForm::ShowModal() {
  ModalResult = Ergebnis::Keins;
  Visible = true;
  FormShow();
  melden();
  if (modal) modal();
  if (ModalResult == Ergebnis::Keins) {
    setFarbquadrat(gemerkt_);
    ModalResult = Ergebnis::Abbrechen;
  }
  Visible = false;
  melden();
  return ModalResult;
}

void KlickAufFarbCode(Kontext& k, TfarbForm& farb, Opt panel) {
  const uint32_t c = k.m.color(panel);
  farb.setFarbquadrat(c);
  farb.setEdHTMLCode(HTMLFarbe(c));
  farb.setSpin(TfarbForm::Rot, static_cast<int>(c >> 16 & 0xFF));
  farb.setSpin(TfarbForm::Gruen, static_cast<int>(c >> 8 & 0xFF));
  farb.setSpin(TfarbForm::Blau, static_cast<int>(c & 0xFF));
  farb.ShowModal();
  k.m.setColor(panel, farb.farbquadrat());
}

void THauptForm::KlickAufFarbCode(Opt panel) {
  if (farbForm) mosaik::KlickAufFarbCode(k_, *farbForm, panel);
}

bool oeffnetFarbdialog(Opt o, Ev e) {
  switch (o) {
    case Opt::PanelHintergrundFarbe:
    case Opt::PanelTextFarbe:
    case Opt::PanelLinkFarbe:
    case Opt::PanelVLinkFarbe:
    case Opt::PanelALinkFarbe:
    case Opt::PanelLinienFarbe:
    case Opt::PanelHoverLinkFarbe:
      return e == Ev::Click || e == Ev::Enter;
    case Opt::PanelquadratFarbe:
    case Opt::PZentrierungstrickFarbe:
      return e == Ev::Click;
    default:
      return false;
  }
}

}  // namespace mosaik

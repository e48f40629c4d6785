#include "ui/NavigationForm.h"

#include <initializer_list>

#include "generator/Navigationsgrafiken.h"
#include "platform/Win1252.h"
#include "ui/Auswahl.h"
#include "ui/Feldfilter.h"
#include "ui/Regelhilfen.h"

namespace mosaik {
namespace {

using O = Opt;

using regeln::en;
using regeln::zeigen;

// The own graphics of the picture pages "zurück", "Übersicht", "weiter".
constexpr std::initializer_list<Opt> kEigeneGrafikenGross = {
    O::LIndividuellZurueck,      O::EdGrafikGrossZurueck,   O::BitBWaehlenGrafikGrossZurueck,
    O::LUebersicht,              O::EdGrafikGrossUebersicht, O::BitBWaehlenGrafikGrossUebersicht,
    O::LWeiter,                  O::EdGrafikGrossWeiter,    O::BitBWaehlenGrafikGrossWeiter};
// The slideshow graphics after their first label, which they follow.
constexpr std::initializer_list<Opt> kDiashowGrafiken = {O::EdGrafikDiashowEin, O::BitBWaehlenGrafikGrossDiashowEin,
                                                         O::LGrafikDiashowAus, O::EdGrafikDiashowAus,
                                                         O::BitBWaehlenGrafikGrossDiashowAus};

// Controls whose click runs another control's handler.
struct Geteilt {
  Opt control;
  void (TNavigationForm::*handler)();
};
constexpr Geteilt kGeteilt[] = {
    {O::RBNavUebGrafiklinks, &TNavigationForm::RBNavUebTextlinksClick},
    {O::RBUebGrafikStandard, &TNavigationForm::RBNavUebTextlinksClick},
    {O::RBUebGrafikIndividuell, &TNavigationForm::RBNavUebTextlinksClick},
    {O::RBNavGrGrafiklinks, &TNavigationForm::RBNavGrTextlinksClick},
    {O::RBGrossGrafikIndividuell, &TNavigationForm::RBGrossGrafikStandardClick},
};

bool diashowAbschaltbar(const OptionModel& m) { return m.checked(O::CBDiashow) && m.checked(O::CBDiashowAbschaltbar); }

}  // namespace

bool TNavigationForm::ereignis(Opt o, Ev e) {
#define HANDLER(control, event)                  \
  if (o == Opt::control && e == Ev::event) {     \
    control##event();                            \
    return true;                                 \
  }
#include "ui/NavHandler.def"
#undef HANDLER
  if (e == Ev::Click)
    for (const Geteilt& g : kGeteilt)
      if (g.control == o) {
        (this->*g.handler)();
        return true;
      }
  return false;
}

// --- One of "oben" and "unten" stays ticked ------------------------------------

void TNavigationForm::CBNavigationObenClick() {
  if (!k_.m.checked(O::CBNavigationOben)) k_.m.setChecked(O::CBNavigationUnten, true);
}

void TNavigationForm::CBNavigationUntenClick() {
  if (!k_.m.checked(O::CBNavigationUnten)) k_.m.setChecked(O::CBNavigationOben, true);
}

// --- Rule O: overview pages, only when a folder is split into pages ----------

void TNavigationForm::RBNavUebTextlinksClick() {
  OptionModel& m = k_.m;
  const bool seiten = m.checked(O::RBZeilenzahl);
  const bool grafik = seiten && m.checked(O::RBNavUebGrafiklinks);
  en(m, {O::EdBlaetternZurueck, O::EdBlaetternVor, O::LBlaetternZurueck, O::LBlaetternVor},
     seiten && m.checked(O::RBNavUebTextlinks));
  en(m, {O::RBUebGrafikStandard, O::RBUebGrafikIndividuell, O::CBNavgrafikenUebMitTitle,
         O::LNavgrafikenUebMitTitleErlaeuterung},
     grafik);
  zeigen(m, {O::LUebFarbe, O::PanelUebQuadratFarbe}, grafik && m.checked(O::RBUebGrafikStandard));
  en(m, {O::LUebIndividuellZurueck, O::EdGrafikUebZurueck, O::BitBWaehlenGrafikUebZurueck, O::LUebWeiter,
         O::EdGrafikUebWeiter, O::BitBWaehlenGrafikUebWeiter},
     grafik && m.checked(O::RBUebGrafikIndividuell));
}

// --- Rule P: picture pages, text or graphic links ---------------------------------

void TNavigationForm::RBNavGrTextlinksClick() {
  OptionModel& m = k_.m;
  const bool nav = m.checked(O::CBNavigationGrosseBilder);
  const bool text = m.checked(O::RBNavGrTextlinks);
  const bool seiten = text && m.checked(O::RBProBildEineHTMLDatei) && nav;
  en(m, {O::LBlaetternzurueckGross, O::EdnavGrossZurueck, O::LBlaetternUebersichtGross, O::EdnavGrossUebersicht,
         O::LBlaetternWeiterGross, O::EdnavGrossWeiter},
     seiten);
  m.setEnabled(O::EdnavGrossDiashowEin, seiten && diashowAbschaltbar(m));
  en(m, {O::LnavGrossDiashowEin, O::LnavGrossDiashowAus, O::EdnavGrossDiashowAus}, m.enabled(O::EdnavGrossDiashowEin));

  const bool grafik = !text && nav;
  en(m, {O::RBGrossGrafikStandard, O::RBGrossGrafikIndividuell}, grafik);
  // The label "Farbe" beside the panel follows the panel in the view.
  m.setVisible(O::GrossPanelquadratFarbe, grafik && m.checked(O::RBGrossGrafikStandard));
  const bool eigene = grafik && m.checked(O::RBGrossGrafikIndividuell);
  en(m, kEigeneGrafikenGross, eigene);
  m.setEnabled(O::LGrafikDiashowEin, eigene && diashowAbschaltbar(m));
  en(m, kDiashowGrafiken, m.enabled(O::LGrafikDiashowEin));
  en(m, {O::CBNavgrafikenGrossMitTitle, O::LNavgrafikenGrossMitTitleErlaeuterung}, grafik);
}

// --- Rule G: standard or own graphics on the picture pages -------------------

void TNavigationForm::RBGrossGrafikStandardClick() {
  OptionModel& m = k_.m;
  const bool grafik = m.checked(O::CBNavigationGrosseBilder) && m.checked(O::RBNavGrGrafiklinks);
  if (m.checked(O::RBGrossGrafikStandard)) {
    m.setVisible(O::GrossPanelquadratFarbe, grafik);
    en(m, kEigeneGrafikenGross, false);
    m.setEnabled(O::LGrafikDiashowEin, false);
  } else {
    m.setVisible(O::GrossPanelquadratFarbe, false);
    en(m, kEigeneGrafikenGross, grafik);
    m.setEnabled(O::LGrafikDiashowEin, grafik && diashowAbschaltbar(m));
  }
  en(m, kDiashowGrafiken, m.enabled(O::LGrafikDiashowEin));
}

// --- Rule N: navigation between the picture pages ------------------------------

void TNavigationForm::CBNavigationGrosseBilderClick() {
  OptionModel& m = k_.m;
  en(m, {O::RBNavGrTextlinks, O::RBNavGrGrafiklinks}, m.checked(O::CBNavigationGrosseBilder));
  // The link choice is set again as it was; its click runs rule P.
  m.setChecked(O::RBNavGrTextlinks, m.checked(O::RBNavGrGrafiklinks));
  m.setChecked(O::RBNavGrGrafiklinks, !m.checked(O::RBNavGrTextlinks));
  m.setChecked(O::RBNavGrTextlinks, m.checked(O::RBNavGrGrafiklinks));
  m.setChecked(O::RBNavGrGrafiklinks, !m.checked(O::RBNavGrTextlinks));
}

// --- Activation and closing -----------------------------------------------------

void TNavigationForm::FormActivate() {
  RBNavGrTextlinksClick();
  TabSheetGrosseBilderVisible = k_.m.checked(O::RBProBildEineHTMLDatei);
  melden();
}

void TNavigationForm::BSchliessenClick() {
  if (schliessen) schliessen();
}

// --- Colours ----------------------------------------------------------------------

void TNavigationForm::farbeBearbeiten(Opt panel) {
  if (KlickAufFarbCode) KlickAufFarbCode(panel);
}

void TNavigationForm::PanelUebQuadratFarbeClick() { farbeBearbeiten(O::PanelUebQuadratFarbe); }
void TNavigationForm::GrossPanelquadratFarbeClick() { farbeBearbeiten(O::GrossPanelquadratFarbe); }

// --- Graphic paths ----------------------------------------------------------------

bool TNavigationForm::grafikpfadFeld(Opt o) {
  switch (o) {
    case O::EdGrafikUebZurueck:
    case O::EdGrafikUebWeiter:
    case O::EdGrafikGrossZurueck:
    case O::EdGrafikGrossUebersicht:
    case O::EdGrafikGrossWeiter:
    case O::EdGrafikDiashowEin:
    case O::EdGrafikDiashowAus:
      return true;
    default:
      return false;
  }
}

// The characters of a web path; a typed backslash becomes '/'. The
// clipboard shortcuts pass, so that a path can be copied and pasted; what is
// pasted is filtered like typing.
char32_t TNavigationForm::EdGrafikUebZurueckKeyPress(char32_t c) {
  constexpr char32_t kRueckschritt = 8, kKopieren = 3, kEinfuegen = 22, kAusschneiden = 24;
  if (c == '\\') return U'/';
  if (c == kRueckschritt || c == kKopieren || c == kEinfuegen || c == kAusschneiden || imUrlSatz(c)) return c;
  return 0;
}

char32_t TNavigationForm::EdGrafikDiashowEinKeyPress(char32_t c) { return EdGrafikUebZurueckKeyPress(c); }
char32_t TNavigationForm::EdGrafikDiashowAusKeyPress(char32_t c) { return EdGrafikUebZurueckKeyPress(c); }

char32_t TNavigationForm::KeyPress(Opt feld, char32_t c) {
  switch (feld) {
    case O::EdGrafikDiashowEin: return EdGrafikDiashowEinKeyPress(c);
    case O::EdGrafikDiashowAus: return EdGrafikDiashowAusKeyPress(c);
    default: return grafikpfadFeld(feld) ? EdGrafikUebZurueckKeyPress(c) : c;
  }
}

std::string TNavigationForm::einfuegen(Opt feld, const std::string& text) const {
  if (!grafikpfadFeld(feld)) return text;
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    char32_t c = nextCodePoint(text, pos);
    if (c == '\\') c = U'/';
    if (imUrlSatz(c)) appendUtf8(out, c);
  }
  return out;
}

// Separators become '/', characters outside the key filter's set go. The
// letter case stays: the path names a file on a case-sensitive system and
// web server.
void TNavigationForm::grafikpfadPruefen(Opt feld) { k_.m.setText(feld, alsUrlPfad(k_.m.text(feld))); }

void TNavigationForm::EdGrafikUebZurueckExit() { grafikpfadPruefen(O::EdGrafikUebZurueck); }
void TNavigationForm::EdGrafikUebWeiterExit() { grafikpfadPruefen(O::EdGrafikUebWeiter); }
void TNavigationForm::EdGrafikGrossZurueckExit() { grafikpfadPruefen(O::EdGrafikGrossZurueck); }
void TNavigationForm::EdGrafikGrossUebersichtExit() { grafikpfadPruefen(O::EdGrafikGrossUebersicht); }
void TNavigationForm::EdGrafikGrossWeiterExit() { grafikpfadPruefen(O::EdGrafikGrossWeiter); }
void TNavigationForm::EdGrafikDiashowEinExit() { grafikpfadPruefen(O::EdGrafikDiashowEin); }
void TNavigationForm::EdGrafikDiashowAusExit() { grafikpfadPruefen(O::EdGrafikDiashowAus); }

bool TNavigationForm::GrafikdateiWaehlen(std::string& pfad) {
  const std::optional<std::string> r = DateiWaehlen(k_, kGrafikWahl);
  if (!r || r->empty()) return false;
  pfad = *r;
  return true;
}

void TNavigationForm::grafikWaehlen(Opt feld) {
  std::string pfad;
  if (!GrafikdateiWaehlen(pfad)) return;
  k_.m.setText(feld, pfad);
  grafikpfadPruefen(feld);
}

void TNavigationForm::BitBWaehlenGrafikUebZurueckClick() { grafikWaehlen(O::EdGrafikUebZurueck); }
void TNavigationForm::BitBWaehlenGrafikUebWeiterClick() { grafikWaehlen(O::EdGrafikUebWeiter); }
void TNavigationForm::BitBWaehlenGrafikGrossZurueckClick() { grafikWaehlen(O::EdGrafikGrossZurueck); }
void TNavigationForm::BitBWaehlenGrafikGrossUebersichtClick() { grafikWaehlen(O::EdGrafikGrossUebersicht); }
void TNavigationForm::BitBWaehlenGrafikGrossWeiterClick() { grafikWaehlen(O::EdGrafikGrossWeiter); }
void TNavigationForm::BitBWaehlenGrafikGrossDiashowEinClick() { grafikWaehlen(O::EdGrafikDiashowEin); }
void TNavigationForm::BitBWaehlenGrafikGrossDiashowAusClick() { grafikWaehlen(O::EdGrafikDiashowAus); }

// --- Standard graphics ------------------------------------------------------------

bool TNavigationForm::StandardbilderUebErzeugen() { return mosaik::StandardbilderUebErzeugen(k_); }
bool TNavigationForm::StandardbilderGrossErzeugen() { return mosaik::StandardbilderGrossErzeugen(k_); }

}  // namespace mosaik

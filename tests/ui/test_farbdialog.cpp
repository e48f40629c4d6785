#include <functional>
#include <tuple>

#include "RegelnTestbasis.h"
#include "ui/Farbdialog.h"

namespace mosaik::test {
namespace {

using O = Opt;
using K = TfarbForm;

struct Farbdialog : Hauptform {
  TfarbForm farb{k};
  std::function<void()> aktion;  // what the user does while the dialog is shown
  int gezeigt = 0;

  void SetUp() override {
    Hauptform::SetUp();
    haupt.farbForm = &farb;
    farb.modal = [this] {
      ++gezeigt;
      EXPECT_TRUE(farb.Visible);
      if (aktion) aktion();
    };
  }
  void spinsSind(int r, int g, int b) {
    EXPECT_EQ(farb.spin(K::Rot), r);
    EXPECT_EQ(farb.spin(K::Gruen), g);
    EXPECT_EQ(farb.spin(K::Blau), b);
  }
};

// The panel's colour comes in, a typed code counts once the edit is left,
// and closing hands the colour back.
TEST_F(Farbdialog, CodeEintippenUndVerlassen) {
  m.setColor(O::PanelTextFarbe, 0x102030);
  aktion = [this] {
    EXPECT_EQ(farb.EdHTMLCode(), "#102030");
    spinsSind(0x10, 0x20, 0x30);
    farb.eingabe("ff8000", 6, 0);
    EXPECT_EQ(farb.EdHTMLCode(), "ff8000");
    EXPECT_EQ(farb.farbquadrat(), 0x102030u);  // incomplete: nothing yet
    farb.EdHTMLCodeExit();
    EXPECT_EQ(farb.farbquadrat(), 0xFF8000u);
    spinsSind(255, 128, 0);
    EXPECT_EQ(farb.EdHTMLCode(), "#FF8000");  // rewritten by the spin edits
    farb.BschliessenClick();
  };
  m.run(O::PanelTextFarbe, Ev::Click);
  EXPECT_EQ(gezeigt, 1);
  EXPECT_FALSE(farb.Visible);
  EXPECT_EQ(farb.ModalResult, K::Ergebnis::OK);
  EXPECT_EQ(m.color(O::PanelTextFarbe), 0xFF8000u);
}

TEST_F(Farbdialog, AbbrechenGibtDieAlteFarbeZurueck) {
  m.setColor(O::PanelHintergrundFarbe, 0xFFFFFF);
  aktion = [this] {
    farb.setSpin(K::Rot, 0);
    farb.setSpin(K::Blau, 0x40);
    EXPECT_EQ(farb.farbquadrat(), 0x00FF40u);
    EXPECT_EQ(farb.EdHTMLCode(), "#00FF40");
    farb.BAbbruchClick();
  };
  m.run(O::PanelHintergrundFarbe, Ev::Click);
  EXPECT_EQ(farb.ModalResult, K::Ergebnis::Abbrechen);
  EXPECT_EQ(m.color(O::PanelHintergrundFarbe), 0xFFFFFFu);

  // Closed without a button (close box, Escape): cancelled as well.
  aktion = [this] { farb.setSpin(K::Gruen, 0); };
  m.run(O::PanelHintergrundFarbe, Ev::Click);
  EXPECT_EQ(farb.ModalResult, K::Ergebnis::Abbrechen);
  EXPECT_EQ(m.color(O::PanelHintergrundFarbe), 0xFFFFFFu);

  // Without a view nothing can change the colour.
  farb.modal = nullptr;
  m.run(O::PanelHintergrundFarbe, Ev::Click);
  EXPECT_EQ(m.color(O::PanelHintergrundFarbe), 0xFFFFFFu);
}

TEST_F(Farbdialog, SystemfarbdialogAmFarbquadrat) {
  m.setColor(O::PanelLinienFarbe, 0xABCDEF);
  aktion = [this] {
    u.dialoge.farbAntworten.push_back(0x123456);
    farb.farbquadratClick();
    EXPECT_EQ(farb.farbquadrat(), 0x123456u);
    spinsSind(0x12, 0x34, 0x56);
    EXPECT_EQ(farb.EdHTMLCode(), "#123456");
    farb.farbquadratClick();  // cancelled: nothing changes
    EXPECT_EQ(farb.farbquadrat(), 0x123456u);
    u.dialoge.farbAntworten.push_back(0x12FF56);  // one byte differs
    farb.farbquadratClick();
    EXPECT_EQ(farb.EdHTMLCode(), "#12FF56");
    farb.BschliessenClick();
  };
  m.run(O::PanelLinienFarbe, Ev::Click);
  EXPECT_EQ(u.dialoge.farbDialoge, (std::vector<uint32_t>{0xABCDEF, 0x123456, 0x123456}));
  EXPECT_EQ(m.color(O::PanelLinienFarbe), 0x12FF56u);
}

TEST_F(Farbdialog, TastenfilterDesCodes) {
  farb.setEdHTMLCode("");
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'#'), U'#');
  for (char32_t c : {U'0', U'9', U'A', U'F', U'a', U'f', char32_t{8}}) EXPECT_EQ(farb.EdHTMLCodeKeyPress(c), c);
  for (char32_t c : {U'g', U'G', U'x', U' ', U'-', U'ä', char32_t{22}}) EXPECT_EQ(farb.EdHTMLCodeKeyPress(c), 0u);

  // "#" only at the very start.
  farb.eingabe("#12", 3, 0);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'#'), 0u);
  farb.setAuswahl(0, 0);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'#'), U'#');

  // Seven characters: full, unless all of it is selected.
  farb.eingabe("#123456", 7, 0);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'a'), 0u);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(8), 8u);
  farb.setAuswahl(2, 3);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'a'), 0u);
  farb.setAuswahl(0, 7);
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'a'), U'a');
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'#'), U'#');

  // Ctrl+C/V/X let the next character pass once; other keys do not.
  farb.setAuswahl(7, 0);
  farb.EdHTMLCodeKeyDown('V', false);
  farb.EdHTMLCodeKeyDown('A', true);
  EXPECT_FALSE(st.TastenfilterAussetzen);
  for (int taste : {'C', 'V', 'X'}) {
    farb.EdHTMLCodeKeyDown(taste, true);
    EXPECT_TRUE(st.TastenfilterAussetzen);
    EXPECT_EQ(farb.EdHTMLCodeKeyPress(char32_t(taste - 'A' + 1)), char32_t(taste - 'A' + 1));
    EXPECT_FALSE(st.TastenfilterAussetzen);
    EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'x'), 0u);
  }
  // A dropped character clears the flag too (it is never left set).
  st.TastenfilterAussetzen = false;
  EXPECT_EQ(farb.EdHTMLCodeKeyPress(U'q'), 0u);
  EXPECT_FALSE(st.TastenfilterAussetzen);
}

TEST_F(Farbdialog, VerlassenNormalisiertDenCode) {
  const std::pair<const char*, const char*> faelle[] = {
      {"#12", "#120000"},
      {"123456", "#123456"},
      {"#1234567", "#123456"},
      {"  #12 zz3#4", "#123400"},  // pasted: only hex digits and a leading '#' stay
      {"#", "#000000"},
      {"", "#000000"},
      {"x#ab", "#AB0000"},  // complete: the spin edits rewrite it in upper case
      {"#äöü12", "#120000"},
  };
  for (auto [rein, raus] : faelle) {
    farb.eingabe(rein, 0, 0);
    farb.EdHTMLCodeExit();
    EXPECT_EQ(farb.EdHTMLCode(), raus) << rein;
  }
  // A complete lower-case code: the colour, and the code in upper case.
  farb.eingabe("#abcdef", 7, 0);
  EXPECT_EQ(farb.farbquadrat(), 0xABCDEFu);
  spinsSind(0xAB, 0xCD, 0xEF);
  EXPECT_EQ(farb.EdHTMLCode(), "#ABCDEF");
  // Incomplete or with a second '#': nothing changes.
  for (const char* t : {"#12", "#12#456", "1234567", "#1234567"}) {
    farb.eingabe(t, 0, 0);
    EXPECT_EQ(farb.farbquadrat(), 0xABCDEFu) << t;
  }
}

TEST_F(Farbdialog, RotGruenBlauSchreibenDenCodeMitDerSchreibmarke) {
  farb.eingabe("#112233", 3, 2);
  farb.setSpin(K::Rot, 0xAA);
  EXPECT_EQ(farb.EdHTMLCode(), "#AA2233");
  EXPECT_EQ(farb.SelStart(), 3);
  EXPECT_EQ(farb.SelLength(), 2);
  EXPECT_EQ(farb.farbquadrat(), 0xAA2233u);
  // Values outside 0 to 255 are clamped at once, never spilling into the
  // next byte.
  farb.setSpin(K::Gruen, 300);
  farb.setSpin(K::Blau, -5);
  spinsSind(0xAA, 255, 0);
  EXPECT_EQ(farb.farbquadrat(), 0xAAFF00u);
  EXPECT_EQ(farb.EdHTMLCode(), "#AAFF00");
  // Text set by the program puts the caret at the start.
  farb.setEdHTMLCode("#000000");
  EXPECT_EQ(farb.SelStart(), 0);
}

TEST_F(Farbdialog, WelchePanelsDenDialogOeffnen) {
  // The page colours open it on entering too, the fill colours on a click
  // only (which panel is which is the table's data).
  for (auto [p, ev, oeffnet] : {std::tuple{O::PanelHoverLinkFarbe, Ev::Enter, true}, {O::PanelLinkFarbe, Ev::Exit, false},
                                {O::PanelquadratFarbe, Ev::Click, true}, {O::PanelquadratFarbe, Ev::Enter, false},
                                {O::CBDiashow, Ev::Click, false}})
    EXPECT_EQ(oeffnetFarbdialog(p, ev), oeffnet) << info(p).name;

  aktion = [this] {
    farb.setSpin(K::Gruen, 0x80);
    farb.BschliessenClick();
  };
  m.setColor(O::PanelHoverLinkFarbe, 0);
  m.run(O::PanelHoverLinkFarbe, Ev::Enter);
  EXPECT_EQ(m.color(O::PanelHoverLinkFarbe), 0x008000u);
  m.run(O::PanelquadratFarbe, Ev::Enter);
  EXPECT_EQ(gezeigt, 1);
  m.setColor(O::PZentrierungstrickFarbe, 0xFFFFFF);
  m.run(O::PZentrierungstrickFarbe, Ev::Click);
  EXPECT_EQ(m.color(O::PZentrierungstrickFarbe), 0xFF80FFu);

  // The navigation dialog's two panels use the main window's routine.
  ASSERT_EQ(m.color(O::PanelUebQuadratFarbe), 0x0000FFu);
  m.run(O::PanelUebQuadratFarbe, Ev::Click);
  EXPECT_EQ(m.color(O::PanelUebQuadratFarbe), 0x0080FFu);
  m.run(O::GrossPanelquadratFarbe, Ev::Click);
  EXPECT_EQ(m.color(O::GrossPanelquadratFarbe), 0x0080FFu);
  EXPECT_EQ(gezeigt, 4);

  // Without a colour dialog a click changes nothing.
  haupt.farbForm = nullptr;
  m.run(O::PanelLinkFarbe, Ev::Click);
  EXPECT_EQ(gezeigt, 4);
}

}  // namespace
}  // namespace mosaik::test

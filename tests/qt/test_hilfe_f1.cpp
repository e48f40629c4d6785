// F1 and the help tab in the Qt main window, and the window's style
// following the theming box.
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "FensterTestbasis.h"
#include "ui/qt/HilfeTaste.h"

namespace mosaik {
namespace {

struct HilfeFenster : test::Fensterprobe {
  void SetUp() override {
    std::filesystem::create_directories(u.programmOrdner.pfad() + "hilfe");
    for (const char* s : {"index.htm", "ordner.htm", "layout1.htm"})
      std::ofstream(u.programmOrdner.pfad() + "hilfe/" + s) << "<html></html>";
    Fensterprobe::SetUp();
  }
  void f1(QWidget* w) {
    ASSERT_NE(w, nullptr);
    QKeyEvent druck(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(w, &druck);
  }
  QWidget* w(const char* name) { return f->haupt.findChild<QWidget*>(QString::fromLatin1(name)); }
  std::string url(const std::string& rest) { return "file://" + u.programmOrdner.pfad() + "hilfe/" + rest; }
};

TEST_F(HilfeFenster, F1AufEinemControlOeffnetSeineSeite) {
  f1(w("CBmitUnterverzeichnissen"));
  // The spin box's own line edit belongs to the spin box.
  auto* spin = w("SpEdSpaltenzahl");
  ASSERT_NE(spin, nullptr);
  f1(spin->findChild<QLineEdit*>());
  EXPECT_EQ(u.shell.geoeffnet,
            (std::vector<std::string>{url("ordner.htm#PfadzudenBildern"), url("layout1.htm#Tabellenoptionen")}));
  // A label, the page itself, the navigation dialog: nothing.
  f1(w("LPanoVerhaeltnis"));
  f1(w("TabSheetOrdner"));
  f1(f->navigation.findChild<QWidget*>(QStringLiteral("CBNavigationOben")));
  // Other keys are not the help's.
  QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
  QApplication::sendEvent(w("CBmitUnterverzeichnissen"), &f2);
  EXPECT_EQ(u.shell.geoeffnet.size(), 2u);
  EXPECT_TRUE(u.dialoge.meldungen.empty());
  EXPECT_EQ(controlVon(spin->findChild<QLineEdit*>()), Opt::SpEdSpaltenzahl);
}

TEST_F(HilfeFenster, KnoepfeDesHilfeRegisters) {
  static_cast<QPushButton*>(w("BHilfe"))->click();
  static_cast<QPushButton*>(w("BHomepage"))->click();
  static_cast<QPushButton*>(w("BMail"))->click();
  // The questionnaire page is missing here: a warning, no browser.
  static_cast<QPushButton*>(w("BFragebogen"))->click();
  ASSERT_EQ(u.shell.geoeffnet.size(), 3u);
  EXPECT_EQ(u.shell.geoeffnet[0], url("index.htm"));
  EXPECT_EQ(u.shell.geoeffnet[1], "https://mosaikschauer.example/");
  EXPECT_EQ(u.shell.geoeffnet[2].rfind("mailto:rueckmeldung@mosaikschauer.example?subject=", 0), 0u);
  ASSERT_EQ(u.dialoge.meldungen.size(), 1u);
  EXPECT_EQ(u.dialoge.meldungen[0].kind, MsgKind::Warning);
  EXPECT_EQ(w("BHomepage")->toolTip(), QStringLiteral("https://mosaikschauer.example/"));
  EXPECT_EQ(w("BMail")->toolTip(), QStringLiteral("rueckmeldung@mosaikschauer.example"));
}

// The picture of the info group lights up under the mouse and is back at
// rest once its single-shot timer has fired.
TEST_F(HilfeFenster, BildWechseltUnterDerMaus) {
  auto* bild = f->haupt.findChild<QLabel*>(QStringLiteral("ImMeinBild"));
  ASSERT_NE(bild, nullptr);
  auto* timer = bild->findChild<QTimer*>(QStringLiteral("BilderRuecksetzTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 100);
  EXPECT_TRUE(timer->isSingleShot());
  EXPECT_FALSE(timer->isActive());
  // The first tile's colour in a grab of the picture.
  const auto kachel = [bild] { return bild->grab().toImage().pixel(8, 8) & 0xFFFFFFu; };
  EXPECT_EQ(kachel(), 0x4A6FA5u);
  QMouseEvent zug(QEvent::MouseMove, QPointF(10, 10), bild->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(bild, &zug);
  EXPECT_EQ(kachel(), 0xE8692Cu);
  EXPECT_TRUE(timer->isActive());
  const QDeadlineTimer frist(5000);
  while (timer->isActive() && !frist.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(kachel(), 0x4A6FA5u);
}

TEST_F(HilfeFenster, StilFolgtDemThemingKaestchen) {
  p->m.setChecked(Opt::CBTheming, false);
  EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
  p->m.setChecked(Opt::CBTheming, true);
  EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
}

}  // namespace
}  // namespace mosaik

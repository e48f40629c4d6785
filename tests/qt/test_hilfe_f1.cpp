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

namespace mosaik::test {
namespace {

struct HilfeFenster : Fensterprobe {
  void SetUp() override {
    std::filesystem::create_directories(u.programmOrdner.pfad() + "hilfe");
    for (const char* s : {"index.htm", "ordner.htm", "layout1.htm"})
      std::ofstream(u.programmOrdner.pfad() + "hilfe/" + s) << "<html></html>";
    Fensterprobe::SetUp();
  }
  void druecken(QWidget* w, Qt::Key key = Qt::Key_F1) {
    ASSERT_NE(w, nullptr);
    QKeyEvent druck(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &druck);
  }
  std::string url(const std::string& rest) { return "file://" + u.programmOrdner.pfad() + "hilfe/" + rest; }
};

TEST_F(HilfeFenster, F1UndHilfeknoepfeOeffnenIhreSeite) {
  druecken(w(Opt::CBmitUnterverzeichnissen));
  // The spin box's own line edit belongs to the spin box.
  druecken(w(Opt::SpEdSpaltenzahl)->findChild<QLineEdit*>());
  // Other keys, and other windows, are not the help's.
  druecken(w(Opt::CBmitUnterverzeichnissen), Qt::Key_F2);
  druecken(w(Opt::CBNavigationOben));
  w<QPushButton>(Opt::BHilfe)->click();
  EXPECT_EQ(u.shell.geoeffnet,
            (std::vector<std::string>{url("ordner.htm#PfadzudenBildern"), url("layout1.htm#Tabellenoptionen"),
                                      url("index.htm")}));
  EXPECT_EQ(w(Opt::BHomepage)->toolTip(), QStringLiteral("https://mosaikschauer.example/"));
  EXPECT_EQ(w(Opt::BMail)->toolTip(), QStringLiteral("rueckmeldung@mosaikschauer.example"));
}

// The picture of the info group lights up under the mouse and is back at
// rest once its single-shot timer has fired.
TEST_F(HilfeFenster, BildWechseltUnterDerMaus) {
  auto* bild = f->haupt.findChild<QLabel*>(QStringLiteral("ImMeinBild"));
  ASSERT_NE(bild, nullptr);
  auto* timer = bild->findChild<QTimer*>(QStringLiteral("BilderRuecksetzTimer"));
  ASSERT_NE(timer, nullptr);
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
}  // namespace mosaik::test

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>

#include "TestUmgebung.h"
#include "app/Programm.h"
#include "ui/qt/Fenster.h"

namespace mosaik {
namespace {

QApplication& anwendung() {
  static int argc = 1;
  static char name[] = "test_qt";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct Fensterprobe : ::testing::Test {
  test::TestUmgebung u;
  std::unique_ptr<Programm> p;
  std::unique_ptr<Fenster> f;
  void SetUp() override {
    anwendung();
    p = std::make_unique<Programm>(u.sv, std::vector<std::string>{});
    p->start();
    f = std::make_unique<Fenster>(*p);
    p->FormActivate();
  }
};

TEST_F(Fensterprobe, JedeOptionHatIhrWidgetMitIhremNamen) {
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    const QString name = QString::fromUtf8(info(o).name.data(), static_cast<qsizetype>(info(o).name.size()));
    QWidget* fenster = onNavigationWindow(o) ? static_cast<QWidget*>(&f->navigation) : &f->haupt;
    EXPECT_NE(fenster->findChild<QWidget*>(name), nullptr) << name.toStdString();
  }
  EXPECT_EQ(f->haupt.PageControl->currentWidget()->objectName(), QStringLiteral("TabSheetOrdner"));
  EXPECT_EQ(f->haupt.PageControlExperten->currentWidget()->objectName(), QStringLiteral("TabSheetSpezielles"));
}

TEST_F(Fensterprobe, EingabeErreichtDasModellUndModellaenderungDasWidget) {
  auto* cb = f->haupt.findChild<QCheckBox*>(QStringLiteral("CBDiashow"));
  ASSERT_NE(cb, nullptr);
  int meldungen = 0;
  p->m.addListener([&](Opt o) { meldungen += o == Opt::CBDiashow; });
  cb->click();
  EXPECT_TRUE(p->m.checked(Opt::CBDiashow));
  EXPECT_EQ(meldungen, 1);
  p->m.setChecked(Opt::CBDiashow, false);
  EXPECT_FALSE(cb->isChecked());
  EXPECT_EQ(meldungen, 2);

  auto* ed = f->haupt.findChild<QLineEdit*>(QStringLiteral("EdSeitentitel"));
  ASSERT_NE(ed, nullptr);
  EXPECT_EQ(ed->text(), QStringLiteral("Mosaikschauer"));
  p->m.setText(Opt::EdSeitentitel, "Meine Reise");
  EXPECT_EQ(ed->text(), QStringLiteral("Meine Reise"));
  p->m.setEnabled(Opt::EdSeitentitel, false);
  EXPECT_FALSE(ed->isEnabled());
}

TEST_F(Fensterprobe, FortschrittsdialogIstKeinKindDesHauptfensters) {
  EXPECT_EQ(f->warten.parentWidget(), nullptr);
  p->runView.laufBeginnt();
  EXPECT_FALSE(f->haupt.isEnabled());
  EXPECT_TRUE(f->warten.isVisible());
  EXPECT_TRUE(f->warten.BAbbruch->isEnabled());
  f->warten.BAbbruch->click();
  EXPECT_EQ(AbbruchFlag.load(), 1);
  p->runView.aktuelleDatei("bild.jpg");
  EXPECT_EQ(f->warten.LAktuellerDateiname->text(), QStringLiteral("bild.jpg"));
  p->runView.laufEndet();
  EXPECT_TRUE(f->haupt.isEnabled());
  EXPECT_FALSE(f->warten.isVisible());
}

// Writes every page to PNG under build/bildschirm/ so that a person can look.
TEST_F(Fensterprobe, SeitenAlsBilder) {
  const QString ziel = QStringLiteral(MOSAIK_BINARY_DIR "/bildschirm");
  QDir().mkpath(ziel);
  f->haupt.show();
  for (int i = 0; i < f->haupt.PageControl->count(); ++i) {
    f->haupt.PageControl->setCurrentIndex(i);
    QApplication::processEvents();
    EXPECT_TRUE(f->haupt.grab().save(ziel + QStringLiteral("/haupt-%1.png").arg(i)));
  }
  f->navigation.show();
  for (int i = 0; i < f->navigation.tabs->count(); ++i) {
    f->navigation.tabs->setCurrentIndex(i);
    QApplication::processEvents();
    EXPECT_TRUE(f->navigation.grab().save(ziel + QStringLiteral("/navigation-%1.png").arg(i)));
  }
  f->navigation.hide();
  f->haupt.hide();
}

}  // namespace
}  // namespace mosaik

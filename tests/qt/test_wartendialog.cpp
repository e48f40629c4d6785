#include <QImage>

#include "FensterTestbasis.h"
#include "ui/qt/WartenDialog.h"

namespace mosaik::test {
namespace {

TEST(WartenDialog, ZeigtDasModellUndBleibtOffenBisZumEnde) {
  qtAnwendung();
  TwartenForm f;
  f.FormCreate();
  WartenDialog d(f);
  EXPECT_EQ(d.parentWidget(), nullptr);
  EXPECT_FALSE(d.isModal());
  f.TimerEnabled = true;
  f.Show();
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(d.Timer->isActive());
  EXPECT_EQ(d.Timer->interval(), 20);

  // A long path is shortened to the label, the whole one is its tool tip.
  const std::string lang = "/home/fotograf/Bilder/Reisen/2023/Urlaub am Meer/Tag 12/Strand mit Möwen.jpg";
  f.aktuelleDatei(lang);
  EXPECT_NE(d.LAktuellerDateiname->text().toStdString(), lang);
  EXPECT_LE(d.LAktuellerDateiname->fontMetrics().horizontalAdvance(d.LAktuellerDateiname->text()),
            d.LAktuellerDateiname->width());
  EXPECT_EQ(d.LAktuellerDateiname->toolTip().toStdString(), lang);

  // The bar shows the model's pixels.
  f.TimerTimer();
  f.TimerTimer();
  const QImage bild = d.ImWarten->grab().toImage();
  EXPECT_EQ(bild.pixel(0, 8) & 0xFFFFFFu, f.pixel(0, 8));
  EXPECT_EQ(bild.pixel(60, 8) & 0xFFFFFFu, f.pixel(60, 8));
  EXPECT_NE(f.pixel(0, 8), f.pixel(60, 8));

  // Closing and Escape do nothing; only the button cancels.
  d.close();
  d.reject();
  EXPECT_TRUE(d.isVisible());
  d.BAbbruch->click();
  EXPECT_EQ(AbbruchFlag.load(), 1);
  EXPECT_EQ(d.windowTitle(), QStringLiteral("ABBRUCH"));
  EXPECT_FALSE(d.BAbbruch->isEnabled());

  f.Hide();
  f.TimerEnabled = false;
  f.TimerTimer();
  EXPECT_FALSE(d.isVisible());
  EXPECT_FALSE(d.Timer->isActive());
  f.TimerEnabled = true;
  f.Show();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Bitte warten..."));
  f.Hide();
}

// A run locks the main window and shows the progress dialog of the program.
TEST_F(Fensterprobe, LaufSperrtDasHauptfensterUndZeigtDenFortschritt) {
  p->runView.laufBeginnt();
  EXPECT_FALSE(f->haupt.isEnabled());
  EXPECT_TRUE(f->warten.isVisible());
  p->runView.aktuelleDatei("bild.jpg");
  EXPECT_EQ(f->warten.LAktuellerDateiname->text(), QStringLiteral("bild.jpg"));
  p->runView.laufEndet();
  EXPECT_TRUE(f->haupt.isEnabled());
  EXPECT_FALSE(f->warten.isVisible());
}

}  // namespace
}  // namespace mosaik::test

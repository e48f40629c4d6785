#include <QCheckBox>
#include <QLineEdit>

#include "FensterTestbasis.h"

namespace mosaik::test {
namespace {

TEST_F(Fensterprobe, JedeOptionHatIhrWidgetMitIhremNamen) {
  for (int i = 0; i < kOptCount; ++i) EXPECT_NE(w(static_cast<Opt>(i)), nullptr) << info(static_cast<Opt>(i)).name;
  EXPECT_EQ(f->haupt.PageControl->currentWidget()->objectName(), QStringLiteral("TabSheetOrdner"));
  EXPECT_EQ(f->haupt.PageControlExperten->currentWidget()->objectName(), QStringLiteral("TabSheetSpezielles"));
}

TEST_F(Fensterprobe, EingabeErreichtDasModellUndModellaenderungDasWidget) {
  auto* cb = w<QCheckBox>(Opt::CBDiashow);
  ASSERT_NE(cb, nullptr);
  int meldungen = 0;
  p->m.addListener([&](Opt o) { meldungen += o == Opt::CBDiashow; });
  cb->click();
  EXPECT_TRUE(p->m.checked(Opt::CBDiashow));
  EXPECT_EQ(meldungen, 1);
  p->m.setChecked(Opt::CBDiashow, false);
  EXPECT_FALSE(cb->isChecked());
  EXPECT_EQ(meldungen, 2);

  auto* ed = w<QLineEdit>(Opt::EdSeitentitel);
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

}  // namespace
}  // namespace mosaik::test

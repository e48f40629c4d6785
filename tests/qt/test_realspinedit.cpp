#include <QClipboard>

#include "FensterTestbasis.h"
#include "ui/qt/RealSpinEdit.h"

namespace mosaik::test {
namespace {

// Letters and digits with key codes of their own.
void tasten(QWidget* w, const QString& s) {
  for (const QChar c : s) taste(w, c.unicode() >= 'a' ? Qt::Key_A + (c.unicode() - 'a') : Qt::Key_0, QString(c));
}

Decimal4 d(const char* t) { return *Decimal4::parse(t, ','); }

TEST(RealSpinEdit, PfeileKnoepfeTastenUndVerlassen) {
  qtAnwendung();
  RealSpinEdit e(',');
  int bearbeitet = 0;
  QObject::connect(&e, &QLineEdit::textEdited, [&](const QString&) { ++bearbeitet; });
  e.setBounds(d("1,1"), d("10"));
  e.setIncrement(d("0,1"));
  e.setValue(d("9,95"));
  EXPECT_EQ(e.text(), QStringLiteral("9,95"));
  bearbeitet = 0;
  taste(&e, Qt::Key_Up);
  EXPECT_EQ(e.text(), QStringLiteral("10"));
  EXPECT_EQ(bearbeitet, 1);  // the model behind the edit hears of the step
  taste(&e, Qt::Key_Up);
  EXPECT_EQ(e.text(), QStringLiteral("10"));
  klicken(e.runterKnopf());
  EXPECT_EQ(e.text(), QStringLiteral("9,9"));
  klicken(e.hochKnopf());
  klicken(e.hochKnopf());
  EXPECT_EQ(e.text(), QStringLiteral("10"));

  // Typing: refused characters change nothing; a number beyond the bounds
  // is put back when the field is left.
  e.setText(QString());
  tasten(&e, QStringLiteral("2a5"));
  EXPECT_EQ(e.text(), QStringLiteral("25"));
  EXPECT_EQ(e.value(), d("25"));
  verlassen(&e);
  EXPECT_EQ(e.text(), QStringLiteral("10"));
  e.setText(QString());
  verlassen(&e);
  EXPECT_EQ(e.text(), QString());
  EXPECT_EQ(e.value(), d("1,1"));

  // Without the editor: no digits, no backspace, no paste; arrows step.
  e.setText(QStringLiteral("5"));
  e.setEditorEnabled(false);
  tasten(&e, QStringLiteral("7"));
  taste(&e, Qt::Key_Backspace, QStringLiteral("\b"));
  QApplication::clipboard()->setText(QStringLiteral("3"));
  e.selectAll();
  taste(&e, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
  EXPECT_EQ(e.text(), QStringLiteral("5"));
  taste(&e, Qt::Key_Down);
  EXPECT_EQ(e.text(), QStringLiteral("4,9"));
  e.setEditorEnabled(true);
  taste(&e, Qt::Key_Backspace, QStringLiteral("\b"));
  EXPECT_EQ(e.text(), QStringLiteral("4,"));

  e.setSpinReadOnly(true);
  klicken(e.hochKnopf());
  EXPECT_EQ(e.text(), QStringLiteral("4,"));
}

TEST(RealSpinEdit, KnopfpaarAmRechtenRand) {
  qtAnwendung();
  RealSpinEdit e('.');
  e.resize(121, 24);
  e.show();
  const QRect h = e.hochKnopf()->geometry();
  const QRect r = e.runterKnopf()->geometry();
  EXPECT_EQ(r.top(), h.top() + h.height() - 1);  // the two overlap by one pixel
  EXPECT_LE(r.bottom(), e.height());
  EXPECT_LE(h.right(), e.width());
  e.setValue(d("2,25"));
  EXPECT_EQ(e.text(), QStringLiteral("2.25"));
}

}  // namespace
}  // namespace mosaik::test

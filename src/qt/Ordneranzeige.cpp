#include "qt/Ordneranzeige.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "ui/Auswahl.h"

namespace mosaik {
namespace {

// The room for text inside a line edit.
int textbreite(QLineEdit* ed) {
  QStyleOptionFrame opt;
  opt.initFrom(ed);
  opt.lineWidth = ed->hasFrame() ? ed->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, ed) : 0;
  const QRect r = ed->style()->subElementRect(QStyle::SE_LineEditContents, &opt, ed);
  const QMargins rand = ed->textMargins();
  return r.width() - rand.left() - rand.right() - 4;
}

class Ordneranzeige : public QObject {
 public:
  Ordneranzeige(OptionBinder& binder, OptionModel& m, Opt o, const char* menuName)
      : QObject(binder.widget(o)), binder_(binder), m_(m), o_(o), menuName_(menuName) {
    auto* ed = static_cast<QLineEdit*>(binder.widget(o));
    binder.setAnzeige(o, [ed](const QString& voll) {
      klartextHinweis(ed, voll);
      const QFontMetrics fm = ed->fontMetrics();
      const std::string kurz = pfadKuerzen(voll.toStdString(), textbreite(ed), [&fm](const std::string& t) {
        return fm.horizontalAdvance(QString::fromStdString(t));
      });
      return QString::fromStdString(kurz);
    });
    ed->installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::Resize:
      case QEvent::FontChange:
        binder_.aktualisieren(o_);
        return false;
      case QEvent::MouseButtonRelease:
        if (menuName_ && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
          m_.run(o_, Ev::Click);
          return true;
        }
        return false;
      case QEvent::ContextMenu:
        if (menuName_) {
          QMenu menu;
          QAction* a = menu.addAction(QStringLiteral("Pfad ändern"));
          a->setObjectName(QString::fromLatin1(menuName_));
          if (menu.exec(static_cast<QContextMenuEvent*>(e)->globalPos()) == a) m_.run(o_, Ev::Click);
          return true;
        }
        return false;
      default:
        return false;
    }
  }

 private:
  OptionBinder& binder_;
  OptionModel& m_;
  Opt o_;
  const char* menuName_;
};

}  // namespace

void ordneranzeigenEinrichten(OptionBinder& binder, OptionModel& m) {
  new Ordneranzeige(binder, m, Opt::EdBilderPfad, "Pfadndern1");
  new Ordneranzeige(binder, m, Opt::EdHTMLPfadname, "Pfadndern2");
  new Ordneranzeige(binder, m, Opt::EdgrosseBilderPfadname, nullptr);
  new Ordneranzeige(binder, m, Opt::EdVorschauPfadname, nullptr);
}

}  // namespace mosaik

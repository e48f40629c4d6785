#include "qt/ThemenMaler.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionProgressBar>

namespace mosaik {

void DrawElement(QPainter& p, const QWidget* w, const TThemedElementDetails& d, const QRect& r, const QRect* clip) {
  // Parts 1 and 2 are the horizontal and vertical bar, 3 and 4 their chunks.
  if (d.Element != TThemedElement::teProgress || d.Part < 1 || d.Part > 4) return;
  QStyle* stil = w ? w->style() : QApplication::style();
  QStyleOptionProgressBar o;
  if (w) o.initFrom(w);
  o.rect = r;
  o.minimum = 0;
  o.maximum = 1;
  o.progress = 1;  // a chunk is full from end to end
  o.textVisible = false;
  if (d.Part == 1 || d.Part == 3)
    o.state |= QStyle::State_Horizontal;
  else
    o.state &= ~QStyle::State_Horizontal;
  p.save();
  if (clip) p.setClipRect(*clip, Qt::IntersectClip);
  stil->drawControl(d.Part <= 2 ? QStyle::CE_ProgressBarGroove : QStyle::CE_ProgressBarContents, &o, &p, w);
  p.restore();
}

void fortschrittsteileZeichnen(QPainter& p, const QWidget* w, const std::vector<TwartenForm::ThemenTeil>& teile) {
  const TThemeServices& dienste = ThemeServices();
  const TThemedElementDetails balken = dienste.GetElementDetails(TThemedProgress::tpBar);
  const TThemedElementDetails chunk = dienste.GetElementDetails(TThemedProgress::tpChunk);
  QRect ganz;  // the whole bar, from its background part
  for (const auto& t : teile) {
    const QRect r(t.x1, t.y1, t.x2 - t.x1, t.y2 - t.y1);
    switch (t.art) {
      case TwartenForm::ThemenTeil::Hintergrund:
        ganz = r;
        DrawElement(p, w, balken, r);
        break;
      case TwartenForm::ThemenTeil::Chunk: DrawElement(p, w, chunk, r); break;
      case TwartenForm::ThemenTeil::Balken:
        // The bar's background, not a small bar of its own in the gap.
        DrawElement(p, w, balken, ganz.isNull() ? r : ganz, &r);
        break;
    }
  }
}

bool plattformHatStile() { return QStyleFactory::keys().contains(QStringLiteral("Fusion"), Qt::CaseInsensitive); }

void stilAnwenden(const TThemeServices& dienste) {
  const QString stil = dienste.ThemesEnabled() ? QStringLiteral("fusion") : QStringLiteral("windows");
  if (QApplication::style()->name().toLower() != stil)
    if (QStyle* neu = QStyleFactory::create(stil)) QApplication::setStyle(neu);
}

}  // namespace mosaik

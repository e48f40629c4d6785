#pragma once
// Drawing of theme parts with the application's Qt style, for the places
// that paint elements themselves (the progress dialog's busy bar).
#include <QPainter>
#include <QRect>
#include <QWidget>
#include <vector>

#include "ui/Formulare.h"
#include "winsupport/ThemeManager.h"

namespace mosaik {

// Draws the background of one part of an element over r, clipped to clip
// when given. A part the style has no picture for draws nothing.
void DrawElement(QPainter& p, const QWidget* w, const TThemedElementDetails& d, const QRect& r,
                 const QRect* clip = nullptr);

// The parts of the themed busy bar as the progress dialog's last step left
// them: the bar, its chunks, and the bar again over the gaps (the bar's
// background clipped to the gap).
void fortschrittsteileZeichnen(QPainter& p, const QWidget* w, const std::vector<TwartenForm::ThemenTeil>& teile);

// The Qt side of the visual styles: whether the toolkit has the themed
// style, and the style that the theme services ask for.
bool plattformHatStile();
void stilAnwenden(const TThemeServices& dienste);

}  // namespace mosaik

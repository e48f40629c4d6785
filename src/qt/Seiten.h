#pragma once
// The pages of the main window and of the navigation dialog: tabs, inner
// tabs and group boxes with their controls, laid out with Qt layouts.
#include <QTabWidget>

#include "qt/OptionBinder.h"

namespace mosaik {

// Fills the main window's page control; the expert tab holds a second page
// control, returned through pageControlExperten.
void hauptseitenAufbauen(OptionBinder& b, QTabWidget* pageControl, QTabWidget*& pageControlExperten);

// The two pages of the navigation dialog.
void navigationsseitenAufbauen(OptionBinder& b, QTabWidget* tabs);

// A window at most the screen's free area, centred on it; its pages
// scroll where it has less room than they ask for. Run again once the
// window system has framed the window, so that its real frame counts.
void fensterEinpassen(QWidget& fenster);

// The first control of a page that Tab would reach (nullptr: none).
QWidget* ersteSteuerung(QWidget* seite);

// Display fields that show a folder and are never typed into.
bool istOrdneranzeige(Opt o);

}  // namespace mosaik

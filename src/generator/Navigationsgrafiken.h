#pragma once
// The standard navigation graphics: 16 x 16 PNG icons drawn in the colour
// the user chose, their background made transparent, written into the HTML
// folder at the start of a run. Colours are 0xRRGGBB.
#include <cstdint>
#include <functional>
#include <string>

#include "imaging/Bitmap.h"
#include "platform/Dialogs.h"

namespace mosaik {

struct Kontext;

enum class Navigationsbild { Zurueck, Weiter, Uebersicht, Diashow, DiashowStopp };

// The colour of the icons' background, which becomes transparent: the page
// background, unless the icons have that very colour; then black on a white
// page and white on any other.
uint32_t Symbolhintergrund(uint32_t symbolfarbe, uint32_t seitenhintergrund);

// The icon on a 16 x 16 24-bit bitmap: `farbe` on `hintergrund`.
imaging::Bitmap NavigationsbildZeichnen(Navigationsbild bild, uint32_t farbe, uint32_t hintergrund);

// "navuebzurueck.png" and "navuebweiter.png" in the overview icon colour.
// "navgrosszurueck.png", "navgrossuebersicht.png", "navgrossweiter.png" and,
// when the slideshow can be switched off, "diashow.png" and "diashowstopp.png"
// in the picture-page icon colour.
//
// The folder is created when missing. True when every icon was written.
// False after a message: "Der Ordner ... kann nicht angelegt werden!"
// (nothing written), or a file that could not be written (ends in
// "Programmabbruch!": the run must stop, its pages would lack the icon).
bool StandardbilderUebErzeugen(const std::string& htmlOrdner, uint32_t uebQuadratFarbe,
                               uint32_t seitenhintergrund, DialogService& dialoge,
                               const std::function<void()>& pump = {});
bool StandardbilderGrossErzeugen(const std::string& htmlOrdner, uint32_t grossQuadratFarbe,
                                 uint32_t seitenhintergrund, bool diashowAbschaltbar,
                                 DialogService& dialoge, const std::function<void()>& pump = {});

// The same with the HTML folder, the colours (PanelUebQuadratFarbe,
// GrossPanelquadratFarbe, PanelHintergrundFarbe) and the slideshow boxes
// (CBDiashow and CBDiashowAbschaltbar) taken from the options.
bool StandardbilderUebErzeugen(const Kontext& k);
bool StandardbilderGrossErzeugen(const Kontext& k);

}  // namespace mosaik

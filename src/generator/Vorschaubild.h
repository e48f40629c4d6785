#pragma once
// What the page writers ask of the image pipeline about thumbnails: making
// one, its size attributes, and the panorama test. The making of the files
// themselves belongs to the image pipeline, which fills this place.
#include <string>
#include <vector>

#include "generator/Lauf.h"

namespace mosaik {

// The entry is a panorama: panorama treatment is on and its width over its
// height is strictly above the ratio option (exact, in integers).
bool IstPanorama(const Kontext& k, const TDateiArray& liste, int index);

// Makes the thumbnail of quelle + dateiname in vorschauOrdner (entered into
// its record when the tree keeps one, Lauf::VorschaubilderVerzeichnen);
// false when the original could not be read or the thumbnail not be made,
// which it has then told the user with the reason. namen: the thumbnail
// names of the folder's pictures in the order they are made, which tells
// whose an existing thumbnail is (AbgeleiteteDatei).
bool VorschaubildErzeugen(Lauf& lauf, const std::string& quelle, const std::string& vorschauOrdner,
                          const std::string& dateiname, bool vergroessern, int groesse,
                          const std::vector<std::string>& namen = {});

// 'width="w" height="h"' of a thumbnail file; empty when the file cannot be
// measured (the page then leaves the attributes out).
std::string VorschauGroesseAttribute(const Kontext& k, const std::string& pfad);

// The same for the thumbnail ordner + name of the picture bildpfad before
// it is made: of the kept file when one is to be kept, else worked out from
// the picture's size under the thumbnail size rules.
std::string VorschauGroesseAttributeVorab(const Kontext& k, const std::string& bildpfad, const std::string& ordner,
                                          const std::string& name);

// The same for a picture shown without thumbnails, from the size in the
// list under the thumbnail size rules; empty when its size is unknown.
std::string VorschauGroesseAttributeAusListe(const Kontext& k, const TDateiArray& liste, int index);

}  // namespace mosaik

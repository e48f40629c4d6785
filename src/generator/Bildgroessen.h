#pragma once
// The size rules of thumbnails, large images and pictures shown on picture
// pages: one rule set (mode, target size, panorama override, no enlarging)
// for every routine that makes or describes a picture. Every computed side
// is the floor of its exact value, computed in integers.
#include <cstdint>
#include <string>

#include "app/options/OptionModel.h"

namespace mosaik {

// The longest side a derived picture may have: what a JPEG file can hold.
constexpr int64_t kGroessteBildseite = 65500;

enum class Groessenmodus { LaengereSeite, Breite, Hoehe, Quadrat, Originalgroesse };

struct Masse {
  int64_t breite = 0;
  int64_t hoehe = 0;
  friend bool operator==(const Masse&, const Masse&) = default;
};

// The picture's size w x h for an original of W x H. In square mode it is
// the picture inside the S x S canvas. A picture that could not be measured
// (a side of 0) gives 0 x 0.
Masse Zielmasse(int64_t W, int64_t H, Groessenmodus modus, int64_t S, bool vergroessern);
// Files have at least one pixel a side (a 5000 x 1 picture by width 120
// would be 120 x 0).
Masse Dateimasse(Masse m);

// Width over height strictly above the ratio (in ten-thousandths): W * 10000
// > ratio * H, so that a ratio equal to the option is no panorama and a
// picture of unknown size is none.
bool PanoramaVerhaeltnis(int64_t W, int64_t H, int64_t verhaeltnisTausendstel4);
// The same under the options: panorama treatment on and above the ratio.
bool PanoramaBild(const OptionModel& m, int64_t W, int64_t H);

struct Groessenwahl {
  Groessenmodus modus = Groessenmodus::LaengereSeite;
  int64_t groesse = 0;
  bool vergroessern = false;
};

// Thumbnail files (and the attributes read from them): panoramas by their
// own size; else longer side, height, width, else square.
Groessenwahl VorschauWahl(const OptionModel& m, int64_t W, int64_t H, int64_t groesse, bool vergroessern);
// Thumbnail attributes from the picture list (no file): as above, with the
// square choice counting as width.
Groessenwahl VorschauListenWahl(const OptionModel& m, int64_t W, int64_t H);
// Large-image files: panoramas by their own size; else longer side, height,
// else width.
Groessenwahl GrossbildWahl(const OptionModel& m, int64_t W, int64_t H, int64_t groesse, bool vergroessern);
// The picture on its picture page: panoramas in original size or by their
// own size; else original size, longer side, height, else width.
Groessenwahl AnzeigeWahl(const OptionModel& m, int64_t W, int64_t H);

// The size of the file a picture of W x H becomes: the canvas in square
// mode, else the picture with at least one pixel a side.
Masse Dateigroesse(const Groessenwahl& w, int64_t W, int64_t H);

// 'width="w" height="h"', each at least 1: a browser hides a picture of
// height 0.
std::string GroesseAttribut(Masse m);

}  // namespace mosaik

#pragma once
// The orientation stored with a picture. Derived pictures keep the
// original's pixels as they are stored; a browser that turns a picture by
// its EXIF Orientation would turn the small copy inside a page that gives
// it the unturned width and height, squeezing it. So derived files say
// "top-left" (1).
#include <cstdint>
#include <string>

namespace mosaik::imaging {

class TimgData;

// The Orientation of the first image directory in an EXIF section as the
// metadata object stores it (two length bytes, "Exif\0\0", TIFF block);
// 0 when there is none or the block is damaged.
int ExifOrientation(const std::string& section);
// Sets that Orientation to 1 in place when it is a single SHORT inside the
// block; true when the section holds Orientation 1 afterwards.
bool SetExifOrientationTopLeft(std::string& section);
// The same for the EXIF section of a metadata object (none: nothing to do).
void SetExifOrientationTopLeft(TimgData& metadata);

}  // namespace mosaik::imaging

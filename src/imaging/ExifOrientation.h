#pragma once
// The orientation stored with a picture. Browsers turn a picture by its
// EXIF Orientation, so the program works with the displayed picture: a
// derived picture holds the pixels turned upright and says "top-left" (1).
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/Bitmap.h"

namespace mosaik::imaging {

class TimgData;

// The Orientation of the first image directory in an EXIF section as the
// metadata object stores it (two length bytes, "Exif\0\0", TIFF block);
// 0 when there is none or the block is damaged.
int ExifOrientation(const std::string& section);
// The Orientation of a JPEG file's EXIF block (the first APP1 "Exif"
// segment before the picture data); 0 when there is none.
int JpegExifOrientation(std::string_view jpeg);
// Orientations 5 to 8 turn the picture by a quarter: width and height swap.
inline bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
// The picture as it is displayed under the orientation (32-bit pixels);
// 0, 1 and unknown values leave it as it is.
Bitmap ApplyOrientation(const Bitmap& stored, int orientation);
// Sets that Orientation to 1 in place when it is a single SHORT inside the
// block; true when the section holds Orientation 1 afterwards.
bool SetExifOrientationTopLeft(std::string& section);
// The same for the EXIF section of a metadata object (none: nothing to do).
void SetExifOrientationTopLeft(TimgData& metadata);
// Drops the thumbnail stored in the block (the second image directory): the
// link to it is cleared, and its bytes are cut off when nothing the first
// directory and its sub-directories hold lies behind them. A turned picture
// would otherwise keep a thumbnail in the old orientation, which file
// managers show. True when there was a thumbnail.
bool DropExifThumbnail(std::string& section);
void DropExifThumbnail(TimgData& metadata);

}  // namespace mosaik::imaging

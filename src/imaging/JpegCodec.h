#pragma once
// The JPEG codec the program stands on (libjpeg): decoding to an RGB bitmap
// and encoding with a quality of 1 to 100, baseline or progressive, all in
// memory. Every libjpeg failure becomes a JpegError; nothing ends the
// process. Grayscale pictures are decoded to grey RGB, CMYK and YCCK ones
// converted to RGB.
#include <array>
#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Bitmap.h"

struct jpeg_decompress_struct;
struct jpeg_error_mgr;

namespace mosaik::imaging {

// A failure of the codec; the text is German and can be shown to the user.
class JpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// 24-bit pixels, rows top-down, three bytes R, G, B per pixel, no padding.
struct RgbBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Pixels;

  RgbBitmap() = default;
  RgbBitmap(int width, int height);
  uint8_t* Row(int y) { return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width) * 3; }
  const uint8_t* Row(int y) const {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width) * 3;
  }
};

// Pictures above this many pixels are refused before they are decoded as a
// whole (a small file can declare a picture that would need gigabytes).
inline constexpr uint64_t kDefaultMaxPixels = 300'000'000;

// The text of a decoder failure for the user, always German: what the
// library's message code (err.msg_code, with its parameters) means for a
// photo, or that the data are damaged.
std::string DecodeFailureText(bool truncated, const jpeg_error_mgr& err);

// Creates the decompressor (created then says it must be destroyed), gives
// it the bytes and reads the header; libjpeg's errors leave through the
// error manager the caller installed.
void BeginDecompress(jpeg_decompress_struct& cinfo, bool& created, std::string_view data);

// How both decoders take libjpeg's messages about the picture's data.
// libjpeg goes on after data that end early or do not decode, filling the
// rest of the picture with grey; here those are errors, so that a damaged
// photo is named instead of passed on half grey.
//
// Data that end before the end marker: libjpeg warns the moment its input
// runs dry and goes on as if the end marker stood there; since it reads
// ahead, that moment may come before the last rows are out. Some phones and
// interrupted copies leave only the end marker off: every row is there. So
// the end of the data is noted, and the picture counts as incomplete only
// when something was still to be read after it: a row needing more data,
// a scan still owed, or (arithmetic coding) pixels that would change with
// what follows the data.
struct Datenende {
  enum class Befund { Hinnehmen, Unvollstaendig, Beschaedigt };
  bool imBild = false;    // set once the header is read: the picture's own data follow
  bool erreicht = false;  // the input ran dry; a failure after it is one of the end
  // Arithmetic coding goes on with zeros at the end of the data without a
  // word; whether its data are whole is asked of the data themselves.
  bool arithmetisch = false;
  std::string_view daten;  // the whole file, for that question
  // The last thing read was entropy-coded data (after a scan header or a
  // restart marker): bytes skipped now are data the decoder did not use.
  bool inScandaten = false;
  std::bitset<256> komponenten;  // ids of the components a scan has carried
  Befund befund = Befund::Hinnehmen;  // the verdict that stopped the decoder
  // For the message libjpeg is about to give (c.err->msg_code): traces
  // (level >= 0) only follow where the reading stands. A warning makes the
  // picture incomplete (in the header, data ending is so at once; in the
  // picture, a row needed data beyond the end or beyond a marker), damaged
  // (a code that does not decode, a restart interval lost, data left over
  // where a scan or restart interval ended) or leaves it whole. Once the
  // last row is out, only left-over data still spoil the picture: they
  // show the decoder lost step on the way.
  Befund Bewerten(const jpeg_decompress_struct& c, int level);
  // After a picture in several scans was read whole: true when its data
  // ended before every component got its scan (sequential) or every
  // coefficient its last bit (progressive).
  bool ScansUnvollstaendig(const jpeg_decompress_struct& c) const;
  // The failure text to give once the decoder stopped: incomplete when the
  // verdict or the end of the data says so.
  bool Unvollstaendig() const {
    return befund == Befund::Unvollstaendig || (erreicht && befund != Befund::Beschaedigt);
  }
};

// Whether arithmetic-coded data that lack their end marker are whole: the
// picture stays the same whatever follows them. The encoder leaves out
// zero bytes at the very end, so one zero byte is granted first. What this
// cannot tell: a file cut by the one byte the decoder read last passes,
// its last block decoded with a zero there.
bool ArithmetischeDatenGanz(std::string_view data);

struct JpegInfo {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  bool Progressive = false;
  bool Cmyk = false;  // CMYK or YCCK
  // The first quantisation table in natural order (for checking a quality).
  std::array<uint16_t, 64> LumaQuant{};
};

// Reads the header up to the first scan; throws JpegError.
JpegInfo ReadJpegInfo(std::string_view data);
// Decodes a whole picture; throws JpegError for damaged or truncated data
// and for pictures above maxPixels.
RgbBitmap DecodeJpeg(std::string_view data, uint64_t maxPixels = kDefaultMaxPixels);
// Encodes with libjpeg's quality scaling (1..100, clamped) and its JFIF
// header; progressive gives the library's standard scan script.
std::string EncodeJpeg(const RgbBitmap& bitmap, int quality, bool progressive);

// A JPEG picture as the writers use it: either an encoded stream (loaded
// from a file, kept byte for byte) or a bitmap that Compress encodes.
class JpegImage {
 public:
  bool ProgressiveEncoding = false;
  int CompressionQuality = 90;  // 1..100
  uint64_t MaxPixels = kDefaultMaxPixels;

  // Keeps the file's bytes; they are not decoded until the pixels are
  // asked for. Throws JpegError when the file cannot be read.
  void LoadFromFile(const std::string& path);
  void LoadFromBytes(std::string bytes);
  // Takes a picture to be encoded by Compress (or SaveToStream).
  void Assign(RgbBitmap bitmap);
  void Compress();

  int Width();
  int Height();
  bool Empty() const { return stream_.empty() && bitmap_.Pixels.empty() && bitmap_.Width == 0; }
  // The complete encoded stream (FF D8 ...); encodes an assigned bitmap
  // first when needed.
  const std::string& SaveToStream();
  // The decoded pixels (decoded once).
  const RgbBitmap& Bitmap();

 private:
  std::string stream_;
  RgbBitmap bitmap_;
  bool haveBitmap_ = false;
  bool haveInfo_ = false;
  JpegInfo info_;
};

}  // namespace mosaik::imaging

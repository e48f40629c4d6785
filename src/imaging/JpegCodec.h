#pragma once
// The JPEG codec the program stands on (libjpeg): decoding to an RGB bitmap
// and encoding with a quality of 1 to 100, baseline or progressive, all in
// memory. Every libjpeg failure becomes a JpegError; nothing ends the
// process. Grayscale pictures are decoded to grey RGB, CMYK and YCCK ones
// converted to RGB.
#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
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

// Creates the decompressor (created then says it must be destroyed), gives
// it the bytes and reads the header; libjpeg's errors leave through the
// error manager the caller installed.
void BeginDecompress(jpeg_decompress_struct& cinfo, bool& created, std::string_view data);

// Where libjpeg's marker reader may skip bytes without a pixel lost, walked
// through the bytes in the order libjpeg reads them: a stretch between two
// segments may hold anything; entropy-coded data may end in padding (zero
// bytes, 0xFF fill) before the marker that follows them.
struct Markengang {
  size_t pos = 2;          // where the stretch not yet walked begins (after SOI)
  bool scandaten = false;  // that stretch is entropy-coded data
  bool fertig = false;     // the end marker or the end of the data was reached
  bool endeInScandaten = false;  // the data end within entropy-coded data, no marker after them
  bool segmentOffen = false;     // the data end within a segment
  // Walks every stretch that ends at a marker whose code byte lies at or
  // before bis (the end of the data counts as a marker there) and returns
  // how many bytes libjpeg may have skipped in them as padding or between
  // segments. A scan header starts the count anew but for the padding
  // before restart markers: libjpeg may carry what its bit buffer held
  // there into a later scan, where it skips nothing else older.
  size_t Bis(std::string_view data, size_t bis);
};

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
  // OhneEndmarke: arithmetic-coded data end without their end marker, and
  // whether they are whole cannot be shown.
  enum class Befund { Hinnehmen, Unvollstaendig, Beschaedigt, OhneEndmarke };
  std::string_view daten;  // the whole file, set before its header is read
  bool imBild = false;    // set once the header is read: the picture's own data follow
  bool erreicht = false;  // the input ran dry; a failure after it is one of the end
  // Arithmetic coding goes on with zeros at the end of the data without a
  // word; whether its data are whole is asked of the data themselves, once.
  bool arithmetisch = false;
  std::optional<bool> arithmetischGanz;
  Markengang gang;  // how far the bytes were walked for left-over data
  std::bitset<256> komponenten;  // ids of the components a scan has carried
  Befund befund = Befund::Hinnehmen;  // the verdict that stopped the decoder
  // For the message libjpeg is about to give (c.err->msg_code): traces
  // (level >= 0) only note the components of each scan. A warning makes
  // the picture incomplete (in the header, data ending is so at once; in
  // the picture, a row needed data beyond a marker), damaged (a code that
  // does not decode, a restart interval lost, bytes skipped before a marker
  // that are no padding: left-over data, the decoder lost step) or leaves
  // it whole. Once the last row is out, only left-over data still spoil the
  // picture: they show the decoder lost step on the way.
  Befund Bewerten(const jpeg_decompress_struct& c, int level);
  // Once the data of a picture in several scans are read (after
  // jpeg_start_decompress), and again after its last row: the verdict on
  // data that ended early (a scan still owed, arithmetic-coded data that
  // cannot be shown whole); it is also kept as the verdict.
  Befund Schluss(jpeg_decompress_struct& c);
  // The verdict to give once the decoder stopped: incomplete when the end
  // of the data came first and nothing else was found.
  Befund Urteil() const {
    return befund == Befund::Hinnehmen && erreicht ? Befund::Unvollstaendig : befund;
  }

 private:
  // The picture in several scans: its data ended before every component
  // got its scan (sequential) or every coefficient its last bit
  // (progressive).
  bool ScansUnvollstaendig(const jpeg_decompress_struct& c) const;
};

// The text of a decoder failure for the user, always German: an early end
// of the data as the verdict says, else what the library's message code
// (err.msg_code, with its parameters) means for a photo, or that the data
// are damaged.
std::string DecodeFailureText(Datenende::Befund urteil, const jpeg_error_mgr& err);

// Whether arithmetic-coded data that lack their end marker are whole: the
// picture stays the same whatever follows them. The encoder leaves out the
// zero bytes at the very end of its data, two of its final flush and as
// many more as its last symbols came to: a flat stretch at the bottom of a
// picture codes into a few zero bytes, more the larger it is (6000 black
// rows below a photo of 1600 columns: 16). A file cut by about as many
// bytes as are granted looks the same (its decoder takes zeros for the
// bytes lost), so the zeros granted are a bet that the data were not cut
// that close to their end: one for every KB of data, at least one and at
// most 16, before other bytes follow.
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

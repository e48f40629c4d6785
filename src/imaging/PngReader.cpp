// The reading side of the PNG graphic: the chunk walk, the chunk loaders,
// the IDAT decoder (inflate, filters, Adam7, row conversion into the held
// bitmap), and the ways out of the image: bitmap copy, drawing, palette.
//
// Every byte read comes from a stranger. Reads are checked, chunk data is
// taken in pieces as it arrives (a length field alone allocates nothing),
// an image larger than MaxPixelCount is refused before it is allocated, and
// the decoder inflates only the bytes the header's rows need, so a small
// file cannot make it produce unbounded output. Only the EPngError family
// leaves these functions.
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <istream>
#include <new>
#include <sstream>

#include "imaging/NumberFormat.h"
#include "imaging/PngGraphic.h"
#include "imaging/PngInternal.h"
#include "platform/FileSystem.h"

namespace mosaik::imaging {

using namespace png_internal;

namespace {

// Chunk data kept in memory beyond this is refused; no real ancillary chunk
// comes near it.
constexpr uint64_t kMaxKeptChunkData = uint64_t{256} << 20;
constexpr size_t kInflateInput = 65535;

void ReadExact(std::istream& in, uint8_t* dst, size_t n) {
  if (n == 0) return;
  in.read(reinterpret_cast<char*>(dst), static_cast<std::streamsize>(n));
  if (static_cast<size_t>(in.gcount()) != n) throw EPngUnexpectedEnd();
}

uint32_t ReadBigEndian32(std::istream& in) {
  uint8_t b[4];
  ReadExact(in, b, 4);
  return BigEndian32(b);
}

void Skip(std::istream& in, uint64_t n) {
  while (n > 0) {
    const auto step = static_cast<std::streamsize>(std::min<uint64_t>(n, uint64_t{1} << 30));
    in.ignore(step);
    if (in.gcount() != step) throw EPngUnexpectedEnd();
    n -= static_cast<uint64_t>(step);
  }
}

// The CRC-32 of the type and data compared with the stored one.
void CheckCrc(std::istream& in, uint32_t runningCrc) {
  if (ReadBigEndian32(in) != (runningCrc ^ 0xFFFFFFFFu)) throw EPngInvalidCRC();
}

uint32_t CrcOfName(const std::string& name) {
  return PngUpdateCrc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(name.data()), name.size());
}

bool IsCritical(const std::string& name) { return !name.empty() && name[0] >= 'A' && name[0] <= 'Z'; }

// Reads one IDAT stream that may be spread over several consecutive IDAT
// chunks, checking each chunk's CRC as its end is reached.
class IdatInput {
 public:
  IdatInput(std::istream& in, uint32_t firstSize)
      : in_(in), remaining_(firstSize), crc_(CrcOfName(TChunkIDAT::kName)), buf_(kInflateInput) {
    const int r = inflateInit(&z_);
    if (r == Z_MEM_ERROR) throw EPNGOutMemory();
    if (r != Z_OK) throw PngZlibError(r);
  }
  ~IdatInput() { inflateEnd(&z_); }
  IdatInput(const IdatInput&) = delete;
  IdatInput& operator=(const IdatInput&) = delete;

  // Inflates exactly n bytes into out.
  void Inflate(uint8_t* out, size_t n) {
    z_.next_out = out;
    z_.avail_out = static_cast<uInt>(n);
    while (z_.avail_out > 0) {
      if (z_.avail_in == 0) Refill();
      const int r = inflate(&z_, Z_NO_FLUSH);
      if (r == Z_OK || (r == Z_STREAM_END && z_.avail_out == 0)) continue;
      // Z_STREAM_END here: the stream ended before the rows did.
      if (r == Z_MEM_ERROR) throw EPNGOutMemory();
      throw PngZlibError(r);
    }
  }

  // Passes over what is left of the current chunk and checks its CRC.
  void Finish() {
    while (remaining_ > 0) {
      const size_t n = std::min<size_t>(remaining_, buf_.size());
      ReadExact(in_, buf_.data(), n);
      crc_ = PngUpdateCrc(crc_, buf_.data(), n);
      remaining_ -= static_cast<uint32_t>(n);
    }
    CheckCrc(in_, crc_);
  }

 private:
  void Refill() {
    while (remaining_ == 0) {
      CheckCrc(in_, crc_);
      uint8_t head[8];
      ReadExact(in_, head, 8);
      if (std::memcmp(head + 4, TChunkIDAT::kName, 4) != 0) throw EPNGMissingMultipleIDAT();
      remaining_ = BigEndian32(head);
      crc_ = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
    }
    const size_t n = std::min<size_t>(remaining_, buf_.size());
    ReadExact(in_, buf_.data(), n);
    crc_ = PngUpdateCrc(crc_, buf_.data(), n);
    remaining_ -= static_cast<uint32_t>(n);
    z_.next_in = buf_.data();
    z_.avail_in = static_cast<uInt>(n);
  }

  std::istream& in_;
  uint32_t remaining_;
  uint32_t crc_;
  std::vector<uint8_t> buf_;
  z_stream z_{};
};

void Unfilter(uint8_t type, uint8_t* cur, const uint8_t* prev, size_t n, size_t offset) {
  switch (type) {
    case 1:
      for (size_t i = offset; i < n; ++i) cur[i] = static_cast<uint8_t>(cur[i] + cur[i - offset]);
      break;
    case 2:
      for (size_t i = 0; i < n; ++i) cur[i] = static_cast<uint8_t>(cur[i] + prev[i]);
      break;
    case 3:
      for (size_t i = 0; i < n; ++i) {
        const int left = i >= offset ? cur[i - offset] : 0;
        cur[i] = static_cast<uint8_t>(cur[i] + (left + prev[i]) / 2);
      }
      break;
    case 4:
      for (size_t i = 0; i < n; ++i) {
        const int left = i >= offset ? cur[i - offset] : 0;
        const int upLeft = i >= offset ? prev[i - offset] : 0;
        cur[i] = static_cast<uint8_t>(cur[i] + PaethPredictor(left, prev[i], upLeft));
      }
      break;
    default:
      // None, and unknown types, leave the row as it is.
      break;
  }
}

// Puts `count` pixels of one unfiltered PNG row at columns x0, x0 + dx, ...
// of bitmap row y.
void PlaceRow(TChunkIHDR& h, const TPngGraphic& g, const uint8_t* row, uint32_t y, uint32_t x0,
              uint32_t dx, uint32_t count) {
  uint8_t* line = h.ScanLine(y);
  uint8_t* alpha = h.ImageAlpha.empty() ? nullptr : h.ImageAlpha.data() + static_cast<size_t>(y) * h.Width;
  const auto& gamma = g.GammaTable;
  const unsigned depth = h.BitDepth;
  const bool wide = depth == 16;
  switch (h.ColorType) {
    case 0:
    case 3: {
      if (x0 == 0 && dx == 1 && static_cast<int>(depth) == h.BitsPerPixel) {
        std::memcpy(line, row, (static_cast<size_t>(count) * depth + 7) / 8);
        break;
      }
      const unsigned mask = depth >= 8 ? 0xFF : (1u << depth) - 1;
      for (uint32_t k = 0; k < count; ++k) {
        unsigned v;
        if (depth == 16) {
          v = row[2 * static_cast<size_t>(k)];
        } else if (depth == 8) {
          v = row[k];
        } else {
          const size_t bit = static_cast<size_t>(k) * depth;
          v = (row[bit / 8] >> (8 - depth - bit % 8)) & mask;
          // Two-bit grey widens to the 16-entry ramp so that its four
          // levels stay 0, 85, 170 and 255.
          if (depth == 2 && h.ColorType == 0) v *= 5;
        }
        SetIndexAt(line, h.BitsPerPixel, x0 + k * dx, v);
      }
      break;
    }
    case 2:
    case 6: {
      const size_t step = (h.ColorType == 6 ? 4u : 3u) * (wide ? 2u : 1u);
      const size_t sample = wide ? 2 : 1;
      for (uint32_t k = 0; k < count; ++k) {
        const uint8_t* p = row + k * step;
        uint8_t* q = line + 3 * static_cast<size_t>(x0 + k * dx);
        q[2] = gamma[p[0]];
        q[1] = gamma[p[sample]];
        q[0] = gamma[p[2 * sample]];
        if (alpha) alpha[x0 + k * dx] = p[3 * sample];
      }
      break;
    }
    case 4: {
      const size_t step = wide ? 4 : 2;
      for (uint32_t k = 0; k < count; ++k) {
        const uint8_t* p = row + k * step;
        line[x0 + k * dx] = p[0];
        if (alpha) alpha[x0 + k * dx] = p[wide ? 2 : 1];
      }
      break;
    }
    default:
      break;
  }
}

// The bitmap index of a grey sample as the decoder stores it.
unsigned GreyIndex(unsigned sample, const TChunkIHDR& h) {
  switch (h.BitDepth) {
    case 16: return sample >> 8;
    case 2: return (sample & 3) * 5;
    default: return sample & ((1u << h.BitsPerPixel) - 1);
  }
}

}  // namespace

// ---- chunk loaders ---------------------------------------------------------

bool TChunk::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  name_ = name;
  Data.clear();
  // Taken in pieces as they arrive: a length field promising gigabytes
  // in a short file allocates nothing.
  uint64_t left = size;
  while (left > 0) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(left, 1u << 20));
    if (Data.size() + n > kMaxKeptChunkData) throw EPNGOutMemory();
    const size_t at = Data.size();
    try {
      Data.resize(at + n);
    } catch (const std::bad_alloc&) {
      throw EPNGOutMemory();
    }
    ReadExact(in, Data.data() + at, n);
    left -= n;
  }
  uint32_t crc = CrcOfName(name);
  crc = PngUpdateCrc(crc, Data.data(), Data.size());
  CheckCrc(in, crc);
  return true;
}

bool TChunkIHDR::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  TChunk::LoadFromStream(in, name, size);
  if (Data.size() < 13) throw EPngInvalidIHDR();
  const uint32_t width = BigEndian32(Data.data());
  const uint32_t height = BigEndian32(Data.data() + 4);
  const uint8_t depth = Data[8], colorType = Data[9], compression = Data[10], filter = Data[11],
                interlace = Data[12];
  if (width > 65535 || height > 65535) throw EPNGSizeExceeds();
  if (width == 0 || height == 0 || !ValidColorTypeAndDepth(colorType, depth)) throw EPngInvalidIHDR();
  if (compression != 0) throw EPNGUnknownCompression();
  if (interlace > 1) throw EPNGUnknownInterlace();
  TPngGraphic& g = *Owner();
  if (uint64_t{width} * height > g.MaxPixelCount) throw EPNGSizeExceeds();
  Width = width;
  Height = height;
  BitDepth = depth;
  ColorType = colorType;
  CompressionMethod = compression;
  FilterMethod = filter;
  InterlaceMethod = interlace;
  g.InterlaceMethod = interlace;
  ColorTable.fill(TRGBQuad{});
  PrepareImageData();
  return true;
}

bool TChunkPLTE::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  TChunk::LoadFromStream(in, name, size);
  if (Data.size() % 3 != 0 || Data.size() > 256 * 3) throw EPNGInvalidPalette();
  TPngGraphic& g = *Owner();
  TChunkIHDR& h = g.GetHeaderChunk();
  Count = static_cast<int>(Data.size() / 3);
  // Entries past the palette stay black, so a stray index has one defined
  // colour.
  h.ColorTable.fill(TRGBQuad{});
  for (int i = 0; i < Count; ++i) {
    const uint8_t* p = Data.data() + 3 * static_cast<size_t>(i);
    h.ColorTable[static_cast<size_t>(i)] = TRGBQuad{g.GammaTable[p[2]], g.GammaTable[p[1]], g.GammaTable[p[0]], 0};
  }
  return true;
}

bool TChunkgAMA::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  TChunk::LoadFromStream(in, name, size);
  const uint32_t value = GetValue();
  if (value == 0) return true;
  TPngGraphic& g = *Owner();
  const double exponent = 1.0 / (value / 100000.0 * 2.2);
  for (int i = 0; i < 256; ++i) {
    const double v = 255.0 * std::pow(i / 255.0, exponent);
    const auto out = static_cast<uint8_t>(std::clamp<int64_t>(RoundHalfEven(v), 0, 255));
    g.GammaTable[static_cast<size_t>(i)] = out;
    g.InverseGamma[out] = static_cast<uint8_t>(i);
  }
  return true;
}

bool TChunktRNS::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  TChunk::LoadFromStream(in, name, size);
  if (Data.size() > 256) throw EPNGInvalidPalette();
  PaletteValues.fill(255);
  std::copy(Data.begin(), Data.end(), PaletteValues.begin());
  const TChunkIHDR& h = Owner()->GetHeaderChunk();
  if (h.ColorType == 3) {
    const auto below = std::count_if(Data.begin(), Data.end(), [](uint8_t v) { return v < 255; });
    BitTransparency = below == 1;
  } else {
    BitTransparency = h.ColorType == 0 || h.ColorType == 2;
  }
  return true;
}

bool TChunkIDAT::LoadFromStream(std::istream& in, const std::string& name, uint32_t size) {
  (void)name;
  TPngGraphic& g = *Owner();
  TChunkIHDR& h = g.GetHeaderChunk();
  if (h.ImageData.empty()) throw EPNGNoImageData();
  if (h.ColorType == 0 || h.ColorType == 4) SetGreyRamp(h, g.GammaTable);

  const int channels = Channels(h.ColorType);
  const size_t pixelBits = static_cast<size_t>(h.BitDepth) * channels;
  const size_t offset = std::max<size_t>(pixelBits / 8, 1);
  auto rowBytes = [&](uint32_t width) { return (static_cast<size_t>(width) * pixelBits + 7) / 8; };
  const size_t fullRow = rowBytes(h.Width);
  std::vector<uint8_t> cur(fullRow + 1), prev(fullRow + 1);
  IdatInput input(in, size);

  auto decodePass = [&](uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy) {
    if (x0 >= h.Width || y0 >= h.Height) return;  // a pass without pixels has no rows
    const uint32_t count = (h.Width - x0 + dx - 1) / dx;
    const size_t n = rowBytes(count);
    std::fill(prev.begin(), prev.end(), 0);
    for (uint32_t y = y0; y < h.Height; y += dy) {
      input.Inflate(cur.data(), n + 1);
      Unfilter(cur[0], cur.data() + 1, prev.data() + 1, n, offset);
      PlaceRow(h, g, cur.data() + 1, y, x0, dx, count);
      cur.swap(prev);
    }
  };
  if (g.InterlaceMethod == 1) {
    for (int pass = 0; pass < 7; ++pass)
      decodePass(kAdam7StartCol[pass], kAdam7StartRow[pass], kAdam7ColStep[pass], kAdam7RowStep[pass]);
  } else {
    decodePass(0, 0, 1, 1);
  }
  input.Finish();
  return true;
}

// ---- the chunk walk --------------------------------------------------------

void TPngGraphic::LoadFromStream(std::istream& in) {
  // Whatever the stream or the allocator throw leaves as one of ours.
  try {
    ReadChunks(in);
  } catch (const EPngError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw EPNGOutMemory();
  } catch (const std::ios_base::failure&) {
    throw EPngUnexpectedEnd();
  }
}

void TPngGraphic::ReadChunks(std::istream& in) {
  ClearImage();
  static const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  uint8_t sig[8] = {};
  in.read(reinterpret_cast<char*>(sig), 8);
  if (in.gcount() != 8 || std::memcmp(sig, kSignature, 8) != 0) throw EPNGInvalidFileHeader();

  bool haveIdat = false;
  for (;;) {
    uint8_t head[8];
    ReadExact(in, head, 8);
    const uint32_t size = BigEndian32(head);
    const std::string name(reinterpret_cast<const char*>(head + 4), 4);
    if (Chunks.Count() == 0 && name != TChunkIHDR::kName) throw EPNGIHDRNotFirst();
    if (name == "cHRM" || (name == TChunkIDAT::kName && haveIdat)) {
      Skip(in, uint64_t{size} + 4);
      continue;
    }
    // One header per image: a second one would prepare a second bitmap
    // that nothing draws.
    if (name == TChunkIHDR::kName && Chunks.Count() > 0) throw EPngInvalidIHDR();
    if (name == TChunkPLTE::kName && Chunks.ItemFromClass<TChunkPLTE>()) throw EPNGInvalidPalette();
    if (!IsRegisteredChunk(name) && IsCritical(name)) throw EPNGUnknownCriticalChunk();
    auto chunk = CreateChunk(this, name);
    TChunk* added = Chunks.Append(std::move(chunk));
    if (name == TChunkIDAT::kName) haveIdat = true;
    if (!added->LoadFromStream(in, name, size) || name == TChunkIEND::kName) break;
  }
  if (!haveIdat) throw EPNGNoImageData();
}

void TPngGraphic::LoadFromBytes(std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  LoadFromStream(in);
}

void TPngGraphic::LoadFromFile(const std::string& path) {
  // Through the file layer, which follows no link another user planted.
  const auto bytes = fs::readFile(path);
  if (!bytes) throw EPngError(0, "The file could not be opened: " + path);
  LoadFromBytes(*bytes);
}

// ---- transparency, palette, conversion and drawing -------------------------

TPNGTransparencyMode TPngGraphic::TransparencyMode() const {
  const auto* h = dynamic_cast<const TChunkIHDR*>(Chunks.Item(0));
  if (!h) return TPNGTransparencyMode::ptmNone;
  if (h->ColorType == 4 || h->ColorType == 6) return TPNGTransparencyMode::ptmPartial;
  const auto* trns = Chunks.ItemFromClass<TChunktRNS>();
  if (!trns) return TPNGTransparencyMode::ptmNone;
  if (h->ColorType == 3 && !trns->BitTransparency) return TPNGTransparencyMode::ptmPartial;
  return TPNGTransparencyMode::ptmBit;
}

uint32_t TPngGraphic::GetTransparentColor() const {
  if (TransparencyMode() != TPNGTransparencyMode::ptmBit) return 0;
  const TChunkIHDR& h = GetHeaderChunk();
  const auto& trns = *Chunks.ItemFromClass<TChunktRNS>();
  const auto& v = trns.PaletteValues;
  switch (h.ColorType) {
    case 0:
      return ToRgb(h.ColorTable[GreyIndex((unsigned{v[0]} << 8) | v[1], h)]);
    case 2: {
      // 16-bit samples are held by their high byte, 8-bit ones by their low.
      const size_t at = h.BitDepth == 16 ? 0 : 1;
      return (uint32_t{GammaTable[v[at]]} << 16) | (uint32_t{GammaTable[v[at + 2]]} << 8) | GammaTable[v[at + 4]];
    }
    default:
      for (size_t i = 0; i < trns.Data.size(); ++i)
        if (v[i] < 255) return ToRgb(h.ColorTable[i]);
      return 0;
  }
}

uint8_t TPngGraphic::GetAlpha(int x, int y) const {
  const auto* h = dynamic_cast<const TChunkIHDR*>(Chunks.Item(0));
  if (!h || h->ImageData.empty() || x < 0 || y < 0 || static_cast<uint32_t>(x) >= h->Width ||
      static_cast<uint32_t>(y) >= h->Height)
    return 0;
  const auto ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
  if (!h->ImageAlpha.empty()) return h->ImageAlpha[static_cast<size_t>(uy) * h->Width + ux];
  const auto* trns = Chunks.ItemFromClass<TChunktRNS>();
  if (!trns) return 255;
  if (h->ColorType == 3)
    return trns->PaletteValues[static_cast<size_t>(IndexAt(h->ScanLine(uy), h->BitsPerPixel, ux))];
  if (h->ColorType == 0) {
    const unsigned want = GreyIndex((unsigned{trns->PaletteValues[0]} << 8) | trns->PaletteValues[1], *h);
    return static_cast<unsigned>(IndexAt(h->ScanLine(uy), h->BitsPerPixel, ux)) == want ? 0 : 255;
  }
  if (h->ColorType == 2) return GetPixel(x, y) == GetTransparentColor() ? 0 : 255;
  return 255;
}

std::vector<uint32_t> TPngGraphic::GetPalette() const {
  const auto* h = dynamic_cast<const TChunkIHDR*>(Chunks.Item(0));
  if (!h || (h->ColorType != 0 && h->ColorType != 3)) return {};
  std::vector<uint32_t> palette(256);
  for (size_t i = 0; i < 256; ++i) palette[i] = ToRgb(h->ColorTable[i]);
  return palette;
}

void TPngGraphic::AssignTo(Bitmap& dest) const {
  const auto* h = dynamic_cast<const TChunkIHDR*>(Chunks.Item(0));
  if (!h || h->ImageData.empty()) {
    dest = Bitmap();
    return;
  }
  const auto format = static_cast<PixelFormat>(h->BitsPerPixel);
  Bitmap b(static_cast<int>(h->Width), static_cast<int>(h->Height), format);
  for (uint32_t y = 0; y < h->Height; ++y) std::memcpy(b.row(static_cast<int>(y)), h->ScanLine(y), b.stride());
  if (h->BitsPerPixel < 16) {
    b.palette.resize(size_t{1} << h->BitsPerPixel);
    for (size_t i = 0; i < b.palette.size(); ++i) b.palette[i] = ToRgb(h->ColorTable[i]);
  }
  dest = std::move(b);
}

void TPngGraphic::Draw(Bitmap& canvas, int left, int top, int right, int bottom) const {
  const auto* h = dynamic_cast<const TChunkIHDR*>(Chunks.Item(0));
  if (!h || h->ImageData.empty() || right <= left || bottom <= top) return;
  if (canvas.format != PixelFormat::Bit24 && canvas.format != PixelFormat::Bit32) return;
  if (canvas.pixels.size() < canvas.stride() * static_cast<size_t>(std::max(canvas.height, 0))) return;
  const size_t bytes = canvas.format == PixelFormat::Bit32 ? 4 : 3;
  const int64_t dw = int64_t{right} - left, dh = int64_t{bottom} - top;
  const bool opaque = TransparencyMode() == TPNGTransparencyMode::ptmNone;
  for (int y = std::max(top, 0); y < std::min(bottom, canvas.height); ++y) {
    const auto sy = static_cast<int>((int64_t{y} - top) * h->Height / dh);
    uint8_t* line = canvas.row(y);
    for (int x = std::max(left, 0); x < std::min(right, canvas.width); ++x) {
      const auto sx = static_cast<int>((int64_t{x} - left) * h->Width / dw);
      const uint8_t a = opaque ? 255 : GetAlpha(sx, sy);
      if (a == 0) continue;
      const uint32_t c = GetPixel(sx, sy);
      uint8_t* p = line + bytes * static_cast<size_t>(x);
      const uint8_t src[3] = {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)};
      for (int i = 0; i < 3; ++i)
        p[i] = a == 255 ? src[i] : static_cast<uint8_t>((src[i] * a + p[i] * (255 - a) + 127) / 255);
    }
  }
}

}  // namespace mosaik::imaging

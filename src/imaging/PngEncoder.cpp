// The IDAT encoder: bitmap rows become PNG rows, are filtered and streamed
// through deflate into IDAT chunks of at most MaxIdatSize bytes.
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <vector>

#include "imaging/PngGraphic.h"
#include "imaging/PngInternal.h"

namespace mosaik::imaging {

using namespace png_internal;

namespace {

// Deflate output collected in a buffer of MaxIdatSize bytes; every full
// buffer becomes one IDAT chunk.
class IdatStream {
 public:
  IdatStream(int level, uint32_t maxIdatSize, std::ostream& out) : buf_(maxIdatSize), out_(out) {
    const int r = deflateInit(&z_, level);
    if (r == Z_MEM_ERROR) throw EPNGOutMemory();
    if (r != Z_OK) throw PngZlibError(r);
    z_.next_out = buf_.data();
    z_.avail_out = static_cast<uInt>(buf_.size());
  }
  ~IdatStream() { deflateEnd(&z_); }
  IdatStream(const IdatStream&) = delete;
  IdatStream& operator=(const IdatStream&) = delete;

  void Feed(const uint8_t* data, size_t size) {
    z_.next_in = const_cast<Bytef*>(data);
    z_.avail_in = static_cast<uInt>(size);
    while (z_.avail_in > 0) {
      if (z_.avail_out == 0) Emit(buf_.size());
      Check(deflate(&z_, Z_NO_FLUSH));
    }
  }

  void Finish() {
    for (;;) {
      if (z_.avail_out == 0) Emit(buf_.size());
      const int r = deflate(&z_, Z_FINISH);
      if (r == Z_STREAM_END) break;
      Check(r);
    }
    const size_t used = buf_.size() - z_.avail_out;
    if (used > 0) Emit(used);
  }

 private:
  void Emit(size_t size) {
    PngWriteChunk(out_, TChunkIDAT::kName, buf_.data(), size);
    z_.next_out = buf_.data();
    z_.avail_out = static_cast<uInt>(buf_.size());
  }
  // With input and output room left deflate always moves on; anything
  // else is an error, never a reason to spin.
  void Check(int r) {
    if (r == Z_OK) return;
    if (r == Z_MEM_ERROR) throw EPNGOutMemory();
    throw PngZlibError(r);
  }

  z_stream z_{};
  std::vector<uint8_t> buf_;
  std::ostream& out_;
};

struct RowLayout {
  uint8_t colorType;
  uint8_t bitDepth;  // as written: 2 is held and written as 4
  int channels;

  // Bytes of `width` pixels without the filter byte.
  size_t RowBytes(uint32_t width) const {
    return (static_cast<size_t>(width) * bitDepth * channels + 7) / 8;
  }
  // Bytes per complete pixel, at least 1.
  size_t Offset() const {
    const size_t n = static_cast<size_t>(bitDepth) * channels / 8;
    return n > 0 ? n : 1;
  }
  size_t PixelBits() const { return static_cast<size_t>(bitDepth) * channels; }
};

// One bitmap row (and its alpha row) as a PNG row of the full width.
void ConvertRow(const TPngGraphic& g, const TChunkIHDR& h, const RowLayout& l, uint32_t y,
                uint8_t* out) {
  const uint8_t* src = h.ScanLine(y);
  const uint8_t* alpha = h.ImageAlpha.empty() ? nullptr : h.ImageAlpha.data() + static_cast<size_t>(y) * h.Width;
  const auto& inv = g.InverseGamma;
  const bool wide = l.bitDepth == 16;
  const uint32_t w = h.Width;
  size_t o = 0;
  auto put = [&](uint8_t v) {
    out[o++] = v;
    if (wide) out[o++] = 0;
  };
  switch (l.colorType) {
    case 0:
    case 3:
      if (wide) {
        for (uint32_t x = 0; x < w; ++x) put(src[x]);
      } else {
        std::memcpy(out, src, l.RowBytes(w));
      }
      break;
    case 2:
      for (uint32_t x = 0; x < w; ++x) {
        put(inv[src[3 * x + 2]]);
        put(inv[src[3 * x + 1]]);
        put(inv[src[3 * x]]);
      }
      break;
    case 4:
      for (uint32_t x = 0; x < w; ++x) {
        put(src[x]);
        put(alpha ? alpha[x] : 255);
      }
      break;
    case 6:
      for (uint32_t x = 0; x < w; ++x) {
        put(inv[src[3 * x + 2]]);
        put(inv[src[3 * x + 1]]);
        put(inv[src[3 * x]]);
        put(alpha ? alpha[x] : 255);
      }
      break;
    default:
      break;
  }
}

// Copies the pixels at columns start, start + step, ... of a full PNG row.
void PickPixels(const RowLayout& l, const uint8_t* full, uint32_t width, uint32_t start,
                uint32_t step, uint8_t* out, size_t outBytes) {
  const size_t bits = l.PixelBits();
  if (bits >= 8) {
    const size_t n = bits / 8;
    size_t o = 0;
    for (uint32_t x = start; x < width; x += step, o += n) std::memcpy(out + o, full + x * n, n);
    return;
  }
  std::memset(out, 0, outBytes);
  const unsigned mask = (1u << bits) - 1;
  size_t k = 0;
  for (uint32_t x = start; x < width; x += step, ++k) {
    const size_t from = x * bits, to = k * bits;
    const unsigned v = (full[from / 8] >> (8 - bits - from % 8)) & mask;
    out[to / 8] = static_cast<uint8_t>(out[to / 8] | (v << (8 - bits - to % 8)));
  }
}

// Positions from 2 on where a byte repeats one of the two before it.
size_t Score(const uint8_t* b, size_t n) {
  size_t s = 0;
  for (size_t i = 2; i < n; ++i)
    if (b[i] == b[i - 1] || b[i] == b[i - 2]) ++s;
  return s;
}

// Filters rows and hands them to deflate; the previous row starts zeroed.
class RowFilter {
 public:
  RowFilter(TFilters filters, size_t maxRowBytes, size_t offset)
      : filters_(filters), offset_(offset), cur_(maxRowBytes), prev_(maxRowBytes) {
    for (int t = 1; t <= 4; ++t)
      if (filters_ & (1 << t)) out_[static_cast<size_t>(t)].resize(maxRowBytes);
  }

  void Reset(size_t rowBytes) {
    rowBytes_ = rowBytes;
    std::fill(prev_.begin(), prev_.end(), 0);
  }
  uint8_t* Current() { return cur_.data(); }

  void Write(IdatStream& z) {
    const size_t n = rowBytes_, off = offset_;
    const uint8_t* c = cur_.data();
    const uint8_t* p = prev_.data();
    for (size_t i = 0; i < n; ++i) {
      const int left = i >= off ? c[i - off] : 0;
      const int upLeft = i >= off ? p[i - off] : 0;
      if (!out_[1].empty()) out_[1][i] = static_cast<uint8_t>(c[i] - left);
      if (!out_[2].empty()) out_[2][i] = static_cast<uint8_t>(c[i] - p[i]);
      if (!out_[3].empty()) out_[3][i] = static_cast<uint8_t>(c[i] - (p[i] + left) / 2);
      if (!out_[4].empty()) out_[4][i] = static_cast<uint8_t>(c[i] - PaethPredictor(left, p[i], upLeft));
    }
    const uint8_t type = Choose();
    z.Feed(&type, 1);
    z.Feed(type == 0 ? c : out_[type].data(), n);
    cur_.swap(prev_);
  }

 private:
  uint8_t Choose() const {
    if (filters_ == 0 || filters_ == pfNone) return 0;
    uint8_t best = 0;
    size_t bestScore = 0;
    for (int t = 0; t <= 4; ++t) {
      if (!(filters_ & (1 << t))) continue;
      if (filters_ == (1 << t)) return static_cast<uint8_t>(t);
      const uint8_t* b = t == 0 ? cur_.data() : out_[static_cast<size_t>(t)].data();
      const size_t s = Score(b, rowBytes_);
      if (s > bestScore) {
        bestScore = s;
        best = static_cast<uint8_t>(t);
      }
    }
    return best;
  }

  TFilters filters_;
  size_t offset_;
  size_t rowBytes_ = 0;
  std::vector<uint8_t> cur_, prev_;
  std::array<std::vector<uint8_t>, 5> out_;
};

}  // namespace

std::unique_ptr<TChunk> TChunkIDAT::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkIDAT>(owner);
}

bool TChunkIDAT::SaveToStream(std::ostream& out) {
  const TPngGraphic& g = *Owner();
  const TChunkIHDR& h = g.GetHeaderChunk();
  if (h.ImageData.empty()) throw EPNGNoImageData();
  const RowLayout l{h.ColorType, static_cast<uint8_t>(h.BitDepth == 2 ? 4 : h.BitDepth),
                    Channels(h.ColorType)};
  const size_t rowBytes = l.RowBytes(h.Width);
  RowFilter filter(g.Filters, rowBytes, l.Offset());
  IdatStream z(g.GetCompressionLevel(), g.GetMaxIdatSize(), out);

  if (g.InterlaceMethod != 1) {
    filter.Reset(rowBytes);
    for (uint32_t y = 0; y < h.Height; ++y) {
      ConvertRow(g, h, l, y, filter.Current());
      filter.Write(z);
    }
  } else {
    const auto& kStartRow = kAdam7StartRow;
    const auto& kStartCol = kAdam7StartCol;
    const auto& kRowStep = kAdam7RowStep;
    const auto& kColStep = kAdam7ColStep;
    std::vector<uint8_t> full(rowBytes);
    for (int pass = 0; pass < 7; ++pass) {
      // A pass without pixels has no rows at all.
      if (kStartCol[pass] >= h.Width || kStartRow[pass] >= h.Height) continue;
      const uint32_t passWidth = (h.Width - kStartCol[pass] + kColStep[pass] - 1) / kColStep[pass];
      const size_t passBytes = l.RowBytes(passWidth);
      filter.Reset(passBytes);
      for (uint32_t y = kStartRow[pass]; y < h.Height; y += kRowStep[pass]) {
        ConvertRow(g, h, l, y, full.data());
        PickPixels(l, full.data(), h.Width, kStartCol[pass], kColStep[pass], filter.Current(), passBytes);
        filter.Write(z);
      }
    }
  }
  z.Finish();
  return true;
}

}  // namespace mosaik::imaging

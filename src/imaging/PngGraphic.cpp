#include "imaging/PngGraphic.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "imaging/PngInternal.h"
#include "platform/FileSystem.h"

namespace mosaik::imaging {

using namespace png_internal;

namespace {

const uint32_t* CrcTable() {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table.data();
}

void CheckImageSize(uint64_t width, uint64_t height) {
  if (width == 0 || height == 0) throw EPNGNoImageData();
  if (width > 65535 || height > 65535) throw EPNGSizeExceeds();
}

}  // namespace

uint32_t PngUpdateCrc(uint32_t crc, const uint8_t* data, size_t size) {
  const uint32_t* t = CrcTable();
  for (size_t i = 0; i < size; ++i) crc = t[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

void PngWriteChunk(std::ostream& out, const char* name, const uint8_t* data, size_t size) {
  uint8_t head[8];
  PutBigEndian32(head, static_cast<uint32_t>(size));
  std::memcpy(head + 4, name, 4);
  uint32_t crc = PngUpdateCrc(0xFFFFFFFFu, head + 4, 4);
  crc = PngUpdateCrc(crc, data, size) ^ 0xFFFFFFFFu;
  uint8_t tail[4];
  PutBigEndian32(tail, crc);
  out.write(reinterpret_cast<const char*>(head), 8);
  if (size) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.write(reinterpret_cast<const char*>(tail), 4);
}

// ---- TChunk ------------------------------------------------------------

TChunk::TChunk(TPngGraphic* owner, const std::string& name) : owner_(owner), name_(name) {}

void TChunk::Assign(const TChunk& source) {
  name_ = source.name_;
  Data = source.Data;
}

bool TChunk::SaveToStream(std::ostream& out) {
  PngWriteChunk(out, name_.c_str(), Data.data(), Data.size());
  return true;
}

std::unique_ptr<TChunk> TChunk::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunk>(owner, name_);
}

std::unique_ptr<TChunk> TChunkIEND::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkIEND>(owner);
}

// ---- IHDR --------------------------------------------------------------

std::unique_ptr<TChunk> TChunkIHDR::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkIHDR>(owner);
}

void TChunkIHDR::Assign(const TChunk& source) {
  const auto* h = dynamic_cast<const TChunkIHDR*>(&source);
  if (!h) throw EPngError(65263);
  TChunk::Assign(source);
  Width = h->Width;
  Height = h->Height;
  BitDepth = h->BitDepth;
  ColorType = h->ColorType;
  CompressionMethod = h->CompressionMethod;
  FilterMethod = h->FilterMethod;
  InterlaceMethod = h->InterlaceMethod;
  BitsPerPixel = h->BitsPerPixel;
  ColorTable = h->ColorTable;
  BytesPerRow = h->BytesPerRow;
  ImageData = h->ImageData;
  ImageAlpha = h->ImageAlpha;
}

void TChunkIHDR::PrepareImageData() {
  CheckImageSize(Width, Height);
  BitsPerPixel = HeldBitsPerPixel(ColorType, BitDepth);
  BytesPerRow = ((static_cast<uint32_t>(BitsPerPixel) * Width + 31) & ~31u) / 8;
  try {
    ImageData.assign(static_cast<size_t>(BytesPerRow) * Height, 0);
    if (ColorType == 4 || ColorType == 6)
      ImageAlpha.assign(static_cast<size_t>(Width) * Height, 0);
    else
      ImageAlpha.clear();
  } catch (const std::bad_alloc&) {
    ImageData.clear();
    ImageAlpha.clear();
    throw EPNGOutMemory();
  }
}

uint8_t* TChunkIHDR::ScanLine(uint32_t y) {
  return ImageData.data() + static_cast<size_t>(Height - 1 - y) * BytesPerRow;
}

const uint8_t* TChunkIHDR::ScanLine(uint32_t y) const {
  return ImageData.data() + static_cast<size_t>(Height - 1 - y) * BytesPerRow;
}

bool TChunkIHDR::SaveToStream(std::ostream& out) {
  // Depth 2 is held with 4 bits per pixel, so that is what gets written.
  if (BitDepth == 2) BitDepth = 4;
  Data.assign(13, 0);
  PutBigEndian32(Data.data(), Width);
  PutBigEndian32(Data.data() + 4, Height);
  Data[8] = BitDepth;
  Data[9] = ColorType;
  Data[10] = CompressionMethod;
  Data[11] = FilterMethod;
  Data[12] = Owner()->InterlaceMethod;
  return TChunk::SaveToStream(out);
}

// ---- PLTE, gAMA, tRNS ----------------------------------------------------

std::unique_ptr<TChunk> TChunkPLTE::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkPLTE>(owner);
}

void TChunkPLTE::Assign(const TChunk& source) {
  const auto* p = dynamic_cast<const TChunkPLTE*>(&source);
  if (!p) throw EPngError(65263);
  TChunk::Assign(source);
  Count = p->Count;
}

bool TChunkPLTE::SaveToStream(std::ostream& out) {
  const TPngGraphic& g = *Owner();
  const TChunkIHDR& h = g.GetHeaderChunk();
  const int n = std::clamp(Count, 0, 256);
  Data.resize(static_cast<size_t>(n) * 3);
  for (int i = 0; i < n; ++i) {
    const TRGBQuad& q = h.ColorTable[static_cast<size_t>(i)];
    Data[static_cast<size_t>(i) * 3] = g.InverseGamma[q.rgbRed];
    Data[static_cast<size_t>(i) * 3 + 1] = g.InverseGamma[q.rgbGreen];
    Data[static_cast<size_t>(i) * 3 + 2] = g.InverseGamma[q.rgbBlue];
  }
  return TChunk::SaveToStream(out);
}

uint32_t TChunkPLTE::GetItem(int index) const {
  if (index < 0 || index >= Count || index > 255) throw EPngError(65259);
  return ToRgb(Owner()->GetHeaderChunk().ColorTable[static_cast<size_t>(index)]);
}

TChunkgAMA::TChunkgAMA(TPngGraphic* owner) : TChunk(owner, kName) { SetValue(1); }

std::unique_ptr<TChunk> TChunkgAMA::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkgAMA>(owner);
}

void TChunkgAMA::Assign(const TChunk& source) {
  if (!dynamic_cast<const TChunkgAMA*>(&source)) throw EPngError(65263);
  TChunk::Assign(source);
}

uint32_t TChunkgAMA::GetValue() const {
  if (Data.size() < 4) return 0;
  return (uint32_t{Data[0]} << 24) | (uint32_t{Data[1]} << 16) | (uint32_t{Data[2]} << 8) | Data[3];
}

void TChunkgAMA::SetValue(uint32_t value) {
  Data.assign(4, 0);
  PutBigEndian32(Data.data(), value);
}

std::unique_ptr<TChunk> TChunktRNS::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunktRNS>(owner);
}

void TChunktRNS::Assign(const TChunk& source) {
  TChunk::Assign(source);
  if (const auto* t = dynamic_cast<const TChunktRNS*>(&source)) {
    BitTransparency = t->BitTransparency;
    PaletteValues = t->PaletteValues;
  }
}

bool TChunktRNS::SaveToStream(std::ostream& out) {
  if (Data.size() <= PaletteValues.size())
    std::copy_n(PaletteValues.begin(), Data.size(), Data.begin());
  return TChunk::SaveToStream(out);
}

// ---- tIME, tEXt, zTXt ----------------------------------------------------

TChunktIME::TChunktIME(TPngGraphic* owner) : TChunk(owner, kName) { Data.assign(7, 0); }

std::unique_ptr<TChunk> TChunktIME::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunktIME>(owner);
}

TChunktIME::Zeit TChunktIME::GetTime() const {
  Zeit t;
  if (Data.size() != 7) return t;
  t.Year = static_cast<uint16_t>((Data[0] << 8) | Data[1]);
  t.Month = Data[2];
  t.Day = Data[3];
  t.Hour = Data[4];
  t.Minute = Data[5];
  t.Second = Data[6];
  return t;
}

void TChunktIME::SetTime(const Zeit& t) {
  Data = {static_cast<uint8_t>(t.Year >> 8), static_cast<uint8_t>(t.Year), t.Month, t.Day,
          t.Hour, t.Minute, t.Second};
}

std::unique_ptr<TChunk> TChunktEXt::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunktEXt>(owner);
}

std::string TChunktEXt::GetKeyword() const {
  const auto nul = std::find(Data.begin(), Data.end(), uint8_t{0});
  return std::string(Data.begin(), nul);
}

std::string TChunktEXt::GetText() const {
  const auto nul = std::find(Data.begin(), Data.end(), uint8_t{0});
  return nul == Data.end() ? std::string() : std::string(nul + 1, Data.end());
}

void TChunktEXt::SetText(const std::string& keyword, const std::string& text) {
  Data.assign(keyword.begin(), keyword.end());
  Data.push_back(0);
  Data.insert(Data.end(), text.begin(), text.end());
}

std::unique_ptr<TChunk> TChunkzTXt::NewOfSameClass(TPngGraphic* owner) const {
  return std::make_unique<TChunkzTXt>(owner);
}

std::string TChunkzTXt::GetText() const {
  const auto nul = std::find(Data.begin(), Data.end(), uint8_t{0});
  if (nul == Data.end() || nul + 1 == Data.end()) return {};
  // After the keyword's NUL comes the compression method byte.
  const size_t start = static_cast<size_t>(nul - Data.begin()) + 2;
  z_stream z{};
  int r = inflateInit(&z);
  if (r != Z_OK) throw PngZlibError(r);
  z.next_in = const_cast<Bytef*>(Data.data() + start);
  z.avail_in = static_cast<uInt>(Data.size() - start);
  std::string text;
  uint8_t buf[4096];
  do {
    z.next_out = buf;
    z.avail_out = sizeof buf;
    r = inflate(&z, Z_NO_FLUSH);
    if (r != Z_OK && r != Z_STREAM_END) {
      inflateEnd(&z);
      throw PngZlibError(r == Z_BUF_ERROR ? Z_DATA_ERROR : r);
    }
    text.append(reinterpret_cast<const char*>(buf), sizeof buf - z.avail_out);
    // A few bytes can inflate to gigabytes; no real text comes near this.
    if (text.size() > kMaxText) {
      inflateEnd(&z);
      throw PngZlibError(Z_MEM_ERROR);
    }
  } while (r != Z_STREAM_END);
  inflateEnd(&z);
  return text;
}

void TChunkzTXt::SetText(const std::string& keyword, const std::string& text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<uint8_t> packed(size);
  const int r = compress(packed.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                         static_cast<uLong>(text.size()));
  if (r != Z_OK) throw PngZlibError(r);
  Data.assign(keyword.begin(), keyword.end());
  Data.push_back(0);
  Data.push_back(0);
  Data.insert(Data.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
}

// ---- registry and list ---------------------------------------------------

namespace {

template <class T>
std::unique_ptr<TChunk> MakeChunk(TPngGraphic* owner) {
  return std::make_unique<T>(owner);
}

struct RegisteredChunk {
  const char* name;
  std::unique_ptr<TChunk> (*make)(TPngGraphic*);
};

constexpr RegisteredChunk kRegisteredChunks[] = {
    {TChunkIEND::kName, &MakeChunk<TChunkIEND>},
    {TChunkIHDR::kName, &MakeChunk<TChunkIHDR>},
    {TChunkIDAT::kName, &MakeChunk<TChunkIDAT>},
    {TChunkPLTE::kName, &MakeChunk<TChunkPLTE>},
    {TChunkgAMA::kName, &MakeChunk<TChunkgAMA>},
    {TChunktRNS::kName, &MakeChunk<TChunktRNS>},
    {TChunktIME::kName, &MakeChunk<TChunktIME>},
    {TChunktEXt::kName, &MakeChunk<TChunktEXt>},
    {TChunkzTXt::kName, &MakeChunk<TChunkzTXt>},
};

const RegisteredChunk* FindRegisteredChunk(const std::string& name) {
  for (const auto& registered : kRegisteredChunks)
    if (name == registered.name) return &registered;
  return nullptr;
}

}  // namespace

bool IsRegisteredChunk(const std::string& name) { return FindRegisteredChunk(name) != nullptr; }

std::unique_ptr<TChunk> CreateChunk(TPngGraphic* owner, const std::string& name) {
  if (const auto* registered = FindRegisteredChunk(name)) return registered->make(owner);
  return std::make_unique<TChunk>(owner, name);
}

int TPNGList::IndexOf(const TChunk* chunk) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == chunk) return static_cast<int>(i);
  return -1;
}

TChunk* TPNGList::Append(std::unique_ptr<TChunk> chunk) {
  items_.push_back(std::move(chunk));
  return items_.back().get();
}

void TPNGList::Insert(std::unique_ptr<TChunk> chunk, size_t index) {
  if (index < items_.size()) items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(chunk));
}

void TPNGList::RemoveChunk(const TChunk* chunk) {
  const int i = IndexOf(chunk);
  if (i >= 0) items_.erase(items_.begin() + i);
}

TChunk& TPNGList::Add(const std::string& name) {
  auto indexOfName = [this](const char* n) {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i]->GetName() == n) return static_cast<int>(i);
    return -1;
  };
  if (name == TChunkIHDR::kName || name == TChunkIDAT::kName || name == TChunkPLTE::kName ||
      name == TChunkIEND::kName)
    throw EPngError(65235);
  if ((name == TChunkgAMA::kName || name == TChunktRNS::kName) && indexOfName(name.c_str()) >= 0)
    throw EPngError(65235);
  const int iend = indexOfName(TChunkIEND::kName);
  const int ihdr = indexOfName(TChunkIHDR::kName);
  if (iend < 0 || ihdr < 0) throw EPngError(65236);

  int at = iend;
  if (name == TChunkgAMA::kName) {
    at = ihdr + 1;
  } else if (name == TChunktRNS::kName) {
    const int plte = indexOfName(TChunkPLTE::kName);
    const int idat = indexOfName(TChunkIDAT::kName);
    at = plte >= 0 ? plte + 1 : idat >= 0 ? idat : ihdr + 1;
  }
  auto chunk = CreateChunk(owner_, name);
  TChunk& added = *chunk;
  // A position past the end (IHDR last in a damaged list) appends.
  if (static_cast<size_t>(at) < items_.size())
    items_.insert(items_.begin() + at, std::move(chunk));
  else
    items_.push_back(std::move(chunk));
  return added;
}

// ---- TPngGraphic -----------------------------------------------------------

TPngGraphic::TPngGraphic() : Chunks(this) {
  for (int i = 0; i < 256; ++i) GammaTable[static_cast<size_t>(i)] = InverseGamma[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
}

TPngGraphic::~TPngGraphic() = default;

void TPngGraphic::ClearImage() {
  for (int i = 0; i < 256; ++i) GammaTable[static_cast<size_t>(i)] = InverseGamma[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  Chunks.Clear();
}

void TPngGraphic::SetCompressionLevel(int level) { compressionLevel_ = std::clamp(level, 0, 9); }

void TPngGraphic::SetMaxIdatSize(uint32_t size) { maxIdatSize_ = std::max<uint32_t>(size, 65535); }

void TPngGraphic::Assign(const TPngGraphic& source) {
  if (&source == this) return;
  InterlaceMethod = source.InterlaceMethod;
  maxIdatSize_ = source.maxIdatSize_;
  compressionLevel_ = source.compressionLevel_;
  Filters = source.Filters;
  // The gamma tables travel with the pixels they were applied to.
  GammaTable = source.GammaTable;
  InverseGamma = source.InverseGamma;
  Chunks.Clear();
  for (size_t i = 0; i < source.Chunks.Count(); ++i) {
    const TChunk& c = *source.Chunks.Item(i);
    auto copy = c.NewOfSameClass(this);
    copy->Assign(c);
    Chunks.Append(std::move(copy));
  }
}

void TPngGraphic::AssignBitmapHandle(const Bitmap& source, bool transparent,
                                     uint32_t transparentColor) {
  const int bpp = source.bitsPerPixel();
  const bool hasPalette = bpp < 16;
  CheckImageSize(static_cast<uint64_t>(std::max(source.width, 0)),
                 static_cast<uint64_t>(std::max(source.height, 0)));
  if (source.pixels.size() < source.stride() * static_cast<size_t>(source.height))
    throw std::invalid_argument("bitmap pixels shorter than its rows");

  ClearImage();
  auto* ihdr = static_cast<TChunkIHDR*>(Chunks.Append(std::make_unique<TChunkIHDR>(this)));
  TChunkPLTE* plte =
      hasPalette ? static_cast<TChunkPLTE*>(Chunks.Append(std::make_unique<TChunkPLTE>(this))) : nullptr;
  TChunktRNS* trns =
      transparent ? static_cast<TChunktRNS*>(Chunks.Append(std::make_unique<TChunktRNS>(this))) : nullptr;
  Chunks.Append(std::make_unique<TChunkIDAT>(this));
  Chunks.Append(std::make_unique<TChunkIEND>(this));

  TChunkIHDR& h = *ihdr;
  h.Width = static_cast<uint32_t>(source.width);
  h.Height = static_cast<uint32_t>(source.height);
  h.BitDepth = static_cast<uint8_t>(hasPalette ? bpp : 8);
  h.ColorType = hasPalette ? 3 : 2;
  h.CompressionMethod = 0;
  h.FilterMethod = 0;
  h.InterlaceMethod = 0;
  h.ColorTable.fill(TRGBQuad{});
  h.PrepareImageData();

  for (uint32_t y = 0; y < h.Height; ++y) {
    const uint8_t* from = source.row(static_cast<int>(y));
    uint8_t* to = h.ScanLine(y);
    if (hasPalette || bpp == 24) {
      std::memcpy(to, from, source.stride());
    } else {
      for (uint32_t x = 0; x < h.Width; ++x) std::memcpy(to + 3 * x, from + 4 * x, 3);
    }
  }

  if (hasPalette) {
    const int count = 1 << bpp;
    for (int i = 0; i < count && static_cast<size_t>(i) < source.palette.size(); ++i)
      h.ColorTable[static_cast<size_t>(i)] = FromRgb(source.palette[static_cast<size_t>(i)]);
    plte->Count = count;
  }

  if (trns) {
    trns->BitTransparency = true;
    if (h.ColorType == 2) {
      trns->Data.assign(6, 0);
      trns->PaletteValues.fill(0);
      trns->PaletteValues[1] = static_cast<uint8_t>(transparentColor >> 16);
      trns->PaletteValues[3] = static_cast<uint8_t>(transparentColor >> 8);
      trns->PaletteValues[5] = static_cast<uint8_t>(transparentColor);
    } else {
      // Only the entries the bitmap's palette has; a colour that is not
      // among them makes no pixel transparent, so no tRNS chunk is written.
      int k = -1;
      const int used = std::min(plte->Count, static_cast<int>(source.palette.size()));
      for (int i = 0; i < used; ++i)
        if (ToRgb(h.ColorTable[static_cast<size_t>(i)]) == (transparentColor & 0xFFFFFF)) {
          k = i;
          break;
        }
      if (k < 0) {
        Chunks.RemoveChunk(trns);
      } else {
        trns->PaletteValues.fill(255);
        trns->PaletteValues[static_cast<size_t>(k)] = 0;
        trns->Data.assign(static_cast<size_t>(k) + 1, 0);
      }
    }
  }
}

void TPngGraphic::CreateBlank(uint8_t colorType, uint8_t bitDepth, uint32_t width, uint32_t height) {
  if (!ValidColorTypeAndDepth(colorType, bitDepth)) throw EPngInvalidIHDR();
  CheckImageSize(width, height);
  ClearImage();
  auto* h = static_cast<TChunkIHDR*>(Chunks.Append(std::make_unique<TChunkIHDR>(this)));
  if (colorType == 3) {
    auto* plte = static_cast<TChunkPLTE*>(Chunks.Append(std::make_unique<TChunkPLTE>(this)));
    plte->Count = 1 << bitDepth;
  }
  Chunks.Append(std::make_unique<TChunkIDAT>(this));
  Chunks.Append(std::make_unique<TChunkIEND>(this));
  h->Width = width;
  h->Height = height;
  h->BitDepth = bitDepth;
  h->ColorType = colorType;
  h->PrepareImageData();
  if (colorType == 0 || colorType == 4) SetGreyRamp(*h, GammaTable);
}

void TPngGraphic::AddAlphaChannel() {
  TChunkIHDR& h = GetHeaderChunk();
  switch (h.ColorType) {
    case 0: {
      // Grey with alpha exists only at depths 8 and 16: fewer bits per
      // sample are widened to 8, keeping each pixel's grey level.
      std::vector<uint8_t> wide;
      const int bits = h.BitsPerPixel;
      if (bits < 8) {
        const int maxIndex = (1 << bits) - 1;
        std::vector<uint8_t> rows(static_cast<size_t>(h.Height) * h.Width);
        for (uint32_t y = 0; y < h.Height; ++y)
          for (uint32_t x = 0; x < h.Width; ++x)
            rows[static_cast<size_t>(y) * h.Width + x] =
                static_cast<uint8_t>(IndexAt(h.ScanLine(y), bits, x) * 255 / maxIndex);
        wide.swap(rows);
        h.BitDepth = 8;
      }
      h.ColorType = 4;
      const std::vector<uint8_t> keep = std::move(h.ImageData);
      const uint32_t keepStride = h.BytesPerRow;
      h.PrepareImageData();
      for (uint32_t y = 0; y < h.Height; ++y) {
        uint8_t* to = h.ScanLine(y);
        if (!wide.empty())
          std::memcpy(to, wide.data() + static_cast<size_t>(y) * h.Width, h.Width);
        else
          std::memcpy(to, keep.data() + static_cast<size_t>(h.Height - 1 - y) * keepStride, h.Width);
      }
      SetGreyRamp(h, GammaTable);
      std::fill(h.ImageAlpha.begin(), h.ImageAlpha.end(), 255);
      break;
    }
    case 2:
      h.ColorType = 6;
      try {
        h.ImageAlpha.assign(static_cast<size_t>(h.Width) * h.Height, 255);
      } catch (const std::bad_alloc&) {
        h.ColorType = 2;
        throw EPNGOutMemory();
      }
      break;
    case 3: {
      auto* trns = Chunks.ItemFromClass<TChunktRNS>();
      if (!trns) trns = &Chunks.Add<TChunktRNS>();
      trns->PaletteValues.fill(255);
      trns->Data.assign(size_t{1} << h.BitDepth, 0);
      trns->BitTransparency = false;
      return;
    }
    default:
      return;
  }
  // A tRNS chunk is not allowed beside an alpha channel.
  if (auto* trns = Chunks.ItemFromClass<TChunktRNS>()) Chunks.RemoveChunk(trns);
}

uint8_t* TPngGraphic::GetAlphaRow(uint32_t y) {
  TChunkIHDR& h = GetHeaderChunk();
  if ((h.ColorType != 4 && h.ColorType != 6) || y >= h.Height || h.ImageAlpha.empty()) return nullptr;
  return h.ImageAlpha.data() + static_cast<size_t>(y) * h.Width;
}

TChunkIHDR& TPngGraphic::GetHeaderChunk() const {
  auto* h = dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
  if (!h) throw EPNGHeaderNotPresent();
  return *h;
}

uint32_t TPngGraphic::GetWidth() const {
  auto* h = dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
  return h ? h->Width : 0;
}

uint32_t TPngGraphic::GetHeight() const {
  auto* h = dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
  return h ? h->Height : 0;
}

void TPngGraphic::SetWidth(uint32_t) { throw EPngError(65234); }
void TPngGraphic::SetHeight(uint32_t) { throw EPngError(65234); }

uint32_t TPngGraphic::GetPixel(int x, int y) const {
  auto* h = dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
  if (!h || h->ImageData.empty() || x < 0 || y < 0 || static_cast<uint32_t>(x) >= h->Width ||
      static_cast<uint32_t>(y) >= h->Height)
    return 0;
  const uint8_t* row = h->ScanLine(static_cast<uint32_t>(y));
  if (h->BitsPerPixel == 24) {
    const uint8_t* p = row + 3 * static_cast<size_t>(x);
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  }
  return ToRgb(h->ColorTable[static_cast<size_t>(IndexAt(row, h->BitsPerPixel, static_cast<uint32_t>(x)))]);
}

void TPngGraphic::SetPixel(int x, int y, uint32_t color) {
  auto* h = dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
  if (!h || h->ImageData.empty() || x < 0 || y < 0 || static_cast<uint32_t>(x) >= h->Width ||
      static_cast<uint32_t>(y) >= h->Height)
    return;
  uint8_t* row = h->ScanLine(static_cast<uint32_t>(y));
  if (h->BitsPerPixel == 24) {
    uint8_t* p = row + 3 * static_cast<size_t>(x);
    p[0] = static_cast<uint8_t>(color);
    p[1] = static_cast<uint8_t>(color >> 8);
    p[2] = static_cast<uint8_t>(color >> 16);
    return;
  }
  // The nearest colour the pixel can index: the palette's entries, or the
  // whole grey ramp.
  int entries = 1 << h->BitsPerPixel;
  if (h->ColorType == 3) {
    const auto* plte = Chunks.ItemFromClass<TChunkPLTE>();
    entries = plte ? std::min(entries, plte->Count) : 0;
  }
  if (entries <= 0) return;
  const TRGBQuad want = FromRgb(color);
  int best = 0;
  int64_t bestDistance = INT64_MAX;
  for (int i = 0; i < entries; ++i) {
    const TRGBQuad& q = h->ColorTable[static_cast<size_t>(i)];
    const int dr = q.rgbRed - want.rgbRed, dg = q.rgbGreen - want.rgbGreen, db = q.rgbBlue - want.rgbBlue;
    const int64_t d = int64_t{dr} * dr + int64_t{dg} * dg + int64_t{db} * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  SetIndexAt(row, h->BitsPerPixel, static_cast<uint32_t>(x), static_cast<unsigned>(best));
}

void TPngGraphic::SaveToStream(std::ostream& out) {
  static const uint8_t signature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  out.write(reinterpret_cast<const char*>(signature), 8);
  for (size_t i = 0; i < Chunks.Count(); ++i) Chunks.Item(i)->SaveToStream(out);
}

bool TPngGraphic::SaveToFile(const std::string& path, std::string* why) {
  std::ostringstream out;
  SaveToStream(out);
  return out.good() && fs::writeFileAtomic(path, std::move(out).str(), false, why);
}

}  // namespace mosaik::imaging

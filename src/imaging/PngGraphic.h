#pragma once
// The PNG graphic: an image held as an ordered list of chunks, the pixels in
// the header chunk as a bitmap (bottom-up rows, blue-green-red, optional
// colour table) with a separate alpha plane. Colours outside the bitmap are
// 0xRRGGBB values. Failures raise the EPngError family (PngErrors.h).
#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/PngErrors.h"

namespace mosaik::imaging {

class TPngGraphic;

// CRC-32 of the PNG standard over a byte range, continuing from `crc`
// (start with 0xFFFFFFFF, complement the end result).
uint32_t PngUpdateCrc(uint32_t crc, const uint8_t* data, size_t size);

// Writes one chunk: length, the 4-byte type, the data and their CRC.
void PngWriteChunk(std::ostream& out, const char* name, const uint8_t* data, size_t size);

// Any chunk: its type, its data bytes and the image it belongs to.
class TChunk {
 public:
  TChunk(TPngGraphic* owner, const std::string& name);
  virtual ~TChunk() = default;
  TChunk(const TChunk&) = delete;
  TChunk& operator=(const TChunk&) = delete;

  const std::string& GetName() const { return name_; }
  TPngGraphic* Owner() const { return owner_; }
  uint32_t DataSize() const { return static_cast<uint32_t>(Data.size()); }

  // Takes the other chunk's type and data.
  virtual void Assign(const TChunk& source);
  // Writes length, type, data and CRC. Always true.
  virtual bool SaveToStream(std::ostream& out);
  // Reads `size` data bytes and the CRC that follows them (the length and
  // type were read by the caller) and interprets the data. EPngInvalidCRC on
  // a mismatch, EPngUnexpectedEnd when the stream ends first. True while the
  // image goes on.
  virtual bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size);
  // A new, empty chunk of this chunk's class for another image.
  virtual std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const;

  std::vector<uint8_t> Data;

 private:
  TPngGraphic* owner_;
  std::string name_;
};

class TChunkIEND : public TChunk {
 public:
  static constexpr const char* kName = "IEND";
  explicit TChunkIEND(TPngGraphic* owner) : TChunk(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
};

struct TRGBQuad {
  uint8_t rgbBlue = 0, rgbGreen = 0, rgbRed = 0, rgbReserved = 0;
};

// The header, and the owner of the pixels.
class TChunkIHDR : public TChunk {
 public:
  static constexpr const char* kName = "IHDR";
  explicit TChunkIHDR(TPngGraphic* owner) : TChunk(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  // Only from another header (else EPngError 65263): header, pixels, alpha.
  void Assign(const TChunk& source) override;
  bool SaveToStream(std::ostream& out) override;
  // Checks the header and prepares the (zeroed) image for it.
  bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size) override;

  // Sets up a zeroed bitmap (and alpha plane for colour types 4 and 6) for
  // the header's size, colour type and bit depth.
  void PrepareImageData();
  // Row y of the picture, counted from the top.
  uint8_t* ScanLine(uint32_t y);
  const uint8_t* ScanLine(uint32_t y) const;

  uint32_t Width = 0;
  uint32_t Height = 0;
  uint8_t BitDepth = 0;
  uint8_t ColorType = 0;
  uint8_t CompressionMethod = 0;
  uint8_t FilterMethod = 0;
  uint8_t InterlaceMethod = 0;

  // The bitmap: bits per pixel 1, 4, 8 (with colour table) or 24.
  int BitsPerPixel = 0;
  std::array<TRGBQuad, 256> ColorTable{};
  uint32_t BytesPerRow = 0;
  std::vector<uint8_t> ImageData;   // bottom-up rows of BytesPerRow bytes
  std::vector<uint8_t> ImageAlpha;  // top-down rows of Width bytes
};

class TChunkPLTE : public TChunk {
 public:
  static constexpr const char* kName = "PLTE";
  explicit TChunkPLTE(TPngGraphic* owner) : TChunk(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  void Assign(const TChunk& source) override;  // only from PLTE, else 65263
  // Count entries from the header's colour table, through InverseGamma.
  bool SaveToStream(std::ostream& out) override;
  // Takes the entries into the header's colour table through GammaTable.
  bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size) override;
  // The colour of entry `index`; EPngError 65259 at or above Count.
  uint32_t GetItem(int index) const;

  int Count = 0;
};

class TChunkgAMA : public TChunk {
 public:
  static constexpr const char* kName = "gAMA";
  explicit TChunkgAMA(TPngGraphic* owner);
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  void Assign(const TChunk& source) override;  // only from gAMA, else 65263
  // Builds the owner's gamma tables from a non-zero value.
  bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size) override;
  // Gamma × 100000, big-endian in the data.
  uint32_t GetValue() const;
  void SetValue(uint32_t value);
};

class TChunktRNS : public TChunk {
 public:
  static constexpr const char* kName = "tRNS";
  explicit TChunktRNS(TPngGraphic* owner) : TChunk(owner, kName) { PaletteValues.fill(0); }
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  void Assign(const TChunk& source) override;
  // Data = the first DataSize bytes of PaletteValues.
  bool SaveToStream(std::ostream& out) override;
  // Takes the values (missing ones 255) and the kind of transparency.
  bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size) override;

  bool BitTransparency = false;
  std::array<uint8_t, 256> PaletteValues{};
};

// The pixel data: written by the encoder, one or more IDAT chunks.
class TChunkIDAT : public TChunk {
 public:
  static constexpr const char* kName = "IDAT";
  explicit TChunkIDAT(TPngGraphic* owner) : TChunk(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  bool SaveToStream(std::ostream& out) override;
  // The decoder: reads the data of this and every IDAT chunk right after it
  // as one zlib stream and fills the header's bitmap and alpha plane.
  bool LoadFromStream(std::istream& in, const std::string& name, uint32_t size) override;
};

class TChunktIME : public TChunk {
 public:
  static constexpr const char* kName = "tIME";
  explicit TChunktIME(TPngGraphic* owner);
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  struct Zeit {
    uint16_t Year = 0;
    uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
  };
  Zeit GetTime() const;
  void SetTime(const Zeit& t);
};

class TChunktEXt : public TChunk {
 public:
  static constexpr const char* kName = "tEXt";
  explicit TChunktEXt(TPngGraphic* owner) : TChunktEXt(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  // Stored as keyword, NUL, text (Latin-1 bytes, taken as they are).
  std::string GetKeyword() const;
  virtual std::string GetText() const;
  virtual void SetText(const std::string& keyword, const std::string& text);

 protected:
  TChunktEXt(TPngGraphic* owner, const char* name) : TChunk(owner, name) {}
};

class TChunkzTXt : public TChunktEXt {
 public:
  static constexpr const char* kName = "zTXt";
  explicit TChunkzTXt(TPngGraphic* owner) : TChunktEXt(owner, kName) {}
  std::unique_ptr<TChunk> NewOfSameClass(TPngGraphic* owner) const override;
  // Stored as keyword, NUL, method 0, zlib-compressed text. A text that
  // would inflate past kMaxText raises EPNGZLIBError.
  std::string GetText() const override;
  static constexpr size_t kMaxText = 16u << 20;
  void SetText(const std::string& keyword, const std::string& text) override;
};

// A chunk of the registered class for `name` (IEND, IHDR, IDAT, PLTE, gAMA,
// tRNS, tIME, tEXt, zTXt), or a plain TChunk for any other type.
std::unique_ptr<TChunk> CreateChunk(TPngGraphic* owner, const std::string& name);
// Whether `name` has a class of its own (a chunk the program understands).
bool IsRegisteredChunk(const std::string& name);

// The chunk list of one image.
class TPNGList {
 public:
  explicit TPNGList(TPngGraphic* owner) : owner_(owner) {}

  size_t Count() const { return items_.size(); }
  TChunk* Item(size_t index) const { return index < items_.size() ? items_[index].get() : nullptr; }
  // The first chunk of exactly this class, or none. Every registered class
  // has a type name of its own, so class and name together pick the exact
  // class (a zTXt chunk is a tEXt chunk by inheritance, not by name).
  template <class T>
  T* ItemFromClass() const {
    for (const auto& c : items_) {
      auto* chunk = dynamic_cast<T*>(c.get());
      if (chunk != nullptr && chunk->GetName() == T::kName) return chunk;
    }
    return nullptr;
  }
  int IndexOf(const TChunk* chunk) const;
  TChunk* Append(std::unique_ptr<TChunk> chunk);
  // Ignored (the chunk is dropped) when the index is not below the count.
  void Insert(std::unique_ptr<TChunk> chunk, size_t index);
  void RemoveChunk(const TChunk* chunk);
  void Clear() { items_.clear(); }

  // Adds an ancillary chunk in its place: gAMA right after IHDR; tRNS after
  // PLTE, else before the first IDAT, else after IHDR; others before IEND.
  // IHDR, IDAT, PLTE, IEND and a second gAMA or tRNS raise EPngError 65235;
  // an image without IHDR and IEND raises 65236.
  TChunk& Add(const std::string& name);
  template <class T>
  T& Add() {
    return static_cast<T&>(Add(T::kName));
  }

 private:
  TPngGraphic* owner_;
  std::vector<std::unique_ptr<TChunk>> items_;
};

enum class TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

enum TFilter : uint8_t { pfNone = 1, pfSub = 2, pfUp = 4, pfAverage = 8, pfPaeth = 16 };
using TFilters = uint8_t;  // a set of TFilter bits

class TPngGraphic {
 public:
  TPngGraphic();
  ~TPngGraphic();
  TPngGraphic(const TPngGraphic&) = delete;
  TPngGraphic& operator=(const TPngGraphic&) = delete;

  // Settings, chunks (each copied) and gamma tables of the other image.
  void Assign(const TPngGraphic& source);
  // A new image from a bitmap (AssignBitmapHandle without transparency).
  void Assign(const Bitmap& source) { AssignBitmapHandle(source, false, 0); }
  // 24 and 32 bits give an RGB image; 1, 4 and 8 bits a palette image. A
  // transparent bitmap gets a tRNS chunk for `transparentColor` (0xRRGGBB).
  void AssignBitmapHandle(const Bitmap& source, bool transparent, uint32_t transparentColor);
  // An empty (zeroed) image of any colour type and bit depth the PNG
  // standard allows; grey images get a grey colour table. Others raise
  // EPngInvalidIHDR.
  void CreateBlank(uint8_t colorType, uint8_t bitDepth, uint32_t width, uint32_t height);

  // Grey becomes grey with alpha, RGB becomes RGBA (all alpha 255, a tRNS
  // chunk is dropped); a palette image gets a tRNS chunk of all 255.
  void AddAlphaChannel();
  // The alpha bytes of row y for colour types 4 and 6, else none.
  uint8_t* GetAlphaRow(uint32_t y);
  // The header, which must be the first chunk (else EPNGHeaderNotPresent).
  TChunkIHDR& GetHeaderChunk() const;
  // 0xRRGGBB; 0 outside the image. A palette index past the palette's
  // entries reads as black.
  uint32_t GetPixel(int x, int y) const;
  // Nothing outside the image. Palette and grey images store the index of
  // the nearest colour of their colour table.
  void SetPixel(int x, int y, uint32_t color);

  uint32_t GetWidth() const;
  uint32_t GetHeight() const;
  bool GetEmpty() const { return Chunks.Count() == 0; }
  [[noreturn]] void SetWidth(uint32_t);   // EPngError 65234
  [[noreturn]] void SetHeight(uint32_t);  // EPngError 65234

  // Replaces the image by the one read. Raises only the EPngError family;
  // the chunk list then holds the chunks read so far.
  void LoadFromStream(std::istream& in);
  void LoadFromBytes(std::string_view bytes);
  // A file that cannot be opened raises EPngError (number 0).
  void LoadFromFile(const std::string& path);

  // Pixels the reader accepts in one image; a larger header raises
  // EPNGSizeExceeds before anything is allocated.
  static constexpr uint64_t kDefaultMaxPixelCount = uint64_t{1} << 27;
  uint64_t MaxPixelCount = kDefaultMaxPixelCount;

  // None; bit (one colour or palette entry is transparent); partial (an
  // alpha channel, or several palette entries below 255).
  TPNGTransparencyMode TransparencyMode() const;
  bool GetTransparent() const { return TransparencyMode() != TPNGTransparencyMode::ptmNone; }
  // The transparent colour (0xRRGGBB) of a bit-transparent image, else 0.
  uint32_t GetTransparentColor() const;
  // The opacity of one pixel: the alpha plane, the palette entry's tRNS
  // value, or 0 for the transparent colour; 255 otherwise.
  uint8_t GetAlpha(int x, int y) const;
  // 256 colours (0xRRGGBB) for palette and grey images, else empty.
  std::vector<uint32_t> GetPalette() const;

  // A copy of the pixels with the bitmap's own format: 1, 4 or 8 bits with
  // the colour table as palette, or 24 bits. Alpha is not carried over.
  void AssignTo(Bitmap& dest) const;
  void AssignTo(TPngGraphic& dest) const { dest.Assign(*this); }
  // Stretches the image into the rectangle [left, right) × [top, bottom) of
  // a 24- or 32-bit canvas (other formats: nothing is drawn). Transparent
  // pixels leave the canvas as it was, partly transparent ones are blended.
  void Draw(Bitmap& canvas, int left, int top, int right, int bottom) const;

  // Signature and every chunk in list order.
  void SaveToStream(std::ostream& out);
  // Writes the file through a temporary file, so an existing file is only
  // replaced by a complete one. False when it cannot be written; `why`
  // (when given) then holds the message for the user.
  bool SaveToFile(const std::string& path, std::string* why = nullptr);

  TFilters Filters = pfSub;
  int GetCompressionLevel() const { return compressionLevel_; }
  void SetCompressionLevel(int level);  // kept within 0..9
  uint32_t GetMaxIdatSize() const { return maxIdatSize_; }
  void SetMaxIdatSize(uint32_t size);  // below 65535 stores 65535
  uint8_t InterlaceMethod = 0;         // 0 none, 1 Adam7

  std::array<uint8_t, 256> GammaTable{};
  std::array<uint8_t, 256> InverseGamma{};
  TPNGList Chunks;

 private:
  void ClearImage();
  void ReadChunks(std::istream& in);
  int compressionLevel_ = 7;
  uint32_t maxIdatSize_ = 65535;
};

}  // namespace mosaik::imaging

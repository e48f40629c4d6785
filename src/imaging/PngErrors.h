#pragma once
// The exceptions of the PNG code. Each carries the fixed English text of its
// number; every class of the family derives from EPngError, so one handler
// catches them all.
#include <stdexcept>
#include <string>

namespace mosaik::imaging {

// The English text of a PNG message number, empty for an unknown number.
std::string PngText(int number);

class EPngError : public std::runtime_error {
 public:
  explicit EPngError(int textNumber) : EPngError(textNumber, PngText(textNumber)) {}
  EPngError(int textNumber, const std::string& text)
      : std::runtime_error(text), number_(textNumber) {}
  int TextNumber() const { return number_; }

 private:
  int number_;
};

#define MOSAIK_PNG_ERROR(Name, Number)               \
  class Name : public EPngError {                    \
   public:                                           \
    Name() : EPngError(Number) {}                    \
    explicit Name(const std::string& text) : EPngError(Number, text) {} \
  };

MOSAIK_PNG_ERROR(EPngUnexpectedEnd, 65232)
MOSAIK_PNG_ERROR(EPNGNoImageData, 65233)
MOSAIK_PNG_ERROR(EPNGOutMemory, 65237)
MOSAIK_PNG_ERROR(EPNGHeaderNotPresent, 65238)
MOSAIK_PNG_ERROR(EPngInvalidCRC, 65251)
MOSAIK_PNG_ERROR(EPngInvalidIHDR, 65252)
MOSAIK_PNG_ERROR(EPNGMissingMultipleIDAT, 65253)
MOSAIK_PNG_ERROR(EPNGZLIBError, 65254)
MOSAIK_PNG_ERROR(EPNGInvalidPalette, 65255)
MOSAIK_PNG_ERROR(EPNGInvalidFileHeader, 65256)
MOSAIK_PNG_ERROR(EPNGIHDRNotFirst, 65257)
MOSAIK_PNG_ERROR(EPNGSizeExceeds, 65258)
MOSAIK_PNG_ERROR(EPNGUnknownCriticalChunk, 65260)
MOSAIK_PNG_ERROR(EPNGUnknownCompression, 65261)
MOSAIK_PNG_ERROR(EPNGUnknownInterlace, 65262)

#undef MOSAIK_PNG_ERROR

// The text of a zlib result code as the messages show it, e.g. "data error (-3)".
std::string PngZlibResultText(int code);

// EPNGZLIBError for a failed zlib call: its text, a line break and the
// description of the zlib result.
EPNGZLIBError PngZlibError(int code);

}  // namespace mosaik::imaging

#include "imaging/PngErrors.h"

namespace mosaik::imaging {

std::string PngText(int number) {
  switch (number) {
    case 65232:
      return "This \"Portable Network Graphics\" image is invalid because the decoder found an "
             "unexpected end of the file.";
    case 65233:
      return "This \"Portable Network Graphics\" image contains no data.";
    case 65234:
      return "The \"Portable Network Graphics\" image can not be resize by changing width and "
             "height properties. Try assigning the image from a bitmap.";
    case 65235:
      return "The program tried to add a existent critical chunk to the current image which is "
             "not allowed.";
    case 65236:
      return "It's not allowed to add a new chunk because the current image is invalid.";
    case 65237:
      return "Some operation could not be performed because the system is out of resources. "
             "Close some windows and try again.";
    case 65238:
      return "This operation is not valid because the current image contains no valid header.";
    case 65251:
      return "This \"Portable Network Graphics\" image is not valid because it contains invalid "
             "pieces of data (crc error)";
    case 65252:
      return "The \"Portable Network Graphics\" image could not be loaded because one of its main "
             "piece of data (ihdr) might be corrupted";
    case 65253:
      return "This \"Portable Network Graphics\" image is invalid because it has missing image "
             "parts.";
    case 65254:
      return "Could not decompress the image because it contains invalid compressed data.\r\n"
             " Description: ";
    case 65255:
      return "The \"Portable Network Graphics\" image contains an invalid palette.";
    case 65256:
      return "The file being readed is not a valid \"Portable Network Graphics\" image because it "
             "contains an invalid header. This file may be corruped, try obtaining it again.";
    case 65257:
      return "This \"Portable Network Graphics\" image is not supported or it might be invalid."
             "\r\n(IHDR chunk is not the first)";
    case 65258:
      return "This \"Portable Network Graphics\" image is not supported because either it's width "
             "or height exceeds the maximum size, which is 65535 pixels length.";
    case 65259:
      return "There is no such palette entry.";
    case 65260:
      return "This \"Portable Network Graphics\" image contains an unknown critical part which "
             "could not be decoded.";
    case 65261:
      return "This \"Portable Network Graphics\" image is encoded with an unknown compression "
             "scheme which could not be decoded.";
    case 65262:
      return "This \"Portable Network Graphics\" image uses an unknown interlace scheme which "
             "could not be decoded.";
    case 65263:
      return "The chunks must be compatible to be assigned.";
    default:
      return {};
  }
}

std::string PngZlibResultText(int code) {
  switch (code) {
    case -6: return "incompatible version (-6)";
    case -5: return "buffer error (-5)";
    case -4: return "insufficient memory (-4)";
    case -3: return "data error (-3)";
    case -2: return "stream error (-2)";
    case -1: return "file error (-1)";
    case 0: return "(0)";
    case 1: return "stream end (1)";
    case 2: return "need dictionary (2)";
    default: return "(" + std::to_string(code) + ")";
  }
}

EPNGZLIBError PngZlibError(int code) {
  return EPNGZLIBError(PngText(65254) + PngZlibResultText(code));
}

}  // namespace mosaik::imaging

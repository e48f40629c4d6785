// Maker notes, IPTC blocks and TIFF files on arbitrary bytes. The first byte
// chooses the way in: a TIFF file; a JPEG stream; a maker note of one of the
// known makers (or another) inside an EXIF block built around the bytes; an
// APP13 block. Every query the program could make follows.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/ImgData.h"

using namespace mosaik::imaging;

namespace {

std::string U16(uint32_t v, bool mm) {
  return mm ? std::string{char(v >> 8), char(v)} : std::string{char(v), char(v >> 8)};
}
std::string U32(uint32_t v, bool mm) {
  return mm ? U16(v >> 16, mm) + U16(v & 0xFFFF, mm) : U16(v & 0xFFFF, mm) + U16(v >> 16, mm);
}
std::string Segment(int marker, const std::string& payload) {
  const size_t n = payload.size() + 2;
  return std::string{'\xFF', char(marker), char(n >> 8), char(n & 0xFF)} + payload;
}

// IFD0: Make, Model, ExifOffset; EXIF IFD: MakerNote (the bytes).
std::string ExifWithNote(const std::string& make, const std::string& model, std::string_view note, bool mm) {
  const std::string makeZ = make + '\0', modelZ = model + '\0';
  const uint32_t ifd0 = 8, exif = ifd0 + 2 + 3 * 12 + 4, values = exif + 2 + 12 + 4;
  const uint32_t makeAt = values, modelAt = makeAt + uint32_t(makeZ.size()), noteAt = modelAt + uint32_t(modelZ.size());
  std::string t = (mm ? "MM" : "II") + U16(42, mm) + U32(ifd0, mm);
  t += U16(3, mm);
  t += U16(0x010F, mm) + U16(2, mm) + U32(uint32_t(makeZ.size()), mm) + U32(makeAt, mm);
  t += U16(0x0110, mm) + U16(2, mm) + U32(uint32_t(modelZ.size()), mm) + U32(modelAt, mm);
  t += U16(0x8769, mm) + U16(4, mm) + U32(1, mm) + U32(exif, mm) + U32(0, mm);
  t += U16(1, mm);
  t += U16(0x927C, mm) + U16(7, mm) + U32(uint32_t(note.size()), mm) + U32(noteAt, mm) + U32(0, mm);
  t += makeZ + modelZ + std::string(note);
  return t;
}

void Query(const TimgData& d) {
  if (d.ExifInfo) {
    const TImageInfo& info = *d.ExifInfo;
    (void)info.GetImgDateTime();
    for (const char* name : {"FNumber", "ExposureTime", "FocalLength", "Model", "Make", "GPSLatitude", "Unknown",
                             "Macro mode", "LensInformation"})
      (void)info.LookupTagValue(name);
    if (info.Tags.size() > 20001) __builtin_trap();
  }
  if (d.IptcInfo) {
    for (const char* name : {"Keywords", "ImageCaption", "Custom_200"}) (void)d.IptcInfo->LookupTagValue(name);
    if (d.IptcInfo->Tags.size() > 70000) __builtin_trap();
  }
  for (const auto& s : d.Sections)
    if (s.Data.size() != static_cast<size_t>(s.Size)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 3);
  TimgData d(255);
  switch (data[0] % 4) {
    case 0:
      d.ReadTiffSections(rest);
      if (d.SectionCount() > 1 || (d.ExifInfo && !d.ExifInfo->TiffMode)) __builtin_trap();
      break;
    case 1:
      d.ReadJpegSections(rest);
      break;
    case 2: {
      static const char* const kMakes[][2] = {
          {"NIKON CORPORATION", "NIKON D70"}, {"NIKON", "E950"},      {"OLYMPUS OPTICAL CO.,LTD", "C2100UZ"},
          {"CASIO", "QV-3000EX"},             {"FUJIFILM", "FinePix"}, {"Canon", "Canon PowerShot S40"},
          {"SEIKO EPSON CORP.", "PhotoPC"},   {"SANYO Electric", "SR6"}, {"Minolta Co., Ltd.", "DiMAGE 7"},
          {"PENTAX", "Optio"}};
      const auto& m = kMakes[data[1] % 10];
      const std::string note(rest.substr(0, 60000));
      const std::string jpeg = "\xFF\xD8" + Segment(0xE1, std::string("Exif\0\0", 6) + ExifWithNote(m[0], m[1], note, data[2] & 1));
      d.ReadJpegSections(jpeg);
      if (!d.ExifInfo || d.ExifInfo->LookupTagValue("Make") != m[0]) __builtin_trap();
      break;
    }
    default: {
      TIPTCdata iptc(&d);
      iptc.ParseIPTCStrings(rest);
      (void)iptc.LookupTagValue("Keywords");
      d.ReadJpegSections("\xFF\xD8" + Segment(0xED, std::string(rest.substr(0, 65000))));
      break;
    }
  }
  Query(d);
  return 0;
}

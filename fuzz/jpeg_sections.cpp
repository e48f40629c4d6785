// The section walk and the EXIF reader on arbitrary bytes, with every query
// the program makes afterwards.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/ImgData.h"

using mosaik::imaging::TimgData;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const uint8_t buildCode : {uint8_t{255}, uint8_t{2}, uint8_t{4}}) {
    TimgData d(buildCode);
    d.ReadJpegSections(bytes);
    if (d.HasComment()) (void)d.GetCommentText();
    if (d.ExifInfo) {
      const auto& info = *d.ExifInfo;
      (void)info.GetImgDateTime();
      for (const char* name : {"FNumber", "ExposureTime", "FocalLength", "Model", "Make", "FocalLengthin35mmFilm"})
        (void)info.LookupTagValue(name);
      (void)info.GetNumericTagValue("XResolution");
      if (info.Tags.size() > 20000) __builtin_trap();
    }
    if (d.SectionCount() > TimgData::kMaxSections) __builtin_trap();
    for (const auto& s : d.Sections)
      if (s.Size < 2 || s.Data.size() != static_cast<size_t>(s.Size)) __builtin_trap();
  }
  return 0;
}

// The section walk and the EXIF reader on arbitrary bytes, with every query
// the program makes afterwards, and the comment editor's reading and
// replacing of comments.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/ImgData.h"
#include "imaging/JpegComments.h"

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
  if (bytes.starts_with("\xFF\xD8")) {
    (void)mosaik::imaging::JpegCommentText(bytes);
    // The new comment is the only one the file shows afterwards.
    const auto out = mosaik::imaging::ReplaceJpegComments(bytes, std::string_view("\xFF\xFE\0\3x", 5));
    const auto comments = mosaik::imaging::JpegComments(out);
    if (comments.size() != 1 || comments[0] != "x") __builtin_trap();
  }
  return 0;
}

#pragma once
// The comments of an original JPEG file, read and replaced without touching
// anything else in it: the comment editor writes into the user's
// photographs, and everything besides the comment (other sections, their
// order, the picture data, whatever follows its end marker) must survive.
#include <string>
#include <string_view>
#include <vector>

namespace mosaik::imaging {

// One section between the start of image and the picture data: where its
// marker (with any fill bytes before it) starts, where its payload starts
// (after the length bytes) and where it ends.
struct JpegSection {
  size_t start = 0;
  size_t payload = 0;
  size_t end = 0;
  unsigned marker = 0;
};

// The sections before the picture data, as far as they can be told apart;
// `rest` is where the remaining bytes begin. A comment whose length runs
// past the end ends where the next marker begins, or at the end of the file.
std::vector<JpegSection> LeadingJpegSections(std::string_view file, size_t& rest);

// The payloads of every comment section before the picture data, in file
// order. A comment whose length runs past the end of the file ends where
// the next marker begins, or at the end of the file.
std::vector<std::string> JpegComments(std::string_view file);

// Those comments as one text for the user (each read like
// TimgData::GetCommentText), joined by a line break.
std::string JpegCommentText(std::string_view file);

// The file with its comments replaced by one comment section (FF FE, the
// length bytes and the text): it takes the place of the first comment and
// the others go; a file without a comment gets it after the JFIF, EXIF and
// IPTC sections at its start. Everything else stays byte for byte; only the offsets of a
// multi-picture index (APP2 "MPF") move by what the change shifts, so that
// the pictures stored after the first stay where the index says. Throws
// MetadataWriteError for a file that is no JPEG.
std::string ReplaceJpegComments(std::string_view file, std::string_view commentSection);

}  // namespace mosaik::imaging

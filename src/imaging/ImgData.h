#pragma once
// The per-picture metadata object: reads the leading sections of a JPEG
// file, keeps their bytes, decodes the EXIF block into named tags with
// display texts and gives the comment. It also writes derived JPEG files
// that keep those sections (see WriteExifJpeg).
//
// The bytes come from strangers: every read is bounds-checked, directory
// links are followed once each and only a few levels deep, and ProcessFile
// lets no exception out.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/ExifTags.h"
#include "imaging/Iptc.h"
#include "platform/FileSystem.h"

namespace mosaik::imaging {

class JpegImage;
class ByteSource;
struct MakerTable;

// A failed write of the metadata-keeping writer; the text is German and
// can be shown to the user.
class MetadataWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Byte order of the data being decoded.
class tEndInd {
 public:
  bool MotorolaOrder = false;  // true: big-endian ("MM"), false: "II"
};

// One raw section: Data is the two big-endian length bytes followed by the
// payload (the marker bytes are not stored).
struct tSection {
  int32_t Marker = 0;
  int32_t Size = 0;
  std::string Data;
};

class TimgData;

// The decoded EXIF block.
class TImageInfo : public tEndInd {
 public:
  TImageInfo(TimgData* parent, uint8_t buildCode, bool tiffMode);

  TimgData* Parent;
  uint8_t BuildCode;
  bool TiffMode;
  std::string DataBuffer;  // positions in it are 1-based

  std::vector<TTagEntry> Tags;  // in the order met
  std::string CameraMake, CameraModel, DateTime, ExifVersion;
  // The size tags met last, and where their values lie.
  int32_t Width = 0, Height = 0;
  int64_t WidthPosition = 0, HeightPosition = 0;
  // Every width/height pair met (ImageWidth/ImageLength of a directory,
  // ExifImageWidth/ExifImageLength), so that a derived picture states its
  // size in all of them.
  struct SizeField {
    int32_t Value = 0;
    int64_t Position = 0;  // of the value field; 0 while the tag is absent
    uint16_t Format = 0;
    uint32_t Components = 0;
  };
  struct SizePair {
    int64_t DirStart = 0;
    bool Exif = false;  // the ExifImage tags
    SizeField Width, Height;
  };
  std::vector<SizePair> SizePairs;
  int32_t FlashUsed = 0;
  int64_t DateTimePosition = 0, DateTimeOriginalPosition = 0, DateTimeDigitizedPosition = 0;
  std::string UserComment;
  int64_t UserCommentPosition = 0, UserCommentLength = 0;
  int64_t ThumbnailStart = 0, ThumbnailLength = 0;
  std::string MakerNote;
  int64_t MakerNotePosition = 0;
  std::string MakerNoteMake;  // the make whose table decoded the note
  std::string TraceStr;

  int TagCount() const { return static_cast<int>(Tags.size()); }
  // Index of the first entry whose Name equals name (ASCII case ignored), or -1.
  int LookupTag(std::string_view name) const;
  // The display text of that entry, or the empty text.
  std::string LookupTagValue(std::string_view name) const;
  // A copy of the found entry, or the "Unknown" definition.
  TTagEntry GetTagByName(std::string_view name) const;
  // The numeric value of a tag (0 when absent) and its rounded value.
  double GetNumericTagValue(std::string_view name) const;
  int64_t GetIntegerTagValue(std::string_view name) const;

  // The picture's date and time, days since 1899-12-30 (fraction = time of
  // day), or 0 when the block holds none or it is no valid date.
  double GetImgDateTime() const;

  // 16- and 32-bit readers under the block's byte order; positions are
  // 1-based; ok is cleared for a read outside DataBuffer (which reads 0).
  uint32_t Get16u(int64_t pos, bool* ok = nullptr) const;
  uint32_t Get32u(int64_t pos, bool* ok = nullptr) const;

  // Walks one directory; kind 1 = main, 2 = GPS.
  void ProcessExifDir(int64_t dirStart, int64_t offsetBase, int64_t exifLength, int kind, int depth = 0);
  // The 35 mm focal-length estimate that follows every EXIF walk.
  void AddFocalLength35mm();
  // Decodes the maker note just met (MakerNotes.cpp), the EXIF block's
  // offsets counting from offsetBase. True when its maker is one of those
  // with a table; a damaged note ends only its own decoding.
  bool ReadMakerNote(int64_t offsetBase, int depth);
  // Walks one maker-note directory against a maker table.
  void ProcessMakerNoteDir(int64_t dirStart, int64_t offsetBase, const MakerTable& table, int depth);

 private:
  // One directory entry as read: its value lies at valuePos (1-based).
  struct DirEntry {
    uint16_t tag = 0, format = 0;
    uint32_t components = 0;
    int64_t byteCount = 0, valuePos = 0;
    std::string raw;
  };
  // Reads entry i of the directory at dirStart; false when the walk's
  // budget of entries or value bytes is spent.
  bool ReadDirEntry(int64_t dirStart, int64_t i, int64_t offsetBase, DirEntry& e);
  // The display text of an entry under its definition.
  std::string DisplayValue(const TTagEntry& def, const DirEntry& e);
  void Trace(uint16_t tag, const TTagEntry& def, const std::string& data);
  // Starts a walk: fresh visited set and budgets.
  void StartWalk();
  SizeField& SizeTag(int64_t dirStart, uint16_t tag);
  bool InBuffer(int64_t pos, int64_t len) const;
  std::string Bytes(int64_t pos, int64_t len) const;  // clipped to DataBuffer
  std::set<int64_t> visited_;
  int64_t entriesLeft_ = 0;
  int64_t rawBytesLeft_ = 0;
  friend class TimgData;
};

class TimgData : public tEndInd {
 public:
  explicit TimgData(uint8_t buildCode = 255);
  ~TimgData();
  TimgData(const TimgData&) = delete;
  TimgData& operator=(const TimgData&) = delete;

  // Section slots, in file order (slot n is Sections[n - 1]).
  std::vector<tSection> Sections;
  int SectionCount() const { return static_cast<int>(Sections.size()); }
  // Slot numbers (1-based) of the EXIF APP1, IPTC APP13, comment and JFIF
  // APP0 sections; 0 when absent.
  int ExifSegment = 0, IptcSegment = 0, CommentSegment = 0, HeaderSegment = 0;

  std::string FileName;
  double FileDateTime = 0;  // days since 1899-12-30, local time
  int64_t FileSize = 0;
  std::string ErrorText;
  std::unique_ptr<TImageInfo> ExifInfo;
  std::unique_ptr<TIPTCdata> IptcInfo;  // the IPTC values of the APP13 section
  uint8_t BuildCode;
  bool TiffMode = false;

  // Every section before the picture data is read (real files have a few
  // dozen at most: JFIF, EXIF, XMP, a profile in several chunks, tables);
  // the bound only keeps a crafted stream of empty sections from costing
  // more than the file itself.
  static constexpr int kMaxSections = 4096;
  // TIFF files: the bytes after the 8-byte header read into the one slot.
  // The larger limit applies only when the first directory lies past the
  // normal one (writers that put it at the end of the file).
  static constexpr int64_t kTiffReadLimit = 256000;
  static constexpr int64_t kTiffExtendedLimit = int64_t{64} << 20;

  // Reads a file's metadata; true when a JPEG file holds at least one
  // metadata section (EXIF, IPTC or comment). No exception leaves it.
  bool ProcessFile(const std::string& fileName);
  // The same for a file reached already (fs::resolve, fs::resolveIn): read
  // at that place, as fs::openForReading opens it (never a pipe, nor a link
  // put there since); fileName names it (FileName, its kind by extension).
  bool ProcessFile(const fs::Place& at, const std::string& fileName);
  // The readers of an open file (from its current position).
  bool ReadJpegFile(std::FILE* f);
  // The section walk over bytes in memory (the start of a JPEG stream).
  bool ReadJpegSections(std::string_view bytes);
  // TIFF containers (".tif", ".tiff", ".nef"): true for a valid header
  // ("II" or "MM"); the directories are decoded into ExifInfo.
  bool ReadTiffFile(std::FILE* f);
  bool ReadTiffSections(std::string_view bytes);
  void ResetMetaData();

  bool HasMetaData() const { return ExifSegment || IptcSegment || CommentSegment; }
  bool HasExif() const { return ExifSegment != 0; }
  bool HasComment() const { return CommentSegment != 0; }
  // The comment as UTF-8: the bytes when they are valid UTF-8, else read as
  // Windows-1252; a terminating NUL some tools write is dropped. Empty when
  // there is no comment.
  std::string GetCommentText() const;
  // The comment's payload bytes as stored.
  std::string GetCommentBytes() const;

  // --- writing ---
  // Sets the comment: Windows-1252 when every character fits, else UTF-8.
  // Throws MetadataWriteError for a text longer than a section holds.
  void MakeCommentSegment(const std::string& text);
  // FF D8, then the EXIF section (or the stored APP0, or a default JFIF
  // APP0), the IPTC section, the comment and the chunks of an RGB colour
  // profile in their order (without it a browser would show the colours of
  // a wide-gamut photo wrong). Returns the bytes (with FF D8).
  std::string WriteSegments() const;
  // The complete file: our sections in front of an encoded JPEG stream,
  // from which the leading sections written anew are left out (see the
  // implementation for the exact rule). Throws MetadataWriteError when the
  // stream is no JPEG.
  std::string BuildExifJpeg(std::string_view jpegStream) const;
  // Writes the picture of image with the stored sections to fileName,
  // through a temporary file that replaces the target only when complete.
  // With adjustSize, the EXIF sizes are set to the image's first. Failures
  // throw MetadataWriteError (JpegError for the image); the target is then
  // as it was. durable: on disk before the target is replaced (an original);
  // a derived picture that the next run makes again need not wait.
  // beforeRename runs on the complete new file before it takes the name.
  void WriteExifJpeg(JpegImage& image, const std::string& fileName, bool adjustSize, bool durable = true,
                     const fs::BeforeRename& beforeRename = {});
  // Writes the file last read to fileName with the comment set by
  // MakeCommentSegment in place of its comments (ReplaceJpegComments);
  // nothing else in it changes. The file stays the user's original with all
  // that belongs to it (fs::rewriteOriginal). Failures throw
  // MetadataWriteError with the reason; the target is then as it was.
  // Returns what could not be kept of a file that was written (its date),
  // or the empty text.
  std::string WriteExifJpegFile(const std::string& fileName);
  // The same for the file last read by ProcessFile(at, fileName), read
  // again and rewritten at that place.
  std::string WriteExifJpegFile(const fs::Place& at, const std::string& fileName);
  // Sets the width and height stored in the EXIF block (only a SHORT or
  // LONG field of one element lying inside the data).
  void AdjustExifSize(int32_t newHeight, int32_t newWidth);

 private:
  // ProcessFile on the file opened for it (fd; none when it could not be).
  bool ProcessOpened(fs::Fd fd, const std::string& fileName);
  bool ReadSectionsFrom(ByteSource& src);
  // WriteExifJpegFile: the original with the comment set in place of its
  // comments; what became of the rewrite (MetadataWriteError when failed).
  std::string WithComment(const std::optional<std::string>& original) const;
  static std::string Written(const fs::RewriteResult& r);
  void ProcessExif();
  tSection* Slot(int n) { return n >= 1 && n <= SectionCount() ? &Sections[n - 1] : nullptr; }
  const tSection* Slot(int n) const { return n >= 1 && n <= SectionCount() ? &Sections[n - 1] : nullptr; }
  std::string exifAsRead_;  // the EXIF section before any size rewrite
  bool commentSet_ = false;  // by MakeCommentSegment
};

// The text of comment bytes: UTF-8 when they are valid UTF-8, else read as
// Windows-1252; a terminating NUL is dropped.
std::string CommentText(std::string_view bytes);

// The 18-byte JFIF header written when a source has neither EXIF nor APP0.
extern const unsigned char kDefaultApp0[18];

// Renders raw value bytes for display (FormatNumber of the reader).
std::string FormatNumber(std::string_view raw, int format, std::string_view formatString,
                         std::string_view decodeList, bool motorolaOrder);
// Looks up a value in a "v:text,v:text" list; empty when absent.
std::string DecodeValue(std::string_view value, std::string_view decodeList);

// Days since 1899-12-30 for a calendar date and time; false when invalid.
bool EncodeDateTime(int year, int month, int day, int hour, int minute, int second, double& result);

// The calendar date and time of such a value (as GetImgDateTime gives it),
// to the second.
struct DateTimeParts {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};
DateTimeParts DecodeDateTime(double value);

}  // namespace mosaik::imaging

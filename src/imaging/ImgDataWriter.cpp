// The metadata-keeping writer: derived JPEG files start with the sections
// read from the original, and a changed comment is written into a copy of
// the file that replaces it only when complete.
#include "imaging/ImgData.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegComments.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik::imaging {
namespace {

constexpr size_t kMaxCommentBytes = 65533;

void Put(std::string& out, const tSection& s) {
  out += '\xFF';
  out += static_cast<char>(s.Marker & 0xFF);
  out += s.Data;
}

void PutNumber(std::string& data, int64_t pos, uint32_t value, int bytes, bool motorola) {
  for (int i = 0; i < bytes; ++i) {
    const int shift = motorola ? 8 * (bytes - 1 - i) : 8 * i;
    data[static_cast<size_t>(pos - 1 + i)] = static_cast<char>((value >> shift) & 0xFF);
  }
}

// Writes a size into a SHORT or LONG field of one element inside the data;
// any other field is left alone.
void WriteSize(std::string& data, const TImageInfo::SizeField& f, int32_t value, bool motorola) {
  if (f.Components != 1 || value < 0 || f.Position < 1) return;
  const auto size = static_cast<int64_t>(data.size());
  if (f.Format == 3 && value <= 0xFFFF && f.Position + 1 <= size)
    PutNumber(data, f.Position, static_cast<uint32_t>(value), 2, motorola);
  else if (f.Format == 4 && f.Position + 3 <= size)
    PutNumber(data, f.Position, static_cast<uint32_t>(value), 4, motorola);
}

constexpr std::string_view kIccName("ICC_PROFILE\0", 12);

// data: the length bytes and the payload.
bool IsIccChunk(int marker, std::string_view data) {
  return marker == 0xE2 && data.size() >= 2 + kIccName.size() + 2 && data.substr(2, kIccName.size()) == kIccName;
}

// The colour profile of the picture in its chunks (each "ICC_PROFILE\0",
// its number, their count, a piece of the profile), in file order. Derived
// pictures are RGB: a profile for grey or CMYK data would misdescribe them,
// so only an RGB profile goes along (its colour space, at offset 16 of the
// profile, is in the chunk numbered 1).
std::vector<const tSection*> RgbProfile(const std::vector<tSection>& sections) {
  std::vector<const tSection*> chunks;
  bool rgb = false;
  for (const tSection& s : sections) {
    if (!IsIccChunk(s.Marker, s.Data)) continue;
    chunks.push_back(&s);
    constexpr size_t kProfile = 2 + 12 + 2;  // length bytes, name, number and count
    if (s.Data[2 + 12] == 1 && s.Data.size() >= kProfile + 20)
      rgb = std::string_view(s.Data).substr(kProfile + 16, 4) == "RGB ";
  }
  if (!rgb) chunks.clear();
  return chunks;
}

}  // namespace

void TimgData::MakeCommentSegment(const std::string& text) {
  // Windows-1252 when every character fits, so that older programs read the
  // comment; UTF-8 otherwise. A Windows-1252 form that would itself read as
  // UTF-8 is written as UTF-8 too, so the text always reads back unchanged.
  std::string bytes = text;
  if (fitsCp1252(text)) {
    std::string cp = utf8ToCp1252(text);
    if (cp == text || !isValidUtf8(cp)) bytes = std::move(cp);
  }
  if (bytes.size() > kMaxCommentBytes)
    throw MetadataWriteError("Der Kommentar ist zu lang: Ein JPEG-Kommentar fasst höchstens 65533 Bytes, dieser hat " +
                             std::to_string(bytes.size()) + ".");
  tSection s;
  s.Marker = 0xFE;
  s.Size = static_cast<int32_t>(bytes.size() + 2);
  s.Data.reserve(bytes.size() + 2);
  s.Data += static_cast<char>((s.Size >> 8) & 0xFF);
  s.Data += static_cast<char>(s.Size & 0xFF);
  s.Data += bytes;
  commentSet_ = true;
  if (tSection* existing = Slot(CommentSegment)) {
    *existing = std::move(s);
  } else {
    Sections.push_back(std::move(s));
    CommentSegment = SectionCount();
  }
}

std::string TimgData::WriteSegments() const {
  std::string out = "\xFF\xD8";
  // A TIFF file's slot holds its directories, not an APP1 section.
  const tSection* exif = Slot(ExifSegment);
  if (exif && exif->Marker == 0xE1)
    Put(out, *exif);
  else if (const tSection* header = Slot(HeaderSegment))
    Put(out, *header);
  else
    out.append(reinterpret_cast<const char*>(kDefaultApp0), sizeof kDefaultApp0);
  if (const tSection* iptc = Slot(IptcSegment)) Put(out, *iptc);
  if (const tSection* comment = Slot(CommentSegment)) Put(out, *comment);
  for (const tSection* icc : RgbProfile(Sections)) Put(out, *icc);
  return out;
}

// The stream's own leading sections are copied in order after ours, except
// those written anew:
// - every comment before the scan (the new comment is ours, and an old one
//   left anywhere would come back on the next read);
// - an APP0 right after FF D8 (our first section takes its place);
// - the first APP0, APP1 and APP13 that are byte for byte the stored APP0
//   (when we wrote it), EXIF and IPTC sections.
// - the stream's colour profile, when the stored one was written (a file
//   holds one profile).
// Everything else (XMP, other APPn) stays where it was. For an encoder's
// stream (FF D8, its APP0, tables...) only its APP0 goes.
std::string TimgData::BuildExifJpeg(std::string_view stream) const {
  if (stream.size() < 2 || static_cast<unsigned char>(stream[0]) != 0xFF ||
      static_cast<unsigned char>(stream[1]) != 0xD8)
    throw MetadataWriteError("Die Bilddaten sind kein JPEG-Datenstrom.");
  std::string out = WriteSegments();
  const tSection* exif = Slot(ExifSegment);
  const tSection* header = exif ? nullptr : Slot(HeaderSegment);
  const tSection* iptc = Slot(IptcSegment);
  bool exifDone = !exif, headerDone = !header, iptcDone = !iptc;
  const bool profileWritten = !RgbProfile(Sections).empty();
  const auto byteAt = [&](size_t i) { return static_cast<unsigned char>(stream[i]); };
  size_t p = 2;
  bool first = true;
  while (p < stream.size() && byteAt(p) == 0xFF) {
    size_t q = p;
    while (q < stream.size() && byteAt(q) == 0xFF) ++q;
    if (q + 2 >= stream.size()) break;
    const unsigned marker = byteAt(q);
    // Markers without a length, and the scan, end the leading sections.
    if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xDA)) break;
    const size_t length = (static_cast<size_t>(byteAt(q + 1)) << 8) | byteAt(q + 2);
    if (length < 2 || q + 1 + length > stream.size()) break;
    const size_t end = q + 1 + length;
    const std::string_view body = stream.substr(q + 1, length);
    bool drop = false;
    if (marker == 0xFE) {
      drop = true;
    } else if (marker == 0xE0 && first) {
      drop = true;
      if (!headerDone && body == header->Data) headerDone = true;
    } else if (marker == 0xE0 && !headerDone && body == header->Data) {
      drop = headerDone = true;
    } else if (marker == 0xE1 && !exifDone && body == exifAsRead_) {
      drop = exifDone = true;
    } else if (marker == 0xED && !iptcDone && body == iptc->Data) {
      drop = iptcDone = true;
    } else if (profileWritten && IsIccChunk(static_cast<int>(marker), body)) {
      drop = true;
    }
    if (!drop) out.append(stream.substr(p, end - p));
    p = end;
    first = false;
  }
  out.append(stream.substr(p));
  return out;
}

void TimgData::AdjustExifSize(int32_t newHeight, int32_t newWidth) {
  tSection* exif = Slot(ExifSegment);
  if (!exif || !ExifInfo) return;
  const TImageInfo& info = *ExifInfo;
  for (const TImageInfo::SizePair& p : info.SizePairs) {
    if (p.Height.Value < 1 || p.Width.Value < 1) continue;
    if (p.Height.Value == newHeight && p.Width.Value == newWidth) continue;
    WriteSize(exif->Data, p.Height, newHeight, info.MotorolaOrder);
    WriteSize(exif->Data, p.Width, newWidth, info.MotorolaOrder);
  }
}

void TimgData::WriteExifJpeg(JpegImage& image, const std::string& fileName, bool adjustSize, bool durable,
                             const fs::BeforeRename& beforeRename) {
  if (adjustSize && ExifInfo) AdjustExifSize(image.Height(), image.Width());
  const std::string bytes = BuildExifJpeg(image.SaveToStream());
  std::string why;
  if (!fs::writeFileAtomic(fileName, bytes, durable, &why, beforeRename)) throw MetadataWriteError(why);
}

std::string TimgData::WriteExifJpegFile(const std::string& fileName) {
  if (FileName.empty()) throw MetadataWriteError("Es wurde keine JPEG-Datei gelesen, die geschrieben werden könnte.");
  return Written(fs::rewriteOriginal(fileName, WithComment(fs::readFile(FileName))));
}

std::string TimgData::WriteExifJpegFile(const fs::Place& at, const std::string& fileName) {
  if (FileName.empty()) throw MetadataWriteError("Es wurde keine JPEG-Datei gelesen, die geschrieben werden könnte.");
  return Written(fs::rewriteOriginal(at, fileName, WithComment(fs::readFile(at))));
}

std::string TimgData::WithComment(const std::optional<std::string>& original) const {
  if (!original) throw MetadataWriteError("Die Datei " + FileName + " kann nicht gelesen werden.");
  if (!original->starts_with("\xFF\xD8")) throw MetadataWriteError("Die Datei ist keine JPEG-Datei.");
  // Without a comment set, its comments stay as they are.
  const tSection* comment = commentSet_ ? Slot(CommentSegment) : nullptr;
  return comment ? ReplaceJpegComments(*original, "\xFF\xFE" + comment->Data) : *original;
}

std::string TimgData::Written(const fs::RewriteResult& r) {
  if (!r.written) throw MetadataWriteError(r.why);
  return r.why;
}

}  // namespace mosaik::imaging

#include "imaging/ImgData.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "imaging/NumberFormat.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik::imaging {

// Where the section walk takes its bytes from. Reads past the end deliver
// fewer bytes; the walk treats the missing ones as 0.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t Read(char* dst, size_t n) = 0;
};

namespace {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  size_t Read(char* dst, size_t n) override {
    const size_t k = std::min(n, bytes_.size() - pos_);
    if (k) std::memcpy(dst, bytes_.data() + pos_, k);
    pos_ += k;
    return k;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

struct StreamCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* f) : f_(f) {}
  size_t Read(char* dst, size_t n) override { return std::fread(dst, 1, n, f_); }

 private:
  std::FILE* f_;
};

// A crafted block could link directories into a tree of any size; real
// blocks have a handful of directories and a few hundred entries.
constexpr int kMaxDirectoryDepth = 8;
constexpr int64_t kMaxEntries = 20000;
constexpr int64_t kMaxRawBytes = 1 << 20;
constexpr size_t kMaxFormatElements = 128;
constexpr size_t kPrintableLength = 50;

uint32_t ReadUnsigned(const unsigned char* p, size_t n, bool motorola) {
  uint32_t v = 0;
  if (motorola) {
    for (size_t i = 0; i < n; ++i) v = (v << 8) | p[i];
  } else {
    for (size_t i = n; i-- > 0;) v = (v << 8) | p[i];
  }
  return v;
}

const unsigned char* U(std::string_view s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// Bytes of a text field: UTF-8 when they are valid UTF-8, else Windows-1252.
std::string DecodeText(std::string_view bytes) {
  return isValidUtf8(bytes) ? std::string(bytes) : cp1252ToUtf8(bytes);
}

// The start of a text value, enough for every display rule (the longest
// keeps 50 characters): a crafted block can point thousands of entries at
// the same 64 KB, and converting all of it each time would be wasted work.
std::string DisplayText(std::string_view bytes) {
  constexpr size_t kKeep = 256;
  return DecodeText(utf8Prefix(bytes, kKeep));
}

// At most `count` characters of a UTF-8 text.
std::string FirstChars(const std::string& s, size_t count) {
  size_t pos = 0;
  for (size_t n = 0; n < count && pos < s.size(); ++n) nextCodePoint(s, pos);
  return s.substr(0, pos);
}

std::string Printable(const std::string& s, size_t limit) {
  std::string r = limit ? FirstChars(s, limit) : s;
  for (char& c : r)
    if (static_cast<unsigned char>(c) < 32) c = '.';
  return r;
}

std::string TrimControl(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return std::string(s);
}

double NumericValue(std::string_view raw, int format, bool motorola) {
  switch (format) {
    case 1: case 3: case 4: case 6: case 8: case 9:
      // The whole value read as one number; longer values have no single number.
      if (raw.empty() || raw.size() > 4) return 0;
      return static_cast<int32_t>(ReadUnsigned(U(raw), raw.size(), motorola));
    case 5: case 10: {
      if (raw.size() < 8) return 0;
      const auto num = static_cast<int32_t>(ReadUnsigned(U(raw), 4, motorola));
      const auto den = static_cast<int32_t>(ReadUnsigned(U(raw) + 4, 4, motorola));
      return den == 0 ? 0.0 : static_cast<double>(num) / den;
    }
    case 11: {
      if (raw.size() < 4) return 0;
      const uint32_t bits = ReadUnsigned(U(raw), 4, motorola);
      float f;
      std::memcpy(&f, &bits, 4);
      return std::isfinite(f) ? f : 0.0;
    }
    case 12: {
      if (raw.size() < 8) return 0;
      uint64_t hi = ReadUnsigned(U(raw), 4, motorola), lo = ReadUnsigned(U(raw) + 4, 4, motorola);
      if (!motorola) std::swap(hi, lo);
      const uint64_t bits = (hi << 32) | lo;
      double d;
      std::memcpy(&d, &bits, 8);
      return std::isfinite(d) ? d : 0.0;
    }
    default:
      return 0;
  }
}

std::string Hex4(uint16_t v) {
  static const char* const kDigits = "0123456789ABCDEF";
  std::string s(4, '0');
  for (int i = 3; i >= 0; --i, v = static_cast<uint16_t>(v >> 4)) s[static_cast<size_t>(i)] = kDigits[v & 15];
  return s;
}

int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

bool Digits(std::string_view s, int& value) {
  value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

}  // namespace

const unsigned char kDefaultApp0[18] = {0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00,
                                        0x01, 0x02, 0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00};

bool EncodeDateTime(int year, int month, int day, int hour, int minute, int second, double& result) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return false;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
  const int64_t days = DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30);
  result = static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
  return true;
}

DateTimeParts DecodeDateTime(double value) {
  DateTimeParts r;
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return r;
  // Whole seconds since 1899-12-30, rounded so that 08:00:00 stored as a
  // fraction does not come out as 07:59:59.
  const auto total = static_cast<int64_t>(std::llround(value * 86400.0));
  int64_t days = total / 86400, secs = total % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  // Civil date from days since 1970-01-01.
  const int64_t z = days + DaysFromCivil(1899, 12, 30) + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  r.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  r.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  r.Year = static_cast<int>(yoe + era * 400 + (r.Month <= 2));
  r.Hour = static_cast<int>(secs / 3600);
  r.Minute = static_cast<int>(secs / 60 % 60);
  r.Second = static_cast<int>(secs % 60);
  return r;
}

std::string DecodeValue(std::string_view value, std::string_view decodeList) {
  while (!value.empty() && static_cast<unsigned char>(value.front()) <= 32) value.remove_prefix(1);
  while (!value.empty() && static_cast<unsigned char>(value.back()) <= 32) value.remove_suffix(1);
  const std::string list = "," + std::string(decodeList) + ",";
  const std::string key = "," + std::string(value) + ":";
  const size_t at = list.find(key);
  if (at == std::string::npos) return {};
  const size_t start = at + key.size();
  const size_t end = list.find(',', start);
  return list.substr(start, end - start);
}

std::string FormatNumber(std::string_view raw, int format, std::string_view formatString,
                         std::string_view decodeList, bool motorolaOrder) {
  const int s = FormatSize(format);
  if (s == 0) return "0";
  std::string out;
  const size_t count = std::min(raw.size() / static_cast<size_t>(s), kMaxFormatElements);
  for (size_t k = 0; k < count; ++k) {
    if (!out.empty()) out += ", ";
    const unsigned char* e = U(raw) + k * static_cast<size_t>(s);
    switch (format) {
      case 1: case 3: case 4: case 6: case 8: case 9: {
        const std::string text = std::to_string(static_cast<int32_t>(ReadUnsigned(e, static_cast<size_t>(s), motorolaOrder)));
        out += decodeList.empty() ? text : DecodeValue(text, decodeList);
        break;
      }
      case 5: case 10:
        out += std::to_string(static_cast<int32_t>(ReadUnsigned(e, 4, motorolaOrder))) + "/" +
               std::to_string(static_cast<int32_t>(ReadUnsigned(e + 4, 4, motorolaOrder)));
        break;
      case 11: case 12:
        out += "-9999.99";
        break;
      default:
        out += "?";
        break;
    }
  }
  if (!formatString.empty()) {
    if (formatString.find("%s") != std::string_view::npos) {
      out = FormatPattern(formatString, {out});
    } else {
      double v = 0;
      if (format == 5 || format == 10) v = NumericValue(raw.substr(0, 8), format, motorolaOrder);
      else v = NumericValue(raw, format, motorolaOrder);
      out = FormatPattern(formatString, {v});
    }
  }
  return out;
}

// ---------------------------------------------------------------- TImageInfo

TImageInfo::TImageInfo(TimgData* parent, uint8_t buildCode, bool tiffMode)
    : Parent(parent), BuildCode(buildCode), TiffMode(tiffMode) {}

bool TImageInfo::InBuffer(int64_t pos, int64_t len) const {
  return pos >= 1 && len >= 0 && pos - 1 + len <= static_cast<int64_t>(DataBuffer.size());
}

std::string TImageInfo::Bytes(int64_t pos, int64_t len) const {
  const auto size = static_cast<int64_t>(DataBuffer.size());
  if (pos < 1 || pos > size || len <= 0) return {};
  const int64_t n = std::min(len, size - (pos - 1));
  return DataBuffer.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(n));
}

uint32_t TImageInfo::Get16u(int64_t pos, bool* ok) const {
  if (!InBuffer(pos, 2)) {
    if (ok) *ok = false;
    return 0;
  }
  return ReadUnsigned(U(DataBuffer) + pos - 1, 2, MotorolaOrder);
}

uint32_t TImageInfo::Get32u(int64_t pos, bool* ok) const {
  if (!InBuffer(pos, 4)) {
    if (ok) *ok = false;
    return 0;
  }
  return ReadUnsigned(U(DataBuffer) + pos - 1, 4, MotorolaOrder);
}

int TImageInfo::LookupTag(std::string_view name) const { return FindTagByName(Tags, name); }

std::string TImageInfo::LookupTagValue(std::string_view name) const { return TagValueByName(Tags, name); }

TTagEntry TImageInfo::GetTagByName(std::string_view name) const {
  const int i = LookupTag(name);
  return i < 0 ? UnknownTagDefinition() : Tags[static_cast<size_t>(i)];
}

double TImageInfo::GetNumericTagValue(std::string_view name) const {
  const int i = LookupTag(name);
  if (i < 0) return 0;
  const TTagEntry& e = Tags[static_cast<size_t>(i)];
  return NumericValue(e.Raw, e.Format, MotorolaOrder);
}

int64_t TImageInfo::GetIntegerTagValue(std::string_view name) const {
  return RoundHalfEven(GetNumericTagValue(name));
}

double TImageInfo::GetImgDateTime() const {
  int64_t pos = 0;
  for (const int64_t p : {DateTimePosition, DateTimeOriginalPosition, DateTimeDigitizedPosition})
    if (p >= 1) {
      pos = p;
      break;
    }
  if (pos < 1 || !InBuffer(pos, 19)) return 0;
  const std::string s = Bytes(pos, 19);
  const std::string_view v = s;
  int y, mo, d, h, mi, se;
  if (!Digits(v.substr(0, 4), y) || !Digits(v.substr(5, 2), mo) || !Digits(v.substr(8, 2), d) ||
      !Digits(v.substr(11, 2), h) || !Digits(v.substr(14, 2), mi) || !Digits(v.substr(17, 2), se))
    return 0;
  double result = 0;
  return EncodeDateTime(y, mo, d, h, mi, se, result) ? result : 0;
}

void TImageInfo::StartWalk() {
  TraceStr.clear();
  visited_.clear();
  entriesLeft_ = kMaxEntries;
  rawBytesLeft_ = kMaxRawBytes;
}

TImageInfo::SizeField& TImageInfo::SizeTag(int64_t dirStart, uint16_t tag) {
  const bool exif = tag == 0xA002 || tag == 0xA003;
  const bool width = tag == 0x0100 || tag == 0xA002;
  auto it = std::find_if(SizePairs.begin(), SizePairs.end(),
                         [&](const SizePair& p) { return p.DirStart == dirStart && p.Exif == exif; });
  if (it == SizePairs.end()) it = SizePairs.insert(SizePairs.end(), SizePair{dirStart, exif, {}, {}});
  return width ? it->Width : it->Height;
}

bool TImageInfo::ReadDirEntry(int64_t dirStart, int64_t i, int64_t offsetBase, DirEntry& e) {
  if (--entriesLeft_ < 0) return false;
  const int64_t pos = dirStart + 2 + 12 * i;
  e.tag = static_cast<uint16_t>(Get16u(pos));
  e.format = static_cast<uint16_t>(Get16u(pos + 2));
  e.components = Get32u(pos + 4);
  e.byteCount = static_cast<int64_t>(FormatSize(e.format)) * e.components;
  e.valuePos = e.byteCount <= 4 ? pos + 8 : offsetBase + Get32u(pos + 8);
  e.raw = e.byteCount == 0 ? std::string() : Bytes(e.valuePos, e.byteCount);
  rawBytesLeft_ -= static_cast<int64_t>(e.raw.size());
  return rawBytesLeft_ >= 0;
}

std::string TImageInfo::DisplayValue(const TTagEntry& def, const DirEntry& e) {
  std::string data;
  if (e.format == 2) {
    // Many writers count the closing NUL, some (phones among them) do not:
    // only a NUL is cut, never the last character of the text.
    std::string_view text = e.raw;
    if (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    data = DisplayText(text);
  } else if (e.format == 7) {
    data = "\"" + DisplayText(std::string_view(e.raw).substr(0, e.raw.find('\0'))) + "\"";
  } else {
    data = FormatNumber(e.raw, e.format, def.FormatString, def.DecodeList, MotorolaOrder);
  }
  if (&def != &UnknownTagDefinition() && def.Formatter)
    data = def.Formatter(data);
  else
    data = Printable(data, kPrintableLength);
  return data;
}

void TImageInfo::Trace(uint16_t tag, const TTagEntry& def, const std::string& data) {
  TraceStr += "tag[$" + Hex4(tag) + "]: " + def.Description + " = " + data + "\n";
}

void TImageInfo::ProcessExifDir(int64_t dirStart, int64_t offsetBase, int64_t exifLength, int kind, int depth) {
  if (depth > kMaxDirectoryDepth) return;
  // Each directory is walked once: a link back to any directory met before
  // would otherwise loop.
  if (!visited_.insert(dirStart).second) return;
  bool ok = true;
  const int64_t n = Get16u(dirStart, &ok);
  const int64_t entriesEnd = dirStart + 2 + 12 * n;
  if (!ok || entriesEnd > offsetBase + exifLength || !InBuffer(dirStart, 2 + 12 * n)) {
    Parent->ErrorText = "Illegally sized directory";
    return;
  }
  if (kind == 1 && ThumbnailStart == 0 && !TiffMode) {
    bool linkOk = true;
    const int64_t link = Get32u(entriesEnd, &linkOk);
    if (linkOk) {
      ThumbnailStart = link;
      ThumbnailLength = offsetBase + exifLength - link;
    }
  }
  const bool display = BuildCode == 2 || BuildCode == 255;
  const bool keep = BuildCode == 4 || BuildCode == 255;
  DirEntry e;
  for (int64_t i = 0; i < n; ++i) {
    if (!ReadDirEntry(dirStart, i, offsetBase, e)) {
      Parent->ErrorText = "Illegally sized directory";
      return;
    }
    if (e.byteCount == 0) continue;
    const uint16_t tag = e.tag, format = e.format;
    const int64_t pos = dirStart + 2 + 12 * i, valuePos = e.valuePos;
    const std::string& raw = e.raw;
    const TTagEntry& def = kind == 2 ? LookupGpsTag(tag) : LookupExifTag(tag);
    std::string data;
    if (display) {
      data = DisplayValue(def, e);
      if (tag == 0x9286) {
        // The text after the 8-byte character-code prefix, without the
        // padding around it. (Cutting a fixed last byte would eat the last
        // letter of the many comments stored without a closing NUL.)
        const std::string text = raw.size() > 8 ? TrimControl(std::string_view(raw).substr(8)) : std::string();
        UserComment = Printable(DecodeText(text), 0);
        UserCommentPosition = valuePos + 8;
        UserCommentLength = static_cast<int64_t>(text.size());
        data = UserComment;
      }
      Trace(tag, def, data);
    }
    switch (tag) {
      case 0x8825: {
        bool linkOk = true;
        const int64_t link = Get32u(valuePos, &linkOk);
        if (linkOk) ProcessExifDir(offsetBase + link, offsetBase, exifLength, 2, depth + 1);
        break;
      }
      case 0x014A: case 0x8769: case 0xA005: {
        bool linkOk = true;
        const int64_t target = offsetBase + Get32u(valuePos, &linkOk);
        if (linkOk && target != dirStart) ProcessExifDir(target, offsetBase, exifLength, 1, depth + 1);
        break;
      }
      case 0x0100: case 0xA002: case 0x0101: case 0xA003: {
        SizeField& f = SizeTag(dirStart, tag);
        f = {static_cast<int32_t>(RoundHalfEven(NumericValue(raw, format, MotorolaOrder))), pos + 8, format,
             e.components};
        const bool width = tag == 0x0100 || tag == 0xA002;
        (width ? Width : Height) = f.Value;
        (width ? WidthPosition : HeightPosition) = f.Position;
        break;
      }
      case 0x010F: CameraMake = FirstChars(data, 32); break;
      case 0x0110: CameraModel = FirstChars(data, 40); break;
      case 0x0132:
        DateTimePosition = valuePos;
        DateTime = FirstChars(data, 20);
        break;
      case 0x9003:
        DateTimeOriginalPosition = valuePos;
        DateTime = FirstChars(data, 20);
        break;
      case 0x9004: DateTimeDigitizedPosition = valuePos; break;
      case 0x9000: ExifVersion = raw.substr(0, 6); break;
      case 0x9209: FlashUsed = static_cast<int32_t>(RoundHalfEven(NumericValue(raw, format, MotorolaOrder))); break;
      case 0x927C:
        MakerNote = raw;
        MakerNotePosition = valuePos;
        // Only a note lying whole inside the block can be decoded.
        if (static_cast<int64_t>(raw.size()) == e.byteCount) ReadMakerNote(offsetBase, depth + 1);
        break;
      default: break;
    }
    if (keep && def.Tag != 0) {
      TTagEntry entry = def;
      entry.Data = data;
      entry.Raw = raw;
      entry.RawPosition = static_cast<int32_t>(std::min<int64_t>(valuePos, INT32_MAX));
      entry.Size = static_cast<int32_t>(raw.size());
      entry.Format = format;
      Tags.push_back(std::move(entry));
    }
  }
}

void TImageInfo::AddFocalLength35mm() {
  if (LookupTag("FocalLengthin35mmFilm") >= 0) return;
  int64_t u = GetIntegerTagValue("FocalPlaneResolutionUnit");
  if (u < 1) u = GetIntegerTagValue("ResolutionUnit");
  const double unit = u == 2 ? 25.4 : u == 3 ? 10.0 : 0.0;
  const double focal = GetNumericTagValue("FocalLength");
  if (unit == 0 || focal == 0) return;
  double w = 0, h = 0;
  const int64_t xr = GetIntegerTagValue("FocalPlaneXResolution");
  const int64_t yr = GetIntegerTagValue("FocalPlaneYResolution");
  if (xr > 0) w = Width * unit / static_cast<double>(xr);
  if (yr > 0) h = Height * unit / static_cast<double>(yr);
  if (!(w * h > 0)) return;
  const double factor = 43.26661531 / std::sqrt(w * w + h * h);
  TTagEntry e = LookupExifTag(0xA405);
  e.Data = FormatPattern("%5.2f", {focal * factor});
  e.FormatString = "%s mm";
  e.Format = 10;
  Tags.push_back(std::move(e));
}

// ------------------------------------------------------------------ TimgData

TimgData::TimgData(uint8_t buildCode) : BuildCode(buildCode) { ResetMetaData(); }
TimgData::~TimgData() = default;

void TimgData::ResetMetaData() {
  Sections.clear();
  ExifSegment = IptcSegment = CommentSegment = HeaderSegment = 0;
  FileName.clear();
  FileDateTime = 0;
  FileSize = 0;
  ErrorText.clear();
  ExifInfo.reset();
  IptcInfo.reset();
  MotorolaOrder = false;
  exifAsRead_.clear();
  commentSet_ = false;
}

bool TimgData::ProcessFile(const std::string& fileName) {
  return ProcessOpened(fs::openForReading(fileName), fileName);
}

bool TimgData::ProcessFile(const fs::Place& at, const std::string& fileName) {
  return ProcessOpened(fs::openForReading(at), fileName);
}

bool TimgData::ProcessOpened(fs::Fd fd, const std::string& fileName) {
  ResetMetaData();
  try {
    // Size, date and content of one file: the one opened.
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) return false;
    const std::unique_ptr<std::FILE, StreamCloser> f(fs::openStream(std::move(fd)));
    if (!f) return false;
    FileName = fileName;
    FileSize = st.st_size;
    std::tm tm {};
    const std::time_t t = st.st_mtime;
    if (::localtime_r(&t, &tm))
      EncodeDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                     std::min(tm.tm_sec, 59), FileDateTime);
    ErrorText = "Not an EXIF file";
    const size_t slash = fileName.rfind('/');
    const size_t dot = fileName.rfind('.');
    const std::string ext =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? std::string()
                                                                                : asciiLower(fileName.substr(dot));
    if (ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") {
      if (!ReadJpegFile(f.get())) return false;
    } else if (ext == ".tif" || ext == ".tiff" || ext == ".nef") {
      if (!ReadTiffFile(f.get())) return false;
    } else {
      return false;
    }
    ErrorText = "<none>";
    return true;
  } catch (...) {
    ErrorText = "Illegal Exif construction";
    return false;
  }
}

bool TimgData::ReadJpegFile(std::FILE* f) {
  try {
    FileSource src(f);
    return ReadSectionsFrom(src);
  } catch (...) {
    return false;
  }
}

bool TimgData::ReadJpegSections(std::string_view bytes) {
  MemorySource src(bytes);
  return ReadSectionsFrom(src);
}

bool TimgData::ReadSectionsFrom(ByteSource& src) {
  unsigned char b[2] = {0, 0};
  if (src.Read(reinterpret_cast<char*>(b), 2) != 2 || b[0] != 0xFF || b[1] != 0xD8) return false;
  Sections.clear();
  ExifSegment = IptcSegment = CommentSegment = HeaderSegment = 0;
  ExifInfo.reset();
  IptcInfo.reset();
  exifAsRead_.clear();
  while (SectionCount() < kMaxSections) {
    // Fill bytes (0xFF) before the marker code are skipped; at the end of
    // the stream marker and length read as 0.
    int marker = 0;
    char c = 0;
    while (src.Read(&c, 1) == 1) {
      if (static_cast<unsigned char>(c) != 0xFF) {
        marker = static_cast<unsigned char>(c);
        break;
      }
    }
    unsigned char len[2] = {0, 0};
    src.Read(reinterpret_cast<char*>(len), 2);
    const int length = (len[0] << 8) | len[1];
    // A length below 2 cannot even hold itself: the walk ends, keeping
    // what it read.
    if (length < 2) break;
    tSection s;
    s.Marker = marker;
    s.Size = length;
    s.Data.assign(static_cast<size_t>(length), '\0');
    s.Data[0] = static_cast<char>(len[0]);
    s.Data[1] = static_cast<char>(len[1]);
    src.Read(s.Data.data() + 2, static_cast<size_t>(length - 2));
    Sections.push_back(std::move(s));
    const int n = SectionCount();
    if (marker == 0xD9 || marker == 0xDA) break;
    switch (marker) {
      case 0xE0:
        HeaderSegment = n;
        break;
      case 0xE1:
        // Other APP1 blocks (XMP above all) often come first; they are kept
        // like any other section.
        if (!ExifSegment && Sections.back().Data.compare(2, 6, std::string_view("Exif\0\0", 6)) == 0) {
          ExifSegment = n;
          exifAsRead_ = Sections.back().Data;
          ExifInfo = std::make_unique<TImageInfo>(this, BuildCode, TiffMode);
          ExifInfo->DataBuffer = Sections.back().Data;
          ProcessExif();
        }
        break;
      case 0xED:
        if (!IptcSegment) {
          IptcSegment = n;
          IptcInfo = std::make_unique<TIPTCdata>(this);
          IptcInfo->ParseIPTCStrings(Sections.back().Data);
        }
        break;
      case 0xFE:
        CommentSegment = n;
        break;
      default:
        break;
    }
  }
  return HasMetaData();
}

void TimgData::ProcessExif() {
  TImageInfo& info = *ExifInfo;
  const std::string& d = info.DataBuffer;
  if (d.size() < 6 || d.compare(2, 4, "Exif") != 0) {
    ErrorText = "Incorrect Exif header";
    return;
  }
  const std::string_view mark = d.size() >= 10 ? std::string_view(d).substr(8, 2) : std::string_view();
  if (mark == "II") {
    MotorolaOrder = false;
  } else if (mark == "MM") {
    MotorolaOrder = true;
  } else {
    ErrorText = "Invalid Exif alignment marker";
    return;
  }
  info.MotorolaOrder = MotorolaOrder;
  info.StartWalk();
  const int64_t offsetBase = 9;
  const int64_t exifLength = static_cast<int64_t>(Sections[static_cast<size_t>(ExifSegment - 1)].Size) - 6;
  const int64_t first = info.Get32u(13);
  const int64_t dirStart = first == 0 ? 17 : first + offsetBase;
  info.ProcessExifDir(dirStart, offsetBase, exifLength, 1);
  info.AddFocalLength35mm();
}

std::string TimgData::GetCommentBytes() const {
  const tSection* s = Slot(CommentSegment);
  if (!s || s->Size < 2) return {};
  const size_t n = std::min(static_cast<size_t>(s->Size - 2), s->Data.size() >= 2 ? s->Data.size() - 2 : 0);
  return s->Data.substr(2, n);
}

std::string TimgData::GetCommentText() const { return CommentText(GetCommentBytes()); }

std::string CommentText(std::string_view bytes) {
  // Some tools end the text with a C string terminator; it is no part of it.
  while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
  return DecodeText(bytes);
}

}  // namespace mosaik::imaging

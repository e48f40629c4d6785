#include "imaging/JpegComments.h"

#include <cstdint>

#include "imaging/ImgData.h"

namespace mosaik::imaging {
namespace {

unsigned At(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

// A marker that begins a section with a length.
bool SectionMarker(unsigned m) { return m >= 0xC0 && m <= 0xFE && !(m >= 0xD0 && m <= 0xDA); }

}  // namespace

// A comment whose length runs past the end was cut short or miscounted: it
// ends where the next section begins, so the picture behind it is not
// taken for text.
std::vector<JpegSection> LeadingJpegSections(std::string_view f, size_t& rest) {
  std::vector<JpegSection> out;
  size_t p = 2;
  while (p < f.size() && At(f, p) == 0xFF) {
    size_t q = p;
    while (q < f.size() && At(f, q) == 0xFF) ++q;
    if (q + 2 >= f.size() || !SectionMarker(At(f, q))) break;
    const unsigned marker = At(f, q);
    const size_t length = (At(f, q + 1) << 8) | At(f, q + 2);
    if (length < 2) break;
    size_t end = q + 1 + length;
    if (end > f.size()) {
      if (marker != 0xFE) break;
      end = q + 3;
      while (end + 1 < f.size() && !(At(f, end) == 0xFF && (SectionMarker(At(f, end + 1)) || At(f, end + 1) == 0xDA)))
        ++end;
      if (end + 1 >= f.size()) end = f.size();
    }
    out.push_back({p, q + 3, end, marker});
    p = end;
  }
  rest = p;
  return out;
}

namespace {

bool IsMpf(std::string_view f, const JpegSection& s) {
  return s.marker == 0xE2 && f.substr(s.payload, 4) == std::string_view("MPF\0", 4);
}

// A multi-picture index (the TIFF structure after "MPF\0" at `sig` in an
// APP2 section's bytes) gives every picture's offset from that structure's
// start, and the first picture's size. The pictures after the first move
// by `shift` relative to the index; the first picture grows by `growth`.
void AdjustMpfIndex(std::string& sec, size_t sig, int64_t shift, int64_t growth) {
  const size_t t = sig + 4;
  if (t + 8 > sec.size()) return;
  const bool mm = sec.compare(t, 2, "MM") == 0;
  if (!mm && sec.compare(t, 2, "II") != 0) return;
  const auto get = [&](size_t pos, size_t n, uint32_t& v) {
    if (pos > sec.size() || n > sec.size() - pos) return false;
    v = 0;
    for (size_t i = 0; i < n; ++i) v |= static_cast<uint32_t>(At(sec, pos + i)) << (8 * (mm ? n - 1 - i : i));
    return true;
  };
  const auto put = [&](size_t pos, int64_t v) {
    if (v < 0 || v > UINT32_MAX) return;
    for (size_t i = 0; i < 4; ++i) sec[pos + i] = static_cast<char>((v >> (8 * (mm ? 3 - i : i))) & 0xFF);
  };
  uint32_t ifd = 0, count = 0;
  if (!get(t + 4, 4, ifd) || !get(t + ifd, 2, count)) return;
  for (size_t i = 0; i < count; ++i) {
    const size_t e = t + ifd + 2 + 12 * i;
    uint32_t tag = 0, n = 0, where = 0;
    if (!get(e, 2, tag) || !get(e + 4, 4, n) || !get(e + 8, 4, where)) return;
    if (tag != 0xB002) continue;
    // The index entries: 16 bytes each, size at +4 and offset at +8.
    const size_t data = n <= 4 ? e + 8 : t + where;
    for (size_t k = 0; k < n / 16; ++k) {
      uint32_t size = 0, offset = 0;
      if (!get(data + 16 * k + 4, 4, size) || !get(data + 16 * k + 8, 4, offset)) return;
      if (offset != 0)
        put(data + 16 * k + 8, offset + shift);
      else
        put(data + 16 * k + 4, size + growth);
    }
  }
}

}  // namespace

std::vector<std::string> JpegComments(std::string_view file) {
  std::vector<std::string> out;
  if (file.size() < 2 || At(file, 0) != 0xFF || At(file, 1) != 0xD8) return out;
  size_t rest = 0;
  for (const JpegSection& s : LeadingJpegSections(file, rest))
    if (s.marker == 0xFE) out.emplace_back(file.substr(s.payload, s.end - s.payload));
  return out;
}

std::string JpegCommentText(std::string_view file) {
  std::string text;
  bool first = true;
  for (const std::string& c : JpegComments(file)) {
    if (!first) text += '\n';
    text += CommentText(c);
    first = false;
  }
  return text;
}

std::string ReplaceJpegComments(std::string_view file, std::string_view comment) {
  if (file.size() < 2 || At(file, 0) != 0xFF || At(file, 1) != 0xD8)
    throw MetadataWriteError("Die Datei ist keine JPEG-Datei.");
  size_t rest = 0;
  const std::vector<JpegSection> sections = LeadingJpegSections(file, rest);
  // Every change in size, at the position of the original it happens at.
  struct Change {
    size_t at;
    int64_t growth;
  };
  std::vector<Change> changes;
  size_t insertAt = 0;  // without a comment: after the APPn sections at the start
  for (const JpegSection& s : sections) {
    if (s.marker != 0xFE) continue;
    const auto size = static_cast<int64_t>(s.end - s.start);
    changes.push_back({s.start, (changes.empty() ? static_cast<int64_t>(comment.size()) : 0) - size});
  }
  if (changes.empty()) {
    // Where the program's own writer puts it: after the JFIF header, EXIF
    // and IPTC at the start, so that a reader looking only at the first
    // sections finds it before XMP, ICC profiles and the like.
    insertAt = 2;
    for (const JpegSection& s : sections) {
      const bool exif = s.marker == 0xE1 && file.substr(s.payload, 6) == std::string_view("Exif\0\0", 6);
      if (s.marker != 0xE0 && !exif && s.marker != 0xED) break;
      insertAt = s.end;
    }
    changes.push_back({insertAt, static_cast<int64_t>(comment.size())});
  }
  int64_t total = 0;
  for (const Change& c : changes) total += c.growth;

  std::string out(file.substr(0, 2));
  out.reserve(file.size() + comment.size());
  if (insertAt == 2) out += comment;
  bool placed = insertAt != 0;
  for (const JpegSection& s : sections) {
    const std::string_view bytes = file.substr(s.start, s.end - s.start);
    if (s.marker == 0xFE) {
      if (!placed) out += comment;
      placed = true;
      continue;
    }
    if (IsMpf(file, s)) {
      int64_t shift = 0;
      for (const Change& c : changes)
        if (c.at > s.start) shift += c.growth;
      std::string copy(bytes);
      AdjustMpfIndex(copy, s.payload - s.start, shift, total);
      out += copy;
    } else {
      out += bytes;
    }
    if (s.end == insertAt) out += comment;
  }
  out += file.substr(rest);
  return out;
}

}  // namespace mosaik::imaging

#pragma once
// An independent PNG reader for the tests: chunk walk with zlib's own CRC,
// inflate, samples per pixel, for what the program writes: 8-bit RGBA
// without interlace, every line with the Sub filter. It shares no code with
// the writer under test. Also runs the external checker.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "TempOrdner.h"

namespace pngtest {

struct Chunk {
  std::string type;
  std::vector<uint8_t> data;
  bool crcOk = false;
};

struct Decoded {
  std::string error;  // empty when the file decoded
  uint32_t width = 0, height = 0;
  int depth = 0, colorType = 0, interlace = 0;
  std::vector<Chunk> chunks;
  std::vector<uint8_t> inflated;
  // Red, green, blue and alpha of each pixel (index y * width + x).
  std::vector<std::vector<unsigned>> pixels;

  std::vector<std::string> Types() const {
    std::vector<std::string> t;
    for (const auto& c : chunks) t.push_back(c.type);
    return t;
  }
  const Chunk* Find(const std::string& type) const {
    for (const auto& c : chunks)
      if (c.type == type) return &c;
    return nullptr;
  }
  const std::vector<unsigned>& At(uint32_t x, uint32_t y) const { return pixels[y * width + x]; }
};

inline uint32_t Be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

inline Decoded Decode(const std::string& file) {
  Decoded d;
  const auto* b = reinterpret_cast<const uint8_t*>(file.data());
  static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (file.size() < 8 || std::memcmp(b, sig, 8) != 0) {
    d.error = "signature";
    return d;
  }
  std::vector<uint8_t> idat;
  size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const uint32_t len = Be32(b + pos);
    if (pos + 12 + len > file.size()) {
      d.error = "truncated chunk";
      return d;
    }
    Chunk c;
    c.type.assign(file.data() + pos + 4, 4);
    c.data.assign(b + pos + 8, b + pos + 8 + len);
    const uLong crc = crc32(0L, b + pos + 4, len + 4);
    c.crcOk = crc == Be32(b + pos + 8 + len);
    if (c.type == "IDAT") idat.insert(idat.end(), c.data.begin(), c.data.end());
    d.chunks.push_back(std::move(c));
    pos += 12 + len;
  }
  if (pos != file.size()) d.error = "bytes after the last chunk";
  if (d.chunks.empty() || d.chunks[0].type != "IHDR" || d.chunks[0].data.size() != 13) {
    d.error = "no IHDR";
    return d;
  }
  const auto& h = d.chunks[0].data;
  d.width = Be32(h.data());
  d.height = Be32(h.data() + 4);
  d.depth = h[8];
  d.colorType = h[9];
  d.interlace = h[12];

  // Inflate everything.
  z_stream z{};
  inflateInit(&z);
  z.next_in = idat.data();
  z.avail_in = static_cast<uInt>(idat.size());
  uint8_t buf[16384];
  int r;
  do {
    z.next_out = buf;
    z.avail_out = sizeof buf;
    r = inflate(&z, Z_NO_FLUSH);
    d.inflated.insert(d.inflated.end(), buf, buf + (sizeof buf - z.avail_out));
  } while (r == Z_OK);
  inflateEnd(&z);
  if (r != Z_STREAM_END) {
    d.error = "inflate " + std::to_string(r);
    return d;
  }

  if (d.depth != 8 || d.colorType != 6 || d.interlace != 0) {
    d.error = "not 8-bit RGBA without interlace";
    return d;
  }
  const size_t bpp = 4, rowBytes = d.width * bpp;
  std::vector<uint8_t> cur(rowBytes);
  size_t in = 0;
  for (uint32_t y = 0; y < d.height; ++y) {
    if (in + 1 + rowBytes > d.inflated.size()) {
      d.error = "scanlines";
      return d;
    }
    const int ft = d.inflated[in];
    std::memcpy(cur.data(), &d.inflated[in + 1], rowBytes);
    in += 1 + rowBytes;
    if (ft != 1) {
      d.error = "filter type " + std::to_string(ft);
      return d;
    }
    for (size_t i = bpp; i < rowBytes; ++i) cur[i] = static_cast<uint8_t>(cur[i] + cur[i - bpp]);
    for (uint32_t x = 0; x < d.width; ++x) d.pixels.emplace_back(cur.begin() + x * bpp, cur.begin() + (x + 1) * bpp);
  }
  if (in != d.inflated.size()) d.error = "extra image data";
  return d;
}

inline bool HavePngcheck() { return std::system("command -v pngcheck >/dev/null 2>&1") == 0; }

// Runs "pngcheck -v" on the file; returns its exit status and output.
inline int Pngcheck(const std::filesystem::path& file, std::string* output = nullptr) {
  const std::string cmd = "pngcheck -v '" + file.string() + "' 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  std::string out;
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  const int status = pclose(p);
  if (output) *output = out;
  return status;
}

}  // namespace pngtest

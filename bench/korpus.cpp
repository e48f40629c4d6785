// Writes a deterministic corpus of photo-like JPEG files for the benchmarks:
// large-scale colour, mid-scale texture and fine grain (smooth gradients
// would decode unrealistically fast), an EXIF block as a camera writes it,
// quality 92 with 4:2:0 colour like a camera's "fine" setting.
//
//   mosaik_korpus <folder>           the full corpus (about 330 MB)
//   mosaik_korpus <folder> --klein   two small pictures (smoke test)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

// Value noise: random values on a grid of `cell` pixels, bilinear between.
struct Rauschen {
  uint32_t seed;
  int cell;
  int Wert(int x, int y) const {  // 0..255
    const int cx = x / cell, cy = y / cell;
    const int fx = x % cell, fy = y % cell;
    const auto v = [&](int i, int j) {
      return static_cast<int>(Hash(static_cast<uint32_t>(cx + i), static_cast<uint32_t>(cy + j), seed) & 255);
    };
    const int top = v(0, 0) * (cell - fx) + v(1, 0) * fx;
    const int bottom = v(0, 1) * (cell - fx) + v(1, 1) * fx;
    return (top * (cell - fy) + bottom * fy) / (cell * cell);
  }
};

uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); }

// A little-endian TIFF block: IFD0 with make, model, orientation and date,
// an EXIF directory with the date taken, exposure and the stored size.
std::string Exif(int w, int h, int nummer) {
  std::string out;
  const auto u16 = [&](uint32_t v) { out += static_cast<char>(v & 255), out += static_cast<char>(v >> 8 & 255); };
  const auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  char datum[20];
  std::snprintf(datum, sizeof datum, "2024:06:%02d 10:%02d:00", 1 + nummer % 28, nummer % 60);
  const std::string make = "Mosaik Testkamera", model = "MK-24", zeit(datum, 19);
  struct Eintrag {
    uint16_t tag, typ;
    uint32_t anzahl;
    std::string wert;  // > 4 bytes: stored after the directories
    uint32_t zahl;
  };
  const auto text = [](uint16_t tag, const std::string& s) { return Eintrag{tag, 2, uint32_t(s.size() + 1), s + '\0', 0}; };
  const auto rational = [](uint16_t tag, uint32_t n, uint32_t d) {
    std::string s(8, '\0');
    for (int i = 0; i < 4; ++i) s[size_t(i)] = char(n >> (8 * i)), s[size_t(4 + i)] = char(d >> (8 * i));
    return Eintrag{tag, 5, 1, s, 0};
  };
  std::vector<Eintrag> ifd0 = {text(0x010F, make), text(0x0110, model), {0x0112, 3, 1, "", 1},
                               text(0x0132, zeit), {0x8769, 4, 1, "", 0}};
  std::vector<Eintrag> exif = {rational(0x829A, 1, 250), rational(0x829D, 56, 10), {0x8827, 3, 1, "", 200},
                               text(0x9003, zeit), {0xA002, 4, 1, "", uint32_t(w)}, {0xA003, 4, 1, "", uint32_t(h)}};
  const uint32_t ifd0At = 8, exifAt = ifd0At + 2 + 12 * uint32_t(ifd0.size()) + 4;
  uint32_t daten = exifAt + 2 + 12 * uint32_t(exif.size()) + 4;
  ifd0[4].zahl = exifAt;
  std::string anhang;
  out = "II";
  u16(42);
  u32(ifd0At);
  for (auto* dir : {&ifd0, &exif}) {
    u16(uint16_t(dir->size()));
    for (const Eintrag& e : *dir) {
      u16(e.tag), u16(e.typ), u32(e.anzahl);
      if (e.wert.empty()) {
        e.typ == 3 ? (u16(e.zahl), u16(0)) : u32(e.zahl);
      } else if (e.wert.size() <= 4) {
        out += e.wert + std::string(4 - e.wert.size(), '\0');
      } else {
        u32(daten + uint32_t(anhang.size()));
        anhang += e.wert;
      }
    }
    u32(0);
  }
  return std::string("Exif\0\0", 6) + out + anhang;
}

void Schreiben(const std::string& pfad, int w, int h, bool grau, uint32_t seed, int nummer) {
  std::FILE* f = std::fopen(pfad.c_str(), "wb");
  if (!f) {
    std::perror(pfad.c_str());
    std::exit(1);
  }
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = grau ? 1 : 3;
  c.in_color_space = grau ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 92, TRUE);
  c.write_JFIF_header = FALSE;
  jpeg_start_compress(&c, TRUE);
  const std::string exif = Exif(w, h, nummer);
  jpeg_write_marker(&c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.data()), unsigned(exif.size()));

  const Rauschen gross[3] = {{seed, 700}, {seed + 1, 900}, {seed + 2, 800}};
  const Rauschen mittel{seed + 3, 24}, fein{seed + 4, 5};
  const int k = grau ? 1 : 3;
  std::vector<uint8_t> zeile(size_t(w) * size_t(k));
  while (c.next_scanline < c.image_height) {
    const int y = int(c.next_scanline);
    for (int x = 0; x < w; ++x) {
      // Light falling across the frame, structure and sensor grain.
      const int licht = 40 + (x + y) * 120 / (w + h);
      const int struktur = (mittel.Wert(x, y) - 128) / 2 + (fein.Wert(x, y) - 128) / 3;
      const uint32_t korn = Hash(uint32_t(x), uint32_t(y), seed + 5);
      for (int i = 0; i < k; ++i) {
        const int grain = int((korn >> (8 * i)) & 31) - 16;
        zeile[size_t(x * k + i)] = Clamp(licht + (gross[i].Wert(x, y) - 128) + struktur + grain);
      }
    }
    JSAMPROW r = zeile.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::fclose(f);
}

struct Foto {
  int w, h;
  bool grau;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "Aufruf: %s <Ordner> [--klein]\n", argv[0]);
    return 2;
  }
  const std::string ordner = std::string(argv[1]) + "/";
  const bool klein = argc > 2 && std::strcmp(argv[2], "--klein") == 0;
  std::filesystem::create_directories(ordner);
  std::vector<Foto> fotos;
  if (klein) {
    fotos = {{400, 300, false}, {300, 400, true}};
  } else {
    for (int i = 0; i < 4; ++i) fotos.push_back({4000, 3000, false});
    for (int i = 0; i < 4; ++i) fotos.push_back({6000, 4000, false});
    fotos.insert(fotos.end(), {{3000, 4000, false}, {3000, 4000, false}, {4000, 6000, false}, {4000, 6000, false},
                               {12000, 3000, false}, {8000, 2000, false}, {4000, 3000, true}, {6000, 4000, true}});
  }
  int n = 0;
  for (const Foto& f : fotos) {
    ++n;
    char name[64];
    std::snprintf(name, sizeof name, "foto_%02d_%dx%d%s.jpg", n, f.w, f.h, f.grau ? "_grau" : "");
    Schreiben(ordner + name, f.w, f.h, f.grau, 1000u + uint32_t(n) * 17u, n);
    std::printf("%s\n", name);
  }
  return 0;
}

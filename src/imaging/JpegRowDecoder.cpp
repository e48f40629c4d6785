#include "imaging/JpegRowDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace mosaik::imaging {
namespace {

// libjpeg's fatal errors jump back into Step below. Every step is one
// libjpeg call with nothing of ours between it and the jump, so no
// destructor is ever skipped; the sink runs between the steps.
struct Decoder {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  std::jmp_buf jump{};
  bool created = false;
  // Data that end at a marker are an error at once: libjpeg would go on
  // with zeros without reading a byte, so a file of a few bytes could
  // otherwise keep the run busy for billions of pixels.
  Datenende ende;

  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

Decoder* Of(j_common_ptr c) { return static_cast<Decoder*>(c->client_data); }

void OnError(j_common_ptr c) { std::longjmp(Of(c)->jump, 1); }

// Data that end or break off before the last row are only warnings to
// libjpeg (it would fill the rest with grey); here they are the errors
// they are.
void OnMessage(j_common_ptr c, int level) {
  if (Of(c)->ende.Bewerten(*reinterpret_cast<j_decompress_ptr>(c), level) != Datenende::Befund::Hinnehmen) OnError(c);
  if (level < 0) ++c->err->num_warnings;
}

void Silent(j_common_ptr) {}

__attribute__((noinline)) bool Step(Decoder* d, void (*fn)(Decoder*, void*), void* arg) {
  if (setjmp(d->jump)) return false;
  fn(d, arg);
  return true;
}

[[noreturn]] void Fail(const Decoder& d) {
  throw JpegError(DecodeFailureText(d.ende.Urteil(), d.err));
}

// What libjpeg keeps of a picture whose data come in several scans: every
// coefficient, two bytes each, in blocks rounded up to whole MCUs.
uint64_t CoefficientBytes(const jpeg_decompress_struct& c) {
  uint64_t bytes = 0;
  for (int i = 0; i < c.num_components; ++i) {
    const jpeg_component_info& k = c.comp_info[i];
    const uint64_t h = static_cast<uint64_t>(k.h_samp_factor > 0 ? k.h_samp_factor : 1);
    const uint64_t v = static_cast<uint64_t>(k.v_samp_factor > 0 ? k.v_samp_factor : 1);
    bytes += (k.width_in_blocks + h - 1) / h * h * ((k.height_in_blocks + v - 1) / v * v) * sizeof(JBLOCK);
  }
  return bytes;
}

void Require(Decoder& d, void (*fn)(Decoder*, void*), void* arg = nullptr) {
  if (!Step(&d, fn, arg)) Fail(d);
}

struct Lines {
  JSAMPARRAY rows;
  JDIMENSION max;
  JDIMENSION got;
};

}  // namespace

void DecodeJpegRows(std::string_view data, JpegRowSink& sink, uint64_t maxPixels) {
  if (data.size() < 2 || static_cast<unsigned char>(data[0]) != 0xFF || static_cast<unsigned char>(data[1]) != 0xD8)
    throw JpegError("Die Daten sind kein JPEG-Bild.");
  auto d = std::make_unique<Decoder>();
  d->cinfo.err = jpeg_std_error(&d->err);
  d->err.error_exit = OnError;
  d->err.emit_message = OnMessage;
  d->err.output_message = Silent;
  d->cinfo.client_data = d.get();

  d->ende.daten = data;
  std::string_view* src = &data;
  Require(*d, [](Decoder* x, void* a) {
    BeginDecompress(x->cinfo, x->created, *static_cast<std::string_view*>(a));
  }, src);

  jpeg_decompress_struct& c = d->cinfo;
  const uint64_t pixels = uint64_t{c.image_width} * c.image_height;
  const std::string groesse = std::to_string(c.image_width) + " × " + std::to_string(c.image_height);
  if (pixels > maxPixels)
    throw JpegError("Das Bild ist mit " + groesse + " Pixeln zu groß (höchstens " +
                    std::to_string(maxPixels / 1000000) + " Millionen Pixel).");
  // A picture in one scan is decoded a few rows at a time, whatever its
  // size; one in several scans (progressive) is held whole by libjpeg.
  if (jpeg_has_multiple_scans(&c) && CoefficientBytes(c) > kMaxCoefficientBytes)
    throw JpegError("Das Bild ist mit " + groesse + " Pixeln in mehreren Durchgängen (progressiv) gespeichert; " +
                    "zum Lesen bräuchte es " + std::to_string(CoefficientBytes(c) >> 20) +
                    " MB Arbeitsspeicher (höchstens " + std::to_string(kMaxCoefficientBytes >> 20) + " MB).");
  d->ende.imBild = true;
  d->ende.arithmetisch = c.arith_code;
  const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  c.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  Require(*d, [](Decoder* x, void*) { jpeg_start_decompress(&x->cinfo); });
  if (jpeg_has_multiple_scans(&c) && d->ende.Schluss(c) != Datenende::Befund::Hinnehmen) Fail(*d);

  const int w = static_cast<int>(c.output_width);
  const int h = static_cast<int>(c.output_height);
  const auto stride = static_cast<size_t>(w) * 4;
  // A few rows at a time: libjpeg hands out at most one row group per call.
  const JDIMENSION block = static_cast<JDIMENSION>(c.rec_outbuf_height > 0 ? c.rec_outbuf_height : 1);
  std::vector<uint8_t> buffer(stride * block);
  std::vector<JSAMPROW> rows(block);
  for (JDIMENSION i = 0; i < block; ++i) rows[i] = buffer.data() + stride * i;
  std::vector<uint8_t> converted(cmyk ? stride : 0);
  // Adobe's CMYK files store the inks inverted (255 = no ink).
  const bool inverted = c.saw_Adobe_marker;

  sink.Start(w, h);
  while (c.output_scanline < c.output_height) {
    Lines lines{rows.data(), block, 0};
    Require(*d, [](Decoder* x, void* a) {
      auto* l = static_cast<Lines*>(a);
      l->got = jpeg_read_scanlines(&x->cinfo, l->rows, l->max);
    }, &lines);
    if (lines.got == 0) throw JpegError("Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).");
    for (JDIMENSION r = 0; r < lines.got; ++r) {
      const uint8_t* row = rows[r];
      if (cmyk) {
        for (int x = 0; x < w; ++x) {
          const uint8_t* s = row + static_cast<size_t>(x) * 4;
          const unsigned k = inverted ? s[3] : 255u - s[3];
          uint8_t* o = converted.data() + static_cast<size_t>(x) * 4;
          for (int i = 0; i < 3; ++i) {
            const unsigned ink = inverted ? s[i] : 255u - s[i];
            o[2 - i] = static_cast<uint8_t>((ink * k + 127) / 255);
          }
          o[3] = 0xFF;
        }
        row = converted.data();
      }
      sink.Row(row);
    }
  }
  if (d->ende.Schluss(c) != Datenende::Befund::Hinnehmen) Fail(*d);
  Require(*d, [](Decoder* x, void*) { jpeg_finish_decompress(&x->cinfo); });
}

}  // namespace mosaik::imaging

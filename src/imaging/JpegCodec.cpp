#include "imaging/JpegCodec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/FileSystem.h"

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace mosaik::imaging {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return. We jump back to the guard below and turn the failure into a
// JpegError there; only libjpeg's C frames and plain-data bodies lie
// between the two, so no destructor is skipped.
struct ErrorMgr {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  Datenende ende;
  bool nurPixel;  // every warning taken: only the pixels are asked for
};

void ErrorExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorMgr*>(cinfo->err)->jump, 1); }

// Data that end or break off before the last row are only warnings to
// libjpeg, which would fill the rest of the picture with grey; we count
// them as the errors they are.
void EmitMessage(j_common_ptr cinfo, int level) {
  auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
  if (cinfo->is_decompressor && !err->nurPixel &&
      err->ende.Bewerten(*reinterpret_cast<j_decompress_ptr>(cinfo), level) != Datenende::Befund::Hinnehmen)
    std::longjmp(err->jump, 1);
  if (level < 0) ++cinfo->err->num_warnings;
}

void OutputMessage(j_common_ptr) {}

void InitErrors(ErrorMgr& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = ErrorExit;
  err.pub.emit_message = EmitMessage;
  err.pub.output_message = OutputMessage;
  err.ende = Datenende{};
  err.nurPixel = false;
}

using Body = void (*)(void*);

// Runs body; false when libjpeg gave up inside it.
__attribute__((noinline)) bool RunGuarded(ErrorMgr* err, Body body, void* ctx) {
  if (setjmp(err->jump)) return false;
  body(ctx);
  return true;
}

[[noreturn]] void ThrowDecodeError(const ErrorMgr& err) {
  throw JpegError(DecodeFailureText(err.ende.Urteil(), err.pub));
}

// A decompressor with its error manager, destroyed with it once created.
struct DecompressCtx {
  jpeg_decompress_struct cinfo{};
  ErrorMgr err{};
  bool created = false;

  DecompressCtx() {
    InitErrors(err);
    cinfo.err = &err.pub;
  }
  DecompressCtx(const DecompressCtx&) = delete;
  DecompressCtx& operator=(const DecompressCtx&) = delete;
  ~DecompressCtx() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

struct DecodeCtx : DecompressCtx {
  std::string_view data;
  uint64_t maxPixels = 0;
  bool infoOnly = false;
  bool tooLarge = false;
  JpegInfo info;
  RgbBitmap* out = nullptr;
  std::vector<uint8_t> row;
};

void DecodeBody(void* p) {
  auto& c = *static_cast<DecodeCtx*>(p);
  c.err.ende.daten = c.data;
  BeginDecompress(c.cinfo, c.created, c.data);
  c.info.Width = static_cast<int>(c.cinfo.image_width);
  c.info.Height = static_cast<int>(c.cinfo.image_height);
  c.info.Components = c.cinfo.num_components;
  c.info.Progressive = jpeg_has_multiple_scans(&c.cinfo);
  c.info.Cmyk = c.cinfo.jpeg_color_space == JCS_CMYK || c.cinfo.jpeg_color_space == JCS_YCCK;
  if (const JQUANT_TBL* q = c.cinfo.quant_tbl_ptrs[0])
    for (int i = 0; i < 64; ++i) c.info.LumaQuant[static_cast<size_t>(i)] = q->quantval[i];
  if (c.infoOnly) return;
  if (static_cast<uint64_t>(c.cinfo.image_width) * c.cinfo.image_height > c.maxPixels) {
    c.tooLarge = true;
    return;
  }
  c.cinfo.out_color_space = c.info.Cmyk ? JCS_CMYK : JCS_RGB;
  c.err.ende.imBild = true;
  c.err.ende.arithmetisch = c.cinfo.arith_code;
  jpeg_start_decompress(&c.cinfo);
  if (jpeg_has_multiple_scans(&c.cinfo) && c.err.ende.Schluss(c.cinfo) != Datenende::Befund::Hinnehmen) return;
  const int w = static_cast<int>(c.cinfo.output_width);
  const int h = static_cast<int>(c.cinfo.output_height);
  const int comps = c.cinfo.output_components;
  c.out->Width = w;
  c.out->Height = h;
  c.out->Pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 3, 0);
  c.row.assign(static_cast<size_t>(w) * static_cast<size_t>(comps), 0);
  // Adobe's CMYK files store the inks inverted (255 = no ink).
  const bool inverted = c.cinfo.saw_Adobe_marker;
  while (c.cinfo.output_scanline < c.cinfo.output_height) {
    JSAMPROW r = c.row.data();
    const int y = static_cast<int>(c.cinfo.output_scanline);
    if (jpeg_read_scanlines(&c.cinfo, &r, 1) != 1) continue;
    uint8_t* dst = c.out->Row(y);
    if (comps == 3) {
      std::copy(c.row.begin(), c.row.begin() + static_cast<ptrdiff_t>(w) * 3, dst);
    } else if (comps == 4) {
      for (int x = 0; x < w; ++x) {
        const uint8_t* s = &c.row[static_cast<size_t>(x) * 4];
        const unsigned k = inverted ? s[3] : 255u - s[3];
        for (int i = 0; i < 3; ++i) {
          const unsigned ink = inverted ? s[i] : 255u - s[i];
          dst[x * 3 + i] = static_cast<uint8_t>((ink * k + 127) / 255);
        }
      }
    } else {
      for (int x = 0; x < w; ++x) dst[x * 3] = dst[x * 3 + 1] = dst[x * 3 + 2] = c.row[static_cast<size_t>(x)];
    }
  }
  if (c.err.ende.Schluss(c.cinfo) != Datenende::Befund::Hinnehmen) return;
  jpeg_finish_decompress(&c.cinfo);
}

struct EncodeCtx {
  jpeg_compress_struct cinfo;
  ErrorMgr err;
  bool created = false;
  const RgbBitmap* bitmap = nullptr;
  int quality = 90;
  bool progressive = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;

  ~EncodeCtx() {
    if (created) jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
};

void EncodeBody(void* p) {
  auto& c = *static_cast<EncodeCtx*>(p);
  jpeg_create_compress(&c.cinfo);
  c.created = true;
  jpeg_mem_dest(&c.cinfo, &c.buffer, &c.size);
  c.cinfo.image_width = static_cast<JDIMENSION>(c.bitmap->Width);
  c.cinfo.image_height = static_cast<JDIMENSION>(c.bitmap->Height);
  c.cinfo.input_components = 3;
  c.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c.cinfo);
  jpeg_set_quality(&c.cinfo, c.quality, TRUE);
  if (c.progressive) jpeg_simple_progression(&c.cinfo);
  jpeg_start_compress(&c.cinfo, TRUE);
  while (c.cinfo.next_scanline < c.cinfo.image_height) {
    JSAMPROW r = const_cast<JSAMPROW>(c.bitmap->Row(static_cast<int>(c.cinfo.next_scanline)));
    jpeg_write_scanlines(&c.cinfo, &r, 1);
  }
  jpeg_finish_compress(&c.cinfo);
}

JpegInfo RunDecode(std::string_view data, uint64_t maxPixels, bool infoOnly, RgbBitmap* out) {
  if (data.size() < 2 || static_cast<unsigned char>(data[0]) != 0xFF || static_cast<unsigned char>(data[1]) != 0xD8)
    throw JpegError("Die Daten sind kein JPEG-Bild.");
  auto ctx = std::make_unique<DecodeCtx>();
  ctx->data = data;
  ctx->maxPixels = maxPixels;
  ctx->infoOnly = infoOnly;
  ctx->out = out;
  if (!RunGuarded(&ctx->err, DecodeBody, ctx.get()) || ctx->err.ende.befund != Datenende::Befund::Hinnehmen)
    ThrowDecodeError(ctx->err);
  if (ctx->tooLarge)
    throw JpegError("Das Bild ist mit " + std::to_string(ctx->info.Width) + " × " + std::to_string(ctx->info.Height) +
                    " Pixeln zu groß (höchstens " + std::to_string(maxPixels / 1000000) + " Millionen Pixel).");
  return ctx->info;
}

}  // namespace

void BeginDecompress(jpeg_decompress_struct& cinfo, bool& created, std::string_view data) {
  jpeg_create_decompress(&cinfo);
  created = true;
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&cinfo, TRUE);
}

std::string DecodeFailureText(Datenende::Befund urteil, const jpeg_error_mgr& err) {
  if (urteil == Datenende::Befund::Unvollstaendig) return "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
  if (urteil == Datenende::Befund::OhneEndmarke)
    return "Der JPEG-Datei fehlt die Endmarke; ob ihre arithmetisch kodierten Bilddaten vollständig sind, lässt sich "
           "nicht feststellen.";
  const auto beschaedigt = [](const std::string& grund) { return "Die JPEG-Daten sind beschädigt (" + grund + ")."; };
  const int* p = err.msg_parm.i;
  switch (err.msg_code) {
    case JERR_BAD_PRECISION:
      return "Das Bild speichert " + std::to_string(p[0]) + " Bit je Farbwert; gelesen werden nur JPEG-Bilder mit 8 Bit.";
    case JERR_ARITH_NOTIMPL:
      return "Das Bild ist arithmetisch kodiert; diese Kodierung kann die JPEG-Bibliothek nicht lesen.";
    case JERR_SOF_UNSUPPORTED:
      return "Das Bild ist in einem JPEG-Verfahren gespeichert, das nicht gelesen werden kann (z. B. verlustfrei "
             "oder hierarchisch).";
    case JERR_OUT_OF_MEMORY:
      return "Für dieses Bild reicht der Arbeitsspeicher nicht.";
    case JERR_NO_SOI:
      return "Die Daten sind kein JPEG-Bild.";
    case JERR_INPUT_EMPTY:
    case JERR_INPUT_EOF:
      return "Die JPEG-Datei ist unvollständig (vorzeitiges Dateiende).";
    // The damage a gallery run refuses in scan data the library would only
    // warn about: said in the user's words, not the library's.
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
      return beschaedigt("ungültiger Code in den Bilddaten");
    case JWRN_MUST_RESYNC:
      return beschaedigt("eine Restart-Marke fehlt oder steht an falscher Stelle");
    case JWRN_EXTRANEOUS_DATA: {
      // libjpeg's count leaves out what its bit buffer held: the marker only.
      char marke[8];
      std::snprintf(marke, sizeof marke, "0x%02X", static_cast<unsigned>(p[1]) & 0xFFu);
      return beschaedigt(std::string("die Bilddaten geraten aus dem Takt, vor der Marke ") + marke +
                         " bleiben Bytes übrig");
    }
    // A file's own structure: lengths, tables and markers that no writer
    // puts there.
    case JERR_BAD_LENGTH:
      return beschaedigt("ein Abschnitt hat eine ungültige Länge");
    case JERR_BAD_HUFF_TABLE:
    case JERR_HUFF_CLEN_OVERFLOW:
    case JERR_HUFF_MISSING_CODE:
    case JERR_DHT_INDEX:
    case JERR_NO_HUFF_TABLE:
      return beschaedigt("eine Huffman-Tabelle ist ungültig oder fehlt");
    case JERR_DQT_INDEX:
    case JERR_NO_QUANT_TABLE:
    case JERR_MISMATCHED_QUANT_TABLE:
      return beschaedigt("eine Quantisierungstabelle ist ungültig oder fehlt");
    case JERR_DAC_INDEX:
    case JERR_DAC_VALUE:
    case JERR_NO_ARITH_TABLE:
      return beschaedigt("eine Tabelle der arithmetischen Kodierung ist ungültig oder fehlt");
    case JERR_BAD_COMPONENT_ID:
    case JERR_COMPONENT_COUNT:
    case JERR_BAD_SAMPLING:
    case JERR_BAD_MCU_SIZE:
    case JERR_BAD_J_COLORSPACE:
    case JERR_CONVERSION_NOTIMPL:
      return beschaedigt("ungültige Farbkomponenten oder Abtastfaktoren");
    case JERR_EMPTY_IMAGE:
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
      return beschaedigt("ungültige Bildgröße");
    case JERR_BAD_PROGRESSION:
    case JERR_BAD_DCT_COEF:
    case JWRN_BOGUS_PROGRESSION:
      return beschaedigt("ungültige Folge der Durchgänge");
    case JERR_SOF_DUPLICATE:
    case JERR_SOF_NO_SOS:
    case JERR_SOI_DUPLICATE:
    case JERR_SOS_NO_SOF:
    case JERR_NO_IMAGE:
    case JERR_EOI_EXPECTED:
      return beschaedigt("die Abschnitte der Datei stehen nicht in gültiger Folge");
    case JERR_UNKNOWN_MARKER:
      return beschaedigt("ein Abschnitt unbekannter Art");
    default:
      return "Die JPEG-Daten sind beschädigt oder kein JPEG-Bild (Meldung " + std::to_string(err.msg_code) +
             " der JPEG-Bibliothek).";
  }
}

namespace {

unsigned Byte(std::string_view d, size_t i) { return static_cast<unsigned char>(d[i]); }

// The code byte of the next marker at or after from, as libjpeg finds it:
// 0xFF, any number of 0xFF fill bytes, then a code other than zero (0xFF
// 0x00 stands for a data byte). The end of the data when none follows.
size_t NaechsteMarke(std::string_view d, size_t from) {
  for (size_t i = from; i < d.size(); ++i) {
    if (Byte(d, i) != 0xFF) continue;
    size_t j = i + 1;
    while (j < d.size() && Byte(d, j) == 0xFF) ++j;
    if (j >= d.size()) break;
    if (Byte(d, j) != 0) return j;
    i = j;
  }
  return d.size();
}

// How many bytes of the stretch from start to the marker whose code lies at
// code libjpeg may skip: between segments all of them; after entropy-coded
// data the zero bytes before the marker's 0xFF bytes (fill, which libjpeg
// never counts). A zero after 0xFF is no padding but half of a data byte
// 0xFF, as which the last byte of a scan often ends.
size_t Polster(std::string_view d, size_t start, size_t code, bool scandaten) {
  size_t ende = code;
  while (ende > start && Byte(d, ende - 1) == 0xFF) --ende;
  if (!scandaten) return ende - start;
  size_t polster = ende;
  while (polster > start && Byte(d, polster - 1) == 0) --polster;
  const bool datenbyteFF = polster > start && polster < ende && Byte(d, polster - 1) == 0xFF;
  return ende - polster - (datenbyteFF ? 1 : 0);
}

}  // namespace

size_t Markengang::Bis(std::string_view d, size_t bis) {
  size_t erlaubt = 0;
  // What stood before restart markers: libjpeg counts the whole bytes its
  // bit buffer held there, and when the buffer met the marker that ends the
  // scan it tells them only at the next marker it has to look for, which
  // may lie in a later scan.
  size_t vorRestarts = 0;
  while (!fertig) {
    const size_t code = NaechsteMarke(d, pos);
    if (code > bis) break;
    if (code >= d.size()) {
      endeInScandaten = scandaten;
      fertig = true;
      return erlaubt + Polster(d, pos, d.size(), scandaten);
    }
    const size_t polster = Polster(d, pos, code, scandaten);
    erlaubt += polster;
    const unsigned marke = Byte(d, code);
    if (scandaten && marke >= 0xD0 && marke <= 0xD7) vorRestarts += polster;
    if (marke == 0xD9) {
      fertig = true;  // libjpeg reads nothing after the end marker
    } else if (marke == 0x01 || (marke >= 0xD0 && marke <= 0xD8)) {
      pos = code + 1;  // no length; a restart marker goes on with the scan's data
      scandaten = scandaten && marke != 0xD8 && marke != 0x01;
    } else if (code + 2 >= d.size()) {
      fertig = segmentOffen = true;
    } else {
      pos = code + 1 + std::max<size_t>(Byte(d, code + 1) << 8 | Byte(d, code + 2), 2);
      scandaten = marke == 0xDA;
      if (scandaten && code < bis) erlaubt = vorRestarts;
      fertig = segmentOffen = pos > d.size();
    }
  }
  // What libjpeg skips past the end of a segment that runs past the data
  // are the end markers it reads there in place of the data.
  return segmentOffen && bis >= d.size() ? SIZE_MAX : erlaubt;
}

Datenende::Befund Datenende::Bewerten(const jpeg_decompress_struct& c, int level) {
  const int code = c.err->msg_code;
  if (level >= 0) {
    if (code == JTRC_SOS_COMPONENT) komponenten.set(static_cast<size_t>(c.err->msg_parm.i[0] & 0xFF));
    return Befund::Hinnehmen;
  }
  const auto urteil = [&]() {
    if (code == JWRN_JPEG_EOF) {
      erreicht = true;
      return imBild ? Befund::Hinnehmen : Befund::Unvollstaendig;
    }
    // Bytes libjpeg skipped before the marker it names, counted since its
    // last such warning; at a restart marker it adds the whole bytes its
    // bit buffer still held, and it tells them only at the next marker it
    // has to look for, which may lie after a table segment. More than the
    // padding and the bytes between segments walked since: the decoder
    // ended a scan or restart interval before its data ended. It lost
    // step, and every pixel since may be wrong, the last row out or not.
    if (code == JWRN_EXTRANEOUS_DATA) {
      const auto* p = reinterpret_cast<const char*>(c.src->next_input_byte);
      // Past the data, libjpeg reads an end marker of its own.
      size_t marke = p >= daten.data() && p < daten.data() + daten.size() ? static_cast<size_t>(p - daten.data())
                                                                           : daten.size();
      while (marke < daten.size() && Byte(daten, marke) == 0xFF) ++marke;
      return static_cast<size_t>(c.err->msg_parm.i[0]) > gang.Bis(daten, marke) ? Befund::Beschaedigt
                                                                                   : Befund::Hinnehmen;
    }
    if (!imBild || c.output_scanline >= c.output_height) return Befund::Hinnehmen;
    switch (code) {
      // A row needed data beyond a marker (an end marker written early, an
      // interrupted copy) or beyond the end of the data.
      case JWRN_HIT_MARKER:
        return Befund::Unvollstaendig;
      // Bits that are no code of the picture's tables, a restart interval
      // missing: what follows is guesswork.
      case JWRN_HUFF_BAD_CODE:
      case JWRN_ARITH_BAD_CODE:
      case JWRN_MUST_RESYNC:
        return erreicht ? Befund::Unvollstaendig : Befund::Beschaedigt;
      default:
        return Befund::Hinnehmen;
    }
  }();
  if (urteil != Befund::Hinnehmen) befund = urteil;
  return urteil;
}

Datenende::Befund Datenende::Schluss(jpeg_decompress_struct& c) {
  if (!erreicht || befund != Befund::Hinnehmen) return befund;
  if (jpeg_has_multiple_scans(&c) && ScansUnvollstaendig(c))
    return befund = Befund::Unvollstaendig;
  // Arithmetic coding takes zeros for the data past their end without a
  // word; data that ended inside a segment or before a marker are no
  // question of it.
  if (!arithmetisch) return befund;
  Markengang bisZumEnde;
  bisZumEnde.Bis(daten, daten.size());
  if (!bisZumEnde.endeInScandaten) return befund;
  if (!arithmetischGanz) arithmetischGanz = ArithmetischeDatenGanz(daten);
  return befund = *arithmetischGanz ? Befund::Hinnehmen : Befund::OhneEndmarke;
}

bool Datenende::ScansUnvollstaendig(const jpeg_decompress_struct& c) const {
  if (!c.progressive_mode) {
    for (int i = 0; i < c.num_components; ++i)
      if (!komponenten.test(static_cast<size_t>(c.comp_info[i].component_id & 0xFF))) return true;
    return false;
  }
  if (!c.coef_bits) return true;
  // libjpeg keeps, per component and coefficient, the bit position the
  // scans have reached: -1 before the first scan, 0 once complete.
  for (int i = 0; i < c.num_components; ++i)
    for (int k = 0; k < DCTSIZE2; ++k)
      if (c.coef_bits[i][k] != 0) return true;
  return false;
}

namespace {

struct PixelCtx : DecompressCtx {
  std::string bytes;
  uint64_t hash = 1469598103934665603ull;
  std::vector<uint8_t> row;
};

// Decodes with every warning taken, a row at a time, into one number.
void PixelBody(void* p) {
  auto& c = *static_cast<PixelCtx*>(p);
  BeginDecompress(c.cinfo, c.created, c.bytes);
  jpeg_start_decompress(&c.cinfo);
  c.row.assign(static_cast<size_t>(c.cinfo.output_width) * static_cast<size_t>(c.cinfo.output_components), 0);
  while (c.cinfo.output_scanline < c.cinfo.output_height) {
    JSAMPROW r = c.row.data();
    if (jpeg_read_scanlines(&c.cinfo, &r, 1) != 1) break;
    for (const uint8_t v : c.row) c.hash = (c.hash ^ v) * 1099511628211ull;
  }
}

std::optional<uint64_t> PixelHash(std::string bytes) {
  auto ctx = std::make_unique<PixelCtx>();
  ctx->err.nurPixel = true;
  ctx->bytes = std::move(bytes);
  if (!RunGuarded(&ctx->err, PixelBody, ctx.get())) return std::nullopt;
  return ctx->hash;
}

}  // namespace

bool ArithmetischeDatenGanz(std::string_view data) {
  // 0xFF bytes at the very end are fill or the first byte of the missing
  // marker, never data (a data byte 0xFF is followed by a zero).
  while (!data.empty() && static_cast<unsigned char>(data.back()) == 0xFF) data.remove_suffix(1);
  const std::string eoi("\xFF\xD9", 2);
  const auto wie = PixelHash(std::string(data) + eoi);
  if (!wie) return false;
  // Two fillers of opposite bits after the zero bytes granted: a decoder
  // that reads on meets a different picture with at least one of them.
  const size_t nullbytes = std::clamp<size_t>(data.size() / 1024, 1, 16);
  for (const char fueller : {'\x55', '\xAA'})
    if (PixelHash(std::string(data) + std::string(nullbytes, '\0') + std::string(64, fueller) + eoi) != wie)
      return false;
  return true;
}

RgbBitmap::RgbBitmap(int width, int height)
    : Width(width), Height(height),
      Pixels(static_cast<size_t>(width > 0 ? width : 0) * static_cast<size_t>(height > 0 ? height : 0) * 3, 0) {}

JpegInfo ReadJpegInfo(std::string_view data) { return RunDecode(data, 0, true, nullptr); }

RgbBitmap DecodeJpeg(std::string_view data, uint64_t maxPixels) {
  RgbBitmap out;
  RunDecode(data, maxPixels, false, &out);
  return out;
}

std::string EncodeJpeg(const RgbBitmap& bitmap, int quality, bool progressive) {
  if (bitmap.Width < 1 || bitmap.Height < 1 || bitmap.Width > JPEG_MAX_DIMENSION ||
      bitmap.Height > JPEG_MAX_DIMENSION ||
      bitmap.Pixels.size() != static_cast<size_t>(bitmap.Width) * static_cast<size_t>(bitmap.Height) * 3)
    throw JpegError("Das Bild kann nicht als JPEG gespeichert werden: ungültige Bildgröße " +
                    std::to_string(bitmap.Width) + " × " + std::to_string(bitmap.Height) + ".");
  auto ctx = std::make_unique<EncodeCtx>();
  InitErrors(ctx->err);
  ctx->cinfo.err = &ctx->err.pub;
  ctx->bitmap = &bitmap;
  ctx->quality = quality < 1 ? 1 : quality > 100 ? 100 : quality;
  ctx->progressive = progressive;
  if (!RunGuarded(&ctx->err, EncodeBody, ctx.get()))
    throw JpegError(ctx->err.pub.msg_code == JERR_OUT_OF_MEMORY
                        ? "Das Bild kann nicht als JPEG gespeichert werden: der Arbeitsspeicher reicht nicht."
                        : "Das Bild kann nicht als JPEG gespeichert werden (Fehler " +
                              std::to_string(ctx->err.pub.msg_code) + " der JPEG-Bibliothek).");
  return std::string(reinterpret_cast<const char*>(ctx->buffer), ctx->size);
}

void JpegImage::LoadFromFile(const std::string& path) {
  auto bytes = fs::readFile(path);
  if (!bytes) throw JpegError("Die Datei " + path + " kann nicht gelesen werden.");
  LoadFromBytes(std::move(*bytes));
}

void JpegImage::LoadFromBytes(std::string bytes) {
  stream_ = std::move(bytes);
  bitmap_ = RgbBitmap();
  haveBitmap_ = false;
  haveInfo_ = false;
}

void JpegImage::Assign(RgbBitmap bitmap) {
  bitmap_ = std::move(bitmap);
  haveBitmap_ = true;
  stream_.clear();
  info_ = JpegInfo{};
  info_.Width = bitmap_.Width;
  info_.Height = bitmap_.Height;
  haveInfo_ = true;
}

void JpegImage::Compress() {
  if (!haveBitmap_) throw JpegError("Es gibt kein Bild zum Komprimieren.");
  stream_ = EncodeJpeg(bitmap_, CompressionQuality, ProgressiveEncoding);
}

int JpegImage::Width() {
  if (!haveInfo_) {
    info_ = ReadJpegInfo(stream_);
    haveInfo_ = true;
  }
  return info_.Width;
}

int JpegImage::Height() {
  Width();
  return info_.Height;
}

const std::string& JpegImage::SaveToStream() {
  if (stream_.empty() && haveBitmap_) Compress();
  if (stream_.empty()) throw JpegError("Es gibt kein Bild zum Speichern.");
  return stream_;
}

const RgbBitmap& JpegImage::Bitmap() {
  if (!haveBitmap_) {
    bitmap_ = DecodeJpeg(stream_, MaxPixels);
    haveBitmap_ = true;
    info_.Width = bitmap_.Width;
    info_.Height = bitmap_.Height;
    haveInfo_ = true;
  }
  return bitmap_;
}

}  // namespace mosaik::imaging

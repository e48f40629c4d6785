// Maker notes: the tables of the makers whose notes are decoded, where each
// maker's directory starts inside the note and what its offsets count from,
// and the walk over one maker directory.
//
// A note is a stranger's bytes inside a stranger's block: the walk reads
// through the bounds-checked readers of TImageInfo, shares the EXIF walk's
// visited set and budgets, follows no links, and a damaged note ends only
// its own decoding.
#include "imaging/MakerNotes.h"

#include <algorithm>
#include <exception>

#include "imaging/ImgData.h"
#include "imaging/NumberFormat.h"
#include "platform/Win1252.h"

namespace mosaik::imaging {
namespace {

constexpr const char* kOffOn = "0:Off,1:On";
constexpr const char* kNormalLowHigh = "0:Normal,1:Low,2:High";

const TagRow kNikonOld[] = {
    {0x0002, "FamilyID"},
    {0x0003, "Quality", "1:VGA Basic,2:VGA Normal,3:VGA Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine"},
    {0x0004, "ColorMode", "1:Color,2:Monochrome"},
    {0x0005, "ImageAdjustment", "0:Normal,1:Bright+,2:Bright-,3:Contrast+,4:Contrast-"},
    {0x0006, "ISOSpeed", "0:ISO80,2:ISO160,4:ISO320,5:ISO100"},
    {0x0007, "WhiteBalance", "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"},
    {0x0008, "Focus"},
    {0x0009, "Skip"},
    {0x000A, "DigitalZoom"},
    {0x000B, "Converter", "0:Not used,1:Used"},
    {0x0F00, "Skip"},
};

const TagRow kNikonNew[] = {
    {0x0001, "FamilyID"},
    {0x0002, "ISOSpeed"},
    {0x0003, "ColorMode", "", "", FormatNikonColorMode},
    {0x0004, "Quality"},
    {0x0005, "WhiteBalance"},
    {0x0006, "ImageSharpening"},
    {0x0007, "FocusMode"},
    {0x0008, "FlashSetting"},
    {0x0009, "AutoFlashMode"},
    {0x000A, "Skip"},
    {0x000B, "WhiteBiasValue"},
    {0x000F, "DigitalZoom"},
    {0x0010, "Skip"},
    {0x0011, "Skip"},
    {0x0080, "ImageAdjustment"},
    {0x0081, "ImageAdjustment"},
    {0x0082, "Adapter"},
    {0x0084, "LensInformation", "", "", FormatNikonLens},
    {0x0085, "ManualFocusDistance"},
    {0x0086, "DigitalZoom"},
    {0x0088, "FocusArea"},
    {0x0089, "Mode"},
    {0x008D, "ColorMode", "", "", FormatNikonColorMode},
    {0x008F, "SceneMode"},
    {0x0092, "HueAdjustment"},
    {0x0094, "Saturation"},
    {0x0095, "NoiseReduction"},
    {0x0F00, "Skip"},
};

const TagRow kOlympus[] = {
    {0x0200, "SpecialMode"},
    {0x0201, "JpegQual", "1:SQ,2:HQ,3:SHQ"},
    {0x0202, "Macro", "0:Normal,1:Macro"},
    {0x0203, "Skip"},
    {0x0204, "DigiZoom"},
    {0x0205, "Skip"},
    {0x0206, "Skip"},
    {0x0207, "Firmware"},
    {0x0208, "PictInfo"},
    {0x0209, "CameraID"},
    {0x0F00, "Skip"},
    {0x1004, "FlashMode"},
    {0x1006, "Bracket"},
    {0x100B, "FocusMode"},
    {0x100C, "FocusDistance"},
    {0x100D, "Zoom"},
    {0x100E, "MacroFocus"},
    {0x100F, "Sharpness"},
    {0x1011, "ColorMatrix"},
    {0x1012, "BlackLevel"},
    {0x1015, "WhiteBalance"},
    {0x1017, "RedBias"},
    {0x1018, "BlueBias"},
    {0x101A, "SerialNumber"},
    {0x1023, "FlashBias"},
    {0x1029, "Contrast"},
    {0x102A, "SharpnessFactor"},
    {0x102B, "ColorControl"},
    {0x102C, "ValidBits"},
    {0x102D, "Coring"},
    {0x102E, "FinalWidth"},
    {0x102F, "FinalHeight"},
    {0x1034, "CompressionRatio"},
};

const TagRow kCasio[] = {
    {0x0001, "RecordingMode", "1:Single Shutter,2:Panorama,3:Night Scene,4:Portrait,5:Landscape"},
    {0x0002, "Quality", "1:Economy,2:Normal,3:Fine"},
    {0x0003, "FocusingMode", "2:Macro,3:Auto Focus,4:Manual Focus,5:Infinity"},
    {0x0004, "FlashMode", "1:Auto,2:On,3:Off,4:Red Eye Reduction"},
    {0x0005, "FlashIntensity", "11:Weak,13:Normal,15:Strong"},
    {0x0006, "ObjectDistance"},
    {0x0007, "WhiteBalance", "1:Auto,2:Tungsten,3:Daylight,4:Fluorescent,5:Shade,129:Manual"},
    {0x0008, "Skip"},
    {0x0009, "Skip"},
    {0x000A, "DigitalZoom", "65536:Off,65537:2X Digital Zoom"},
    {0x000B, "Sharpness", "0:Normal,1:Soft,2:Hard"},
    {0x000C, "Contrast", kNormalLowHigh},
    {0x000D, "Saturation", kNormalLowHigh},
    {0x000E, "Skip"},
    {0x000F, "Skip"},
    {0x0010, "Skip"},
    {0x0011, "Skip"},
    {0x0012, "Skip"},
    {0x0013, "Skip"},
    {0x0014, "CCDSensitivity", "64:Normal,80:Normal,100:High,125:+1.0,244:+3.0,250:+2.0"},
    {0x0015, "Skip"},
    {0x0016, "Skip"},
    {0x0017, "Skip"},
    {0x0018, "Skip"},
    {0x0019, "Skip"},
    {0x001A, "Skip"},
};

const TagRow kFuji[] = {
    {0x0000, "Version"},
    {0x1000, "Quality"},
    {0x1001, "Sharpness", "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"},
    {0x1002, "WhiteBalance",
     "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,"
     "770:White-fluorescence,1024:Incandenscense,3840:Custom white balance"},
    {0x1003, "Color", "0:Normal,256:High,512:Low"},
    {0x1004, "Tone", "0:Normal,256:High,512:Low"},
    {0x1010, "FlashMode", "0:Auto,1:On,2:Off,3:Red-eye reduction"},
    {0x1011, "FlashStrength"},
    {0x1020, "Macro", kOffOn},
    {0x1021, "Focusmode", "0:Auto,1:Manual"},
    {0x1030, "SlowSync", kOffOn},
    {0x1031, "PictureMode",
     "0:Auto,1:Portrait,2:Landscape,4:Sports,5:Night,6:Program AE,256:Aperture priority AE,"
     "512:Shutter priority AE,768:Manual exposure"},
    {0x1032, "Skip"},
    {0x1100, "ContTake/Bracket", kOffOn},
    {0x1200, "Skip"},
    {0x1300, "BlurWarning", "0:No blur warning,1:Blur warning"},
    {0x1301, "FocusWarning", "0:Auto Focus good,1:Out of focus"},
    {0x1302, "AEWarning", "0:AE good,1:Over exposure"},
};

const TagRow kCanon[] = {
    {0x0000, "Skip"},
    {0x0001, "ExposureInfo1"},
    {0x0002, "Skip"},
    {0x0003, "Skip"},
    {0x0004, "ExposureInfo2"},
    {0x0006, "ImageType"},
    {0x0007, "FirmwareVersion"},
    {0x0008, "ImageNumber"},
    {0x0009, "OwnerName"},
    {0x000A, "Skip"},
    {0x000B, "Skip"},
    {0x000C, "CameraSerialNumber"},
    {0x000D, "Skip"},
    {0x000E, "Skip"},
    {0x000F, "CustomFunctions"},
    {0x0010, "Skip"},
};

const TagRow kSeiko[] = {
    {0x0200, "Special Mode"},
    {0x0201, "JpegQuality", "1:SQ,2:HQ,3:SHQ"},
    {0x0202, "Macro", "0:Normal,1:Macro"},
    {0x0203, "Skip"},
    {0x0204, "DigiZoom"},
    {0x0209, "CameraID"},
    {0x020A, "Comments"},
    {0x020B, "Width"},
    {0x020C, "Height"},
    {0x020D, "SoftRelease"},
    {0x0E00, "??"},
    {0x0F00, "skip"},
};

const TagRow kSanyo[] = {
    {0x0200, "Special Mode"},
    {0x0201, "JpegQuality"},
    {0x0202, "Macro", "0:Normal,1:Macro"},
    {0x0203, "Skip"},
    {0x0204, "DigiZoom"},
    {0x0F00, "DataDump"},
};

const TagRow kMinolta[] = {
    {0x0000, "ModelID"},
    {0x0E00, "PIMdata"},
};

// The Canon arrays split into named entries: element number, name, and the
// decode list (empty: the number itself).
struct Element {
  int index;
  const char* name;
  const char* decode;
};

const Element kCanonExposure1[] = {
    {1, "Macro mode", "1:Macro,2:Normal"},
    {2, "Self Timer", ""},
    {3, "Compression Rate", "1:Economy,2:Normal,3:Fine,4:RAW,5:SuperFine"},
    {4, "Flash Mode",
     "0:Flash not fired,1:Auto,2:On,3:Red-eye reduction,4:Slow synchro,5:Auto + red-eye reduction,"
     "6:On + red-eye reduction,16:External flash"},
    {5, "Drive Mode", "0:Single or timer,1:Continuous"},
    {7, "Focus Mode", "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {10, "Image Size", "0:Large,1:Medium,2:Small"},
    {11, "Easy Shoot",
     "0:Full Auto,1:Manual,2:Landscape,3:Fast Shutter,4:Slow Shutter,5:Night,6:B&W,7:Sepia,8:Portrait,"
     "9:Sports,10:Macro / Close-Up,11:Pan Focus"},
    {13, "Contrast", "65535:Low,0:Normal,1:High"},
    {14, "Saturation", "65535:Low,0:Normal,1:High"},
    {15, "Sharpness", "65535:Low,0:Normal,1:High"},
    {16, "CCD ISO", "0:Not used,15:Auto,16:50,17:100,18:200,19:400"},
    {17, "Metering Mode", "3:Evaluative,4:Partial,5:Center-weighted"},
    {19, "AF Point", "12288:None (MF),12289:Auto-selected,12290:Right,12291:Center,12292:Left"},
    {20, "Exposure Mode", "0:Easy shooting,1:Program,2:Tv-priority,3:Av-priority,4:Manual,5:A-DEP"},
    {23, "Long focal", ""},
    {24, "Short focal", ""},
    {25, "Focal Units", ""},
    {29, "Flash Details", ""},
    {32, "Focus Continuous", "0:Single,1:Continuous"},
};

const Element kCanonExposure2[] = {
    {7, "White balance", "0:Auto,1:Daylight,2:Cloudy,3:Tungsten,4:Fluorescent,5:Flash,6:Custom"},
    {9, "Sequence Number", ""},
    {10, "OpticalZoom Step", ""},
    {14, "AF point", ""},
    {15, "Flash bias",
     "65472:-2 EV,65484:-1.67 EV,65488:-1.50 EV,65492:-1.33 EV,65504:-1 EV,65516:-0.67 EV,65520:-0.50 EV,"
     "65524:-0.33 EV,0:0 EV,12:0.33 EV,16:0.50 EV,20:0.67 EV,32:1 EV,44:1.33 EV,48:1.50 EV,52:1.67 EV,64:2 EV"},
    {19, "Distance", ""},
};

// Custom functions, by function number 1 to 15.
const Element kCanonCustom[] = {
    {1, "Noise Reduction", "0:Off,1:On"},
    {2, "Shutter AE Lock Button", "0:AF/AE lock,1:AE lock/AF,2:AF/AF lock,3:AE+release/AE+AF"},
    {3, "Mirror Lockup", "0:Disable,1:Enable"},
    {4, "Exposure Level", "0:1/2 stop,1:1/3 stop"},
    {5, "AF Assist", "0:On (Auto),1:Off"},
    {6, "AV Shutter Speed", "0:Automatic,1:1/200 (fixed)"},
    {7, "AEB Sequence", "0:0/-/+ enabled,1:0/-/+ disabled,2:-/0/+ enabled,3:-/0/+ disabled"},
    {8, "Shutter Sync", "0:1st-curtain sync,1:2nd-curtain sync"},
    {9, "Lens AF Button", "0:AF stop,1:Operate AF,2:Lock AE and start timer"},
    {10, "Fill Flash Reduction", "0:Enable,1:Disable"},
    {11, "Menu Return", "0:Top,1:Previous (volatile),2:Previous"},
    {12, "Set Button", "0:Not assigned,1:Change quality,2:Change ISO speed,3:Select parameters"},
    {13, "Sensor Cleaning", "0:Disable,1:Enable"},
    {14, "Superimposed Display", "0:On,1:Off"},
    {15, "Shutter Release w/o CF Card", "0:Yes,1:No"},
};

MakerTable Build(MakerTableId id, const TagRow* rows, size_t count) {
  MakerTable t{id, {}, {}};
  for (size_t i = 0; i < count; ++i) {
    t.Index[rows[i].tag] = t.Rows.size();
    t.Rows.push_back(MakeTagEntry(rows[i], kMakerTable));
  }
  return t;
}

struct Tables {
  std::vector<MakerTable> all;
  Tables() {
    all.push_back(Build(MakerTableId::NikonOld, kNikonOld, std::size(kNikonOld)));
    all.push_back(Build(MakerTableId::NikonNew, kNikonNew, std::size(kNikonNew)));
    all.push_back(Build(MakerTableId::Olympus, kOlympus, std::size(kOlympus)));
    all.push_back(Build(MakerTableId::Casio, kCasio, std::size(kCasio)));
    all.push_back(Build(MakerTableId::Fuji, kFuji, std::size(kFuji)));
    all.push_back(Build(MakerTableId::Canon, kCanon, std::size(kCanon)));
    all.push_back(Build(MakerTableId::Seiko, kSeiko, std::size(kSeiko)));
    all.push_back(Build(MakerTableId::Sanyo, kSanyo, std::size(kSanyo)));
    all.push_back(Build(MakerTableId::Minolta, kMinolta, std::size(kMinolta)));
  }
};

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// Coolpix models of the first generation, whose notes without a header
// carry the older tags.
bool OlderNikonModel(std::string_view model) {
  for (const char* m : {"E700", "E800", "E900", "E900S", "E910", "E950"})
    if (model == m) return true;
  return false;
}

}  // namespace

const TTagEntry& MakerTable::Lookup(uint16_t tag) const {
  const auto it = Index.find(tag);
  return it == Index.end() ? UnknownTagDefinition() : Rows[it->second];
}

const MakerTable& GetMakerTable(MakerTableId id) {
  static const Tables t;
  return t.all[static_cast<size_t>(id)];
}

std::string FormatNikonColorMode(const std::string& data) {
  std::string mode = data;
  while (!mode.empty() && (mode.back() == ' ' || mode.back() == '.')) mode.pop_back();
  const std::string upper = asciiUpper(mode);
  if (upper == "MODE1") return "Mode1 (sRGB)";
  if (upper == "MODE2") return "Mode 2 (Adobe RGB)";
  if (upper == "MODE3") return "Mode 3 (sRGB): higher saturation";
  return data;
}

std::string FormatNikonLens(const std::string& data) {
  const auto parts = SplitValues(data);
  if (parts.size() != 4) return data;
  double v[4] = {};
  for (size_t i = 0; i < 4; ++i) ParseRationalText(parts[i], v[i]);
  return FormatPattern("%0.1f-%0.1f(mm)  F%0.1f-F%0.1f", {v[0], v[1], v[2], v[3]});
}

// ---- the walk ------------------------------------------------------------------

bool TImageInfo::ReadMakerNote(int64_t offsetBase, int depth) {
  const std::string make = asciiUpper(CameraMake.substr(0, 5));
  const std::string_view note = MakerNote;
  const int64_t p = MakerNotePosition;
  const bool savedOrder = MotorolaOrder;
  auto orderFrom = [&](int64_t pos) {
    const std::string mark = Bytes(pos, 2);
    if (mark == "II") MotorolaOrder = false;
    if (mark == "MM") MotorolaOrder = true;
  };
  MakerTableId id;
  int64_t dir = p, base = offsetBase;
  if (make == "NIKON") {
    if (StartsWith(note, std::string_view("Nikon\0", 6))) {
      if (note.size() > 6 && note[6] == '\x01') {
        id = MakerTableId::NikonOld;
        dir = p + 8;
      } else {
        // A TIFF header of its own at byte 10, its offsets counting from it.
        id = MakerTableId::NikonNew;
        base = p + 10;
        orderFrom(base);
        dir = base + Get32u(base + 4);
      }
    } else {
      id = OlderNikonModel(CameraModel) ? MakerTableId::NikonOld : MakerTableId::NikonNew;
    }
  } else if (make == "OLYMP") {
    id = MakerTableId::Olympus;
    if (StartsWith(note, std::string_view("OLYMPUS\0", 8))) {
      base = p;
      orderFrom(p + 8);
      dir = p + 12;
    } else if (StartsWith(note, std::string_view("OLYMP\0", 6))) {
      dir = p + 8;
    }
  } else if (make == "CASIO") {
    // The later notes ("QVC") number their tags differently.
    if (StartsWith(note, std::string_view("QVC\0", 4))) return false;
    id = MakerTableId::Casio;
  } else if (make == "FUJIF") {
    id = MakerTableId::Fuji;
    MotorolaOrder = false;
    base = p;
    dir = p + Get32u(p + 8);
  } else if (make == "CANON") {
    id = MakerTableId::Canon;
  } else if (make == "SEIKO") {
    id = MakerTableId::Seiko;
    if (StartsWith(note, std::string_view("EPSON\0", 6)) || StartsWith(note, std::string_view("SEIKO\0", 6))) dir = p + 8;
  } else if (make == "SANYO") {
    id = MakerTableId::Sanyo;
    if (StartsWith(note, std::string_view("SANYO\0", 6))) dir = p + 8;
  } else if (make == "MINOL") {
    id = MakerTableId::Minolta;
  } else {
    return false;
  }
  MakerNoteMake = make;
  try {
    ProcessMakerNoteDir(dir, base, GetMakerTable(id), depth);
  } catch (const std::exception& e) {
    Parent->ErrorText = std::string("Error Detected = ") + e.what();
  }
  MotorolaOrder = savedOrder;
  return true;
}

void TImageInfo::ProcessMakerNoteDir(int64_t dirStart, int64_t offsetBase, const MakerTable& table, int depth) {
  constexpr int kMaxDepth = 9;
  if (depth > kMaxDepth || !visited_.insert(dirStart).second) return;
  bool ok = true;
  const int64_t n = Get16u(dirStart, &ok);
  // A damaged note is left alone; the EXIF block's own state is not touched.
  if (!ok || !InBuffer(dirStart, 2 + 12 * n)) return;
  const bool display = BuildCode == 2 || BuildCode == 255;
  const bool keep = BuildCode == 4 || BuildCode == 255;
  DirEntry e;
  for (int64_t i = 0; i < n; ++i) {
    if (!ReadDirEntry(dirStart, i, offsetBase, e)) return;
    if (e.byteCount == 0) continue;
    const TTagEntry& def = table.Lookup(e.tag);
    if (asciiIEquals(def.Name, "Skip")) continue;
    std::string data;
    if (display) {
      data = DisplayValue(def, e);
      Trace(e.tag, def, data);
    }
    if (!keep) continue;
    TTagEntry entry = def;
    entry.TableId = kMakerTable;
    entry.Tag = e.tag;
    entry.Data = data;
    entry.Raw = e.raw;
    entry.RawPosition = static_cast<int32_t>(std::clamp<int64_t>(e.valuePos, INT32_MIN, INT32_MAX));
    entry.Size = static_cast<int32_t>(e.raw.size());
    entry.Format = e.format;
    Tags.push_back(std::move(entry));

    // Canon keeps settings in arrays of 16-bit numbers; each element that
    // means something becomes an entry of its own.
    if (table.Id != MakerTableId::Canon || e.format != 3 || static_cast<int64_t>(e.raw.size()) != e.byteCount)
      continue;
    const size_t count = e.raw.size() / 2;
    auto element = [&](size_t k) { return Get16u(e.valuePos + 2 * static_cast<int64_t>(k)); };
    auto add = [&](const Element& el, uint32_t value) {
      const std::string number = std::to_string(value);
      const std::string text = *el.decode ? DecodeValue(number, el.decode) : number;
      // The split entries count against the walk's budget like any other.
      if (text.empty() || --entriesLeft_ < 0) return;
      TTagEntry sub;
      sub.TableId = kMakerTable;
      sub.Tag = e.tag;
      sub.Format = 3;
      sub.Name = el.name;
      sub.Description = el.name;
      sub.DecodeList = el.decode;
      sub.Data = text;
      sub.Size = 2;
      Tags.push_back(std::move(sub));
    };
    if (e.tag == 0x0001 || e.tag == 0x0004) {
      const auto* first = e.tag == 0x0001 ? std::begin(kCanonExposure1) : std::begin(kCanonExposure2);
      const auto* last = e.tag == 0x0001 ? std::end(kCanonExposure1) : std::end(kCanonExposure2);
      for (const auto* el = first; el != last; ++el)
        if (static_cast<size_t>(el->index) < count) add(*el, element(static_cast<size_t>(el->index)));
    } else if (e.tag == 0x000F) {
      // Element 0 counts the bytes; each further one is function << 8 | value.
      for (size_t k = 1; k < count; ++k) {
        const uint32_t v = element(k);
        const uint32_t function = v >> 8;
        if (function >= 1 && function <= std::size(kCanonCustom)) add(kCanonCustom[function - 1], v & 0xFF);
      }
    }
  }
}

}  // namespace mosaik::imaging

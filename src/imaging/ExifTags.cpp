#include "imaging/ExifTags.h"

#include <charconv>
#include <cmath>
#include <unordered_map>

#include "imaging/NumberFormat.h"
#include "platform/Win1252.h"

namespace mosaik::imaging {
namespace {

constexpr const char* kResolutionUnits = "1:None Specified,2:Inch,3:Centimeter";
constexpr const char* kContrast = "0:Normal,1:Soft,2:Hard";

// The EXIF and TIFF tags in the reader's table order.
const TagRow kExifRows[] = {
    {0x0001, "InteroperabilityIndex"},
    {0x0002, "InteroperabilityVersion"},
    {0x000B, "ACDComment"},
    {0x00FE, "NewSubfileType"},
    {0x00FF, "SubfileType"},
    {0x0100, "ImageWidth"},
    {0x0101, "ImageLength"},
    {0x0102, "BitsPerSample"},
    {0x0103, "Compression", "6:Jpeg,3:Uncompressed,1:TIFF"},
    {0x0106, "PhotometricInterpretation", "1:Monochrome, 2:RGB, 6:YCbCr"},
    {0x010A, "FillOrder"},
    {0x010D, "DocumentName"},
    {0x010E, "ImageDescription"},
    {0x010F, "Make"},
    {0x0110, "Model"},
    {0x0111, "StripOffsets"},
    {0x0112, "Orientation", "1:Normal,3:Rotated 180°,6:CounterClockwise 90°,8:Clockwise 90°"},
    {0x0115, "SamplesPerPixel"},
    {0x0116, "RowsPerStrip"},
    {0x0117, "StripByteCounts"},
    {0x0118, "MinSampleValue"},
    {0x0119, "MaxSampleValue"},
    {0x011A, "XResolution", "", "%5.2f"},
    {0x011B, "YResolution", "", "%5.2f"},
    {0x011C, "PlanarConfiguration"},
    {0x011D, "PageName"},
    {0x011E, "XPosition"},
    {0x011F, "YPosition"},
    {0x0120, "FreeOffsets"},
    {0x0121, "FreeByteCounts"},
    {0x0122, "GrayReponseUnit"},
    {0x0123, "GrayReponseCurve"},
    {0x0124, "T4Options"},
    {0x0125, "T6Options"},
    {0x0128, "ResolutionUnit", kResolutionUnits},
    {0x0129, "PageNumber"},
    {0x012D, "TransferFunction"},
    {0x0131, "Software"},
    {0x0132, "DateTime"},
    {0x013B, "Artist"},
    {0x013C, "HostComputer"},
    {0x013D, "Predictor"},
    {0x013E, "WhitePoint"},
    {0x013F, "PrimaryChromaticities"},
    {0x0140, "ColorMap"},
    {0x0141, "HalfToneHints"},
    {0x0142, "TileWidth"},
    {0x0143, "TileLength"},
    {0x0144, "TileOffsets"},
    {0x0145, "TileByteCounts"},
    {0x014A, "SubIFDs"},
    {0x014C, "InkSet"},
    {0x014D, "InkNames"},
    {0x014E, "NumberOfInks"},
    {0x0150, "DotRange"},
    {0x0151, "TargetPrinter"},
    {0x0152, "ExtraSample"},
    {0x0153, "SampleFormat"},
    {0x0154, "SMinSampleValue"},
    {0x0155, "SMaxSampleValue"},
    {0x0156, "TransferRange"},
    {0x0157, "ClipPath"},
    {0x0158, "XClipPathUnits"},
    {0x0159, "YClipPathUnits"},
    {0x015A, "Indexed"},
    {0x015B, "JPEGTables"},
    {0x015F, "OPIProxy"},
    {0x0200, "JPEGProc"},
    {0x0201, "JPEGInterchangeFormat"},
    {0x0202, "JPEGInterchangeFormatLength"},
    {0x0203, "JPEGRestartInterval"},
    {0x0205, "JPEGLosslessPredictors"},
    {0x0206, "JPEGPointTransforms"},
    {0x0207, "JPEGQTables"},
    {0x0208, "JPEGDCTables"},
    {0x0209, "JPEGACTables"},
    {0x0211, "YCbCrCoefficients"},
    {0x0212, "YCbCrSubSampling"},
    {0x0213, "YCbCrPositioning", "1:Centered,2:Co-sited"},
    {0x0214, "ReferenceBlackWhite"},
    {0x02BC, "ExtensibleMetadataPlatform"},
    {0x0301, "Gamma"},
    {0x0302, "ICCProfileDescriptor"},
    {0x0303, "SRGBRenderingIntent"},
    {0x0320, "ImageTitle"},
    {0x1000, "RelatedImageFileFormat"},
    {0x1001, "RelatedImageWidth"},
    {0x1002, "RelatedImageHeight"},
    {0x5001, "ResolutionXUnit"},
    {0x5002, "ResolutionYUnit"},
    {0x5003, "ResolutionXLengthUnit"},
    {0x5004, "ResolutionYLengthUnit"},
    {0x5005, "PrintFlags"},
    {0x5006, "PrintFlagsVersion"},
    {0x5007, "PrintFlagsCrop"},
    {0x5008, "PrintFlagsBleedWidth"},
    {0x5009, "PrintFlagsBleedWidthScale"},
    {0x500A, "HalftoneLPI"},
    {0x500B, "HalftoneLPIUnit"},
    {0x500C, "HalftoneDegree"},
    {0x500D, "HalftoneShape"},
    {0x500E, "HalftoneMisc"},
    {0x500F, "HalftoneScreen"},
    {0x5010, "JPEGQuality"},
    {0x5011, "GridSize"},
    {0x5012, "ThumbnailFormat"},
    {0x5013, "ThumbnailWidth"},
    {0x5014, "ThumbnailHeight"},
    {0x5015, "ThumbnailColorDepth"},
    {0x5016, "ThumbnailPlanes"},
    {0x5017, "ThumbnailRawBytes"},
    {0x5018, "ThumbnailSize"},
    {0x5019, "ThumbnailCompressedSize"},
    {0x501A, "ColorTransferFunction"},
    {0x501B, "ThumbnailData"},
    {0x5020, "ThumbnailImageWidth"},
    {0x5021, "ThumbnailImageHeight"},
    {0x5022, "ThumbnailBitsPerSample"},
    {0x5023, "ThumbnailCompression"},
    {0x5024, "ThumbnailPhotometricInterp"},
    {0x5025, "ThumbnailImageDescription"},
    {0x5026, "ThumbnailEquipMake"},
    {0x5027, "ThumbnailEquipModel"},
    {0x5028, "ThumbnailStripOffsets"},
    {0x5029, "ThumbnailOrientation"},
    {0x502A, "ThumbnailSamplesPerPixel"},
    {0x502B, "ThumbnailRowsPerStrip"},
    {0x502C, "ThumbnailStripBytesCount"},
    {0x502D, "ThumbnailResolutionX"},
    {0x502E, "ThumbnailResolutionY"},
    {0x502F, "ThumbnailPlanarConfig"},
    {0x5030, "ThumbnailResolutionUnit"},
    {0x5031, "ThumbnailTransferFunction"},
    {0x5032, "ThumbnailSoftwareUsed"},
    {0x5033, "ThumbnailDateTime"},
    {0x5034, "ThumbnailArtist"},
    {0x5035, "ThumbnailWhitePoint"},
    {0x5036, "ThumbnailPrimaryChromaticities"},
    {0x5037, "ThumbnailYCbCrCoefficients"},
    {0x5038, "ThumbnailYCbCrSubsampling"},
    {0x5039, "ThumbnailYCbCrPositioning"},
    {0x503A, "ThumbnailRefBlackWhite"},
    {0x503B, "ThumbnailCopyRight"},
    {0x5090, "LuminanceTable"},
    {0x5091, "ChrominanceTable"},
    {0x5100, "FrameDelay"},
    {0x5101, "LoopCount"},
    {0x5110, "PixelUnit"},
    {0x5111, "PixelPerUnitX"},
    {0x5112, "PixelPerUnitY"},
    {0x5113, "PaletteHistogram"},
    {0x800D, "ImageID"},
    {0x80E3, "Matteing"},
    {0x80E4, "DataType"},
    {0x80E5, "ImageDepth"},
    {0x80E6, "TileDepth"},
    {0x828D, "CFARepeatPatternDim"},
    {0x828E, "CFAPattern"},
    {0x828F, "BatteryLevel"},
    {0x8298, "Copyright"},
    {0x829A, "ExposureTime", "", "%s sec"},
    {0x829D, "FNumber", "", "F%0.1f"},
    {0x83BB, "IPTC/NAA"},
    {0x84E3, "IT8RasterPadding"},
    {0x84E6, "IT8ColorTable"},
    {0x8649, "ImageResourceInformation"},
    {0x8769, "ExifOffset"},
    {0x8773, "InterColorProfile"},
    {0x8822, "ExposureProgram",
     "0:Unidentified,1:Manual,2:Normal,3:Aperture priority,4:Shutter priority,5:Creative(slow),"
     "6:Action(high-speed),7:Portrait mode,8:Landscape mode"},
    {0x8824, "SpectralSensitivity"},
    {0x8825, "GPSInfo"},
    {0x8827, "ISOSpeedRatings"},
    {0x8828, "OECF"},
    {0x8829, "Interlace"},
    {0x882A, "TimeZoneOffset"},
    {0x882B, "SelfTimerMode"},
    {0x9000, "ExifVersion"},
    {0x9003, "DateTimeOriginal"},
    {0x9004, "DateTimeDigitized"},
    {0x9101, "ComponentsConfiguration", "", "", FormatComponentsConfiguration},
    {0x9102, "CompressedBitsPerPixel"},
    {0x9201, "ShutterSpeedValue", "", "", FormatShutterSpeed},
    {0x9202, "ApertureValue", "", "F%0.1f"},
    {0x9203, "BrightnessValue"},
    {0x9204, "ExposureBiasValue"},
    {0x9205, "MaxApertureValue", "", "F%0.1f"},
    {0x9206, "SubjectDistance"},
    {0x9207, "MeteringMode", "0:Unknown,1:Average,2:Center,3:Spot,4:MultiSpot,5:MultiSegment,6:Partial"},
    {0x9208, "LightSource",
     "0:Unidentified,1:Daylight,2:Fluorescent,3:Tungsten,10:Flash,17:Std A,18:Std B,19:Std C"},
    {0x9209, "Flash", "", "", FormatFlash},
    {0x920A, "FocalLength", "", "%5.2f mm"},
    {0x920B, "FlashEnergy"},
    {0x920C, "SpatialFrequencyResponse"},
    {0x920D, "Noise"},
    {0x920E, "FocalPlaneXResolution"},
    {0x920F, "FocalPlaneYResolution"},
    {0x9210, "FocalPlaneResolutionUnit", kResolutionUnits},
    {0x9211, "ImageNumber"},
    {0x9212, "SecurityClassification"},
    {0x9213, "ImageHistory"},
    {0x9214, "SubjectLocation"},
    {0x9215, "ExposureIndex"},
    {0x9216, "TIFF/EPStandardID"},
    {0x9217, "SensingMethod"},
    {0x923F, "StoNits"},
    {0x927C, "MakerNote"},
    {0x9286, "UserComment", "", "", FormatUserComment},
    {0x9290, "SubSecTime"},
    {0x9291, "SubSecTimeOriginal"},
    {0x9292, "SubSecTimeDigitized"},
    {0x935C, "ImageSourceData"},
    {0x9C9B, "Title", "", "", FormatXpText},
    {0x9C9C, "Comments", "", "", FormatXpText},
    {0x9C9D, "Author", "", "", FormatXpText},
    {0x9C9E, "Keywords", "", "", FormatXpText},
    {0x9C9F, "Subject", "", "", FormatXpText},
    {0xA000, "FlashPixVersion"},
    {0xA001, "ColorSpace", "0:sBW,1:sRGB"},
    {0xA002, "ExifImageWidth"},
    {0xA003, "ExifImageLength"},
    {0xA004, "RelatedSoundFile"},
    {0xA005, "InteroperabilityOffset"},
    {0xA20B, "FlashEnergy"},
    {0xA20C, "SpatialFrequencyResponse"},
    {0xA20E, "FocalPlaneXResolution"},
    {0xA20F, "FocalPlaneYResolution"},
    {0xA210, "FocalPlaneResolutionUnit", kResolutionUnits},
    {0xA211, "ImageNumber"},
    {0xA212, "SecurityClassification"},
    {0xA213, "ImageHistory"},
    {0xA214, "SubjectLocation"},
    {0xA215, "ExposureIndex"},
    {0xA216, "TIFF/EPStandardID"},
    {0xA217, "SensingMethod",
     "0:Unknown,1:MonochromeArea,2:OneChipColorArea,3:TwoChipColorArea,4:ThreeChipColorArea,"
     "5:ColorSequentialArea,6:MonochromeLinear,7:TriLinear,8:ColorSequentialLinear"},
    {0xA300, "FileSource", "1:Unknown,3:Digital Still Camera"},
    {0xA301, "SceneType", "0:Unknown,1:Directly Photographed"},
    {0xA302, "CFAPattern"},
    {0xA401, "CustomRendered", "0:Normal process,1:Custom process"},
    {0xA402, "ExposureMode", "0:Auto,1:Manual,2:Auto bracket"},
    {0xA403, "WhiteBalance", "0:Auto,1:Manual"},
    {0xA404, "DigitalZoomRatio"},
    {0xA405, "FocalLengthin35mmFilm", "", "%5.2f mm", nullptr, "Focal Length in 35mm Film"},
    {0xA406, "SceneCaptureType", "0:Standard,1:Landscape,2:Portrait,3:Night scene"},
    {0xA407, "GainControl", "0:None,1:Low gain up,2:High gain up,3:Low gain down,4:High gain down"},
    {0xA408, "Contrast", kContrast},
    {0xA409, "Saturation", "0:Normal,1:Low,2:High"},
    {0xA40A, "Sharpness", kContrast},
    {0xA40B, "DeviceSettingDescription"},
    {0xA40C, "SubjectDistanceRange", "0:Unknown,1:Macro,2:Close view,3:Distant view"},
    {0xA420, "ImageUniqueID", "0:Close view,1:Distant view"},
};

const char* const kGpsNames[] = {
    "GPSVersionID",     "GPSLatitudeRef",     "GPSLatitude",         "GPSLongitudeRef",
    "GPSLongitude",     "GPSAltitudeRef",     "GPSAltitude",         "GPSTimeStamp",
    "GPSSatellites",    "GPSStatus",          "GPSMeasureMode",      "GPSDOP",
    "GPSSpeedRef",      "GPSSpeed",           "GPSTrackRef",         "GPSTrack",
    "GPSImageDirectionRef", "GPSImageDirection", "GPSMapDatum",      "GPSDestLatitudeRef",
    "GPSDestLatitude",  "GPSDestLongitudeRef", "GPSDestLongitude",   "GPSDestBearingkRef",
    "GPSDestBearing",   "GPSDestDistanceRef", "GPSDestDistance",     "GPSProcessingMode",
    "GPSAreaInformation", "GPSDateStamp",     "GPSDifferential"};

struct Tables {
  std::vector<TTagEntry> exif, gps;
  std::unordered_map<uint16_t, size_t> exifIndex, gpsIndex;
  TTagEntry unknown;
  Tables() {
    for (const TagRow& r : kExifRows) exif.push_back(MakeTagEntry(r, kExifTable));
    for (size_t i = 0; i < std::size(kGpsNames); ++i) {
      TagFormatter f = nullptr;
      const std::string_view n = kGpsNames[i];
      if (n == "GPSLatitude" || n == "GPSLongitude" || n == "GPSDestLatitude" || n == "GPSDestLongitude")
        f = FormatGpsCoordinate;
      else if (n == "GPSTimeStamp")
        f = FormatGpsTime;
      gps.push_back(MakeTagEntry(TagRow{static_cast<uint16_t>(i), kGpsNames[i], "", "", f}, kGpsTable));
    }
    // Later rows win, so a tag listed twice shows its last definition.
    for (size_t i = 0; i < exif.size(); ++i) exifIndex[exif[i].Tag] = i;
    for (size_t i = 0; i < gps.size(); ++i) gpsIndex[gps[i].Tag] = i;
    unknown.Name = "Unknown";
    unknown.Description = "Unknown";
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

bool ParseInt(std::string_view s, int64_t& v) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty()) return false;
  if (s.front() == '+') s.remove_prefix(1);
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

}  // namespace

TTagEntry MakeTagEntry(const TagRow& r, int32_t table) {
  TTagEntry e;
  e.TableId = table;
  e.Tag = r.tag;
  e.Name = r.name;
  e.Description = *r.description ? std::string(r.description) : DescriptionFromName(r.name);
  e.DecodeList = r.decode;
  e.FormatString = r.format;
  e.Formatter = r.formatter;
  return e;
}

std::vector<std::string_view> SplitValues(std::string_view s) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (true) {
    const size_t comma = s.find(',', start);
    out.push_back(s.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return out;
}

int FindTagByName(const std::vector<TTagEntry>& tags, std::string_view name) {
  for (size_t i = 0; i < tags.size(); ++i)
    if (asciiIEquals(tags[i].Name, name)) return static_cast<int>(i);
  return -1;
}

std::string TagValueByName(const std::vector<TTagEntry>& tags, std::string_view name) {
  const int i = FindTagByName(tags, name);
  return i < 0 ? std::string() : tags[static_cast<size_t>(i)].Data;
}

const std::vector<TTagEntry>& ExifTagTable() { return tables().exif; }
const std::vector<TTagEntry>& GpsTagTable() { return tables().gps; }
const TTagEntry& UnknownTagDefinition() { return tables().unknown; }

const TTagEntry& LookupExifTag(uint16_t tag) {
  const auto& t = tables();
  const auto it = t.exifIndex.find(tag);
  return it == t.exifIndex.end() ? t.unknown : t.exif[it->second];
}

const TTagEntry& LookupGpsTag(uint16_t tag) {
  const auto& t = tables();
  const auto it = t.gpsIndex.find(tag);
  return it == t.gpsIndex.end() ? t.unknown : t.gps[it->second];
}

std::string DescriptionFromName(std::string_view name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool upper = c >= 'A' && c <= 'Z';
    if (i > 0 && upper && !(name[i - 1] >= 'A' && name[i - 1] <= 'Z')) out += ' ';
    out += c;
  }
  return out;
}

int FormatSize(int format) {
  static constexpr int kSizes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return format >= 0 && format <= 12 ? kSizes[format] : 0;
}

bool ParseRationalText(std::string_view text, double& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const size_t slash = text.find('/');
  if (slash == std::string_view::npos) return false;
  std::string_view left = text.substr(0, slash);
  int64_t whole = 0;
  const size_t blank = left.rfind(' ');
  if (blank != std::string_view::npos) {
    if (!ParseInt(left.substr(0, blank), whole)) return false;
    left = left.substr(blank + 1);
  }
  int64_t num = 0, den = 0;
  if (!ParseInt(left, num) || !ParseInt(text.substr(slash + 1), den) || den == 0) return false;
  value = static_cast<double>(whole) + static_cast<double>(num) / static_cast<double>(den);
  return true;
}

std::string FormatComponentsConfiguration(const std::string& data) {
  static const char* const kNames[] = {"", "Y", "Cb", "Cr", "R", "G", "B"};
  std::string out;
  for (size_t i = 1; i <= 4 && i < data.size(); ++i) {
    const auto c = static_cast<unsigned char>(data[i]);
    if (c >= 1 && c <= 6) out += kNames[c];
  }
  return out;
}

std::string FormatShutterSpeed(const std::string& data) {
  double v = 0;
  if (!ParseRationalText(data, v)) return data;
  const double pow2 = std::exp2(v);
  if (!std::isfinite(pow2) || pow2 == 0) return data;
  const double t = 1.0 / pow2;
  std::string out = FormatPattern("%4.4f sec", {t});
  if (t <= 0.5) out += FormatPattern(" (1/%d)", {static_cast<int64_t>(RoundHalfEven(pow2))});
  return out;
}

std::string FormatFlash(const std::string& data) {
  int64_t n = 0;
  if (!ParseInt(data, n)) return data;
  std::string out = (n & 1) ? "On" : "Off";
  switch (n & 6) {
    case 2: out += ", UNKNOWN"; break;
    case 4: out += ", no strobe return"; break;
    case 6: out += ", strobe return"; break;
    default: break;
  }
  switch (n & 24) {
    case 8: out += ", forced"; break;
    case 16: out += ", surpressed"; break;
    case 24: out += ", auto mode"; break;
    default: break;
  }
  if (n & 32) out += ", no flash function";
  if (n & 64) out += ", red-eye reduction";
  return out;
}

std::string FormatUserComment(const std::string& data) { return data.size() > 8 ? data.substr(8) : std::string(); }

std::string FormatXpText(const std::string& data) {
  std::string out;
  const auto parts = SplitValues(data);
  for (size_t i = 0; i < parts.size(); i += 2) {
    int64_t v = 0;
    if (ParseInt(parts[i], v) && v > 0 && v < 256) appendUtf8(out, static_cast<char32_t>(v));
  }
  return out;
}

namespace {

// The first three elements of a rational value as the reader writes them
// ("n/d, n/d, n/d"); a zero denominator reads 0, like every failed
// division. False for anything else: some writers store these values as
// text, which is then shown as it stands.
bool ThreeRationals(const std::string& data, double (&v)[3]) {
  const auto parts = SplitValues(data);
  if (parts.size() < 3) return false;
  for (size_t i = 0; i < 3; ++i) {
    if (ParseRationalText(parts[i], v[i])) continue;
    const size_t slash = parts[i].find('/');
    int64_t num = 0, den = 0;
    if (slash == std::string_view::npos || !ParseInt(parts[i].substr(0, slash), num) ||
        !ParseInt(parts[i].substr(slash + 1), den) || den != 0)
      return false;
    v[i] = 0;
  }
  return true;
}

}  // namespace

std::string FormatGpsCoordinate(const std::string& data) {
  double v[3];
  if (!ThreeRationals(data, v)) return data;
  double d = v[0], m = v[1], s = v[2];
  if (s == 0) {
    const double whole = std::trunc(m);
    s = (m - whole) * 60.0;
    m = whole;
  }
  return FormatPattern("%0.0f Degrees %0.0f Minutes %0.0f Seconds", {d, m, s});
}

std::string FormatGpsTime(const std::string& data) {
  double v[3];
  if (!ThreeRationals(data, v)) return data;
  return FormatPattern("%0.0f:%0.0f:%0.0f", {v[0], v[1], v[2]});
}

}  // namespace mosaik::imaging

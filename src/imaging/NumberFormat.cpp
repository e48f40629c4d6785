#include "imaging/NumberFormat.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <limits>

namespace mosaik::imaging {
namespace {
std::atomic<char> g_separator{','};
}  // namespace

void SetDecimalSeparator(char separator) { g_separator.store(separator); }
char DecimalSeparator() { return g_separator.load(); }

std::string FormatFixed(double value, int decimals, int width) {
  if (decimals < 0) decimals = 0;
  if (decimals > 30) decimals = 30;
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  std::string s = res.ec == std::errc() ? std::string(buf, res.ptr) : std::string("0");
  const char sep = DecimalSeparator();
  for (char& c : s)
    if (c == '.') c = sep;
  if (width > 0 && static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), ' ');
  return s;
}

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value)) return 0;
  if (value >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (value <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::nearbyint(value));  // default mode: ties to even
}

std::string FormatPattern(std::string_view pattern, const std::vector<PatternArg>& args) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    int width = 0;
    int precision = -1;
    while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && width < 1000)
      width = width * 10 + (pattern[j++] - '0');
    if (j < pattern.size() && pattern[j] == '.') {
      ++j;
      precision = 0;
      while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9' && precision < 1000)
        precision = precision * 10 + (pattern[j++] - '0');
    }
    if (j >= pattern.size()) {
      out.append(pattern.substr(i));
      break;
    }
    const char conv = pattern[j];
    if (conv != 's' && conv != 'd' && conv != 'f') {
      out.append(pattern.substr(i, j - i + 1));
      i = j;
      continue;
    }
    i = j;
    std::string piece;
    if (next < args.size()) {
      const PatternArg& a = args[next++];
      if (conv == 's') {
        if (const auto* s = std::get_if<std::string>(&a)) piece = *s;
      } else if (conv == 'd') {
        int64_t v = 0;
        if (const auto* n = std::get_if<int64_t>(&a)) v = *n;
        else if (const auto* d = std::get_if<double>(&a)) v = RoundHalfEven(*d);
        char buf[32];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        piece.assign(buf, r.ptr);
      } else {
        double v = 0;
        if (const auto* d = std::get_if<double>(&a)) v = *d;
        else if (const auto* n = std::get_if<int64_t>(&a)) v = static_cast<double>(*n);
        piece = FormatFixed(v, precision < 0 ? 6 : precision);
      }
    }
    if (width > 0 && static_cast<int>(piece.size()) < width)
      piece.insert(0, static_cast<size_t>(width) - piece.size(), ' ');
    out += piece;
  }
  return out;
}

}  // namespace mosaik::imaging

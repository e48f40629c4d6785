#include "winsupport/Decimal4.h"

#include <cmath>

namespace mosaik {

Decimal4 Decimal4::fromDouble(double v) {
  return Decimal4(static_cast<int64_t>(std::llround(v * kScale)));
}

std::optional<Decimal4> Decimal4::parse(std::string_view t, char separator) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  if (t.empty()) return std::nullopt;
  bool neg = false;
  if (t.front() == '+' || t.front() == '-') {
    neg = t.front() == '-';
    t.remove_prefix(1);
  }
  int64_t whole = 0;
  size_t i = 0;
  bool anyDigit = false;
  constexpr int64_t kLimit = INT64_MAX / kScale / 10;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    if (whole > kLimit) return std::nullopt;
    whole = whole * 10 + (t[i] - '0');
    anyDigit = true;
  }
  int64_t frac = 0;
  int places = 0;
  bool roundUp = false;
  if (i < t.size() && t[i] == separator) {
    ++i;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      anyDigit = true;
      if (places < 4) {
        frac = frac * 10 + (t[i] - '0');
        ++places;
      } else if (places == 4) {
        roundUp = t[i] >= '5';
        ++places;
      }
    }
  }
  if (!anyDigit || i != t.size()) return std::nullopt;
  while (places < 4) {
    frac *= 10;
    ++places;
  }
  int64_t u = whole * kScale + frac + (roundUp ? 1 : 0);
  return Decimal4(neg ? -u : u);
}

std::string Decimal4::toText(char separator) const {
  const bool neg = units_ < 0;
  const uint64_t a = neg ? static_cast<uint64_t>(-(units_ + 1)) + 1 : static_cast<uint64_t>(units_);
  std::string s = std::to_string(a / kScale);
  uint64_t frac = a % kScale;
  if (frac != 0) {
    std::string f = std::to_string(frac);
    f.insert(0, 4 - f.size(), '0');
    while (f.back() == '0') f.pop_back();
    s += separator;
    s += f;
  }
  return neg ? "-" + s : s;
}

}  // namespace mosaik

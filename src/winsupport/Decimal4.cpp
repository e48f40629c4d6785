#include "winsupport/Decimal4.h"

#include <cmath>

namespace mosaik {

Decimal4 Decimal4::fromDouble(double v) {
  const double s = v * kScale;
  if (!(s < 9.2233720368547758e18)) return max();
  if (!(s > -9.2233720368547758e18)) return min();
  return Decimal4(static_cast<int64_t>(std::llround(s)));
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
  // The magnitude in ten-thousandths, checked against the range as it grows.
  constexpr unsigned __int128 kGrenze = static_cast<unsigned __int128>(INT64_MAX) + 1;
  unsigned __int128 u = 0;
  size_t i = 0;
  bool ziffer = false;
  for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
    u = u * 10 + static_cast<unsigned>(t[i] - '0');
    if (u * kScale > kGrenze) return std::nullopt;
    ziffer = true;
  }
  u *= kScale;
  int stellen = 0;
  int erste = -1;         // the first digit beyond the fourth place
  bool weitere = false;   // any non-zero digit after that one
  if (i < t.size() && t[i] == separator) {
    ++i;
    unsigned __int128 stelle = kScale / 10;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
      ziffer = true;
      const int d = t[i] - '0';
      if (stellen < 4) {
        u += static_cast<unsigned>(d) * stelle;
        stelle /= 10;
      } else if (stellen == 4) {
        erste = d;
      } else if (d != 0) {
        weitere = true;
      }
      ++stellen;
    }
  }
  if (!ziffer || i != t.size()) return std::nullopt;
  if (erste > 5 || (erste == 5 && (weitere || (u & 1) != 0))) ++u;
  if (u > kGrenze || (u == kGrenze && !neg)) return std::nullopt;
  if (neg) return Decimal4(u == kGrenze ? INT64_MIN : -static_cast<int64_t>(u));
  return Decimal4(static_cast<int64_t>(u));
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

Decimal4 Decimal4::plus(Decimal4 b) const {
  int64_t r = 0;
  if (__builtin_add_overflow(units_, b.units_, &r)) return b.units_ > 0 ? max() : min();
  return Decimal4(r);
}

Decimal4 Decimal4::minus(Decimal4 b) const {
  int64_t r = 0;
  if (__builtin_sub_overflow(units_, b.units_, &r)) return b.units_ < 0 ? max() : min();
  return Decimal4(r);
}

}  // namespace mosaik

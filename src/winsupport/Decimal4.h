#pragma once
// A decimal value with four places, held exactly as a count of
// ten-thousandths in 64 bits (the range of the original's Currency type).
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaik {

class Decimal4 {
 public:
  static constexpr int64_t kScale = 10000;
  constexpr Decimal4() = default;
  static constexpr Decimal4 fromUnits(int64_t units) { return Decimal4(units); }
  static constexpr Decimal4 fromInt(int64_t v) { return Decimal4(v * kScale); }
  static constexpr Decimal4 max() { return Decimal4(INT64_MAX); }
  static constexpr Decimal4 min() { return Decimal4(INT64_MIN); }
  // Nearest value with four places (ties away from zero).
  static Decimal4 fromDouble(double v);

  constexpr int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / kScale; }

  // Accepts surrounding blanks, an optional sign, digits and the given
  // separator followed by digits (at least one digit in all). Places beyond
  // the fourth round to the nearest, ties to even. Anything else, and a
  // number beyond the range, does not convert.
  static std::optional<Decimal4> parse(std::string_view text, char separator);
  // Shortest text: no trailing zeros, no separator for whole numbers, no
  // thousands separator ("2", "1,5", "-0,0001").
  std::string toText(char separator) const;

  // Sums and differences stay inside the range (they stop at its ends).
  Decimal4 plus(Decimal4 b) const;
  Decimal4 minus(Decimal4 b) const;

  friend constexpr auto operator<=>(Decimal4, Decimal4) = default;

 private:
  constexpr explicit Decimal4(int64_t u) : units_(u) {}
  int64_t units_ = 0;
};

}  // namespace mosaik

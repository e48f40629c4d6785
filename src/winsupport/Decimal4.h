#pragma once
// A decimal value with four places, held exactly as a count of ten-thousandths.
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
  // Nearest value with four places (ties away from zero).
  static Decimal4 fromDouble(double v);

  constexpr int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / kScale; }

  // Accepts an optional sign, digits, and the given separator followed by
  // digits (places beyond the fourth are rounded, ties away from zero).
  // Surrounding blanks are allowed; anything else does not convert.
  static std::optional<Decimal4> parse(std::string_view text, char separator);
  // Shortest text: no trailing zeros, no separator for whole numbers
  // ("2", "1,5", "-0,0001").
  std::string toText(char separator) const;

  friend constexpr auto operator<=>(Decimal4, Decimal4) = default;

 private:
  constexpr explicit Decimal4(int64_t u) : units_(u) {}
  int64_t units_ = 0;
};

}  // namespace mosaik

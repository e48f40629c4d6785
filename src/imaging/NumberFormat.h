#pragma once
// Number texts of the metadata display. The decimal separator is one
// process-wide setting that the program takes from the injected locale
// formats; the caption code parses with the same one. No printf family:
// Qt changes the C locale under our feet.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mosaik::imaging {

void SetDecimalSeparator(char separator);
char DecimalSeparator();

// Fixed notation with the given number of decimals, right-aligned in at
// least `width` characters. Exact ties round to even, as the C library's
// fixed formats do.
std::string FormatFixed(double value, int decimals, int width = 0);

// The small pattern language of the metadata tables: "%s", "%d", "%f" with
// optional width and precision ("%5.2f", "%0.1f", "%4.4f"), and "%%".
// Arguments are taken in order; a missing or mismatched argument yields an
// empty piece rather than undefined behaviour.
using PatternArg = std::variant<double, int64_t, std::string>;
std::string FormatPattern(std::string_view pattern, const std::vector<PatternArg>& args);

// Rounds half to even, as the display rules of the metadata tables do.
int64_t RoundHalfEven(double value);

}  // namespace mosaik::imaging

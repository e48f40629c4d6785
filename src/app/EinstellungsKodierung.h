#pragma once
// How values are written into the settings file and read back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaik {

// LF becomes "#$0A", then CR "#$0D", every occurrence; the inverse turns
// "#$0A" into LF, then "#$0D" into CR.
std::string ZeilenumbruecheMaskieren(std::string_view text);
std::string ZeilenumbruecheDemaskieren(std::string_view text);

namespace einstellungen {

// A text value as written: line breaks masked (only the memos, the extra
// texts and the caption templates, hold any, and exactly they are unmasked
// when read), and enclosed in double quotes when the profile layer would
// otherwise trim blanks or strip quotes.
std::string textWert(std::string_view text);

// A quoted text ([Texte] and a few more): always in double quotes, so that
// blanks at either end survive. The reader removes a pair of double quotes
// once more; a text that itself is enclosed in double quotes gets a second
// pair, so it comes back whole. Nothing is unmasked.
std::string zitiertWert(std::string_view text);
std::string zitiertLesen(std::string_view wert);

// Decimal digits with an optional sign, or "0x" and hexadecimal digits;
// nullopt for anything else and for values outside 32 bits.
std::optional<int32_t> ganzzahlLesen(std::string_view wert);

// At most 15 significant digits, no trailing zeros, the given separator.
std::string gleitkommaText(double wert, char trenner);
// Digits with a decimal comma or point and an optional exponent. Both
// separators are taken: the writer never writes a thousands separator, and
// a file written under another locale keeps its values.
std::optional<double> gleitkommaLesen(std::string_view wert);

}  // namespace einstellungen

// The bytes of a memo's text file: one line per memo line, each ended by
// CR LF; Windows-1252 unless it would not read back as the memo, then UTF-8
// with a byte-order mark (encodeText), so that nothing is lost. A file's
// present bytes (`bisher`) that already read as the memo are kept as they
// are, in their encoding (UTF-16 too) and with their line ends.
std::string textdateiAusMemo(const std::string& memo, const std::optional<std::string>& bisher = std::nullopt);
// The memo text of such a file (decodeUserText); the line end of the last
// line makes no empty line of its own. nullopt when the reader refuses it.
std::optional<std::string> memoAusTextdatei(const std::string& bytes);

}  // namespace mosaik

#pragma once
// Windows-1252 exists only at the file boundaries; inside, text is UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mosaik {

// Decodes one UTF-8 code point at pos; advances pos. Invalid bytes give
// U+FFFD and advance by one, so a caller can never loop forever.
char32_t nextCodePoint(std::string_view s, size_t& pos);
void appendUtf8(std::string& out, char32_t cp);
// The code points of a UTF-8 text and back, for counting and cutting by
// characters.
std::u32string toCodePoints(std::string_view s);
std::string fromCodePoints(std::u32string_view s);

bool isValidUtf8(std::string_view s);
// The longest start of a UTF-8 text of at most maxBytes bytes that does not
// end inside a character: a text or name cut to fit a limit.
std::string_view utf8Prefix(std::string_view s, size_t maxBytes);

// The Windows-1252 byte for a code point, or -1 when the code page has none.
int cp1252FromCodePoint(char32_t cp);
char32_t cp1252ToCodePoint(unsigned char b);

std::string cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold are replaced by '?' and reported
// through lossless (when given).
std::string utf8ToCp1252(std::string_view utf8, bool* lossless = nullptr);
bool fitsCp1252(std::string_view utf8);

// Text files are read and written in units: a settings file line by line
// (a line typed in a UTF-8 terminal stands beside lines in the code page),
// any other text file as a whole.
enum class TextUnit { Line, File };

// The one reader of every text file (line ends stay as they are). UTF-16
// or UTF-32 with its byte-order mark (little or big endian) is decoded whole, or
// refused (nullopt) when its bytes are not UTF-16 throughout, as a line
// appended in another encoding leaves them. A leading UTF-8 byte-order mark
// is dropped and makes every unit UTF-8 that is valid UTF-8. Without a mark
// a unit that is no valid UTF-8 is Windows-1252, and so is valid UTF-8 in
// which every character beyond ASCII is what Windows-1252 as people write
// it makes: a capital followed by a sign after a word ("SCHÖN…" is
// D6 85), "ß" followed by a sign ("Spaß…" is DF 85), a lower-case letter
// and two such signs ("Perché…”"), where the UTF-8 reading would put a
// lone character amid Latin letters that typed text does not hold there.
// Any other unit is UTF-8.
std::optional<std::string> decodeText(std::string_view bytes, TextUnit unit);
// Text files the user supplies, read as one unit.
std::optional<std::string> decodeUserText(std::string_view bytes);
// UTF-16 or UTF-32 with its byte-order mark.
bool hasUnicodeMark(std::string_view bytes);
// Why the reader refused these bytes, naming UTF-16 or UTF-32 by their
// mark: the sentence goes after "… kann nicht gelesen werden".
std::string notUnicodeThroughout(std::string_view bytes);
// A user's text file read whole (fs::readTextFile) and decoded; nullopt,
// with the German sentence why, when it cannot be read or decoded.
std::optional<std::string> readUserTextFile(const std::string& path, std::string* why = nullptr);
// The bytes that store the text: Windows-1252 when every unit of them reads
// back as this text, else UTF-8 with a byte-order mark, which reads back
// whole. The writer asks the reader, so the two never disagree.
std::string encodeText(std::string_view utf8, TextUnit unit);

// UTF-16 text (without its byte-order mark) as UTF-8, as Windows editors
// save "Unicode" text. A lone surrogate or a trailing odd byte gives U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// %XX escapes (upper-case hex digits) for every byte that keep() refuses,
// and back: "%" and two hex digits of either case give their byte, any
// other text stays as it is.
std::string percentEncoded(std::string_view s, bool (*keep)(unsigned char));
std::string percentDecoded(std::string_view s);

// ASCII-only case mapping: never touches bytes >= 0x80.
std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);
bool asciiIEquals(std::string_view a, std::string_view b);

// Line ends of a user's multi-line text as pages and text files write them:
// every line break becomes CR LF.
std::string ZeilenendenCRLF(std::string_view text);

}  // namespace mosaik

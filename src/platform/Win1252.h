#pragma once
// Windows-1252 exists only at the file boundaries; inside, text is UTF-8.
#include <cstdint>
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

// Reads the bytes of a text file (line ends stay as they are). A leading
// UTF-8 byte-order mark is dropped and makes every unit UTF-8 that is valid
// UTF-8. Without it a unit is Windows-1252 when it is no valid UTF-8, or
// when each character it holds beyond ASCII is what a Windows-1252 letter
// followed by a punctuation mark or sign decodes to ("ß…" is DF 85, U+07C5)
// and typed text does not hold; any other unit is UTF-8.
std::string decodeText(std::string_view bytes, TextUnit unit);
// Text files the user supplies, read as one unit.
std::string decodeUserText(std::string_view bytes);
// The bytes that store the text: Windows-1252 when every unit of them reads
// back as this text, else UTF-8 with a byte-order mark, which reads back
// whole. The writer asks the reader, so the two never disagree.
std::string encodeText(std::string_view utf8, TextUnit unit);

// UTF-16 text (without its byte-order mark) as UTF-8, as Windows editors
// save "Unicode" text. A lone surrogate or a trailing odd byte gives U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// ASCII-only case mapping: never touches bytes >= 0x80.
std::string asciiUpper(std::string_view s);
std::string asciiLower(std::string_view s);
bool asciiIEquals(std::string_view a, std::string_view b);

// Line ends of a user's multi-line text as pages and text files write them:
// every line break becomes CR LF.
std::string ZeilenendenCRLF(std::string_view text);

}  // namespace mosaik

#pragma once
// SHA-256 digests, by the system's cryptographic library: a digest that
// stands as evidence must not be one of our own making.
#include <string>
#include <string_view>

namespace mosaik {

// The digest of the bytes as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);
// The digest of the whole content of an open file, read from its start;
// empty when it cannot be read.
std::string sha256HexOfFile(int fd);

}  // namespace mosaik

#include "platform/Sha256.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace mosaik {
namespace {

struct Kontext {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx{EVP_MD_CTX_new(), &EVP_MD_CTX_free};
  bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;

  void dazu(const void* daten, size_t n) { ok = ok && EVP_DigestUpdate(ctx.get(), daten, n) == 1; }

  std::string hex() {
    unsigned char d[EVP_MAX_MD_SIZE];
    unsigned int n = 0;
    if (!ok || EVP_DigestFinal_ex(ctx.get(), d, &n) != 1) return {};
    static const char* const ziffern = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < n; ++i) {
      out += ziffern[d[i] >> 4];
      out += ziffern[d[i] & 15];
    }
    return out;
  }
};

}  // namespace

std::string sha256Hex(std::string_view bytes) {
  Kontext k;
  k.dazu(bytes.data(), bytes.size());
  return k.hex();
}

std::string sha256HexOfFile(int fd) {
  Kontext k;
  char buf[1 << 16];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return {};
    if (n == 0) break;
    k.dazu(buf, static_cast<size_t>(n));
    at += n;
  }
  return k.hex();
}

}  // namespace mosaik

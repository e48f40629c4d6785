#pragma once
// The temporary folder of every test program, and plain file access.
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace mosaik::test {

// A fresh folder below $TMPDIR (else /tmp), removed with everything in it.
// A test rerun as another user gets its own TMPDIR; where no folder can be
// made the test fails with the reason instead of working on a null path.
class TempOrdner {
 public:
  TempOrdner() {
    const char* basis = ::getenv("TMPDIR");
    std::string muster = std::string(basis != nullptr && *basis != '\0' ? basis : "/tmp") + "/mosaik-test-XXXXXX";
    if (::mkdtemp(muster.data()) == nullptr)
      throw std::runtime_error("Kein temporärer Ordner: " + muster + ": " + std::strerror(errno) +
                               " (TMPDIR auf einen beschreibbaren Ordner setzen)");
    pfad_ = muster + "/";
  }
  ~TempOrdner() {
    std::error_code ec;
    std::filesystem::permissions(pfad_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(pfad_, ec);
  }
  TempOrdner(const TempOrdner&) = delete;
  TempOrdner& operator=(const TempOrdner&) = delete;

  // With a trailing '/'.
  const std::string& pfad() const { return pfad_; }
  // Writes the file `name` in the folder; returns its path.
  std::string ablegen(const std::string& name, const std::string& bytes) const {
    std::ofstream(pfad_ + name, std::ios::binary) << bytes;
    return pfad_ + name;
  }

 private:
  std::string pfad_;
};

inline std::string dateiInhalt(const std::string& pfad) {
  std::ifstream f(pfad, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void dateiAblegen(const std::string& pfad, const std::string& bytes) {
  std::ofstream(pfad, std::ios::binary) << bytes;
}

}  // namespace mosaik::test

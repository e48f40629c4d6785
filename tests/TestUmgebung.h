#pragma once
// Pinned surroundings for tests: scripted dialogs, fixed locale, login name,
// fonts and a private temporary folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "FakeDialoge.h"
#include "platform/Environment.h"

namespace mosaik::test {

// A fresh folder below the system's temporary folder, removed afterwards.
class TempOrdner {
 public:
  TempOrdner() {
    std::string muster = (std::filesystem::temp_directory_path() / "mosaik-test-XXXXXX").string();
    pfad_ = ::mkdtemp(muster.data());
  }
  ~TempOrdner() {
    std::error_code ec;
    std::filesystem::permissions(pfad_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(pfad_, ec);
  }
  TempOrdner(const TempOrdner&) = delete;
  TempOrdner& operator=(const TempOrdner&) = delete;
  // With a trailing '/'.
  std::string pfad() const { return pfad_ + "/"; }

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

class NullShell : public Shell {
 public:
  std::vector<std::string> geoeffnet;
  bool open(const std::string& t) override {
    geoeffnet.push_back(t);
    return true;
  }
};

struct TestUmgebung {
  FakeDialoge dialoge;
  NullShell shell;
  TempOrdner programmOrdner;
  TempOrdner datenOrdner;
  Services sv;
  TestUmgebung() {
    sv.dialogs = &dialoge;
    sv.shell = &shell;
    sv.locale = LocaleFormats{};
    sv.now = [] { return std::time_t{1700000000}; };
    sv.loginName = [] { return std::string("pruefer"); };
    sv.fontFamilies = [] { return std::vector<std::string>{"Arial", "Verdana"}; };
    sv.programFolder = programmOrdner.pfad();
    sv.appDataFolder = datenOrdner.pfad();
  }
};

}  // namespace mosaik::test

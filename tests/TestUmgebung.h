#pragma once
// Pinned surroundings for tests: scripted dialogs, fixed locale, login name,
// fonts and a private temporary folder.
#include <string>

#include "FakeDialoge.h"
#include "TempOrdner.h"
#include "platform/Environment.h"

namespace mosaik::test {

class NullShell : public Shell {
 public:
  std::vector<std::string> geoeffnet;
  bool gelingt = true;  // false: no program starts
  bool open(const std::string& t) override {
    geoeffnet.push_back(t);
    return gelingt;
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

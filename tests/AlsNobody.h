#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "TempOrdner.h"

namespace mosaik::test {

// Permissions do not bind root, and CI runs as root. A test whose point is a
// permission calls this first: as root it runs the same test again as the
// unprivileged user nobody (setpriv), with a temporary folder that user owns
// as TMPDIR and HOME, takes over its verdict and returns true (the caller
// returns at once); as an ordinary user it returns false and the test goes on.
inline bool AlsNobodyWiederholt() {
  if (::geteuid() != 0) return false;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string programm = std::filesystem::read_symlink("/proc/self/exe").string();
  const TempOrdner tmp;
  std::string ordner = tmp.pfad();
  ordner.pop_back();
  const bool uebergeben = ::chown(ordner.c_str(), 65534, 65534) == 0;
  // The test program itself, reachable for nobody even where the build
  // folder is not.
  const std::string kopie = ordner + "/test";
  std::error_code ec;
  std::filesystem::create_hard_link(programm, kopie, ec);
  if (ec) std::filesystem::copy_file(programm, kopie, ec);
  const std::string befehl = "setpriv --reuid=nobody --regid=nogroup --clear-groups env TMPDIR='" + ordner +
                             "' HOME='" + ordner + "' '" + kopie + "' --gtest_filter='" + info->test_suite_name() +
                             "." + info->name() + "'";
  std::string ausgabe;
  if (FILE* p = uebergeben ? ::popen((befehl + " 2>&1").c_str(), "r") : nullptr) {
    char puffer[4096];
    while (const size_t n = std::fread(puffer, 1, sizeof puffer, p)) ausgabe.append(puffer, n);
    ::pclose(p);
  }
  // Only a test that ran and passed counts: a filter that matches nothing
  // passes as well.
  EXPECT_NE(ausgabe.find("[  PASSED  ] 1 test."), std::string::npos) << befehl << "\n" << ausgabe;
  return true;
}

}  // namespace mosaik::test

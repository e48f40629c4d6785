#include "platform/Environment.h"

#include "platform/Browser.h"

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mosaik {
namespace {

std::string envOr(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string localeName(const char* category) {
  for (const char* n : {"LC_ALL", category, "LANG"}) {
    std::string v = envOr(n);
    if (!v.empty()) return v;
  }
  return {};
}

bool isNeutral(const std::string& loc) {
  return loc.empty() || loc == "C" || loc == "POSIX" || loc.rfind("C.", 0) == 0;
}

// Locales whose decimal separator is a point; the rest of Europe uses a comma.
bool usesDecimalPoint(const std::string& loc) {
  static const char* kPoint[] = {"en_", "ja_", "zh_", "ko_", "he_", "th_", "de_CH", "it_CH"};
  for (const char* p : kPoint)
    if (loc.rfind(p, 0) == 0) return true;
  return false;
}

}  // namespace

LocaleFormats systemLocaleFormats() {
  LocaleFormats f;
  const std::string num = localeName("LC_NUMERIC");
  if (!isNeutral(num) && usesDecimalPoint(num)) f.decimalSeparator = '.';
  const std::string tim = localeName("LC_TIME");
  if (!isNeutral(tim)) {
    if (tim.rfind("en_US", 0) == 0) {
      f.shortDate = "M/d/yyyy";
      f.longTime = "h:nn:ss AMPM";
    } else if (tim.rfind("en_", 0) == 0 || tim.rfind("fr_", 0) == 0 || tim.rfind("es_", 0) == 0 ||
               tim.rfind("it_", 0) == 0) {
      f.shortDate = "dd/MM/yyyy";
    }
  }
  return f;
}

std::string systemLoginName() {
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
  std::string u = envOr("USER");
  if (u.empty()) u = envOr("LOGNAME");
  return u;
}

std::vector<std::string> systemFontFamilies() {
  std::vector<std::string> out;
  FILE* p = ::popen("fc-list --format '%{family[0]}\\n' 2>/dev/null", "r");
  if (!p) return out;
  char line[512];
  while (std::fgets(line, sizeof line, p)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    if (!s.empty()) out.push_back(s);
  }
  ::pclose(p);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

bool SystemShell::open(const std::string& target) {
  // $BROWSER, the desktop's program for HTML, then xdg-open: the first that
  // starts opens it.
  for (const auto& befehl : openCommands(target, processEnv()))
    if (startDetached(befehl)) return true;
  return false;
}

}  // namespace mosaik

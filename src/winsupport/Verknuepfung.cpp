#include "winsupport/Verknuepfung.h"

#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstring>

namespace mosaik {
namespace {

// A string value of a desktop entry: backslash and the control characters
// escaped, a leading blank kept.
std::string wert(const std::string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '\n': r += "\\n"; break;
      case '\t': r += "\\t"; break;
      case '\r': r += "\\r"; break;
      case ' ': r += i == 0 ? "\\s" : " "; break;
      default: r += c;
    }
  }
  return r;
}

// The program as the one argument of Exec: always quoted, with the four
// characters that are special inside quotes escaped, and '%' doubled since
// it starts a field code.
std::string execArgument(const std::string& programm) {
  std::string r = "\"";
  for (char c : programm) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') r += '\\';
    if (c == '%') r += '%';
    r += c;
  }
  return r + "\"";
}

std::string basisname(const std::string& datei) {
  std::string name = datei.substr(datei.rfind('/') + 1);
  const std::string endung = ".desktop";
  if (name.size() > endung.size() && name.compare(name.size() - endung.size(), endung.size(), endung) == 0)
    name.resize(name.size() - endung.size());
  return name;
}

}  // namespace

void SpezialOrdnerPfad(SpecialFolder f, std::string& pfad, const Umgebung& env) {
  if (auto p = specialFolderPath(f, env); p && !p->empty()) pfad = p->back() == '/' ? *p : *p + "/";
}

std::string desktopEintrag(const std::string& ziel, const std::string& name, const std::string& beschreibung) {
  // The Exec value is a string value too: its backslashes are escaped once
  // more on top of the quoting.
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Version=1.0\n"
         "Name=" +
         wert(name) +
         "\n"
         "Comment=" +
         wert(beschreibung) +
         "\n"
         "Exec=" +
         wert(execArgument(ziel)) +
         "\n"
         "Terminal=false\n"
         "Categories=Graphics;\n";
}

bool VerknuepfungAnlegen(const std::string& ziel, const std::string& datei, const std::string& beschreibung) {
  if (ziel.empty()) return false;
  const int fd = ::open(datei.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
  if (fd < 0) return false;
  bool ok = fs::writeAll(fd, desktopEintrag(ziel, basisname(datei), beschreibung));
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (!ok) ::unlink(datei.c_str());
  return ok;
}

bool OrdnerIstLeer(const std::string& ordner) {
  DIR* d = ::opendir(ordner.c_str());
  if (!d) return false;
  bool leer = true;
  while (const dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      leer = false;
      break;
    }
  }
  ::closedir(d);
  return leer;
}

std::string laufendesProgramm() {
  char puffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", puffer, sizeof puffer - 1);
  if (n <= 0) return {};
  return std::string(puffer, static_cast<size_t>(n));
}

}  // namespace mosaik

#include "winsupport/Verknuepfung.h"

#include "platform/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

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
  const fs::Place at = fs::resolve(datei, false);
  fs::Fd fd(at ? at.open(O_WRONLY | O_CREAT | O_EXCL, 0755) : -1);
  if (!fd) return false;
  bool ok = fs::writeAll(fd.get(), desktopEintrag(ziel, basisname(datei), beschreibung));
  if (ok && ::fsync(fd.get()) != 0) ok = false;
  if (!fd.close()) ok = false;
  if (!ok) ::unlinkat(at.dir(), at.name(), 0);
  return ok;
}

namespace {
// The folder at the place holds no entry; false when it cannot be read.
bool leerAn(const fs::Place& at) {
  const fs::Fd d(at ? at.open(O_RDONLY | O_DIRECTORY) : -1);
  const auto namen = d ? fs::namesIn(d.get()) : std::nullopt;
  return namen && namen->empty();
}
}  // namespace

bool OrdnerIstLeer(const std::string& ordner) { return leerAn(fs::resolve(ordner, true)); }

bool LeerenOrdnerEntfernen(const std::string& ordner) {
  const fs::Place at = fs::resolve(ordner, false);
  // The system removes only an empty folder: one filled meanwhile stays.
  return !leerAn(at) || ::unlinkat(at.dir(), at.name(), AT_REMOVEDIR) == 0 || errno == ENOTEMPTY || errno == EEXIST;
}

std::string laufendesProgramm() { return fs::programFile(); }

}  // namespace mosaik

#include "generator/Ableitungsbuch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>

#include "generator/Verzeichnis.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

// For a user who finds the file.
const char* const kKopf = "# Mosaikschauer: Bilder, die das Programm in diesem Ordner geschrieben hat.\n";

std::string buchpfad(const std::string& ordner) { return fs::withTrailingSlash(ordner) + kAbleitungsbuch; }

// Bytes that would break the line, and the escape itself, as %XX.
std::string zeilenName(const std::string& name) {
  static const char* const hex = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || c == '%') {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

std::string zeile(const struct stat& d, const std::string& name) {
  return std::to_string(d.st_ino) + ' ' + std::to_string(d.st_size) + ' ' + std::to_string(d.st_mtim.tv_sec) + ' ' +
         std::to_string(d.st_mtim.tv_nsec) + ' ' + zeilenName(name) + '\n';
}

// One number and the blank behind it; nullopt when the line is not of ours
// (a line half written when the run was killed, one edited by hand).
template <typename T>
std::optional<T> zahl(std::string_view& rest) {
  T wert{};
  const auto [ende, fehler] = std::from_chars(rest.data(), rest.data() + rest.size(), wert);
  if (fehler != std::errc() || ende == rest.data() || ende == rest.data() + rest.size() || *ende != ' ')
    return std::nullopt;
  rest.remove_prefix(static_cast<size_t>(ende - rest.data()) + 1);
  return wert;
}

}  // namespace

Ableitungsbuch::Ableitungsbuch(const std::string& ordner) {
  const std::string pfad = buchpfad(ordner);
  struct stat st {};
  // Only a file of its own: a link could make another folder's record speak
  // for this one.
  if (::lstat(pfad.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  besitzer_ = st.st_uid;
  const auto text = fs::readFile(pfad);
  if (!text) return;
  std::string_view rest = *text;
  // A last line without its end was cut off.
  for (size_t ende; (ende = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(ende + 1)) {
    std::string_view z = rest.substr(0, ende);
    const auto ino = zahl<ino_t>(z);
    const auto groesse = ino ? zahl<off_t>(z) : std::nullopt;
    const auto sek = groesse ? zahl<time_t>(z) : std::nullopt;
    const auto nsek = sek ? zahl<long>(z) : std::nullopt;
    if (nsek && *nsek >= 0 && *nsek < 1000000000L) {
      dateien_.emplace(*ino, *groesse, *sek, *nsek);
      ++eintraege_;
    }
  }
}

bool AbleitungsbuchNeuSchreiben(const std::string& ordner,
                                const std::vector<std::pair<std::string, struct stat>>& dateien) {
  std::string text = kKopf;
  for (const auto& [name, st] : dateien) text += zeile(st, name);
  return fs::writeFileAtomic(buchpfad(ordner), text, false);
}

bool Ableitungsbuch::kennt(const struct stat& d) const {
  return S_ISREG(d.st_mode) && fs::madeByTrusted(besitzer_, d.st_uid) &&
         dateien_.count({d.st_ino, d.st_size, d.st_mtim.tv_sec, d.st_mtim.tv_nsec}) > 0;
}

bool AbleitungEintragen(const std::string& ordner, const std::string& name, const struct stat& datei,
                        std::string& grund) {
  const std::string pfad = buchpfad(ordner);
  const std::string eintrag = zeile(datei, name);
  int fehler = 0;
  // Appended in one write: a run killed meanwhile leaves at most a last
  // line without its end, which is ended before the next entry.
  const int fd = ::open(pfad.c_str(), O_RDWR | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd >= 0) {
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    char letztes = '\n';
    if (ok && st.st_size > 0) ok = ::pread(fd, &letztes, 1, st.st_size - 1) == 1;
    ok = ok && fs::writeAll(fd, (st.st_size == 0 ? kKopf : letztes == '\n' ? "" : "\n") + eintrag);
    fehler = ok ? 0 : errno ? errno : EINVAL;
    if (::close(fd) != 0 && ok) {
      ok = false;
      fehler = errno;
    }
    if (st.st_size == 0) fs::changed(pfad);
    if (ok) return true;
  } else {
    fehler = errno;
    // A record the user may not write (another user's, in a folder this
    // one may write) is written anew in its place. Its lines spoke for its
    // owner's files only; under this user's name they would speak for
    // every file, so they are kept only from a record that already did.
    if (fehler == EACCES || fehler == EPERM) {
      struct stat alt {};
      const bool vertraut = ::lstat(pfad.c_str(), &alt) == 0 && fs::ownOrRoot(alt.st_uid);
      std::string text = vertraut ? fs::readFile(pfad).value_or(kKopf) : kKopf;
      if (!text.empty() && text.back() != '\n') text += '\n';
      if (fs::writeFileAtomic(pfad, text + eintrag, false)) return true;
    }
  }
  grund = "Im Ordner " + fs::withTrailingSlash(ordner) + " kann die Liste der erzeugten Bilder " + kAbleitungsbuch +
          " nicht fortgeschrieben werden (" + fs::reasonText(fehler) + ").";
  return false;
}

fs::BeforeRename AbleitungVerzeichnen(const std::string& zielpfad, std::string& grund) {
  return [&zielpfad, &grund](int fd) {
    struct stat st {};
    const size_t schnitt = zielpfad.rfind('/') + 1;
    if (::fstat(fd, &st) == 0)
      return AbleitungEintragen(zielpfad.substr(0, schnitt), zielpfad.substr(schnitt), st, grund);
    grund = fs::writeFailureText(zielpfad, errno);
    return false;
  };
}

bool UnverzeichnetDa(const std::string& pfad) {
  struct stat da {};
  return ::stat(pfad.c_str(), &da) == 0 && !Ableitungsbuch(pfad.substr(0, pfad.rfind('/') + 1)).kennt(da);
}

std::string BleibtText(const std::string& pfad, const std::string& danach) {
  return "Die Datei " + pfad + " wird nicht ersetzt: Sie wurde nicht von Mosaikschauer angelegt.\r\n" + danach;
}

bool BeilageKopieren(const std::string& von, const std::string& nach, bool verzeichnen, std::string& warum) {
  if (!verzeichnen) return fs::copyFile(von, nach, &warum);
  if (!fs::sameFile(von, nach) && UnverzeichnetDa(nach) && !fs::sameContent(von, nach)) {
    warum = BleibtText(nach, von + " wird daher nicht dorthin kopiert.");
    return false;
  }
  const Ableitungsbuch buch(nach.substr(0, nach.rfind('/') + 1));
  std::string grund;
  // A copy of an earlier run left as it was is entered again only when its
  // time has changed.
  const auto eintragen = [&buch, neu = AbleitungVerzeichnen(nach, grund)](int fd) {
    struct stat st {};
    return (::fstat(fd, &st) == 0 && buch.kennt(st)) || neu(fd);
  };
  if (fs::copyFile(von, nach, &warum, eintragen)) return true;
  if (!grund.empty()) warum = grund;
  return false;
}

}  // namespace mosaik

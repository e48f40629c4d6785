#include "platform/IniDatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

bool istLeer(char c) { return c == ' ' || c == '\t'; }

std::string_view beschneiden(std::string_view s) {
  while (!s.empty() && istLeer(s.front())) s.remove_prefix(1);
  while (!s.empty() && istLeer(s.back())) s.remove_suffix(1);
  return s;
}

char32_t falten(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

// The section name of a section line, or nullopt for any other line.
std::optional<std::string_view> sektionsname(std::string_view zeile) {
  zeile = beschneiden(zeile);
  if (zeile.empty() || zeile.front() != '[') return std::nullopt;
  zeile.remove_prefix(1);
  const size_t zu = zeile.find(']');
  return beschneiden(zu == std::string_view::npos ? zeile : zeile.substr(0, zu));
}

// The key of a key line, or nullopt for a comment or any other line.
std::optional<std::string_view> schluesselname(std::string_view zeile) {
  const std::string_view t = beschneiden(zeile);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const size_t gleich = t.find('=');
  if (gleich == std::string_view::npos) return std::nullopt;
  return beschneiden(t.substr(0, gleich));
}

std::string einzeilig(std::string_view wert) {
  std::string out;
  out.reserve(wert.size());
  for (const char c : wert) {
    if (c == '\n')
      out += "#$0A";
    else if (c == '\r')
      out += "#$0D";
    else
      out += c;
  }
  return out;
}

bool beschreibbar(const std::string& pfad, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::access(pfad.c_str(), W_OK) == 0;
}

std::string ordnerVon(const std::string& pfad) {
  const size_t schraeg = pfad.rfind('/');
  return schraeg == std::string::npos ? std::string("./") : pfad.substr(0, schraeg + 1);
}

// Whether a file of this owner in this folder is someone else's to choose:
// another user (not root) owns it, and the folder lets others write, so it
// may have been put there for the running user to take.
bool fremdInGeteiltemOrdner(const std::string& pfad, uid_t besitzer) {
  if (fs::ownOrRoot(besitzer)) return false;
  struct stat os {};
  return ::stat(ordnerVon(pfad).c_str(), &os) != 0 || (os.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

constexpr const char* kFremdeDatei =
    "Sie gehört einem anderen Benutzer und liegt in einem Ordner, in den auch andere schreiben dürfen.";

// Where a read or write of `pfad` lands. A link is followed under the
// file system's rule for links another user made (every folder on the way
// included): a link planted in a shared folder must neither send the
// settings over a file of its maker's choosing nor bring in a file that only
// root may read. No name on the way, link or file, may be another user's
// in a folder that others may write. A link whose target is missing leads
// to that target, which a write then creates. nullopt, with the reason,
// when the name is not to be used.
std::optional<std::string> vertrautesZiel(std::string pfad, std::string& grund) {
  if (const auto fremd = fs::foreignLink(pfad)) {
    grund = fs::foreignLinkText(*fremd, pfad);
    return std::nullopt;
  }
  for (int stufe = 0; stufe < 40; ++stufe) {
    struct stat ls {};
    if (::lstat(pfad.c_str(), &ls) != 0) return pfad;
    if (fremdInGeteiltemOrdner(pfad, ls.st_uid)) {
      grund = kFremdeDatei;
      return std::nullopt;
    }
    if (!S_ISLNK(ls.st_mode)) return pfad;
    std::string ziel(static_cast<size_t>(ls.st_size) + 1, '\0');
    const ssize_t n = ::readlink(pfad.c_str(), ziel.data(), ziel.size());
    if (n <= 0 || static_cast<size_t>(n) >= ziel.size()) break;
    ziel.resize(static_cast<size_t>(n));
    pfad = ziel.front() == '/' ? ziel : ordnerVon(pfad) + ziel;
  }
  grund = "Ihre Verknüpfungen führen zu keiner Datei.";
  return std::nullopt;
}

// Opens the file that stands under the name now and locks it: a writer
// (LOCK_EX) against its other writers and readers (a second run, the program
// started twice), a reader (LOCK_SH) against a writer that rewrites the file
// in place. A writer that replaced the file meanwhile leaves the lock on the
// old one: then again on the new one. Whoever holds the lock for long
// (anyone who may read the file can take it) makes the access fail after a
// while, never hang: -1 with errno EWOULDBLOCK.
int gesperrtOeffnen(const std::string& pfad, int modus, int sperre) {
  for (int versuch = 0; versuch < testhaken::sperrVersuche; ++versuch) {
    const int fd = ::open(pfad.c_str(), modus | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::flock(fd, sperre | LOCK_NB) == 0) {
      struct stat offen {}, jetzt {};
      if (::fstat(fd, &offen) == 0 && ::stat(pfad.c_str(), &jetzt) == 0 && offen.st_ino == jetzt.st_ino &&
          offen.st_dev == jetzt.st_dev)
        return fd;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      // Anything but a lock held by another: a file system that keeps no
      // locks (a network share without its lock service), or a system-call
      // filter of a service that refuses them (EPERM, ENOSYS, ...). That is
      // what the user's system offers: read and written without the lock.
      return fd;
    }
    ::close(fd);
    ::usleep(25000);
  }
  errno = EWOULDBLOCK;
  return -1;
}

bool vonVorn(int fd, std::string_view bytes) { return ::lseek(fd, 0, SEEK_SET) == 0 && fs::writeAll(fd, bytes); }

// In place, for a file whose folder takes no new file. Nothing is cut before
// the new content is on the disk: the space is taken first (a full disk then
// fails before the first byte), the new bytes are written over the old ones
// and flushed, and only then the length is set. A write that fails on the
// way puts the old bytes back.
bool anOrtSchreiben(int fd, const std::string& alt, const std::string& neu) {
  const bool platz = neu.size() <= alt.size() || ::posix_fallocate(fd, 0, static_cast<off_t>(neu.size())) == 0;
  if (platz && vonVorn(fd, neu) && ::fsync(fd) == 0 && ::ftruncate(fd, static_cast<off_t>(neu.size())) == 0 &&
      ::fsync(fd) == 0)
    return true;
  // Back to the old bytes and length (a file system that takes the space by
  // writing zeros may have begun to).
  const int fehler = errno;  // the failed step's, for the message
  if ((!platz || vonVorn(fd, alt)) && ::ftruncate(fd, static_cast<off_t>(alt.size())) == 0) ::fsync(fd);
  errno = fehler;
  return false;
}

enum class Ersatz { Ok, Fehler, BesitzerNichtHaltbar };

// Through a temporary file beside the target, renamed over it after a
// complete, flushed write; it takes the old file's owner, group and mode
// first. nurPruefen: everything but the rename, which proves the write
// without touching the file.
Ersatz ueberTempDatei(const std::string& ziel, const std::string& bytes, const struct stat* alt, bool nurPruefen) {
  // What a killed writer left goes with the next save, not only the first.
  fs::sweepStaleTemps(ordnerVon(ziel));
  std::string tmp;
  const int fd = fs::createTemp(ordnerVon(ziel), alt ? 0600 : 0644, tmp);
  if (fd < 0) return Ersatz::Fehler;
  Ersatz e = Ersatz::Ok;
  if (alt && !fs::keepOwner(fd, *alt))
    e = Ersatz::BesitzerNichtHaltbar;
  else if (struct stat neu {}; alt && (::fstat(fd, &neu) != 0 || ((neu.st_mode & 07777) != (alt->st_mode & 07777) &&
                                                                   ::fchmod(fd, alt->st_mode & 07777) != 0)))
    e = Ersatz::Fehler;
  if (e == Ersatz::Ok && !nurPruefen && !(fs::writeAll(fd, bytes) && ::fsync(fd) == 0)) e = Ersatz::Fehler;
  if (::close(fd) != 0 && e == Ersatz::Ok) e = Ersatz::Fehler;
  if (e == Ersatz::Ok && !nurPruefen) {
    if (testhaken::vorDemUmbenennen) testhaken::vorDemUmbenennen();
    if (::rename(tmp.c_str(), ziel.c_str()) == 0) {
      fs::tempDone(tmp);
      // The new name itself on the disk as well.
      const int ordner = ::open(ordnerVon(ziel).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (ordner >= 0) {
        ::fsync(ordner);
        ::close(ordner);
      }
      return Ersatz::Ok;
    }
    e = Ersatz::Fehler;
  }
  const int fehler = errno;  // the failed step's, for the message
  ::unlink(tmp.c_str());
  fs::tempDone(tmp);
  errno = fehler;
  return e;
}

}  // namespace

IniFehler::IniFehler(const std::string& datei, const std::string& grund)
    : std::runtime_error("nach " + datei + " kann nicht geschrieben werden" + grund), datei_(datei), grund_(grund) {}

bool iniNamenGleich(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (falten(nextCodePoint(a, i)) != falten(nextCodePoint(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

Einstellungsinhalt einstellungsdateiLesen(const std::string& pfad) {
  Einstellungsinhalt e;
  struct stat st {};
  if (::lstat(pfad.c_str(), &st) != 0) {
    e.vorhanden = errno != ENOENT && errno != ENOTDIR;
    if (e.vorhanden) e.grund = "Sie ist nicht zugänglich (" + fs::reasonText(errno) + ").";
    return e;
  }
  e.vorhanden = true;
  const std::optional<std::string> ziel = vertrautesZiel(pfad, e.grund);
  if (!ziel) return e;
  if (::lstat(ziel->c_str(), &st) != 0) {
    // An own link to nothing: no file, as a missing one.
    e.vorhanden = false;
    return e;
  }
  // A pipe is never waited on: it is no settings file.
  if (!S_ISREG(st.st_mode)) {
    e.grund = S_ISDIR(st.st_mode) ? "Sie ist ein Ordner." : "Sie ist keine gewöhnliche Datei.";
    return e;
  }
  const int fd = gesperrtOeffnen(*ziel, O_RDONLY | O_NOFOLLOW | O_NONBLOCK, LOCK_SH);
  if (fd < 0) {
    e.grund = errno == EWOULDBLOCK ? "Ein anderes Programm hält sie gesperrt."
                                   : "Sie kann nicht geöffnet werden (" + fs::reasonText(errno) + ").";
    return e;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    e.grund = "Sie ist keine gewöhnliche Datei.";
  else if (fremdInGeteiltemOrdner(*ziel, st.st_uid))  // put there since the check
    e.grund = kFremdeDatei;
  else
    e.gelesen = fs::readTextAll(fd, e.bytes, e.grund);
  ::close(fd);
  return e;
}

namespace {

// The lines of a settings file as UTF-8, as the one reader gives the text
// (decodeText, line by line). A line ends at LF or at a CR that no LF
// follows; the CRs before an LF belong to its line end (a tool that adds a
// CR of its own makes CR CR LF). nullopt for UTF-16 that is not UTF-16
// throughout, and for UTF-16 with a line that is neither a section, a key
// line, a comment nor blank: no editor saved that, but a line appended in
// an 8-bit encoding without a line end of its own, read as UTF-16, is CJK
// characters without '=' (no pair of 8-bit bytes makes an ASCII character).
std::optional<std::vector<std::string>> zeilenAusBytes(std::string_view bytes) {
  const std::optional<std::string> gelesen = decodeText(bytes, TextUnit::Line);
  if (!gelesen) return std::nullopt;
  const std::string& text = *gelesen;
  std::vector<std::string> zeilen;
  size_t anfang = 0;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '\r' && text[i] != '\n') {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < text.size() && text[j] == '\r') ++j;
    zeilen.push_back(text.substr(anfang, i - anfang));
    i = j < text.size() && text[j] == '\n' ? j + 1 : i + 1;
    anfang = i;
  }
  if (anfang < text.size()) zeilen.push_back(text.substr(anfang));
  const auto ausEinemEditor = [](const std::string& z) {
    const std::string_view t = beschneiden(z);
    return t.empty() || t.front() == ';' || sektionsname(t) || schluesselname(t);
  };
  if (hasUnicodeMark(bytes) && !std::all_of(zeilen.begin(), zeilen.end(), ausEinemEditor)) return std::nullopt;
  return zeilen;
}

// A file with something in it (beyond blanks and comments) but no section
// line is no settings file, or one in an encoding not understood.
bool ohneAbschnitt(const std::vector<std::string>& zeilen) {
  bool inhalt = false;
  for (const std::string& z : zeilen) {
    const std::string_view t = beschneiden(z);
    if (t.empty() || t.front() == ';') continue;
    const auto name = sektionsname(t);
    const bool steuerzeichen =
        name && std::any_of(name->begin(), name->end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (name && !name->empty() && !steuerzeichen) return false;
    inhalt = true;
  }
  return inhalt;
}

}  // namespace

IniDatei::IniDatei(std::string pfad) : pfad_(std::move(pfad)) {
  Einstellungsinhalt e = einstellungsdateiLesen(pfad_);
  vorhanden_ = e.vorhanden;
  if (!e.gelesen) {
    // Something that is there but was not read must not be replaced.
    lesbar_ = !e.vorhanden;
    lesefehler_ = std::move(e.grund);
    return;
  }
  auto zeilen = zeilenAusBytes(e.bytes);
  if (!zeilen) {
    lesbar_ = false;
    lesefehler_ = notUnicodeThroughout(e.bytes);
    return;
  }
  zeilen_ = std::move(*zeilen);
  if (ohneAbschnitt(zeilen_)) {
    zeilen_.clear();
    lesbar_ = false;
    lesefehler_ = "In ihr ist kein Abschnitt wie [Layout] zu erkennen (keine Einstellungsdatei, oder eine "
                  "Kodierung, die das Programm nicht kennt).";
  }
}

std::optional<IniDatei::Fundstelle> IniDatei::sektionFinden(std::string_view sektion) const {
  for (size_t i = 0; i < zeilen_.size(); ++i) {
    const auto name = sektionsname(zeilen_[i]);
    if (!name || !iniNamenGleich(*name, sektion)) continue;
    Fundstelle f;
    f.kopf = i;
    f.ende = i + 1;
    while (f.ende < zeilen_.size() && !sektionsname(zeilen_[f.ende])) ++f.ende;
    return f;
  }
  return std::nullopt;
}

std::optional<size_t> IniDatei::schluesselFinden(const Fundstelle& s, std::string_view schluessel) const {
  for (size_t i = s.kopf + 1; i < s.ende; ++i) {
    const auto name = schluesselname(zeilen_[i]);
    if (name && iniNamenGleich(*name, schluessel)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDatei::lesen(std::string_view sektion, std::string_view schluessel) const {
  const auto s = sektionFinden(sektion);
  if (!s) return std::nullopt;
  const auto z = schluesselFinden(*s, schluessel);
  if (!z) return std::nullopt;
  const std::string& zeile = zeilen_[*z];
  std::string_view wert = beschneiden(std::string_view(zeile).substr(zeile.find('=') + 1));
  if (wert.size() >= 2 && (wert.front() == '"' || wert.front() == '\'') && wert.back() == wert.front()) {
    wert.remove_prefix(1);
    wert.remove_suffix(1);
  }
  return std::string(wert);
}

std::string IniDatei::lesen(std::string_view sektion, std::string_view schluessel,
                            const std::string& vorgabe) const {
  return lesen(sektion, schluessel).value_or(vorgabe);
}

void IniDatei::schreiben(std::string_view sektion, std::string_view schluessel, std::string_view wert) {
  std::string zeile(schluessel);
  zeile += '=';
  zeile += einzeilig(wert);
  const auto s = sektionFinden(sektion);
  if (!s) {
    if (!zeilen_.empty() && !beschneiden(zeilen_.back()).empty()) zeilen_.emplace_back();
    zeilen_.push_back("[" + std::string(sektion) + "]");
    zeilen_.push_back(std::move(zeile));
    return;
  }
  if (const auto z = schluesselFinden(*s, schluessel)) {
    zeilen_[*z] = std::move(zeile);
    return;
  }
  size_t nach = s->kopf;
  for (size_t i = s->kopf + 1; i < s->ende; ++i)
    if (!beschneiden(zeilen_[i]).empty()) nach = i;
  zeilen_.insert(zeilen_.begin() + static_cast<std::ptrdiff_t>(nach + 1), std::move(zeile));
}

void IniDatei::loeschen(std::string_view sektion, std::string_view schluessel) {
  const auto s = sektionFinden(sektion);
  if (!s) return;
  if (const auto z = schluesselFinden(*s, schluessel))
    zeilen_.erase(zeilen_.begin() + static_cast<std::ptrdiff_t>(*z));
}

std::string IniDatei::inhalt() const {
  std::string text;
  for (const std::string& z : zeilen_) {
    text += z;
    text += "\r\n";
  }
  return encodeText(text, TextUnit::Line);
}

void IniDatei::speichern() {
  // What was not read is not saved over; the reading's reason tells why.
  if (!lesbar_) throw IniFehler(pfad_, "\r\n" + (lesefehler_.empty() ? kUngelesenNichtUeberschrieben : lesefehler_));
  std::string grund;
  if (!dateiErsetzen(pfad_, inhalt(), &grund)) throw IniFehler(pfad_, grund);
}

bool dateiErsetzen(const std::string& pfad, const std::string& bytes, std::string* warum) {
  std::string grund;
  // The reason as the message gives it: a system's reason in brackets, a
  // sentence of its own on a line of its own.
  const auto scheitern = [&](const std::string& w) {
    if (warum) *warum = w.empty() ? w : w.front() == '\r' ? w : " (" + w + ")";
    return false;
  };
  const auto systemfehler = [&] { return scheitern(fs::reasonText(errno)); };
  if (pfad.empty()) return scheitern("");
  const std::optional<std::string> ziel = vertrautesZiel(pfad, grund);
  if (!ziel) return scheitern("\r\n" + grund);
  struct stat os {};
  const std::string ordner = ordnerVon(*ziel);
  if (::stat(ordner.c_str(), &os) != 0) return systemfehler();
  if (!S_ISDIR(os.st_mode)) return scheitern(fs::reasonText(ENOTDIR));
  const bool ordnerBeschreibbar = beschreibbar(ordner, os);
  struct stat st {};
  if (::lstat(ziel->c_str(), &st) != 0) {
    if (errno != ENOENT) return systemfehler();
    if (!ordnerBeschreibbar) return scheitern(fs::reasonText(EACCES));
    return ueberTempDatei(*ziel, bytes, nullptr, false) == Ersatz::Ok || systemfehler();
  }
  if (!S_ISREG(st.st_mode)) return scheitern("\r\nSie ist keine gewöhnliche Datei.");
  if (!beschreibbar(*ziel, st)) return scheitern("\r\nSie ist schreibgeschützt.");
  const int fd = gesperrtOeffnen(*ziel, O_RDWR | O_NOFOLLOW, LOCK_EX);
  if (fd < 0) return errno == EWOULDBLOCK ? scheitern("\r\nEin anderes Programm hält sie gesperrt.") : systemfehler();
  // A file larger than any text file of the program is no settings or side
  // file: it is not taken in, nor replaced.
  std::string alt;
  std::string warumNicht;  // as scheitern takes it
  if (!fs::readTextAll(fd, alt, grund))
    warumNicht = grund.empty() ? fs::reasonText(errno) : "\r\n" + grund;
  else if (::fstat(fd, &st) != 0)
    warumNicht = fs::reasonText(errno);
  else if (fremdInGeteiltemOrdner(*ziel, st.st_uid))
    warumNicht = std::string("\r\n") + kFremdeDatei;
  else {
    const bool gleich = alt == bytes;
    const Ersatz e = ordnerBeschreibbar ? ueberTempDatei(*ziel, bytes, &st, gleich) : Ersatz::BesitzerNichtHaltbar;
    // Where no new file can stand in for it with its owner kept, the file
    // itself takes the new content.
    if (!(e == Ersatz::Ok || (e == Ersatz::BesitzerNichtHaltbar && (gleich || anOrtSchreiben(fd, alt, bytes)))))
      warumNicht = fs::reasonText(errno);
  }
  ::close(fd);
  return warumNicht.empty() || scheitern(warumNicht);
}

}  // namespace mosaik

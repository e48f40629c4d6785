#include "platform/IniDatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>
#include <sys/file.h>

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <tuple>
#include <utility>

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

// A name and its folder are writable: a write permission bit (which even a
// privileged user respects, as the read-only attribute elsewhere) and the
// kernel's answer for this user. dir with name "." asks for the folder.
bool beschreibbar(int dir, const char* name, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::faccessat(dir, name, W_OK, AT_EACCESS) == 0;
}

std::string ordnerVon(const std::string& pfad) {
  const size_t schraeg = pfad.rfind('/');
  return schraeg == std::string::npos ? std::string("./") : pfad.substr(0, schraeg + 1);
}

// Whether a file of this owner in the open folder dir is someone else's to
// choose: another user (not root) owns it, and the folder lets others
// write, so it may have been put there for the running user to take.
bool fremdInGeteiltemOrdner(int dir, uid_t besitzer) {
  if (fs::ownOrRoot(besitzer)) return false;
  struct stat os {};
  return ::fstat(dir, &os) != 0 || (os.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

constexpr const char* kFremdeDatei =
    "Sie gehört einem anderen Benutzer und liegt in einem Ordner, in den auch andere schreiben dürfen.";

// Where a read or write of the file lands: its name in the held folder or,
// where a link stands there, what the link leads to, reached from the
// folder the link stands in (the folders on the link's way resolved as the
// resolver resolves them). A link is followed under the file system's rule
// for links another user made (fs::madeByTrusted, asked of the file the
// links end at): a link planted in a shared folder must neither send the
// settings over a file of its maker's choosing nor bring in a file that
// only root may read. No name on the way, link or file, may be another
// user's in a folder that others may write. A link whose target is missing
// leads to that target, which a write then creates. nullopt, with the
// reason, when the name is not to be used.
std::optional<fs::Place> vertrautesZiel(const Einstellungsort& ort, std::string& grund) {
  if (!ort.gehalten()) {
    grund = ort.grund();
    return std::nullopt;
  }
  fs::Place at = ort.platz();
  std::string gezeigt = ort.pfad();
  std::vector<std::pair<uid_t, std::string>> links;  // maker, as named on the way
  bool fremd = false;
  for (int stufe = 0; stufe <= 40; ++stufe) {
    // The name opened as it is: its owner and a link's target are one entry's.
    const fs::Fd eintrag(::openat(at.dir(), at.name(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat ls {};
    const bool da = eintrag && ::fstat(eintrag.get(), &ls) == 0;
    fremd = fremd || (da && fremdInGeteiltemOrdner(at.dir(), ls.st_uid));
    if (!da || !S_ISLNK(ls.st_mode)) {
      // A link that leads nowhere leads to nobody's file ((uid_t)-1 is no user).
      const uid_t besitzer = da ? ls.st_uid : static_cast<uid_t>(-1);
      for (const auto& [macher, name] : links) {
        if (fs::madeByTrusted(macher, besitzer)) continue;
        grund = fs::foreignLinkText(name, ort.pfad());
        return std::nullopt;
      }
      if (!fremd) return at;
      grund = kFremdeDatei;
      return std::nullopt;
    }
    std::string ziel(static_cast<size_t>(ls.st_size > 0 ? ls.st_size : PATH_MAX) + 1, '\0');
    const ssize_t n = ::readlinkat(eintrag.get(), "", ziel.data(), ziel.size());
    if (n <= 0 || static_cast<size_t>(n) >= ziel.size()) break;
    ziel.resize(static_cast<size_t>(n));
    links.emplace_back(ls.st_uid, gezeigt);
    gezeigt = ziel.front() == '/' ? ziel : ordnerVon(gezeigt) + ziel;
    std::string warum;
    fs::Place weiter = fs::resolveIn(fs::Place::in(at.dir(), "."), ziel, false, &warum);
    if (!weiter) {
      grund = warum;
      return std::nullopt;
    }
    at = std::move(weiter);
  }
  grund = "Ihre Verknüpfungen führen zu keiner Datei.";
  return std::nullopt;
}

// Opens the file that stands under the name now and locks it: a writer
// (LOCK_EX) against its other writers and readers (a second run, the program
// started twice), a reader (LOCK_SH) against a writer that rewrites the file
// in place. A writer that replaced the file meanwhile leaves the lock on the
// old one: then again on the new one, of the same name in the same folder.
// Whoever holds the lock for long (anyone who may read the file can take
// it) makes the access fail after a while, never hang: an empty Fd with
// errno EWOULDBLOCK.
fs::Fd gesperrtOeffnen(const fs::Place& at, int modus, int sperre) {
  for (int versuch = 0; versuch < testhaken::sperrVersuche; ++versuch) {
    fs::Fd fd(at.open(modus));
    if (!fd) return fd;
    if (::flock(fd.get(), sperre | LOCK_NB) == 0) {
      struct stat offen {}, jetzt {};
      if (::fstat(fd.get(), &offen) == 0 && at.status(jetzt) && offen.st_ino == jetzt.st_ino &&
          offen.st_dev == jetzt.st_dev)
        return fd;
    } else if (errno != EWOULDBLOCK && errno != EINTR) {
      // Anything but a lock held by another: a file system that keeps no
      // locks (a network share without its lock service), or a system-call
      // filter of a service that refuses them (EPERM, ENOSYS, ...). That is
      // what the user's system offers: read and written without the lock.
      return fd;
    }
    fd.reset();
    ::usleep(25000);
  }
  errno = EWOULDBLOCK;
  return fs::Fd();
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

// Through a temporary file beside the target, in the same held folder,
// renamed over it there after a complete, flushed write; it takes the old
// file's owner, group and mode first. nurPruefen: everything but the
// rename, which proves the write without touching the file.
Ersatz ueberTempDatei(const fs::Place& ziel, const std::string& bytes, const struct stat* alt, bool nurPruefen) {
  // Before every save, not only the first one the process makes there.
  fs::sweepStaleTempsAt(ziel.dir());
  std::string tmp;
  fs::Fd fd(fs::createTempIn(ziel.dir(), alt ? 0600 : 0644, tmp));
  if (!fd) return Ersatz::Fehler;
  Ersatz e = Ersatz::Ok;
  if (alt && !fs::keepOwner(fd.get(), *alt))
    e = Ersatz::BesitzerNichtHaltbar;
  else if (struct stat neu {}; alt && (::fstat(fd.get(), &neu) != 0 ||
                                       ((neu.st_mode & 07777) != (alt->st_mode & 07777) &&
                                        ::fchmod(fd.get(), alt->st_mode & 07777) != 0)))
    e = Ersatz::Fehler;
  if (e == Ersatz::Ok && !nurPruefen && !(fs::writeAll(fd.get(), bytes) && ::fsync(fd.get()) == 0))
    e = Ersatz::Fehler;
  if (::close(fd.release()) != 0 && e == Ersatz::Ok) e = Ersatz::Fehler;
  if (e == Ersatz::Ok && !nurPruefen) {
    if (testhaken::vorDemUmbenennen) testhaken::vorDemUmbenennen();
    if (::renameat(ziel.dir(), tmp.c_str(), ziel.dir(), ziel.name()) == 0) {
      fs::tempDone(tmp);
      // The new name itself on the disk as well.
      ::fsync(ziel.dir());
      return Ersatz::Ok;
    }
    e = Ersatz::Fehler;
  }
  const int fehler = errno;  // the failed step's, for the message
  ::unlinkat(ziel.dir(), tmp.c_str(), 0);
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

Einstellungsort::Einstellungsort(std::string pfad, bool ordnerAnlegen) : pfad_(std::move(pfad)) {
  const size_t schraeg = pfad_.rfind('/');
  name_ = schraeg == std::string::npos ? pfad_ : pfad_.substr(schraeg + 1);
  if (name_.empty() || name_ == "." || name_ == "..") {
    grund_ = "Sie ist keine Datei.";
    fehler_ = EISDIR;
    if (pfad_.empty()) fehler_ = ENOENT;
    return;
  }
  const std::string ordner = schraeg == std::string::npos ? "." : schraeg == 0 ? "/" : pfad_.substr(0, schraeg);
  errno = 0;
  fs::Fd fd = fs::holdFolder(ordner, ordnerAnlegen, &grund_);
  fehler_ = errno;
  // The folder itself being the link, it is named: "Sie" is the file.
  if (grund_ == fs::foreignLinkText(ordner, ordner)) grund_ = fs::foreignLinkText(ordner);
  if (fd) {
    grund_.clear();
    fehler_ = 0;
    ordner_ = std::make_shared<const fs::Fd>(std::move(fd));
  } else if (fehler_ == 0) {
    fehler_ = ENOENT;
  }
}

Einstellungsort Einstellungsort::nebenan(const std::string& name) const {
  Einstellungsort o = *this;
  o.name_ = name;
  const size_t schraeg = pfad_.rfind('/');
  o.pfad_ = (schraeg == std::string::npos ? std::string() : pfad_.substr(0, schraeg + 1)) + name;
  return o;
}

bool Einstellungsort::gehalten() const {
  struct stat st {};
  return ordner_ && ::fstat(ordner_->get(), &st) == 0 && st.st_nlink > 0;
}

fs::Place Einstellungsort::platz() const { return ordner_ ? fs::Place::in(ordner_->get(), name_) : fs::Place(); }

Einstellungsort::Stand Einstellungsort::stand() const {
  if (!gehalten()) return fehler_ == ENOENT || fehler_ == ENOTDIR ? Stand::Fehlt : Stand::Anderes;
  struct stat st {};
  if (!platz().status(st)) return errno == ENOENT || errno == ENOTDIR ? Stand::Fehlt : Stand::Anderes;
  std::string grund;
  const std::optional<fs::Place> ziel = vertrautesZiel(*this, grund);
  if (!ziel) return Stand::Anderes;
  if (!ziel->status(st)) return Stand::Fehlt;  // an own link to nothing
  return S_ISREG(st.st_mode) ? Stand::Datei : Stand::Anderes;
}

bool Einstellungsort::gleich(const Einstellungsort& o) const {
  // Where the names lead (or, not followed, the names themselves): the
  // folder as the file system knows it, and the name in it.
  const auto kennung = [](const Einstellungsort& e) -> std::optional<std::tuple<dev_t, ino_t, std::string>> {
    if (!e.gehalten()) return std::nullopt;
    std::string grund;
    std::optional<fs::Place> at = vertrautesZiel(e, grund);
    if (!at) at = e.platz();
    struct stat st {};
    if (::fstat(at->dir(), &st) != 0) return std::nullopt;
    return std::tuple(st.st_dev, st.st_ino, at->nameString());
  };
  const auto a = kennung(*this), b = kennung(o);
  return a && b ? *a == *b : pfad_ == o.pfad_;
}

Einstellungsinhalt einstellungsdateiLesen(const Einstellungsort& ort) {
  Einstellungsinhalt e;
  struct stat st {};
  const fs::Place name = ort.platz();
  if (!ort.gehalten() || !name.status(st)) {
    const int fehler = ort.gehalten() ? errno : ort.fehler();
    e.vorhanden = fehler != ENOENT && fehler != ENOTDIR;
    if (e.vorhanden)
      e.grund = ort.gehalten() || ort.grund().empty() ? "Sie ist nicht zugänglich (" + fs::reasonText(fehler) + ")."
                                                       : ort.grund();
    return e;
  }
  e.vorhanden = true;
  const std::optional<fs::Place> ziel = vertrautesZiel(ort, e.grund);
  if (!ziel) return e;
  if (!ziel->status(st)) {
    // An own link to nothing: no file, as a missing one.
    e.vorhanden = false;
    return e;
  }
  // A pipe is never waited on: it is no settings file.
  if (!S_ISREG(st.st_mode)) {
    e.grund = S_ISDIR(st.st_mode) ? "Sie ist ein Ordner." : "Sie ist keine gewöhnliche Datei.";
    return e;
  }
  const fs::Fd fd = gesperrtOeffnen(*ziel, O_RDONLY, LOCK_SH);
  if (!fd) {
    e.grund = errno == EWOULDBLOCK ? "Ein anderes Programm hält sie gesperrt."
                                   : "Sie kann nicht geöffnet werden (" + fs::reasonText(errno) + ").";
    return e;
  }
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    e.grund = "Sie ist keine gewöhnliche Datei.";
  else if (fremdInGeteiltemOrdner(ziel->dir(), st.st_uid))  // put there since the check
    e.grund = kFremdeDatei;
  else
    e.gelesen = fs::readTextAll(fd.get(), e.bytes, e.grund);
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

IniDatei::IniDatei(Einstellungsort ort) : ort_(std::move(ort)) {
  Einstellungsinhalt e = einstellungsdateiLesen(ort_);
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
  if (!lesbar_) throw IniFehler(pfad(), "\r\n" + (lesefehler_.empty() ? kUngelesenNichtUeberschrieben : lesefehler_));
  std::string grund;
  if (!dateiErsetzen(ort_, inhalt(), &grund)) throw IniFehler(pfad(), grund);
}

bool dateiErsetzen(const Einstellungsort& ort, const std::string& bytes, std::string* warum) {
  std::string grund;
  // The reason as the message gives it: a system's reason in brackets, a
  // sentence of its own on a line of its own.
  const auto scheitern = [&](const std::string& w) {
    if (warum) *warum = w.empty() ? w : w.front() == '\r' ? w : " (" + w + ")";
    return false;
  };
  const auto systemfehler = [&] { return scheitern(fs::reasonText(errno)); };
  if (ort.pfad().empty()) return scheitern("");
  // Another user's link on the way names itself; a folder that is not
  // there is said as the system says it.
  if (!ort.gehalten())
    return ort.fehler() == EACCES && !ort.grund().empty() ? scheitern("\r\n" + ort.grund())
                                                          : scheitern(fs::reasonText(ort.fehler()));
  const std::optional<fs::Place> ziel = vertrautesZiel(ort, grund);
  if (!ziel) return scheitern("\r\n" + grund);
  struct stat os {};
  if (::fstat(ziel->dir(), &os) != 0) return systemfehler();
  if (!S_ISDIR(os.st_mode)) return scheitern(fs::reasonText(ENOTDIR));
  const bool ordnerBeschreibbar = beschreibbar(ziel->dir(), ".", os);
  struct stat st {};
  if (!ziel->status(st)) {
    if (errno != ENOENT) return systemfehler();
    if (!ordnerBeschreibbar) return scheitern(fs::reasonText(EACCES));
    return ueberTempDatei(*ziel, bytes, nullptr, false) == Ersatz::Ok || systemfehler();
  }
  if (!S_ISREG(st.st_mode)) return scheitern("\r\nSie ist keine gewöhnliche Datei.");
  if (!beschreibbar(ziel->dir(), ziel->name(), st)) return scheitern("\r\nSie ist schreibgeschützt.");
  const fs::Fd fd = gesperrtOeffnen(*ziel, O_RDWR, LOCK_EX);
  if (!fd) return errno == EWOULDBLOCK ? scheitern("\r\nEin anderes Programm hält sie gesperrt.") : systemfehler();
  // A file larger than any text file of the program is no settings or side
  // file: it is not taken in, nor replaced.
  std::string alt;
  std::string warumNicht;  // as scheitern takes it
  if (!fs::readTextAll(fd.get(), alt, grund))
    warumNicht = grund.empty() ? fs::reasonText(errno) : "\r\n" + grund;
  else if (::fstat(fd.get(), &st) != 0)
    warumNicht = fs::reasonText(errno);
  else if (fremdInGeteiltemOrdner(ziel->dir(), st.st_uid))
    warumNicht = std::string("\r\n") + kFremdeDatei;
  else {
    const bool gleich = alt == bytes;
    const Ersatz e = ordnerBeschreibbar ? ueberTempDatei(*ziel, bytes, &st, gleich) : Ersatz::BesitzerNichtHaltbar;
    // Where no new file can stand in for it with its owner kept, the file
    // itself takes the new content.
    if (!(e == Ersatz::Ok || (e == Ersatz::BesitzerNichtHaltbar && (gleich || anOrtSchreiben(fd.get(), alt, bytes)))))
      warumNicht = fs::reasonText(errno);
  }
  return warumNicht.empty() || scheitern(warumNicht);
}

}  // namespace mosaik

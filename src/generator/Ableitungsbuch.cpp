#include "generator/Ableitungsbuch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <optional>
#include <string_view>

#include "generator/Verzeichnis.h"
#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"
#include "platform/Win1252.h"
#include "platform/Sha256.h"

namespace mosaik {
namespace {

// For a user who finds the file.
const char* const kKopf = "# Mosaikschauer: Bilder, die das Programm in diesem Ordner geschrieben hat.\n";
constexpr std::string_view kDigestVorsilbe = "sha256:";
constexpr size_t kDigestLaenge = 64;
// Ends a last line cut off by a killed run, so that what is left of it
// never reads as a line (of ours or of an earlier version).
const char* const kAbgebrochen = "\t(abgebrochen)\n";

std::string buchpfad(const std::string& ordner) { return fs::withTrailingSlash(ordner) + kAbleitungsbuch; }

std::pair<std::string, std::string> ordnerUndName(const std::string& pfad) {
  const size_t schnitt = pfad.rfind('/') + 1;
  return {pfad.substr(0, schnitt), pfad.substr(schnitt)};
}

// Bytes that would break the line or the field, and the escape itself, as
// %XX.
std::string zeilenName(const std::string& name) {
  return percentEncoded(name, [](unsigned char b) { return b > 0x20 && b != 0x7F && b != '%'; });
}

std::string zeile(const Verzeichnet& d) {
  const struct stat& s = d.st;
  std::string z = std::to_string(s.st_ino) + ' ' + std::to_string(s.st_size) + ' ' + std::to_string(s.st_mtim.tv_sec) +
                  ' ' + std::to_string(s.st_mtim.tv_nsec) + ' ';
  // Without a digest (a file of an earlier version's line that could not
  // be read) it keeps the earlier form, which speaks by inode, size and
  // time.
  if (d.digest.empty()) return z + zeilenName(d.name) + '\n';
  return z + std::to_string(s.st_ctim.tv_sec) + ' ' + std::to_string(s.st_ctim.tv_nsec) + ' ' +
         std::string(kDigestVorsilbe) + d.digest + ' ' + zeilenName(d.name) + '\n';
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

std::optional<long> nanosekunden(std::string_view& rest) {
  const auto n = zahl<long>(rest);
  return n && *n >= 0 && *n < 1000000000L ? n : std::nullopt;
}

std::optional<std::string> digestFeld(std::string_view& rest) {
  if (rest.substr(0, kDigestVorsilbe.size()) != kDigestVorsilbe) return std::nullopt;
  const std::string_view d = rest.substr(kDigestVorsilbe.size(), kDigestLaenge);
  if (d.size() != kDigestLaenge || rest.size() <= kDigestVorsilbe.size() + kDigestLaenge ||
      rest[kDigestVorsilbe.size() + kDigestLaenge] != ' ')
    return std::nullopt;
  for (const char c : d)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
  rest.remove_prefix(kDigestVorsilbe.size() + kDigestLaenge + 1);
  return std::string(d);
}

// The digest of the file at pfad when it still is the file stat gave
// (not a link put in its place); empty otherwise.
std::string digestDerDatei(const std::string& pfad, const struct stat& datei) {
  const fs::Fd fd = fs::openForReading(pfad, nullptr, false);
  struct stat st {};
  if (fd && ::fstat(fd.get(), &st) == 0 && st.st_dev == datei.st_dev &&
      st.st_ino == datei.st_ino && st.st_size == datei.st_size)
    return sha256HexOfFile(fd.get());
  return {};
}

// A record is added to in place only when it is a file of the user's own,
// of one name (a write through it would change the file of its other
// names), that nobody else may write and that is not too large to be read
// back whole.
bool anOrtFortschreibbar(const struct stat& st) {
  return S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid() &&
         (st.st_mode & (S_IWGRP | S_IWOTH)) == 0 && st.st_size <= fs::kMaxTextFileBytes;
}

}  // namespace

Ableitungsbuch::Ableitungsbuch(const std::string& ordner) : ordner_(fs::withTrailingSlash(ordner)) {
  struct stat st {};
  if (const fs::Fd dir(fs::openFolderForReading(ordner_)); dir && ::fstat(dir.get(), &st) == 0)
    ordnerBesitzer_ = st.st_uid;
  const std::string pfad = buchpfad(ordner_);
  std::string grund;
  // Only a file of its own: a link could make another folder's record speak
  // for this one.
  const fs::Fd fd = fs::openForReading(pfad, &grund, false);
  if (!fd && errno == ENOENT) return;
  ersetzen_ = true;
  std::string text;
  if (!fd) {
    if (errno == ELOOP) grund = "Sie ist eine Verknüpfung.";
  } else if (::fstat(fd.get(), &st) != 0) {
    grund = "Sie kann nicht gelesen werden (" + fs::reasonText(errno) + ").";
  } else if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    grund = "Andere Benutzer dürfen sie ändern.";
  } else if (!fs::readTextAll(fd.get(), text, grund)) {
  } else if (st.st_nlink > 1 && text.rfind(kKopf, 0) != 0) {
    // Another file under this name (a script, a log linked here): its text
    // is no record. One of ours with several names (a snapshot made by
    // `cp -al`) still speaks; neither is ever written through, which would
    // change the file of its other names.
    grund = "Sie hat " + std::to_string(st.st_nlink) + " Namen (feste Verknüpfungen).";
  } else {
    besitzer_ = st.st_uid;
    lesbar_ = true;
    ersetzen_ = !anOrtFortschreibbar(st);
  }
  if (!lesbar_) {
    warum_ = "Die Liste der erzeugten Bilder " + pfad + " zählt nicht: " + grund;
    return;
  }
  lesen(text);
}

void Ableitungsbuch::lesen(std::string_view text) {
  // A last line without its end was cut off.
  for (size_t ende; (ende = text.find('\n')) != std::string_view::npos; text.remove_prefix(ende + 1))
    aufnehmen(text.substr(0, ende + 1));
}

bool Ableitungsbuch::aufnehmen(std::string_view zeile) {
  std::string_view z = zeile.substr(0, zeile.size() - 1);
  const auto ino = zahl<ino_t>(z);
  const auto groesse = ino ? zahl<off_t>(z) : std::nullopt;
  const auto sek = groesse ? zahl<time_t>(z) : std::nullopt;
  const auto nsek = sek ? nanosekunden(z) : std::nullopt;
  if (!nsek) return false;
  const Alt schluessel{*ino, *groesse, *sek, *nsek};
  std::string_view neu = z;
  const auto csek = zahl<time_t>(neu);
  const auto cnsek = csek ? nanosekunden(neu) : std::nullopt;
  const bool mitDigest = cnsek && neu.substr(0, kDigestVorsilbe.size()) == kDigestVorsilbe;
  const auto digest = mitDigest ? digestFeld(neu) : std::nullopt;
  // A line of ours holds no control character: one cut off by a killed
  // run was ended with one.
  if ((mitDigest && !digest) || z.find('\t') != std::string_view::npos) return false;
  zeilen_.emplace_back(zeile);
  if (!digest) {
    alt_.insert(schluessel);
    return true;
  }
  // The name is the last field; what stands between is a later version's.
  const std::string name = percentDecoded(neu.substr(neu.rfind(' ') + 1));
  schnell_.emplace(Schnell{*ino, *groesse, *sek, *nsek, *csek, *cnsek}, *digest);
  proInode_[schluessel].insert(*digest);
  proName_[{name, *groesse}].insert(*digest);
  return true;
}

std::string Ableitungsbuch::warum() const {
  if (!warum_.empty() || alt_.empty()) return warum_;
  return "Die Liste der erzeugten Bilder " + buchpfad(ordner_) +
         " stammt von einer älteren Version von Mosaikschauer: Sie belegt nur Dateien, die seither nicht kopiert "
         "wurden. Ist der Ordner eine Kopie, leeren Sie ihn einmal; der nächste Lauf erzeugt die Bilder neu.";
}

Nachweis Ableitungsbuch::nachweis(const std::string& name, const struct stat& d) const {
  // The owner of the folder could remove the file anyway: a line of theirs
  // gives them no power over it that they lack (as in their own folder where
  // an administrator's run wrote the file).
  if (!S_ISREG(d.st_mode) || !(ordnerBesitzer_ == besitzer_ || fs::madeByTrusted(besitzer_, d.st_uid)) ||
      zeilen_.empty())
    return {};
  const auto s = schnell_.find({d.st_ino, d.st_size, d.st_mtim.tv_sec, d.st_mtim.tv_nsec, d.st_ctim.tv_sec,
                                d.st_ctim.tv_nsec});
  if (s != schnell_.end()) return {true, false, s->second};
  const Alt schluessel{d.st_ino, d.st_size, d.st_mtim.tv_sec, d.st_mtim.tv_nsec};
  const std::string pfad = ordner_ + name;
  // An earlier version's line: it takes on the digest now.
  if (alt_.count(schluessel)) return {true, true, digestDerDatei(pfad, d)};
  const auto n = proName_.find({name, d.st_size});
  const auto i = proInode_.find(schluessel);
  if (n == proName_.end() && i == proInode_.end()) return {};
  const std::string digest = digestDerDatei(pfad, d);
  if (digest.empty() || !((n != proName_.end() && n->second.count(digest)) ||
                          (i != proInode_.end() && i->second.count(digest))))
    return {};
  return {true, true, digest};
}

bool Ableitungsbuch::schreiben(const std::string& text) {
  // Its mode is never taken from a file it replaces.
  if (!fs::writeFileAtomic(buchpfad(ordner_), text, false, nullptr, [](int fd) { return ::fchmod(fd, 0644) == 0; }))
    return false;
  vergessen();
  besitzer_ = ::geteuid();
  lesbar_ = true;
  lesen(text);
  return true;
}

void Ableitungsbuch::vergessen() {
  schnell_.clear();
  proInode_.clear();
  alt_.clear();
  proName_.clear();
  zeilen_.clear();
  ersetzen_ = false;
  warum_.clear();
}

bool Ableitungsbuch::neuSchreiben(const std::vector<Verzeichnet>& dateien) {
  std::string text = kKopf;
  for (const Verzeichnet& d : dateien) text += zeile(d);
  return schreiben(text);
}

bool Ableitungsbuch::eintragen(const Verzeichnet& datei, std::string& grund) {
  const std::string pfad = buchpfad(ordner_);
  const std::string eintrag = zeile(datei);
  int fehler = EPERM;
  // Appended in one write: a run killed meanwhile leaves at most a last
  // line without its end, which is marked and ended before the next entry.
  // What stands there now decides, not what was read.
  if (!ersetzen_) {
    fs::Fd fd(fs::openForAppend(pfad));
    struct stat st {};
    if (!fd) {
      fehler = errno;
    } else if (::fstat(fd.get(), &st) == 0 && anOrtFortschreibbar(st)) {
      char letztes = '\n';
      bool ok = st.st_size == 0 || ::pread(fd.get(), &letztes, 1, st.st_size - 1) == 1;
      ok = ok && fs::writeAll(fd.get(), (st.st_size == 0 ? kKopf : letztes == '\n' ? "" : kAbgebrochen) + eintrag);
      fehler = ok ? 0 : errno ? errno : EINVAL;
      if (!fd.close() && ok) {
        ok = false;
        fehler = errno;
      }
      if (st.st_size == 0) {
        fs::changed(pfad);
        // Made anew (or emptied meanwhile): it holds this line alone.
        if (ok) vergessen();
      }
      if (ok) {
        besitzer_ = st.st_uid;
        lesbar_ = true;
        aufnehmen(eintrag);
        return true;
      }
    }
  }
  // One that may not be written in place (another user's, in a folder this
  // one may write; a link; one of several names) is written anew in its
  // place. Another user's lines spoke for that user's files only; under
  // this user's name they would speak for every file, so they are kept
  // only from a record that already did.
  if (fehler == EACCES || fehler == EPERM || fehler == ELOOP || fehler == ENXIO || fehler == EISDIR) {
    std::string text = kKopf;
    if (vertraut())
      for (const std::string& z : zeilen_) text += z;
    if (schreiben(text + eintrag)) return true;
    fehler = errno ? errno : fehler;
  }
  grund = "Im Ordner " + ordner_ + " kann die Liste der erzeugten Bilder " + kAbleitungsbuch +
          " nicht fortgeschrieben werden (" + fs::reasonText(fehler) + ").";
  return false;
}

Ableitungsbuch& Ableitungsbuecher::buch(const std::string& ordner) {
  struct stat st {};
  const std::string schluessel = fs::fileStatus(ordner, st, true)
                                     ? std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino)
                                     : fs::withTrailingSlash(ordner);
  std::unique_ptr<Ableitungsbuch>& b = buecher_[schluessel];
  if (!b) b = std::make_unique<Ableitungsbuch>(ordner);
  return *b;
}

bool Ableitungsbuecher::sperren(const std::string& ordner) {
  fs::Fd fd(fs::openFolderForReading(fs::withTrailingSlash(ordner)));
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) return true;
  // A lock is the open folder's: the run's own second one would wait for
  // its first.
  for (const fs::Fd& gesperrt : sperren_) {
    struct stat g {};
    if (::fstat(gesperrt.get(), &g) == 0 && g.st_dev == st.st_dev && g.st_ino == st.st_ino) return true;
  }
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
    sperren_.push_back(std::move(fd));
    return true;
  }
  return errno != EWOULDBLOCK;
}

Verzeichnung::Verzeichnung(const std::string& zielpfad, Ableitungsbuecher* buecher, std::string& grund)
    : stand_(std::make_shared<Stand>()) {
  std::tie(stand_->ordner, stand_->name) = ordnerUndName(zielpfad);
  stand_->grund = &grund;
  stand_->datei.name = stand_->name;
  if (buecher) stand_->buch = &buecher->buch(stand_->ordner);
}

fs::BeforeRename Verzeichnung::vorher() const {
  if (!stand_->buch) return {};
  return [stand = stand_](int fd) {
    Verzeichnet& d = stand->datei;
    if (::fstat(fd, &d.st) != 0 || (d.digest = sha256HexOfFile(fd)).empty()) {
      *stand->grund = fs::writeFailureText(stand->ordner + stand->name, errno ? errno : EIO);
      return false;
    }
    stand->eingetragen = stand->buch->eintragen(d, *stand->grund);
    return stand->eingetragen;
  };
}

void Verzeichnung::nachher() const {
  struct stat jetzt {};
  const Verzeichnet& d = stand_->datei;
  if (!stand_->eingetragen || !fs::fileStatus(stand_->ordner + stand_->name, jetzt, false) ||
      jetzt.st_dev != d.st.st_dev || jetzt.st_ino != d.st.st_ino || jetzt.st_size != d.st.st_size ||
      jetzt.st_mtim.tv_sec != d.st.st_mtim.tv_sec || jetzt.st_mtim.tv_nsec != d.st.st_mtim.tv_nsec ||
      (jetzt.st_ctim.tv_sec == d.st.st_ctim.tv_sec && jetzt.st_ctim.tv_nsec == d.st.st_ctim.tv_nsec))
    return;
  // Without this line the next run would prove the file by its digest;
  // failing to add it costs only that.
  std::string grund;
  stand_->buch->eintragen({d.name, jetzt, d.digest}, grund);
}

bool UnverzeichnetDa(const std::string& pfad, Ableitungsbuecher& buecher) {
  struct stat da {};
  const auto [ordner, name] = ordnerUndName(pfad);
  return fs::fileStatus(pfad, da, true) && !buecher.buch(ordner).kennt(name, da);
}

std::string BleibtText(const std::string& pfad, const std::string& danach) {
  return "Die Datei " + pfad + " wird nicht ersetzt: Sie wurde nicht von Mosaikschauer angelegt.\r\n" + danach;
}

bool BeilageKopieren(const std::string& von, const std::string& nach, Ableitungsbuecher* buecher,
                     std::string& warum) {
  if (!buecher) return fs::copyFile(von, nach, &warum);
  if (!fs::sameFile(von, nach) && UnverzeichnetDa(nach, *buecher) && !fs::sameContent(von, nach)) {
    warum = BleibtText(nach, von + " wird daher nicht dorthin kopiert.");
    return false;
  }
  const auto [ordner, name] = ordnerUndName(nach);
  const Ableitungsbuch& buch = buecher->buch(ordner);
  std::string grund;
  const Verzeichnung verzeichnung(nach, buecher, grund);
  // A copy of an earlier run left as it was is entered again only when its
  // line no longer fits it (its time has changed).
  const auto eintragen = [&buch, &name = name, neu = verzeichnung.vorher()](int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return neu(fd);
    const Nachweis n = buch.nachweis(name, st);
    return (n.gilt && !n.veraltet) || neu(fd);
  };
  if (fs::copyFile(von, nach, &warum, eintragen)) {
    verzeichnung.nachher();
    return true;
  }
  if (!grund.empty()) warum = grund;
  return false;
}

}  // namespace mosaik

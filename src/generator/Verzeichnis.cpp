#include "generator/Verzeichnis.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>
#include <unordered_map>

#include "platform/CheckedFolders.h"
#include "platform/FileSystem.h"

namespace mosaik::fs {
namespace {

unsigned char lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Fills an entry from a stat of the entry itself (lst) and, for links, of
// its target (st). False when the walks must not take it.
bool fill(Entry& e, const struct stat& lst, const struct stat* target) {
  if (S_ISDIR(lst.st_mode)) {
    e.folder = true;
  } else if (S_ISREG(lst.st_mode)) {
    e.folder = false;
  } else if (S_ISLNK(lst.st_mode) && target && S_ISREG(target->st_mode)) {
    e.folder = false;
  } else {
    return false;
  }
  const struct stat& s = (S_ISLNK(lst.st_mode) && target) ? *target : lst;
  e.hidden = !e.name.empty() && e.name[0] == '.';
  e.size = e.folder ? 0 : static_cast<int64_t>(s.st_size);
  e.dosTime = toDosDateTime(s.st_mtime);
  return true;
}

// In a folder with the sticky bit (a shared /tmp) only the owner of an
// entry or of the folder may rename or remove it, writable or not.
bool stickyGeschuetzt(const struct stat* ordner, const struct stat& eintrag) {
  const uid_t ich = ::geteuid();
  return ordner && (ordner->st_mode & S_ISVTX) && ich != 0 && eintrag.st_uid != ich && ordner->st_uid != ich;
}

// No write permission for the user, or no write bit at all: chmod a-w is
// this system's read-only attribute, and it holds for root as well.
bool writeProtectedAt(int dirfd, const char* name, const struct stat& s) {
  return (s.st_mode & 0222) == 0 || ::faccessat(dirfd, name, W_OK, AT_EACCESS) != 0;
}

// An entry the user may not rename counts as read-only too, though its
// content may be written.
bool readOnlyAt(int dirfd, const char* name, const struct stat& s, const struct stat* ordner,
                const struct stat& eintrag) {
  return writeProtectedAt(dirfd, name, s) || stickyGeschuetzt(ordner, eintrag);
}

void schutzSetzen(Entry& e, int dirfd, const char* name, const struct stat& s, const struct stat* ordner,
                  const struct stat& eintrag) {
  e.writeProtected = writeProtectedAt(dirfd, name, s);
  e.readOnly = e.writeProtected || stickyGeschuetzt(ordner, eintrag);
}

std::string parentOf(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const auto s = p.rfind('/');
  if (s == std::string::npos) return "./";
  return p.substr(0, s + 1);
}

std::string baseOf(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  const auto s = p.rfind('/');
  return s == std::string::npos ? p : p.substr(s + 1);
}

// An entry as the walks look at it: reached as every file is (the name
// itself not followed), with its own status, its target's when it is a
// link, and its folder's. Every look below is taken on the folder held here.
struct Seen {
  Place at;
  struct stat entry {}, target {}, folder {};
  bool haveTarget = false, folderKnown = false;
  // What its content is: a link's target, else the entry; none for a
  // link that leads nowhere.
  const struct stat* content() const { return !S_ISLNK(entry.st_mode) ? &entry : haveTarget ? &target : nullptr; }
  const struct stat* folderOrNull() const { return folderKnown ? &folder : nullptr; }
};

std::optional<Seen> look(const std::string& path) {
  Seen s;
  if (!path.empty()) s.at = resolve(path, false);
  if (!s.at || !s.at.status(s.entry)) return std::nullopt;
  s.haveTarget = S_ISLNK(s.entry.st_mode) && ::fstatat(s.at.dir(), s.at.name(), &s.target, 0) == 0;
  s.folderKnown = ::fstat(s.at.dir(), &s.folder) == 0;
  return s;
}

}  // namespace

bool nameLess(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = lowerAscii(static_cast<unsigned char>(a[i]));
    const unsigned char y = lowerAscii(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

namespace {

// The listing of the open folder dfd.
std::vector<Entry> listIn(int dfd, std::vector<Entry>* folderLinks) {
  std::vector<Entry> out;
  const auto names = dfd >= 0 ? namesIn(dfd) : std::nullopt;
  if (!names) return out;
  struct stat ordner {};
  const bool ordnerBekannt = ::fstat(dfd, &ordner) == 0;
  for (const std::string& name : *names) {
    struct stat lst {};
    if (::fstatat(dfd, name.c_str(), &lst, AT_SYMLINK_NOFOLLOW) != 0) continue;
    struct stat target {};
    const bool haveTarget = S_ISLNK(lst.st_mode) && ::fstatat(dfd, name.c_str(), &target, 0) == 0;
    Entry e;
    e.name = name;
    const bool ordnerVerknuepfung = haveTarget && S_ISDIR(target.st_mode);
    if (ordnerVerknuepfung) fill(e, target, nullptr);
    if (!ordnerVerknuepfung && !fill(e, lst, haveTarget ? &target : nullptr)) continue;
    schutzSetzen(e, dfd, name.c_str(), haveTarget ? target : lst, ordnerBekannt ? &ordner : nullptr, lst);
    if (!ordnerVerknuepfung)
      out.push_back(std::move(e));
    else if (folderLinks)
      folderLinks->push_back(std::move(e));
  }
  const auto ordnen = [](std::vector<Entry>& v) {
    std::sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return nameLess(a.name, b.name); });
  };
  ordnen(out);
  if (folderLinks) ordnen(*folderLinks);
  return out;
}

}  // namespace

std::vector<Entry> listFolder(const std::string& folder, std::vector<Entry>* folderLinks) {
  const Fd held(openFolderForReading(folder));
  return listIn(held.get(), folderLinks);
}

std::vector<Entry> listFolder(const Place& folder) {
  const Fd held(folder ? folder.open(O_RDONLY | O_DIRECTORY) : -1);
  return listIn(held.get(), nullptr);
}

namespace {

std::optional<std::string> folderLinkAt(int dir, const std::string& folder,
                                        const std::function<bool(const std::string&)>& skip) {
  const auto names = namesIn(dir);
  if (!names) return std::nullopt;
  std::vector<std::string> unter;
  std::optional<std::string> link;
  for (const std::string& name : *names) {
    struct stat lst {}, target {};
    if (::fstatat(dir, name.c_str(), &lst, AT_SYMLINK_NOFOLLOW) != 0) continue;
    const std::string pfad = folder + name;
    if (skip(pfad)) continue;
    if (S_ISDIR(lst.st_mode)) {
      unter.push_back(name);
    } else if (S_ISLNK(lst.st_mode) && ::fstatat(dir, name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode)) {
      if (!link || nameLess(pfad, *link)) link = pfad;
    }
  }
  if (link) return link;
  std::sort(unter.begin(), unter.end(), [](const std::string& a, const std::string& b) { return nameLess(a, b); });
  for (const std::string& name : unter) {
    const Fd sub(::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!sub) continue;
    link = folderLinkAt(sub.get(), folder + name + "/", skip);
    if (link) return link;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> firstFolderLink(const std::string& folder,
                                           const std::function<bool(const std::string&)>& skip) {
  const Fd dir(openFolderForReading(folder));
  if (!dir) return std::nullopt;
  return folderLinkAt(dir.get(), withTrailingSlash(folder), skip);
}

std::optional<Entry> entryInfo(const std::string& path) {
  const auto s = look(path);
  if (!s) return std::nullopt;
  Entry e;
  e.name = baseOf(path);
  if (!fill(e, s->entry, s->haveTarget ? &s->target : nullptr)) return std::nullopt;
  schutzSetzen(e, s->at.dir(), s->at.name(), *s->content(), s->folderOrNull(), s->entry);
  return e;
}

uint32_t toDosDateTime(std::time_t t) {
  struct tm tm {};
  if (!::localtime_r(&t, &tm) || tm.tm_year < 80) return (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
  if (tm.tm_year > 207) return ((127u << 9 | 12u << 5 | 31u) << 16) | (23u << 11 | 59u << 5 | 29u);
  const uint32_t date = static_cast<uint32_t>((tm.tm_year - 80) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
  const uint32_t time = static_cast<uint32_t>(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
  return date << 16 | time;
}

std::time_t fromDosDateTime(uint32_t dos) {
  struct tm tm {};
  const uint32_t date = dos >> 16, time = dos & 0xFFFF;
  tm.tm_year = static_cast<int>((date >> 9) & 0x7F) + 80;
  tm.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>(date & 0x1F);
  tm.tm_hour = static_cast<int>((time >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((time >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>(time & 0x1F) * 2;
  tm.tm_isdst = -1;
  return ::mktime(&tm);
}

bool setDosDateTime(const std::string& path, uint32_t dos) {
  const Place at = reach(path);
  struct stat st {};
  if (!at || !at.status(st)) return false;
  Fd fd(at.open(S_ISDIR(st.st_mode) ? O_RDONLY | O_DIRECTORY : O_WRONLY));
  if (!fd) return false;
  const bool ok = setDosDateTime(fd.get(), dos);
  return fd.close() && ok;
}

bool setDosDateTime(int fd, uint32_t dos) {
  const std::time_t t = fromDosDateTime(dos);
  const struct timespec times[2] = {{0, UTIME_OMIT}, {t, 0}};
  return t != static_cast<std::time_t>(-1) && ::futimens(fd, times) == 0;
}

bool isReadOnly(const std::string& path) {
  const auto s = look(path);
  return !s || !s->content() || readOnlyAt(s->at.dir(), s->at.name(), *s->content(), s->folderOrNull(), s->entry);
}

bool isWriteProtected(const Place& at) {
  struct stat st {};
  return !at || !at.status(st) || writeProtectedAt(at.dir(), at.name(), st);
}

bool mayChangeIn(const std::string& folder) {
  const Place at = folder.empty() ? Place() : resolve(folder, true);
  return at && ::faccessat(at.dir(), at.name(), W_OK, 0) == 0;
}

bool mayRename(const std::string& path) {
  const auto s = look(path);
  return s && !stickyGeschuetzt(s->folderOrNull(), s->entry);
}

bool exists(const std::string& path) {
  const Place at = path.empty() ? Place() : resolve(path, false);
  struct stat st {};
  return at && at.status(st);
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat x {}, y {};
  return fileStatus(a, x, true) && fileStatus(b, y, true) && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

int64_t fileSize(const std::string& path) {
  struct stat st {};
  if (!fileStatus(path, st, true) || !S_ISREG(st.st_mode)) return -1;
  return static_cast<int64_t>(st.st_size);
}

namespace {

// Lower-cased name -> the entries spelled like it, in byte order.
using Listing = std::unordered_map<std::string, std::set<std::string>>;

struct ListingCache {
  int scopes = 0;
  std::unordered_map<std::string, Listing> folders;
};

ListingCache& cache() {
  static ListingCache c;
  return c;
}

std::string lowerName(std::string_view n) {
  std::string s(n);
  for (char& c : s) c = static_cast<char>(lowerAscii(static_cast<unsigned char>(c)));
  return s;
}

std::optional<Listing> readListing(const std::string& dir) {
  const Fd fd(openFolderForReading(dir));
  const auto names = fd ? namesIn(fd.get()) : std::nullopt;
  if (!names) return std::nullopt;
  Listing l;
  for (const std::string& n : *names) l[lowerName(n)].emplace(n);
  return l;
}

std::optional<std::string> lookUp(const Listing& l, const std::string& name) {
  const auto it = l.find(lowerName(name));
  if (it == l.end() || it->second.empty()) return std::nullopt;
  return *it->second.begin();
}

// Keeps a cached listing true after the program made, renamed or removed
// an entry: a name now there is added, one gone is dropped.
void nachgetragen(const std::string& path) {
  ListingCache& c = cache();
  if (c.folders.empty()) return;
  const auto it = c.folders.find(parentOf(path));
  if (it == c.folders.end()) return;
  const std::string name = baseOf(path);
  auto& varianten = it->second[lowerName(name)];
  if (exists(path))
    varianten.insert(name);
  else
    varianten.erase(name);
}

}  // namespace

ListingScope::ListingScope() {
  if (cache().scopes++ == 0) setChangeHook(nachgetragen);
}

ListingScope::~ListingScope() {
  if (--cache().scopes == 0) {
    cache().folders.clear();
    setChangeHook(nullptr);
  }
}

std::optional<std::string> findNoCase(const std::string& folder, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
  const std::string dir = folder.empty() ? std::string("./") : withTrailingSlash(folder);
  if (exists(dir + name)) return name;
  ListingCache& c = cache();
  if (const auto it = c.folders.find(dir); it != c.folders.end()) {
    const auto found = lookUp(it->second, name);
    if (!found || exists(dir + *found)) return found;
    c.folders.erase(it);  // renamed or removed since: read afresh
  }
  auto l = readListing(dir);
  if (!l) return std::nullopt;
  auto found = lookUp(*l, name);
  // Kept only while a walk runs: outside one, folders change between calls.
  if (c.scopes > 0) c.folders.emplace(dir, std::move(*l));
  return found;
}

std::string pathNoCase(const std::string& folder, const std::string& name) {
  const std::string dir = withTrailingSlash(folder);
  const auto found = findNoCase(dir, name);
  return dir + (found ? *found : name);
}

namespace {

RenameResult renameOhneHinweis(const std::string& from, const std::string& to) {
  const Place a = reach(from), b = reach(to);
  if (!a || !b) return RenameResult::Failed;
  if (::renameat2(a.dir(), a.name(), b.dir(), b.name(), RENAME_NOREPLACE) == 0) return RenameResult::Done;
  if (errno == EEXIST) return RenameResult::TargetTaken;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return RenameResult::Failed;
  // File systems without the flag: a hard link cannot replace anything.
  struct stat st {};
  if (!a.status(st)) return RenameResult::Failed;
  if (!S_ISDIR(st.st_mode)) {
    if (::linkat(a.dir(), a.name(), b.dir(), b.name(), 0) != 0)
      return errno == EEXIST ? RenameResult::TargetTaken : RenameResult::Failed;
    if (::unlinkat(a.dir(), a.name(), 0) != 0) {
      ::unlinkat(b.dir(), b.name(), 0);
      return RenameResult::Failed;
    }
    return RenameResult::Done;
  }
  if (b.status(st)) return RenameResult::TargetTaken;
  return ::renameat(a.dir(), a.name(), b.dir(), b.name()) == 0 ? RenameResult::Done : RenameResult::Failed;
}

}  // namespace

RenameResult renameNoReplace(const std::string& from, const std::string& to) {
  const RenameResult r = renameOhneHinweis(from, to);
  if (r == RenameResult::Done) {
    changed(from);
    changed(to);
  }
  return r;
}

RenameResult renameSameFile(const std::string& from, const std::string& to) {
  const Place a = reach(from), b = reach(to);
  if (!a || !b || ::renameat(a.dir(), a.name(), b.dir(), b.name()) != 0) return RenameResult::Failed;
  changed(from);
  changed(to);
  return RenameResult::Done;
}

namespace {

// Whether the regular file `other` holds what the open file in holds (read
// from their starts; in left at its start).
bool gleicherInhaltFd(int in, const struct stat& src, const Fd& other) {
  if (!other) return false;
  struct stat st {};
  bool gleich = ::fstat(other.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == src.st_size;
  char a[1 << 15], b[1 << 15];
  while (gleich) {
    const ssize_t n = ::read(in, a, sizeof a);
    if (n <= 0) {
      gleich = n == 0 && ::read(other.get(), b, 1) == 0;
      break;
    }
    ssize_t m = 0;
    while (m < n) {
      const ssize_t r = ::read(other.get(), b + m, static_cast<size_t>(n - m));
      if (r <= 0) break;
      m += r;
    }
    gleich = m == n && std::equal(a, a + n, b);
  }
  ::lseek(in, 0, SEEK_SET);
  return gleich;
}

bool gleicherInhalt(int in, const struct stat& src, const std::string& path) {
  return gleicherInhaltFd(in, src, openForReading(path));
}


// The copy; on failure `error` is the errno of the step that failed.
bool copyFileOrError(const std::string& from, const std::string& to, int& error, const BeforeRename& beforeRename) {
  if (sameFile(from, to)) return true;
  // A pipe is no file to copy, and is never waited on.
  const Fd in = openForReading(from);
  if (!in) {
    error = errno;
    return false;
  }
  struct stat src {};
  if (::fstat(in.get(), &src) != 0) {
    error = errno;
    return false;
  }
  const Place at = reach(to);
  if (!at) {
    error = errno;
    return false;
  }
  // A copy made by an earlier run stays as it is: writing it anew would
  // change its folder's time, which a user who does not own the folder
  // cannot give back. Only its own time follows the source.
  if (gleicherInhaltFd(in.get(), src, openForReading(at))) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, src.st_mtim};
    ::utimensat(at.dir(), at.name(), times, AT_SYMLINK_NOFOLLOW);
    if (!beforeRename) return true;
    const Fd kept(at.open(O_RDONLY));
    const bool ok = kept && beforeRename(kept.get());
    error = ok ? 0 : !kept ? errno : EIO;
    return ok;
  }
  std::string tmp;
  Fd out(createTempIn(at.dir(), 0644, tmp));
  if (!out) {
    error = errno;
    return false;
  }
  bool ok = true;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in.get(), buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      ok = false;
      break;
    }
    if (!writeAll(out.get(), std::string_view(buf, static_cast<size_t>(n)))) {
      error = errno;
      ok = false;
      break;
    }
  }
  if (ok) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, src.st_mtim};
    ::futimens(out.get(), times);
    if (beforeRename && !beforeRename(out.get())) {
      error = EIO;
      ok = false;
    }
  }
  if (!out.close() && ok) {
    error = errno;
    ok = false;
  }
  if (ok && ::renameat(at.dir(), tmp.c_str(), at.dir(), at.name()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) ::unlinkat(at.dir(), tmp.c_str(), 0);
  tempDone(tmp);
  if (ok) changed(to);
  return ok;
}

}  // namespace

bool sameContent(const std::string& a, const std::string& b) {
  const Fd in = openForReading(a);
  struct stat st {};
  return in && ::fstat(in.get(), &st) == 0 && gleicherInhalt(in.get(), st, b);
}

bool copyFile(const std::string& from, const std::string& to, std::string* why, const BeforeRename& beforeRename) {
  int error = 0;
  if (copyFileOrError(from, to, error, beforeRename)) return true;
  if (why) *why = "Die Datei " + from + " kann nicht nach " + to + " kopiert werden (" + reasonText(error) + ").";
  return false;
}

}  // namespace mosaik::fs

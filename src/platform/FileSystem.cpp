#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <dirent.h>
#include <signal.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>

#include "platform/CheckedFolders.h"
#include "platform/Win1252.h"

namespace mosaik::fs {

namespace {
// The status of what the path names, reached as every file is.
bool statusOf(const std::string& path, struct stat& st, bool followLast) {
  if (path.empty()) return false;
  std::string why;
  const Place at = resolve(path, followLast, &why);
  if (at) return at.status(st);
  // Behind another user's link there is something all the same: whatever
  // is to be done with it is refused then, and the refusal names the link.
  return errno == EACCES && !why.empty() &&
         (followLast ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st)) == 0;
}
}  // namespace

bool fileExists(const std::string& path) {
  struct stat st {};
  return statusOf(path, st, true) && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat st {};
  return statusOf(path, st, true) && S_ISDIR(st.st_mode);
}

bool forceDirectories(const std::string& path) {
  if (path.empty()) return false;
  if (checkedFolders()) return bool(Fd(reachFolder(path, true)));
  return bool(openFolder(path, true));
}

namespace {
// The number of a fresh name has at most this many digits.
constexpr size_t kFreshDigits = 6;
constexpr unsigned kFreshNumbers = [] {
  unsigned n = 1;
  for (size_t i = 0; i < kFreshDigits; ++i) n *= 10;
  return n;
}();
}  // namespace

int createFreshAt(int dir, const std::string& prefix, const std::string& suffix, unsigned mode, std::string& name) {
  std::random_device rd;
  for (int attempt = 0; attempt < 16; ++attempt) {
    name = prefix + std::to_string(rd() % kFreshNumbers) + suffix;
    // Readable too: what is to check a new file before it takes its name
    // (fs::BeforeRename) reads it back.
    const int fd = ::openat(dir, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            static_cast<mode_t>(mode));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

namespace {

// The temporary files of this process that are not yet renamed or removed,
// for the signal handler: plain buffers, as it may use nothing else. Each
// is a name in a folder held open (or a path, AT_FDCWD).
constexpr int kTempPlaetze = 16;
char gTempPfad[kTempPlaetze][PATH_MAX];
int gTempOrdner[kTempPlaetze];
volatile sig_atomic_t gTempBelegt[kTempPlaetze];
std::mutex gTempMutex;

constexpr char kTempVorsilbe[] = ".mosaik-";

void tempMerken(int dir, const std::string& name) {
  if (name.size() >= PATH_MAX) return;
  const std::lock_guard<std::mutex> lock(gTempMutex);
  for (int i = 0; i < kTempPlaetze; ++i) {
    if (gTempBelegt[i]) continue;
    std::memcpy(gTempPfad[i], name.c_str(), name.size() + 1);
    gTempOrdner[i] = dir;
    gTempBelegt[i] = 1;
    return;
  }
}

void tempVergessen(const std::string& name) {
  const std::lock_guard<std::mutex> lock(gTempMutex);
  for (int i = 0; i < kTempPlaetze; ++i)
    if (gTempBelegt[i] && name == gTempPfad[i]) gTempBelegt[i] = 0;
}

extern "C" void tempAufraeumenUndEnden(int sig) {
  for (int i = 0; i < kTempPlaetze; ++i)
    if (gTempBelegt[i]) ::unlinkat(gTempOrdner[i], gTempPfad[i], 0);
  ::signal(sig, SIG_DFL);
  ::raise(sig);
}

// "<prefix><pid>-<number>.tmp": the process that made it.
bool tempName(std::string_view name, pid_t& pid) {
  constexpr std::string_view vorsilbe = kTempVorsilbe, nachsilbe = ".tmp";
  if (name.size() <= vorsilbe.size() + nachsilbe.size() || name.substr(0, vorsilbe.size()) != vorsilbe ||
      name.substr(name.size() - nachsilbe.size()) != nachsilbe)
    return false;
  const std::string_view mitte = name.substr(vorsilbe.size(), name.size() - vorsilbe.size() - nachsilbe.size());
  const size_t strich = mitte.find('-');
  if (strich == 0 || strich == std::string_view::npos || strich + 1 == mitte.size()) return false;
  long long p = 0;
  for (size_t i = 0; i < mitte.size(); ++i) {
    if (i == strich) continue;
    if (mitte[i] < '0' || mitte[i] > '9') return false;
    if (i < strich) p = p * 10 + (mitte[i] - '0');
    if (p > INT_MAX) return false;
  }
  pid = static_cast<pid_t>(p);
  return true;
}

// Folders swept already, by device and inode.
std::set<std::pair<dev_t, ino_t>>& gefegteOrdner() {
  static std::set<std::pair<dev_t, ino_t>> s;
  return s;
}


ChangeHook gChangeHook = nullptr;

}  // namespace

void setChangeHook(ChangeHook hook) { gChangeHook = hook; }

void changed(const std::string& path) {
  if (gChangeHook) gChangeHook(path);
}

int createTempIn(int dir, unsigned mode, std::string& name) {
  struct stat st {};
  if (::fstat(dir, &st) == 0 && gefegteOrdner().insert({st.st_dev, st.st_ino}).second) sweepStaleTempsAt(dir);
  const int fd = createFreshAt(dir, kTempVorsilbe + std::to_string(::getpid()) + "-", ".tmp", mode, name);
  if (fd >= 0) tempMerken(dir, name);
  return fd;
}

int createTemp(const std::string& folder, unsigned mode, std::string& path) {
  const std::string dir = folder.empty() ? std::string("./") : withTrailingSlash(folder);
  const Fd d(reachFolder(dir));
  if (!d) return -1;
  std::string name;
  const int fd = createTempIn(d.get(), mode, name);
  if (fd < 0) return -1;
  path = dir + name;
  tempVergessen(name);
  tempMerken(AT_FDCWD, path);
  return fd;
}

void tempDone(const std::string& path) { tempVergessen(path); }

void removeTempsOnSignals() {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
    // A run started to outlive its terminal (or in the background) keeps
    // ignoring what it was told to ignore.
    struct sigaction bisher {};
    if (::sigaction(sig, nullptr, &bisher) == 0 && bisher.sa_handler == SIG_IGN) continue;
    struct sigaction sa {};
    sa.sa_handler = tempAufraeumenUndEnden;
    sigemptyset(&sa.sa_mask);
    ::sigaction(sig, &sa, nullptr);
  }
}

namespace {
struct sigaction gXfszBeimStart {};
bool gXfszGemerkt = false;
}  // namespace

void prepareSignals() {
  struct sigaction ignorieren {};
  ignorieren.sa_handler = SIG_IGN;
  sigemptyset(&ignorieren.sa_mask);
  if (::sigaction(SIGXFSZ, &ignorieren, gXfszGemerkt ? nullptr : &gXfszBeimStart) == 0) gXfszGemerkt = true;
  removeTempsOnSignals();
}

void restoreSignalsForChild() {
  if (gXfszGemerkt) ::sigaction(SIGXFSZ, &gXfszBeimStart, nullptr);
}

int sweepStaleTempsAt(int dir) {
  int n = 0;
  for (const std::string& name : namesIn(dir).value_or(std::vector<std::string>{})) {
    pid_t pid = 0;
    // Another run at work in the same folder keeps its files.
    if (!tempName(name, pid) || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        ::unlinkat(dir, name.c_str(), 0) == 0)
      ++n;
  }
  return n;
}

int sweepStaleTemps(const std::string& folder) {
  const Fd dir(reachFolder(folder));
  return dir ? sweepStaleTempsAt(dir.get()) : 0;
}

bool probeWritable(const std::string& folder, const std::string& probePrefix) {
  // A name of its own each time: a probe file left behind by a crashed run
  // (or anybody's file) must neither block the test nor be removed by it.
  if (folder.empty()) return false;
  const int dir = reachFolder(folder);
  struct stat st {};
  if (dir < 0) return false;
  bool ok = false;
  // The folder is as it was afterwards, so it gets its time back too:
  // folders are sorted by that time. Only its owner (or root) may give it
  // back; in anybody else's folder (a shared one with the sticky bit) a
  // probe file would date it anew on every run, so there the kernel's own
  // answer for this user decides.
  const uid_t ich = ::geteuid();
  if (::fstat(dir, &st) != 0 || !S_ISDIR(st.st_mode)) {
    ok = false;
  } else if (ich != 0 && st.st_uid != ich) {
    ok = ::faccessat(dir, ".", W_OK | X_OK, AT_EACCESS) == 0;
  } else {
    const struct timespec vorher = st.st_mtim;
    std::string name;
    const int fd = createFreshAt(dir, probePrefix + std::to_string(::getpid()) + "-", ".tmp", 0644, name);
    if (fd >= 0) {
      tempMerken(dir, name);
      ok = ::close(fd) == 0;
      ::unlinkat(dir, name.c_str(), 0);
      tempVergessen(name);
      const struct timespec times[2] = {{0, UTIME_OMIT}, vorher};
      ::futimens(dir, times);
    }
  }
  ::close(dir);
  return ok;
}

std::string programFile() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n <= 0 ? std::string() : std::string(buf, static_cast<size_t>(n));
}

std::string programFolder() {
  const std::string exe = programFile();
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? currentFolder() : exe.substr(0, slash + 1);
}

std::string currentFolder() {
  std::error_code ec;
  auto p = std::filesystem::current_path(ec);
  return ec ? std::string("./") : withTrailingSlash(p.string());
}

std::string nameOfOpen(int fd) {
  // The kernel's own name for the descriptor: no second walk of a path.
  char buf[PATH_MAX + 1];
  const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), buf, sizeof buf - 1);
  if (n <= 0 || buf[0] != '/') return {};
  std::string name(buf, static_cast<size_t>(n));
  return name.size() >= 10 && name.compare(name.size() - 10, 10, " (deleted)") == 0 ? std::string() : name;
}

std::string absoluteName(const std::string& path) {
  if (path.empty()) return path;
  const std::string in = path[0] == '/' ? path : currentFolder() + path;
  std::vector<std::string_view> names;
  bool slashAtEnd = in.back() == '/';
  for (size_t from = 0; from < in.size();) {
    const size_t to = std::min(in.find('/', from), in.size());
    const std::string_view c(in.data() + from, to - from);
    from = to + 1;
    if (c.empty()) continue;
    // A last "." or ".." names a folder: the name ends in '/'.
    slashAtEnd = slashAtEnd || (to == in.size() && (c == "." || c == ".."));
    if (c == ".") continue;
    if (c == "..") {
      if (!names.empty() && names.back() != "..") names.pop_back();
      else if (in[0] != '/') names.push_back(c);  // only without a current folder
      continue;
    }
    names.push_back(c);
  }
  std::string out = in[0] == '/' ? "/" : "";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += '/';
    out += names[i];
  }
  if (out.empty()) return "./";
  return slashAtEnd ? withTrailingSlash(out) : out;
}

std::string realName(const std::string& path) {
  if (path.empty()) return path;
  const std::string p = path[0] == '/' ? path : currentFolder() + path;
  const auto asGiven = [&p](std::string n) { return p.back() == '/' ? withTrailingSlash(std::move(n)) : n; };
  // The longest leading part that is there, named by the kernel; the rest
  // as written.
  for (size_t end = p.size(); end != std::string::npos; end = end == 0 ? std::string::npos : p.rfind('/', end - 1)) {
    const Place at = resolve(end == 0 ? "/" : p.substr(0, end), true);
    const Fd fd(at ? ::openat(at.dir(), at.name(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1);
    const std::string name = fd ? nameOfOpen(fd.get()) : std::string();
    if (!name.empty()) return asGiven(absoluteName(name + p.substr(end)));
  }
  return asGiven(absoluteName(p));
}

std::optional<std::vector<std::string>> namesIn(int dir) {
  Fd own(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* d = own ? ::fdopendir(own.get()) : nullptr;
  if (!d) return std::nullopt;
  own.release();  // the listing owns it now
  std::vector<std::string> names;
  while (const dirent* de = ::readdir(d)) {
    const std::string_view n = de->d_name;
    if (n != "." && n != "..") names.emplace_back(n);
  }
  ::closedir(d);
  return names;
}

bool setCurrentFolder(const std::string& path) {
  return !path.empty() && ::chdir(path.c_str()) == 0;
}

bool ownOrRoot(uid_t user) { return user == ::geteuid() || user == 0; }

bool madeByTrusted(uid_t maker, uid_t owner) { return ownOrRoot(maker) || maker == owner; }

bool linkTrusted(const std::string& path) {
  const Place at = path.empty() ? Place() : resolve(path, false);
  struct stat ls {}, target {};
  if (!at || !at.status(ls) || !S_ISLNK(ls.st_mode)) return true;
  // A link that leads nowhere leads to nobody's file ((uid_t)-1 is no user).
  return madeByTrusted(ls.st_uid,
                       ::fstatat(at.dir(), at.name(), &target, 0) == 0 ? target.st_uid : static_cast<uid_t>(-1));
}

std::string foreignLinkText(const std::string& link, const std::string& path) {
  return (link == path ? std::string("Sie") : link) +
         " ist eine symbolische Verkn\xC3\xBCpfung, die ein anderer Benutzer angelegt hat.";
}

std::FILE* openStream(Fd fd) {
  std::FILE* f = fd ? ::fdopen(fd.get(), "rb") : nullptr;
  if (f) fd.release();
  return f;
}

Fd openForReading(const Place& at, std::string* why) {
  std::string grund;
  struct stat st {};
  // Never waits for the writer of a pipe; blocking again once it is known
  // to be a file.
  Fd fd(at ? at.open(O_RDONLY) : -1);
  int e = 0;
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    e = errno;
    grund = "Sie kann nicht ge\xC3\xB6" "ffnet werden (" + reasonText(e) + ").";
  } else if (!S_ISREG(st.st_mode)) {
    e = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    grund = "Sie ist keine gew\xC3\xB6hnliche Datei.";
  } else {
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    return fd;
  }
  if (why) *why = grund;
  errno = e;
  return Fd();
}

Fd openForReading(const std::string& path, std::string* why, bool followLast) {
  const Place at = resolve(path, followLast, why);
  if (!at) return Fd();
  return openForReading(at, why);
}

std::optional<std::string> readFile(const Place& at, std::string* why) {
  std::string out;
  const Fd fd = openForReading(at, why);
  if (!fd) return std::nullopt;
  struct stat st {};
  // Photographs are megabytes: room for all of it at once.
  if (::fstat(fd.get(), &st) == 0) out.reserve(static_cast<size_t>(st.st_size));
  if (readAll(fd.get(), out)) return out;
  if (why) *why = "Sie kann nicht gelesen werden (" + reasonText(errno) + ").";
  return std::nullopt;
}

std::optional<std::string> readFile(const std::string& path, std::string* why) {
  const Place at = resolve(path, true, why);
  if (!at) return std::nullopt;
  return readFile(at, why);
}

bool readTextAll(int fd, std::string& out, std::string& why) {
  out.clear();
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = "Sie kann nicht gelesen werden (" + reasonText(errno) + ").";
    return false;
  }
  const auto zuGross = [](int64_t bytes) { return bytes > kMaxTextFileBytes; };
  // Nothing of a file of gigabytes is taken in, and of one that grows while
  // it is read no more than one block past the limit; the larger of its
  // sizes decides.
  if (!zuGross(st.st_size)) {
    out.reserve(static_cast<size_t>(st.st_size));
    if (!readAll(fd, out, kMaxTextFileBytes)) {
      why = "Sie kann nicht gelesen werden (" + reasonText(errno) + ").";
      return false;
    }
  }
  const int64_t groesse = std::max(static_cast<int64_t>(st.st_size), static_cast<int64_t>(out.size()));
  if (!zuGross(groesse)) return true;
  why = "Sie ist mit " + std::to_string(groesse) + " Bytes zu groß für eine Textdatei (höchstens " +
        std::to_string(kMaxTextFileBytes >> 20) + " MiB).";
  out.clear();
  out.shrink_to_fit();
  return false;
}

std::optional<std::string> readTextFile(const Place& at, std::string* why) {
  std::string out, grund;
  const Fd fd = openForReading(at, &grund);
  if (fd && readTextAll(fd.get(), out, grund)) return out;
  if (why) *why = grund;
  return std::nullopt;
}

std::optional<std::string> readTextFile(const std::string& path, std::string* why) {
  const Place at = resolve(path, true, why);
  if (!at) return std::nullopt;
  return readTextFile(at, why);
}

bool writeAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(w);
  }
  return true;
}

bool keepOwner(int fd, const struct stat& old) {
  struct stat now {};
  return ::fstat(fd, &now) == 0 && ((now.st_uid == old.st_uid && now.st_gid == old.st_gid) ||
                                    ::fchown(fd, old.st_uid, old.st_gid) == 0);
}

bool readAll(int fd, std::string& out, int64_t most) {
  out.clear();
  char buf[65536];
  for (off_t at = 0; at <= most;) {
    const ssize_t n = ::pread(fd, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buf, static_cast<size_t>(n));
    at += n;
  }
  return true;
}

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}


}  // namespace

std::string reasonText(int e) {
  switch (e) {
    case EACCES:
    case EPERM:
      return "keine Berechtigung";
    case ENOSPC:
    case EDQUOT:
      return "kein Platz mehr auf dem Datenträger";
    case EROFS:
      return "der Datenträger ist schreibgeschützt";
    case EFBIG:
      return "die Datei würde zu groß";
    case ENOENT:
      return "nicht vorhanden";
    case ENOTDIR:
      return "kein Ordner";
    case EOPNOTSUPP:
      return "vom Dateisystem nicht unterstützt";
    case EIO:
      return "Ein-/Ausgabefehler";
    case ELOOP:
      return "eine Verknüpfung, wo keine sein darf";
    case ESTALE:
      return "ihr Ordner wurde ausgetauscht";
    case ENAMETOOLONG:
      return "der Name ist zu lang";
    case EISDIR:
      return "dort steht keine gewöhnliche Datei";
    default:
      return "Systemfehler " + std::to_string(e);
  }
}

std::string writeFailureText(const std::string& path, int e) {
  // A file about to be made is not there by nature: what is missing is
  // the folder it was to go into.
  return "Die Datei " + path + " kann nicht geschrieben werden (" +
         (e == ENOENT ? std::string("ihr Ordner ist nicht vorhanden") : reasonText(e)) + ").";
}

namespace {

// The names of a file's extended attributes; false when they cannot be
// listed (a file system without them has none).
bool attributeNames(int fd, std::vector<std::string>& names) {
  names.clear();
  for (;;) {
    const ssize_t n = ::flistxattr(fd, nullptr, 0);
    if (n < 0) return errno == EOPNOTSUPP;
    std::string list(static_cast<size_t>(n), '\0');
    const ssize_t m = ::flistxattr(fd, list.data(), list.size());
    if (m < 0 && errno == ERANGE) continue;  // grew in between
    if (m < 0) return false;
    for (size_t p = 0; p < static_cast<size_t>(m);) {
      const size_t e = list.find('\0', p);
      names.push_back(list.substr(p, e - p));
      p = e == std::string::npos ? list.size() : e + 1;
    }
    return true;
  }
}

// Gives the new file exactly the old one's extended attributes: each of
// them, and none that the folder's default ACL gave it besides. `why`
// names the one that could not be given.
bool copyAttributes(int from, int to, std::string& why) {
  std::vector<std::string> names, present;
  if (!attributeNames(from, names) || !attributeNames(to, present)) {
    why = "Die erweiterten Attribute der Datei können nicht gelesen werden (" + reasonText(errno) + ").";
    return false;
  }
  for (const std::string& name : present) {
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    if (::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) {
      why = "Das erweiterte Attribut \xE2\x80\x9E" + name + "\xE2\x80\x9C kann nicht weggelassen werden (" +
            reasonText(errno) + ").";
      return false;
    }
  }
  for (const std::string& name : names) {
    std::string value;
    ssize_t n = 0;
    do {
      n = ::fgetxattr(from, name.c_str(), nullptr, 0);
      if (n >= 0) {
        value.resize(static_cast<size_t>(n));
        n = ::fgetxattr(from, name.c_str(), value.data(), value.size());
      }
    } while (n < 0 && errno == ERANGE);
    if (n < 0 || ::fsetxattr(to, name.c_str(), value.data(), static_cast<size_t>(n), 0) != 0) {
      why = "Das erweiterte Attribut \xE2\x80\x9E" + name + "\xE2\x80\x9C kann nicht \xC3\xBC" "bernommen werden (" +
            reasonText(errno) + ").";
      return false;
    }
  }
  return true;
}

// Writes to a temporary file and renames it over the target only after a
// complete write; the old file survives any failure. It gets the mode of
// the file `old` it replaces; with that file's descriptor `oldFd`, it
// stands in for it altogether: owner and group first (a change of owner
// clears set-id bits that the mode then restores), then the extended
// attributes, the mode and the times. Calls that would change nothing are
// left out, so that file systems that refuse them (network shares) still
// take files of the user's own.
enum class Replaced { Done, Failed, NotWithoutLoss };
// On failure errno is that of the step that failed.
// `at` is where the file lies; the temporary file goes beside it, so the
// rename never crosses file systems.
Replaced replaceFile(const Place& at, const std::string& path, const std::string& bytes, const struct stat* old,
                     int oldFd, bool durable, std::string& why, const BeforeRename& beforeRename = {}) {
  std::string tmp;
  // Private until it carries the old file's permissions and owner.
  const int fd = createTempIn(at.dir(), oldFd >= 0 ? 0600 : 0644, tmp);
  if (fd < 0) {
    const int e = errno;
    why = "Im Ordner " + folderOf(path) + " kann keine neue Datei angelegt werden (" + reasonText(e) + ").";
    errno = e;
    return e == EACCES || e == EPERM ? Replaced::NotWithoutLoss : Replaced::Failed;
  }
  Replaced r = Replaced::Done;
  int error = 0;
  struct stat now {};
  if (old && oldFd < 0) {
    // The permissions of the file it replaces, never its set-id or sticky
    // bits: whoever could write the folder could have set them, and they
    // would make the new file a set-id file of the user running the
    // program.
    ::fchmod(fd, old->st_mode & 0777);
    old = nullptr;
  }
  if (!writeAll(fd, bytes)) {
    error = errno;
    why = "Die neue Fassung kann nicht geschrieben werden (" + reasonText(error) + ").";
    r = Replaced::Failed;
  } else if (old && !keepOwner(fd, *old)) {
    error = errno;
    why = "Ihr Eigent\xC3\xBCmer oder ihre Gruppe kann nicht beibehalten werden.";
    r = Replaced::NotWithoutLoss;
  } else if (old && !copyAttributes(oldFd, fd, why)) {
    error = errno;
    r = Replaced::NotWithoutLoss;
  } else if (old && ((::fstat(fd, &now) == 0 && (now.st_mode & 07777) != (old->st_mode & 07777) &&
                      ::fchmod(fd, old->st_mode & 07777) != 0) ||
                     ::futimens(fd, std::array<timespec, 2>{old->st_atim, old->st_mtim}.data()) != 0)) {
    error = errno;
    why = "Ihre Rechte oder ihr Datum k\xC3\xB6nnen nicht beibehalten werden (" + reasonText(error) + ").";
    r = Replaced::Failed;
  } else if (beforeRename && !beforeRename(fd)) {
    r = Replaced::Failed;
  } else if (durable && ::fsync(fd) != 0) {
    error = errno;
    why = "Die neue Fassung kann nicht gesichert werden (" + reasonText(error) + ").";
    r = Replaced::Failed;
  }
  if (::close(fd) != 0 && r == Replaced::Done) {
    error = errno;
    why = "Die neue Fassung kann nicht gesichert werden (" + reasonText(error) + ").";
    r = Replaced::Failed;
  }
  if (r == Replaced::Done && ::renameat(at.dir(), tmp.c_str(), at.dir(), at.name()) != 0) {
    error = errno;
    why = "Der Ordner " + folderOf(path) + " erlaubt nicht, die Datei zu ersetzen (" + reasonText(error) + ").";
    r = error == EACCES || error == EPERM ? Replaced::NotWithoutLoss : Replaced::Failed;
  }
  if (r != Replaced::Done) ::unlinkat(at.dir(), tmp.c_str(), 0);
  tempDone(tmp);
  if (r == Replaced::Done) changed(path);
  errno = error;
  return r;
}

// The file's content replaced through its own descriptor, flushed, with its
// times put back.
bool overwrite(int fd, const std::string& bytes, const struct stat& old) {
  const timespec times[2] = {old.st_atim, old.st_mtim};
  return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0 &&
         (::futimens(fd, times) == 0 || errno == EPERM || errno == EACCES);
}

// The user's temporary folder, named as the user named it (also when it
// is missing): the first of the usual variables that is set, else /tmp.
std::string userTempFolder() {
  for (const char* variable : {"TMPDIR", "TMP", "TEMP", "TEMPDIR"})
    if (const char* s = std::getenv(variable); s && *s) return withTrailingSlash(s);
  return "/tmp/";
}

// Writing over the file itself keeps everything that belongs to it; the
// copy of the original in the user's temporary folder lasts until the new
// content is on disk, so that even a crash half-way loses nothing.
RewriteResult writeInPlace(const std::string& path, const std::string& bytes, const struct stat& old, int fd,
                           const std::string& whyNotReplaced) {
  const std::string refused = whyNotReplaced + " An Ort und Stelle kann die Datei auch nicht geschrieben werden: ";
  std::string original;
  if (fd < 0) return {false, refused + "Sie ist nicht beschreibbar (" + reasonText(errno) + ")."};
  if (!readAll(fd, original)) return {false, refused + "Sie kann nicht gelesen werden (" + reasonText(errno) + ")."};
  const std::string tempFolder = userTempFolder();
  // Named after the original, so that a user who has to fetch it back
  // knows it; as much of its name as fits beside the prefix and the number
  // (a name that nearly fills a file name of its own would not).
  constexpr std::string_view prefix = "mosaik-original-";
  const Fd temp = openFolder(tempFolder, false);
  const long limit = temp ? ::fpathconf(temp.get(), _PC_NAME_MAX) : -1;
  const size_t nameMax = limit > 0 && limit < NAME_MAX ? static_cast<size_t>(limit) : NAME_MAX;
  const size_t room = nameMax > prefix.size() + kFreshDigits + 1 ? nameMax - prefix.size() - kFreshDigits - 1 : 0;
  const std::string_view name = utf8Prefix(std::string_view(path).substr(path.rfind('/') + 1), room);
  std::string copyName;
  const int c = temp ? createFreshAt(temp.get(), std::string(prefix), "-" + std::string(name), 0600, copyName) : -1;
  const std::string copy = tempFolder + copyName;
  const auto removeCopy = [&] { ::unlinkat(temp.get(), copyName.c_str(), 0); };
  bool copied = c >= 0 && writeAll(c, original) && ::fsync(c) == 0;
  const int e = errno;
  if (c >= 0 && ::close(c) != 0) copied = false;
  if (!copied) {
    if (c >= 0) removeCopy();
    return {false, refused + "Im tempor\xC3\xA4ren Ordner " + tempFolder +
                       " kann keine Sicherungskopie angelegt werden (" + reasonText(e) + ")."};
  }
  if (overwrite(fd, bytes, old)) {
    removeCopy();
    struct stat now {};
    if (::fstat(fd, &now) == 0 &&
        (now.st_mtim.tv_sec != old.st_mtim.tv_sec || now.st_mtim.tv_nsec != old.st_mtim.tv_nsec))
      return {true, "Das Datum der Datei kann nicht beibehalten werden: Nur ihr Eigent\xC3\xBCmer darf es setzen."};
    return {true, {}};
  }
  const std::string why = "Die Datei kann nicht geschrieben werden (" + reasonText(errno) + ")";
  if (overwrite(fd, original, old)) {
    removeCopy();
    return {false, why + "; sie ist unver\xC3\xA4ndert."};
  }
  return {false, why + " und nicht wiederhergestellt werden. Eine vollst\xC3\xA4ndige Kopie des Originals liegt "
                     "unter " + copy + "."};
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, bool durable, std::string* why,
                     const BeforeRename& beforeRename) {
  std::string detail;
  const Place at = reach(path, false, &detail);
  if (!at) {
    const int e = errno;
    // A path below none of the checked folders, or behind another user's
    // link, is named as such.
    if (why) *why = writeFailureText(path, e) + (e == EACCES ? " " + detail : "");
    return false;
  }
  return writeFileAtomic(at, path, bytes, durable, why, beforeRename);
}

bool writeFileAtomic(const Place& at, const std::string& path, const std::string& bytes, bool durable,
                     std::string* why, const BeforeRename& beforeRename) {
  std::string detail;
  // Only a file of that name gives the new one its mode: a link there
  // gives none (its target is no business of this write).
  struct stat st {};
  const bool existed = at.status(st) && S_ISREG(st.st_mode);
  if (replaceFile(at, path, bytes, existed ? &st : nullptr, -1, durable, detail, beforeRename) == Replaced::Done)
    return true;
  if (why) *why = writeFailureText(path, errno);
  return false;
}

RewriteResult rewriteOriginal(const std::string& path, const std::string& bytes) {
  std::string unreachable;
  const Place at = reach(path, false, &unreachable);
  if (!at) return {false, unreachable};
  return rewriteOriginal(at, path, bytes);
}

RewriteResult rewriteOriginal(const Place& at, const std::string& path, const std::string& bytes) {
  // The file itself, never what a link of its name leads to: the new file
  // takes the name, so a link there would be replaced, not written.
  struct stat st {};
  if (at.status(st) && S_ISLNK(st.st_mode))
    return {false, "Sie ist eine symbolische Verkn\xC3\xBCpfung; geschrieben wird nur die Datei selbst."};
  const int fd = at.open(O_RDWR);
  const int openError = errno;
  if (fd < 0 ? !at.status(st) : ::fstat(fd, &st) != 0)
    return {false, "Die Datei ist nicht mehr vorhanden oder nicht zug\xC3\xA4nglich (" + reasonText(errno) + ")."};
  if (!S_ISREG(st.st_mode)) {
    if (fd >= 0) ::close(fd);
    return {false, "Sie ist keine gew\xC3\xB6hnliche Datei."};
  }
  RewriteResult r;
  // A new file would carry only this one of the file's names.
  if (st.st_nlink > 1) {
    r = writeInPlace(path, bytes, st, fd,
                     "Die Datei hat " + std::to_string(st.st_nlink) + " Namen (feste Verkn\xC3\xBCpfungen).");
  } else {
    // The attributes are read through a descriptor of the old file; one the
    // user may only read serves as well.
    const int readFd = fd >= 0 ? fd : at.open(O_RDONLY);
    const Replaced done = readFd < 0 ? Replaced::Failed : replaceFile(at, path, bytes, &st, readFd, true, r.why);
    if (readFd < 0) r.why = "Die Datei kann nicht gelesen werden (" + reasonText(errno) + ").";
    if (readFd != fd && readFd >= 0) ::close(readFd);
    if (done == Replaced::Done) {
      r = {true, {}};
    } else if (done == Replaced::NotWithoutLoss) {
      errno = openError;
      r = writeInPlace(path, bytes, st, fd, r.why);
    }
  }
  if (fd >= 0) ::close(fd);
  return r;
}

std::optional<struct timespec> modTime(const std::string& path) {
  struct stat st {};
  if (!statusOf(path, st, true)) return std::nullopt;
  return st.st_mtim;
}

bool setModTime(const std::string& path, const struct timespec& t) {
  if (path.empty()) return false;
  const Place at = reach(path);
  const struct timespec times[2] = {{0, UTIME_OMIT}, t};
  return at && ::utimensat(at.dir(), at.name(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string withTrailingSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

bool fileStatus(const std::string& path, struct stat& st, bool followLinks) {
  return statusOf(path, st, followLinks);
}

int openForAppend(const std::string& path) {
  const Place at = reach(path);
  if (!at) return -1;
  const int fd = at.open(O_RDWR | O_APPEND | O_CREAT, 0644);
  return fd;
}

}  // namespace mosaik::fs

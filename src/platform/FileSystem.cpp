#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>
#include <signal.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>

namespace mosaik::fs {

bool fileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool forceDirectories(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  const bool made = std::filesystem::create_directories(path, ec);
  if (made) changed(path);
  return folderExists(path);
}

int createFresh(const std::string& prefix, const std::string& suffix, unsigned mode, std::string& path) {
  std::random_device rd;
  for (int attempt = 0; attempt < 16; ++attempt) {
    path = prefix + std::to_string(rd() % 1000000u) + suffix;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

namespace {

// The temporary files of this process that are not yet renamed or removed,
// for the signal handler: plain buffers, as it may use nothing else.
constexpr int kTempPlaetze = 16;
char gTempPfad[kTempPlaetze][PATH_MAX];
volatile sig_atomic_t gTempBelegt[kTempPlaetze];
std::mutex gTempMutex;

const char kTempVorsilbe[] = ".mosaik-";

void tempMerken(const std::string& path) {
  if (path.size() >= PATH_MAX) return;
  const std::lock_guard<std::mutex> lock(gTempMutex);
  for (int i = 0; i < kTempPlaetze; ++i) {
    if (gTempBelegt[i]) continue;
    std::memcpy(gTempPfad[i], path.c_str(), path.size() + 1);
    gTempBelegt[i] = 1;
    return;
  }
}

void tempVergessen(const std::string& path) {
  const std::lock_guard<std::mutex> lock(gTempMutex);
  for (int i = 0; i < kTempPlaetze; ++i)
    if (gTempBelegt[i] && path == gTempPfad[i]) gTempBelegt[i] = 0;
}

extern "C" void tempAufraeumenUndEnden(int sig) {
  for (int i = 0; i < kTempPlaetze; ++i)
    if (gTempBelegt[i]) ::unlink(gTempPfad[i]);
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

std::set<std::string>& gefegteOrdner() {
  static std::set<std::string> s;
  return s;
}

ChangeHook gChangeHook = nullptr;

}  // namespace

void setChangeHook(ChangeHook hook) { gChangeHook = hook; }

void changed(const std::string& path) {
  if (gChangeHook) gChangeHook(path);
}

int createTemp(const std::string& folder, unsigned mode, std::string& path) {
  const std::string dir = folder.empty() ? std::string("./") : withTrailingSlash(folder);
  if (gefegteOrdner().insert(dir).second) sweepStaleTemps(dir);
  const int fd = createFresh(dir + kTempVorsilbe + std::to_string(::getpid()) + "-", ".tmp", mode, path);
  if (fd >= 0) tempMerken(path);
  return fd;
}

void tempDone(const std::string& path) { tempVergessen(path); }

void removeTempsOnSignals() {
  for (int sig : {SIGTERM, SIGHUP, SIGINT}) {
    struct sigaction sa {};
    sa.sa_handler = tempAufraeumenUndEnden;
    sigemptyset(&sa.sa_mask);
    ::sigaction(sig, &sa, nullptr);
  }
}

int sweepStaleTemps(const std::string& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return 0;
  const int dfd = ::dirfd(d);
  int n = 0;
  while (const dirent* de = ::readdir(d)) {
    pid_t pid = 0;
    // Another run at work in the same folder keeps its files.
    if (!tempName(de->d_name, pid) || pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH)
      continue;
    struct stat st {};
    if (::fstatat(dfd, de->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        ::unlinkat(dfd, de->d_name, 0) == 0)
      ++n;
  }
  ::closedir(d);
  return n;
}

bool probeWritable(const std::string& folder, const std::string& probePrefix) {
  // A name of its own each time: a probe file left behind by a crashed run
  // (or anybody's file) must neither block the test nor be removed by it.
  std::string p;
  const std::string prefix = withTrailingSlash(folder) + probePrefix + std::to_string(::getpid()) + "-";
  const int fd = createFresh(prefix, ".tmp", 0644, p);
  if (fd < 0) return false;
  tempMerken(p);
  const bool closed = ::close(fd) == 0;
  ::unlink(p.c_str());
  tempVergessen(p);
  return closed;
}

std::string programFolder() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return currentFolder();
  std::string exe(buf, static_cast<size_t>(n));
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? currentFolder() : exe.substr(0, slash + 1);
}

std::string currentFolder() {
  std::error_code ec;
  auto p = std::filesystem::current_path(ec);
  return ec ? std::string("./") : withTrailingSlash(p.string());
}

bool setCurrentFolder(const std::string& path) {
  return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::optional<std::string> readFile(const std::string& path) {
  // Never waits for the writer of a pipe, and takes no folder or device for
  // a file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string out;
  // Photographs are megabytes: one piece of the right size, then whatever
  // a growing file adds.
  out.resize(static_cast<size_t>(st.st_size));
  size_t done = 0;
  bool bad = false;
  for (;;) {
    if (done == out.size()) out.resize(out.size() + 65536);
    const ssize_t n = ::read(fd, out.data() + done, out.size() - done);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      bad = true;
      break;
    }
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (bad) return std::nullopt;
  out.resize(done);
  return out;
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

namespace {

// Makes the new file stand in for the old one. Owner and group first: a
// change of owner clears set-id bits that the mode then restores. Calls
// that would change nothing are left out, so that file systems that refuse
// them (network shares) still take files of the user's own.
bool keepAttributes(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return false;
  if ((now.st_mode & 07777) != (old.st_mode & 07777) && ::fchmod(fd, old.st_mode & 07777) != 0) return false;
  const timespec times[2] = {old.st_atim, old.st_mtim};
  return ::futimens(fd, times) == 0;
}

// The temporary file lies next to the target, so the rename never crosses
// file systems; it replaces the target only after a complete write.
bool replaceAtomic(const std::string& path, const std::string& bytes, bool keepAll, bool durable) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  keepAll = keepAll && existed;
  std::string tmp;
  // Private until it carries the old file's permissions and owner.
  const int fd = createTemp(dir, keepAll ? 0600 : 0644, tmp);
  if (fd < 0) return false;
  // Keep the permissions of a file that is replaced.
  if (existed && !keepAll) ::fchmod(fd, st.st_mode & 07777);
  bool ok = writeAll(fd, bytes);
  if (ok && keepAll) ok = keepAttributes(fd, st);
  if (ok && durable && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  tempDone(tmp);
  if (ok) changed(path);
  return ok;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, bool durable) {
  return replaceAtomic(path, bytes, false, durable);
}

bool rewriteFileAtomic(const std::string& path, const std::string& bytes) {
  return replaceAtomic(path, bytes, true, true);
}

std::optional<struct timespec> modTime(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_mtim;
}

bool setModTime(const std::string& path, const struct timespec& t) {
  const struct timespec times[2] = {{0, UTIME_OMIT}, t};
  return !path.empty() && ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

std::string withTrailingSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

}  // namespace mosaik::fs

#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>

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
  std::filesystem::create_directories(path, ec);
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

bool probeWritable(const std::string& folder, const std::string& probePrefix) {
  // A name of its own each time: a probe file left behind by a crashed run
  // (or anybody's file) must neither block the test nor be removed by it.
  std::string p;
  const std::string prefix = withTrailingSlash(folder) + probePrefix + std::to_string(::getpid()) + "-";
  const int fd = createFresh(prefix, ".tmp", 0644, p);
  if (fd < 0) return false;
  const bool closed = ::close(fd) == 0;
  ::unlink(p.c_str());
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
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string out;
  // Photographs are megabytes: read them in one piece into a string of the
  // right size, then whatever a growing file adds.
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    std::rewind(f);
    if (size > 0) {
      out.resize(static_cast<size_t>(size));
      out.resize(std::fread(out.data(), 1, out.size(), f));
    }
  }
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) return std::nullopt;
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

// Owner and group first: a change of owner clears set-id bits that the mode
// then restores. Calls that would change nothing are left out, so that file
// systems that refuse them (network shares) still take files of the user's
// own.
bool keepOwnerAndMode(int fd, const struct stat& old) {
  struct stat now {};
  if (::fstat(fd, &now) != 0) return false;
  if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
    return false;
  return (now.st_mode & 07777) == (old.st_mode & 07777) || ::fchmod(fd, old.st_mode & 07777) == 0;
}

namespace {

// Makes the new file stand in for the old one.
bool keepAttributes(int fd, const struct stat& old) {
  if (!keepOwnerAndMode(fd, old)) return false;
  const timespec times[2] = {old.st_atim, old.st_mtim};
  return ::futimens(fd, times) == 0;
}

// The temporary file lies next to the target, so the rename never crosses
// file systems; it replaces the target only after a complete write.
bool replaceAtomic(const std::string& path, const std::string& bytes, bool keepAll, bool durable) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  keepAll = keepAll && existed;
  std::string tmp;
  // Private until it carries the old file's permissions and owner.
  const int fd = createFresh(dir + "." + base + ".", ".tmp", keepAll ? 0600 : 0644, tmp);
  if (fd < 0) return false;
  // Keep the permissions of a file that is replaced.
  if (existed && !keepAll) ::fchmod(fd, st.st_mode & 07777);
  bool ok = writeAll(fd, bytes);
  if (ok && keepAll) ok = keepAttributes(fd, st);
  if (ok && durable && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

}  // namespace

bool writeFileAtomic(const std::string& path, const std::string& bytes, bool durable) {
  return replaceAtomic(path, bytes, false, durable);
}

bool rewriteFileAtomic(const std::string& path, const std::string& bytes) {
  return replaceAtomic(path, bytes, true, true);
}

std::string withTrailingSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

}  // namespace mosaik::fs

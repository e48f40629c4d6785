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

bool probeWritable(const std::string& folder, const std::string& probePrefix) {
  // A name of its own each time: a probe file left behind by a crashed run
  // (or anybody's file) must neither block the test nor be removed by it.
  std::random_device rd;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string p = withTrailingSlash(folder) + probePrefix + std::to_string(::getpid()) + "-" +
                          std::to_string(rd() % 1000000u) + ".tmp";
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool closed = ::close(fd) == 0;
    ::unlink(p.c_str());
    return closed;
  }
  return false;
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

bool writeFileAtomic(const std::string& path, const std::string& bytes, bool durable) {
  const auto slash = path.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::random_device rd;
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    tmp = dir + "." + base + "." + std::to_string(rd() % 1000000u) + ".tmp";
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  // Keep the permissions of a file that is replaced.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    done += static_cast<size_t>(w);
  }
  if (ok && durable && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

std::string withTrailingSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

}  // namespace mosaik::fs

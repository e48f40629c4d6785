#include "platform/CheckedFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/FileSystem.h"

namespace mosaik::fs {
namespace {

CheckedFolders* gActive = nullptr;

// Absolute, without empty and "." names and without '/' at the end, so
// that one folder has one spelling to compare; ".." stays (it is refused
// below a checked folder, where it could lead out of it).
std::string normal(const std::string& path) {
  std::string in = path;
  if (in.empty() || in[0] != '/') in = currentFolder() + in;
  std::string out;
  for (size_t from = 0; from < in.size();) {
    const size_t to = std::min(in.find('/', from), in.size());
    const std::string_view c(in.data() + from, to - from);
    if (!c.empty() && c != ".") {
      out += '/';
      out += c;
    }
    from = to + 1;
  }
  return out.empty() ? std::string("/") : out;
}

bool below(const std::string& p, const std::string& root) {
  if (root == "/") return true;
  return p.size() >= root.size() && p.compare(0, root.size(), root) == 0 &&
         (p.size() == root.size() || p[root.size()] == '/');
}

std::vector<std::string> names(std::string_view rel) {
  std::vector<std::string> out;
  for (size_t from = 0; from < rel.size();) {
    const size_t to = std::min(rel.find('/', from), rel.size());
    if (to > from) out.emplace_back(rel.substr(from, to - from));
    from = to + 1;
  }
  return out;
}

// A descriptor of its own for the folder: a duplicate would share the
// position of every listing read through it.
// A folder on the way that cannot be opened, and why.
std::string unzugaenglich(const std::string& ordner, int e) {
  return "Der Ordner " + ordner + " ist nicht zug\xC3\xA4nglich (" + reasonText(e) + ").";
}

int reopen(int dir) { return ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

bool isLinkAt(int dir, const char* name) {
  struct stat ls {};
  return ::fstatat(dir, name, &ls, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(ls.st_mode);
}

// One step down from the open folder dir to its folder `name` (made first
// when missing and create), whose path is `weg`. Below checked folders a
// link there is no way down but a breach; outside a run a folder is what
// its path leads to. -1 with errno and the sentence in text on failure.
int folderStep(int dir, const std::string& name, const std::string& weg, bool create, std::string& text) {
  const int follow = gActive ? O_NOFOLLOW : 0;
  int fd = ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | follow);
  if (fd < 0 && errno == ENOENT && create) {
    if (::mkdirat(dir, name.c_str(), 0777) == 0) changed(weg);
    fd = ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | follow);
  }
  if (fd >= 0) return fd;
  int e = errno;
  text = unzugaenglich(weg, e);
  if (gActive && isLinkAt(dir, name.c_str())) {
    text = swappedLinkText(weg);
    gActive->reportBreach(text);
    e = ELOOP;
  }
  errno = e;
  return -1;
}

Place fail(int e, std::string* why, const std::string& text) {
  if (why) *why = text;
  errno = e;
  return {};
}

// Outside a run: the folder by its path, links and all, as every program
// opens a path.
Place byPath(const std::string& path, bool createFolders, std::string* why) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p.empty()) return fail(ENOENT, why, "Ein leerer Name bezeichnet keine Datei.");
  const auto slash = p.rfind('/');
  if (p == "/") return Place(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC), ".");
  const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
  const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  if (createFolders) forceDirectories(parent);
  const int dir = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) {
    const int e = errno;
    return fail(e, why, unzugaenglich(parent, e));
  }
  return Place(dir, name);
}

}  // namespace

Place::~Place() {
  if (dir_ >= 0) ::close(dir_);
}

int Place::open(int flags, unsigned mode) const {
  return ::openat(dir_, name_.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool Place::status(struct stat& st) const { return ::fstatat(dir_, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0; }

Place::Place(Place&& o) noexcept : dir_(o.dir_), name_(std::move(o.name_)) { o.dir_ = -1; }

Place& Place::operator=(Place&& o) noexcept {
  if (this != &o) {
    if (dir_ >= 0) ::close(dir_);
    dir_ = o.dir_;
    name_ = std::move(o.name_);
    o.dir_ = -1;
  }
  return *this;
}

std::string swappedLinkText(const std::string& path) {
  return path + " ist eine symbolische Verkn\xC3\xBCpfung, wo ein Ordner war oder sein soll: Mosaikschauer schreibt "
                "nicht durch Verkn\xC3\xBCpfungen in den Ordnern, die es zu Beginn gepr\xC3\xBC" "ft hat.";
}

CheckedFolders* checkedFolders() { return gActive; }

CheckedFolders::CheckedFolders() : previous_(gActive) { gActive = this; }

CheckedFolders::~CheckedFolders() {
  for (const Root& r : roots_) ::close(r.fd);
  gActive = previous_;
}

const CheckedFolders::Root* CheckedFolders::rootFor(const std::string& p) const {
  const Root* best = nullptr;
  for (const Root& r : roots_)
    if (below(p, r.path) && (!best || r.path.size() > best->path.size())) best = &r;
  return best;
}

bool CheckedFolders::holds(const std::string& folder) const {
  const std::string p = normal(folder);
  return std::any_of(roots_.begin(), roots_.end(), [&p](const Root& r) { return r.path == p; });
}

bool CheckedFolders::holdsInside(const std::string& folder) const {
  std::error_code ec;
  const std::string real = withTrailingSlash(std::filesystem::canonical(normal(folder), ec).string());
  if (ec) return false;
  return std::any_of(roots_.begin(), roots_.end(), [&real](const Root& r) {
    return r.real.size() > real.size() && r.real.compare(0, real.size(), real) == 0;
  });
}

void CheckedFolders::reportBreach(const std::string& message) {
  if (!breach_.empty()) return;
  breach_ = message;
  if (onBreach_) onBreach_();
}

bool CheckedFolders::add(const std::string& folder, bool create, std::string& why) {
  const std::string p = normal(folder);
  if (holds(p)) return true;
  struct stat st {};
  if (create && ::stat(p.c_str(), &st) != 0 && errno == ENOENT) {
    if (rootFor(p)) {
      // Made from the folder above, which is checked already.
      const int fd = reachFolder(p, true, &why);
      if (fd < 0) return false;
      ::close(fd);
    } else {
      std::error_code ec;
      if (std::filesystem::create_directories(p, ec)) changed(folder);
    }
  }
  why.clear();
  const int fd = openTrusted(p, O_RDONLY | O_DIRECTORY, &why);
  if (fd < 0 || ::fstat(fd, &st) != 0) {
    // Another user's link on the way has named itself already.
    if (why.empty()) why = "Der Ordner " + folder + " kann nicht ge\xC3\xB6" "ffnet werden (" + reasonText(errno) + ").";
    if (fd >= 0) ::close(fd);
    return false;
  }
  std::error_code ec;
  const std::string real = withTrailingSlash(std::filesystem::canonical(p, ec).string());
  roots_.push_back({p, folder, ec ? std::string() : real, fd, st.st_dev, st.st_ino});
  return true;
}

Place reach(const std::string& path, bool createFolders, std::string* why) {
  CheckedFolders* const active = gActive;
  if (!active) return byPath(path, createFolders, why);
  const std::string p = normal(path);
  const CheckedFolders::Root* root = active->rootFor(p);
  if (!root)
    return fail(EACCES, why,
                path + " liegt au\xC3\x9F" "erhalb der Ordner, die Mosaikschauer zu Beginn gepr\xC3\xBC" "ft hat.");
  // The folder under the checked name must still be the one held open: one
  // renamed away and replaced (by a link, say) means someone is at work on
  // the way to it.
  struct stat st {};
  if (::stat(root->path.c_str(), &st) != 0 || st.st_dev != root->dev || st.st_ino != root->ino) {
    const std::string text = "Der Ordner " + root->given +
                             " ist nicht mehr der, den Mosaikschauer zu Beginn gepr\xC3\xBC" "ft hat: Er wurde "
                             "w\xC3\xA4hrend des Laufs ausgetauscht.";
    active->reportBreach(text);
    return fail(ESTALE, why, text);
  }
  const std::vector<std::string> rest = names(std::string_view(p).substr(root->path == "/" ? 0 : root->path.size()));
  if (std::find(rest.begin(), rest.end(), "..") != rest.end())
    return fail(EACCES, why, path + " f\xC3\xBChrt aus dem Ordner " + root->given + " hinaus.");
  int dir = reopen(root->fd);
  if (dir < 0) {
    const int e = errno;
    return fail(e, why, unzugaenglich(root->given, e));
  }
  if (rest.empty()) return Place(dir, ".");
  std::string weg = root->path == "/" ? "" : root->path;
  for (size_t i = 0; i + 1 < rest.size(); ++i) {
    weg += "/" + rest[i];
    std::string text;
    const int next = folderStep(dir, rest[i], weg, createFolders, text);
    const int e = errno;
    ::close(dir);
    if (next < 0) return fail(e, why, text);
    dir = next;
  }
  return Place(dir, rest.back());
}

int reachFolder(const std::string& folder, bool create, std::string* why) {
  Place pl = reach(folder, create, why);
  if (!pl) return -1;
  if (pl.nameString() == ".") return reopen(pl.dir());
  std::string p = folder;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  std::string text;
  const int fd = folderStep(pl.dir(), pl.nameString(), p, create, text);
  if (fd < 0 && why) *why = text;
  return fd;
}

int openFolderForReading(const std::string& folder) {
  if (gActive && gActive->rootFor(normal(folder))) return reachFolder(folder);
  return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace mosaik::fs

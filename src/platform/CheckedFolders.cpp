#include "platform/CheckedFolders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>

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

// A folder that cannot be opened, and why.
std::string unzugaenglich(const std::string& ordner, int e) {
  return "Der Ordner " + ordner + " ist nicht zug\xC3\xA4nglich (" + reasonText(e) + ").";
}

// A descriptor of its own for the folder: a duplicate would share the
// position of every listing read through it.
int reopen(int dir) { return ::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

bool isLinkAt(int dir, const char* name) {
  struct stat ls {};
  return ::fstatat(dir, name, &ls, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(ls.st_mode);
}

// One step down, below checked folders, from the open folder dir to its
// folder `name` (made first when missing and create), whose path is `weg`:
// a link there is no way down but a breach. -1 with errno and the sentence
// in text on failure.
int folderStep(int dir, const std::string& name, const std::string& weg, bool create, std::string& text) {
  int fd = ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0 && errno == ENOENT && create) {
    if (::mkdirat(dir, name.c_str(), 0777) == 0) changed(weg);
    fd = ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  }
  if (fd >= 0) return fd;
  int e = errno;
  text = unzugaenglich(weg, e);
  if (isLinkAt(dir, name.c_str())) {
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

// Far more than any honest tree needs; the kernel's own limit.
constexpr int kMaxLinks = 40;

// One walk: the links it has gone through, and why it stopped.
struct Way {
  bool create = false;
  int links = 0;
  std::string refused;  // the first link that may not be followed, as named on the way
  std::string text;     // why the walk failed otherwise
  int error = 0;
  bool failed(int e, std::string t) {
    error = e;
    if (text.empty()) text = std::move(t);
    return false;
  }
};

// A folder of the walk (O_PATH: going through it needs no right to list
// it) and how it is named on the way.
struct At {
  Fd fd;
  std::string shown;
};

std::string joinShown(const std::string& done, const std::string& c) {
  return done.empty() || done.back() == '/' ? done + c : done + "/" + c;
}

// The folder above a name of the walk, named so that the kernel finds it.
std::string shownParent(const std::string& done) {
  if (done.empty()) return "..";
  if (done == "/") return done;
  const auto slash = done.rfind('/');
  const std::string last = slash == std::string::npos ? done : done.substr(slash + 1);
  if (last == "..") return done + "/..";
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : done.substr(0, slash);
}

int pathOf(int dir, const char* name) { return ::openat(dir, name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }

bool walk(At& cur, const std::string& rel, bool followLast, std::string& last, Way& w, bool intoLast = false);

// Goes where the link `l` (the entry `name` in cur, opened without being
// followed, its status ls) leads, if it may: cur and name become the
// folder and name of its target; with intoLast the target is a folder to
// go into (name "."). The target is read from the link opened: its owner
// and its target are one link's.
bool followEntry(At& cur, std::string& name, const Fd& l, const struct stat& ls, Way& w, bool intoLast) {
  const std::string here = joinShown(cur.shown, name);
  if (++w.links > kMaxLinks) return w.failed(ELOOP, here + " f\xC3\xBChrt im Kreis (zu viele symbolische Verkn\xC3\xBCpfungen).");
  std::string target(static_cast<size_t>(ls.st_size > 0 ? ls.st_size : PATH_MAX) + 1, '\0');
  const ssize_t n = ::readlinkat(l.get(), "", target.data(), target.size());
  if (n <= 0 || static_cast<size_t>(n) >= target.size()) return w.failed(EIO, "Die Verkn\xC3\xBCpfung " + here + " kann nicht gelesen werden.");
  target.resize(static_cast<size_t>(n));
  At t{Fd(::openat(cur.fd.get(), ".", O_PATH | O_DIRECTORY | O_CLOEXEC)), cur.shown};
  std::string tlast;
  const bool ok = t.fd && walk(t, target, true, tlast, w, intoLast);
  if (!w.refused.empty()) {
    // A link further on is refused; this one names itself first when it
    // may not be followed either, as the kernel would reach its end.
    struct stat ks {};
    const uid_t owner = ::fstatat(cur.fd.get(), name.c_str(), &ks, 0) == 0 ? ks.st_uid : static_cast<uid_t>(-1);
    if (!madeByTrusted(ls.st_uid, owner)) w.refused = here;
    return false;
  }
  // A link that leads nowhere leads to nobody's file ((uid_t)-1 is no user).
  struct stat ts {};
  const uid_t owner =
      ok && ::fstatat(t.fd.get(), tlast.c_str(), &ts, AT_SYMLINK_NOFOLLOW) == 0 ? ts.st_uid : static_cast<uid_t>(-1);
  if (!madeByTrusted(ls.st_uid, owner)) {
    w.refused = here;
    w.error = EACCES;
    return false;
  }
  if (!ok) return false;
  cur = std::move(t);
  name = tlast;
  return true;
}

// When `name` in cur is a link, goes where it leads, if it may (see
// followEntry). Nothing there, or no link, is left to the caller's own open
// to tell.
bool followLink(At& cur, std::string& name, Way& w) {
  // Most names are no link: asked without opening anything. One that
  // becomes a link after this is not followed either: every step and every
  // act at the place refuses a link it was not led through.
  if (!isLinkAt(cur.fd.get(), name.c_str())) return true;
  const Fd l(::openat(cur.fd.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
  struct stat ls {};
  if (!l || ::fstat(l.get(), &ls) != 0 || !S_ISLNK(ls.st_mode)) return true;
  return followEntry(cur, name, l, ls, w, false);
}

// One step into the folder `name` of cur, made first when missing and
// w.create; a link there is followed (if it may be). What stands under the
// name is opened once and used as it was found, so that a name another
// user exchanges between a folder and a link all the while is either gone
// through or named, never reported as something it is not.
bool step(At& cur, const std::string& name, Way& w) {
  const std::string weg = joinShown(cur.shown, name);
  // Most names on a way are folders: a link is looked at only when the
  // name is none.
  Fd next(pathOf(cur.fd.get(), name.c_str()));
  if (!next && errno == ENOENT && w.create) {
    if (::mkdirat(cur.fd.get(), name.c_str(), 0777) == 0) changed(weg);
    next.reset(pathOf(cur.fd.get(), name.c_str()));
  }
  if (!next && (errno == ELOOP || errno == ENOTDIR)) {
    Fd entry(::openat(cur.fd.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat es {};
    if (entry && ::fstat(entry.get(), &es) == 0 && S_ISLNK(es.st_mode)) {
      std::string target = name;
      return followEntry(cur, target, entry, es, w, true);
    }
    if (entry && S_ISDIR(es.st_mode)) next = std::move(entry);
    else if (entry) errno = ENOTDIR;
  }
  if (!next) return w.failed(errno, unzugaenglich(weg, errno));
  cur = {std::move(next), weg};
  return true;
}

// Goes down `rel` from cur: every name but the last is a folder to enter;
// cur ends at the folder that holds the last name, `last` ("." when the
// way ends at a folder itself). With intoLast the last name is a folder
// to go into as well (a link there followed): cur ends in it.
bool walk(At& cur, const std::string& rel, bool followLast, std::string& last, Way& w, bool intoLast) {
  if (!rel.empty() && rel[0] == '/') cur = {Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)), "/"};
  std::vector<std::string> rest = names(rel);
  rest.erase(std::remove(rest.begin(), rest.end(), "."), rest.end());
  last = ".";
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& name = rest[i];
    if (name == "..") {
      Fd up(pathOf(cur.fd.get(), ".."));
      if (!up) return w.failed(errno, unzugaenglich(shownParent(cur.shown), errno));
      cur = {std::move(up), shownParent(cur.shown)};
      continue;
    }
    if (i + 1 == rest.size() && !intoLast) {
      last = name;
      return !followLast || followLink(cur, last, w);
    }
    if (!step(cur, name, w)) return false;
  }
  return true;
}

// A descriptor to work in: one that lists and opens; a folder the user may
// go through but not list still serves every *at call.
int workingDescriptor(Fd& pathFd) {
  const int fd = ::openat(pathFd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return fd >= 0 ? fd : pathFd.release();
}

Place resolveFrom(At start, const std::string& rel, const std::string& path, bool followLast, bool create,
                  std::string* why, bool intoLast = false) {
  if (path.empty()) return fail(ENOENT, why, "Ein leerer Name bezeichnet keine Datei.");
  if (!start.fd) return fail(errno, why, unzugaenglich(start.shown, errno));
  Way w;
  w.create = create;
  std::string last;
  if (!walk(start, rel, followLast, last, w, intoLast)) {
    if (!w.refused.empty()) return fail(EACCES, why, foreignLinkText(w.refused, path));
    return fail(w.error, why, w.text);
  }
  return Place(workingDescriptor(start.fd), last);
}

At startOf(const std::string& path) {
  if (!path.empty() && path[0] == '/') return {Fd(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC)), "/"};
  return {Fd(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)), ""};
}

}  // namespace

void Fd::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool Fd::close() {
  const int fd = release();
  return fd < 0 || ::close(fd) == 0;
}

Place Place::in(int dir, std::string name) {
  int fd = reopen(dir);
  if (fd < 0) fd = ::fcntl(dir, F_DUPFD_CLOEXEC, 0);  // a folder that may not be listed
  return Place(fd, std::move(name));
}

Place resolve(const std::string& path, bool followLast, std::string* why) {
  return resolveFrom(startOf(path), path, path, followLast, false, why);
}

Place resolveIn(const Place& from, const std::string& name, bool followLast, std::string* why) {
  At start{Fd(::openat(from.dir(), from.name(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)), ""};
  return resolveFrom(std::move(start), name, name, followLast, false, why);
}

std::optional<std::string> foreignLink(const std::string& path) {
  At start = startOf(path);
  if (path.empty() || !start.fd) return std::nullopt;
  Way w;
  std::string last;
  walk(start, path, true, last, w);
  if (w.refused.empty()) return std::nullopt;
  return w.refused;
}

Fd holdFolder(const std::string& path, bool create, std::string* why) {
  Place at = resolveFrom(startOf(path), path, path, true, create, why, true);
  return Fd(at.release());
}

Fd openFolder(const std::string& path, bool create, std::string* why) {
  // The folder the walk went into, opened anew for listing: the same one,
  // whatever stands under its name by now.
  const Fd held = holdFolder(path, create, why);
  if (!held) return Fd();
  Fd fd(::openat(held.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd && why) *why = unzugaenglich(path, errno);
  return fd;
}

int Place::open(int flags, unsigned mode) const {
  return ::openat(dir(), name_.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, static_cast<mode_t>(mode));
}

bool Place::status(struct stat& st) const { return ::fstatat(dir(), name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0; }

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
  const Fd fd = openFolder(normal(folder), false);
  const std::string real = fd ? withTrailingSlash(nameOfOpen(fd.get())) : std::string();
  if (real.empty()) return false;
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
  why.clear();
  // Below a folder checked already, a missing one is made from there.
  if (create && rootFor(p) && !Fd(reachFolder(p, true, &why))) return false;
  Fd fd = openFolder(p, create, &why);
  struct stat st {};
  if (!fd || ::fstat(fd.get(), &st) != 0) {
    // Another user's link on the way has named itself already.
    if (why.empty()) why = "Der Ordner " + folder + " kann nicht ge\xC3\xB6" "ffnet werden (" + reasonText(errno) + ").";
    return false;
  }
  roots_.push_back({p, folder, withTrailingSlash(nameOfOpen(fd.get())), fd.release(), st.st_dev, st.st_ino});
  return true;
}

Place reach(const std::string& path, bool createFolders, std::string* why) {
  CheckedFolders* const active = gActive;
  if (!active) return resolveFrom(startOf(path), path, path, false, createFolders, why);
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
  // Outside a run a link at the folder's own name is followed as every
  // link is, only when it may be.
  if (!gActive) return openFolder(folder, create, why).release();
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
  return openFolder(folder.empty() ? "." : folder, false).release();
}

}  // namespace mosaik::fs

#pragma once
// Writes that land where the check said. A run checks its folders once, at
// its start (whose they are, the links on their way, what they hold); from
// then on a path names a place for messages only. Every write, folder
// creation, rename and removal of this layer below a checked folder starts
// from that folder's open descriptor and goes down name by name without
// following a link, so that neither a folder another user swaps for a link
// in the middle of a run nor a link inside an output folder can send a
// write anywhere else.
#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace mosaik::fs {

// One open descriptor, closed when its scope ends.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(Fd&& o) noexcept : fd_(o.release()) {}
  Fd& operator=(Fd&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1);
  // Closes it now; false when the system reports an error (for a file
  // written through it: what was written may not have reached it).
  bool close();

 private:
  int fd_;
};

// A folder held open and a name in it: where one read or write lands. The
// name is "." for the folder itself.
class Place {
 public:
  Place() = default;
  Place(int dir, std::string name) : dir_(dir), name_(std::move(name)) {}
  // A place with a descriptor of its own for the open folder `dir`.
  static Place in(int dir, std::string name);

  int dir() const { return dir_.get(); }
  // The folder's descriptor, for the caller to own; the place is empty then.
  int release() { return dir_.release(); }
  const char* name() const { return name_.c_str(); }
  const std::string& nameString() const { return name_; }
  explicit operator bool() const { return bool(dir_); }
  // The entry itself (O_NOFOLLOW: a link there is what a write replaces,
  // not where it goes), never waiting on a pipe; -1 with errno.
  int open(int flags, unsigned mode = 0) const;
  // The status of the entry itself (a link is not followed); false with errno.
  bool status(struct stat& st) const;

 private:
  Fd dir_;
  std::string name_;
};

// The one way to a file: goes the path once, name by name from "/" or the
// current folder, and holds the folder its last name lies in. A symbolic
// link is followed only when it may be (madeByTrusted: it belongs to the
// running user, to root, or to the owner of what it leads to), on the way
// always and at the last name only with followLast; its target is gone
// from the folder the link stands in, so that nothing exchanged after a
// step can change where the next one leads. Another user's link: errno
// EACCES and foreignLinkText in *why. Whatever is done at the place
// afterwards (openat, fstatat, renameat ... with the folder's descriptor)
// meets what the walk met.
Place resolve(const std::string& path, bool followLast, std::string* why = nullptr);
// The same for a name (or a relative path) inside the place `from` (its
// folder, or the folder its name is).
Place resolveIn(const Place& from, const std::string& name, bool followLast, std::string* why = nullptr);
// The folder itself, held open (for listing too) by the same walk; with
// create, missing folders are made on the way.
Fd openFolder(const std::string& path, bool create, std::string* why = nullptr);
// The same for reaching the names in it only (*at calls): a folder the
// user may go through but not list is held as well.
Fd holdFolder(const std::string& path, bool create, std::string* why = nullptr);

// The folder `path` lies in, held open, and its last name. While checked
// folders are in force, a path below one of them is reached from its
// descriptor, a link on the way counts as a swapped folder (the run is
// told, see CheckedFolders) and a path below none of them is refused;
// otherwise the folder is opened by its path. With createFolders, missing
// folders on the way are made. On failure errno is set and *why (when
// given) holds one German sentence naming the place.
Place reach(const std::string& path, bool createFolders = false, std::string* why = nullptr);
// The folder itself, opened (O_DIRECTORY), by the same rule; -1 on failure.
// A link at its own name is no folder to go into either.
int reachFolder(const std::string& folder, bool create = false, std::string* why = nullptr);
// For reading: the folder opened from a checked folder's descriptor when it
// lies below one (so that a listing sees what the writes will see), else by
// its path as any reader opens it. -1 on failure.
int openFolderForReading(const std::string& folder);

// The folders of one run (or of one save of the comment editor), held open
// from their check until the object ends; while it exists they are in
// force for every write of this layer (there is one at a time).
class CheckedFolders {
 public:
  CheckedFolders();
  ~CheckedFolders();
  CheckedFolders(const CheckedFolders&) = delete;
  CheckedFolders& operator=(const CheckedFolders&) = delete;

  // Opens the folder and keeps it. Links on its own way are followed as
  // every open of a user's path follows them (only the running user's,
  // root's, or those of their target's owner); this is where they are
  // resolved, once. A folder below one already kept is reached from that
  // one. With create, a missing folder is made first (below a kept folder
  // from it). False with one German sentence why.
  bool add(const std::string& folder, bool create, std::string& why);
  // The folder kept under this path (as added, '/' at the end or not).
  bool holds(const std::string& folder) const;
  // A kept folder lies inside this one (not the folder itself), as the
  // file system names them: renaming this one would move that folder away
  // from the path it was checked under.
  bool holdsInside(const std::string& folder) const;

  // The first time a kept folder turned out swapped, or a link stood where
  // a folder below one was to be: the message naming it. Empty while none.
  const std::string& breach() const { return breach_; }
  // Called once, at the first breach, so that the run can stop.
  void onBreach(std::function<void()> f) { onBreach_ = std::move(f); }

  // For this layer: reports a breach.
  void reportBreach(const std::string& message);

  struct Root {
    std::string path;   // without '/' at the end ("/" for the root)
    std::string given;  // as added
    std::string real;   // as the file system named it when added, '/' at the end
    int fd = -1;
    dev_t dev = 0;
    ino_t ino = 0;
  };
  const Root* rootFor(const std::string& normalPath) const;

 private:
  std::vector<Root> roots_;
  std::string breach_;
  std::function<void()> onBreach_;
  CheckedFolders* previous_ = nullptr;
};

// The checked folders in force, or nullptr.
CheckedFolders* checkedFolders();

// The sentence for a link met where a folder below a checked one was to be.
std::string swappedLinkText(const std::string& path);

}  // namespace mosaik::fs

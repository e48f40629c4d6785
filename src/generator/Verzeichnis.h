#pragma once
// Folder listings and file operations as the walks need them on a Linux
// file system: deterministic snapshots, attributes mapped to what Linux has,
// case-insensitive lookup of companion files, renames that never replace.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace mosaik::fs {

struct Entry {
  std::string name;
  bool folder = false;
  bool hidden = false;    // the name starts with '.'
  bool readOnly = false;  // the user may not write it, or nobody may (chmod a-w)
  // Its content may not be written: readOnly without the entries that a
  // shared (sticky) folder only protects from renaming and removal.
  bool writeProtected = false;
  int64_t size = 0;
  uint32_t dosTime = 0;  // packed DOS date-time of the last change, local time
};

// ASCII letters compared without case, ties by bytes: the order of every
// listing, so that runs are repeatable.
bool nameLess(std::string_view a, std::string_view b);

// Snapshot of a folder: subfolders (a link to a folder is not one) and
// regular files (also behind a link); sockets, pipes, devices and dangling
// links are left out, and so are "." and "..". Empty when the folder cannot
// be read. Links to folders, left out too, go to folderLinks when given
// (as the folders they would be, in the same order).
std::vector<Entry> listFolder(const std::string& folder, std::vector<Entry>* folderLinks = nullptr);
// The same for a folder held open (a Place whose name is the folder, as
// Place::in(fd, ".") gives it).
std::vector<Entry> listFolder(const Place& folder);
// One entry by path, under the same rules; nullopt when it is none of them.
std::optional<Entry> entryInfo(const std::string& path);

// The first symbolic link in the tree below the folder that leads to a
// folder, as folder + its way there; the tree is gone down without
// following links, and a subfolder for which skip(path) holds is left out.
std::optional<std::string> firstFolderLink(const std::string& folder,
                                           const std::function<bool(const std::string&)>& skip);

// Local time <-> packed DOS date-time (date in the high 16 bits, two-second
// steps). Times before 1980 give 1980-01-01 00:00:00, after 2107 the last
// representable second.
uint32_t toDosDateTime(std::time_t t);
std::time_t fromDosDateTime(uint32_t dos);
// Sets the modification time of a file (opened for writing, as a date
// change needs write access) or of a folder.
bool setDosDateTime(const std::string& path, uint32_t dos);
bool setDosDateTime(int fd, uint32_t dos);

// Not writable by the user, or without any write bit (so also for root);
// a path that cannot be examined counts as read-only.
bool isReadOnly(const std::string& path);
// Its content may not be written (no write bit, or no permission), whatever
// its folder allows for renaming; an entry that cannot be examined counts.
bool isWriteProtected(const Place& at);
// The user may make, rename and remove entries in the folder (it lets
// them write); false when it cannot be examined.
bool mayChangeIn(const std::string& folder);
// False where the entry may not be renamed although its folder is writable
// (a sticky folder, an entry of another user), or is not there.
bool mayRename(const std::string& path);
// Anything of that name, a dangling link included.
bool exists(const std::string& path);
// Both paths exist and name one file (same device and inode).
bool sameFile(const std::string& a, const std::string& b);
// Size in bytes; -1 when the file cannot be examined.
int64_t fileSize(const std::string& path);

// The name of an entry of the folder that is spelled like name, preferring
// the exact spelling, else the first in byte order that differs only in the
// case of ASCII letters.
std::optional<std::string> findNoCase(const std::string& folder, const std::string& name);
// folder + the name found by findNoCase, or folder + name when none is.
std::string pathNoCase(const std::string& folder, const std::string& name);

// While one exists, findNoCase reads each folder's listing once and looks
// names up in it, instead of reading the folder again for every picture's
// companion files (which made a walk quadratic in a folder's size). An exact
// name is always asked of the file system itself, and a listed name that is
// gone by now makes the folder be read again; a file that appears meanwhile
// under a name differing only in case is not seen, which a walk never needs.
class ListingScope {
 public:
  ListingScope();
  ~ListingScope();
  ListingScope(const ListingScope&) = delete;
  ListingScope& operator=(const ListingScope&) = delete;
};

enum class RenameResult { Done, TargetTaken, Failed };
// Never replaces an existing target, not even one that differs only in case.
RenameResult renameNoReplace(const std::string& from, const std::string& to);
// A plain rename, for two names of one file (a change of letter case on a
// file system that ignores it).
RenameResult renameSameFile(const std::string& from, const std::string& to);

// Copies through a temporary file beside the target, renamed over it only
// after a complete write (not waited for on disk: the copies are the
// gallery's, the source stays); the copy keeps the source's modification
// time. Copying a file onto itself, or onto a file that holds the same
// bytes, leaves it alone and succeeds (the latter gets the source's time).
// A failure fills `why` (when given) with the message for the user: both
// files and the system's reason. beforeRename, when given, runs on the
// complete copy before it takes its name, or on the file left as it was;
// false fails the copy.
bool copyFile(const std::string& from, const std::string& to, std::string* why = nullptr,
              const BeforeRename& beforeRename = {});
// Both are regular files with the same bytes.
bool sameContent(const std::string& a, const std::string& b);

}  // namespace mosaik::fs

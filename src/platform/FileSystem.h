#pragma once
// File-system facilities the program stands on. Paths use '/'; a folder path
// that is "with trailing separator" ends in '/'.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CheckedFolders.h"

namespace mosaik::fs {

bool fileExists(const std::string& path);    // a regular file (or a link to one)
bool folderExists(const std::string& path);  // a folder (or a link to one)

// Creates the folder with all missing parents; true when it exists afterwards.
// Below a checked folder (CheckedFolders.h) they are made from it.
bool forceDirectories(const std::string& path);

// Creates a probe file of a fresh name (the prefix, a number, ".tmp")
// exclusively, closes it and removes it again; files already there are
// neither used nor removed.
bool probeWritable(const std::string& folder, const std::string& probePrefix);

// The running program file, as the kernel names it; empty when unknown.
std::string programFile();
// The folder of the running program, with a trailing '/'.
std::string programFolder();
std::string currentFolder();  // with a trailing '/'
// The absolute name of what an open descriptor is (its links resolved);
// empty when it has none (removed meanwhile).
std::string nameOfOpen(int fd);
// A name made absolute (from the current folder) and lexically normal: no
// empty or "." names, a ".." taking away the name before it; a '/' at the
// end stays. Nothing is looked up: a name for comparing and showing.
std::string absoluteName(const std::string& path);
// The name the file system gives the path: absolute, its links resolved
// (followed as resolve follows them) as far as it is there, the rest as
// written and lexically normal. A name for comparing, not for reaching the
// file again.
std::string realName(const std::string& path);
// The names in the open folder dir ("." and ".." left out), read through a
// descriptor of their own so that dir stays as it is; nullopt when the
// folder cannot be read.
std::optional<std::vector<std::string>> namesIn(int dir);
bool setCurrentFolder(const std::string& path);

// Symbolic links another user made. A link is followed only when it
// belongs to the running user, to root, or to the owner of what it leads
// to: one that someone else planted in a folder they may write must neither
// bring in a file that only the running user may read nor send a write
// over one of theirs.
// The same rule for anything one user leaves to speak for a file (a link,
// a record of files written): what `maker` made counts for a file of
// `owner` when maker is the running user, root, or owner.
bool madeByTrusted(uid_t maker, uid_t owner);
// The running user or root: whoever may speak for any file.
bool ownOrRoot(uid_t user);
// Whether the name itself may be followed (true for anything but a link).
bool linkTrusted(const std::string& path);
// The first link on the way to the path (a folder on the way, the name
// itself, and the links their targets lead through) that may not be
// followed, named as on that way; nullopt when there is none.
std::optional<std::string> foreignLink(const std::string& path);
// The German sentence that names such a link for the user; as the reason
// why `path` is not used, "Sie ..." when the link is that name itself.
std::string foreignLinkText(const std::string& link, const std::string& path = {});
// An open file (from openForReading) for reading through stdio.
std::FILE* openStream(Fd fd);

// The one open of a file for reading: the place's entry itself (it has
// been resolved already, a link there is not followed), never waiting for
// the writer of a pipe, and only a regular file (asked of the descriptor).
// Without it, one German sentence why in *why. The path form resolves the
// path first (links followed as resolve follows them).
Fd openForReading(const Place& at, std::string* why = nullptr);
// errno tells the failure (EISDIR or EINVAL for what is no file). Without
// followLast a link at the name is not followed but refused (ELOOP).
Fd openForReading(const std::string& path, std::string* why = nullptr, bool followLast = true);

// The bytes of a regular file; nullopt for anything else (a pipe is never
// waited on) and when it cannot be read, with one German sentence why in
// *why, the same as for a text file. A file behind another user's link is
// not read: *why then names the link.
std::optional<std::string> readFile(const std::string& path, std::string* why = nullptr);
std::optional<std::string> readFile(const Place& at, std::string* why = nullptr);
// The most a text file of the user's (settings file, side files, folder
// texts) may hold to be read whole: far above any real one, and far below
// what would exhaust the memory of a small machine.
inline constexpr int64_t kMaxTextFileBytes = int64_t{64} << 20;
// The whole content of such a file, open or by name (opened as readFile
// opens), from its start; false or nullopt, with one German sentence why
// (when `why` is given), when it is larger or cannot be read. Every whole
// read of a user's text file goes through here.
bool readTextAll(int fd, std::string& out, std::string& why);
std::optional<std::string> readTextFile(const std::string& path, std::string* why = nullptr);
std::optional<std::string> readTextFile(const Place& at, std::string* why = nullptr);
// All of `bytes` to an open file, going on after interrupted writes.
bool writeAll(int fd, std::string_view bytes);
// Creates `prefix` + a fresh number + `suffix` exclusively in the open
// folder dir (a few tries when the name is taken) and returns its
// descriptor, or -1; `name` is the name created there. A file or link
// already there is never opened.
int createFreshAt(int dir, const std::string& prefix, const std::string& suffix, unsigned mode, std::string& name);
// A temporary file in the folder, of a short name of its own (the process
// and a number), so that a target name of any length still leaves room for
// it. Until tempDone, a SIGTERM, SIGHUP or SIGINT removes it (once
// removeTempsOnSignals has been called); the first one made in a folder
// sweeps that folder first.
int createTemp(const std::string& folder, unsigned mode, std::string& path);
// The same in the open folder dir, which stays open until tempDone(name).
int createTempIn(int dir, unsigned mode, std::string& name);
void tempDone(const std::string& path);
void removeTempsOnSignals();
// Program start: a write past the file-size limit (ulimit -f, a service's
// limit) then fails with EFBIG and takes its failure path (the run's
// message, the original put back, the temporary file removed) instead of
// the signal killing the program half-way through a file; and
// removeTempsOnSignals.
void prepareSignals();
// In a child process before it runs another program: the file-size signal
// as this program was started with it, not as prepareSignals left it.
void restoreSignalsForChild();
// Removes the temporary files that runs which are no longer alive left in
// the folder (killed where no handler runs); the number removed.
int sweepStaleTemps(const std::string& folder);
// The same in the open folder.
int sweepStaleTempsAt(int dir);

// Told of every file or folder the program creates, renames or removes
// through this layer and the walks' file operations, so that a cached
// listing stays true.
using ChangeHook = void (*)(const std::string& path);
void setChangeHook(ChangeHook hook);
void changed(const std::string& path);

// Modification time of a folder or file, and setting it back (folders that
// a run writes into keep their date, on which galleries are sorted).
std::optional<struct timespec> modTime(const std::string& path);
bool setModTime(const std::string& path, const struct timespec& t);

// Writes to a temporary file in the same folder and renames it over the
// target only after a complete write; the old file survives any failure.
// durable: flushed to disk before the rename as well, for the user's own
// data (settings, rewritten originals); generated files that a new run
// makes again need not wait for the disk.
// A failure fills `why` (when given) with writeFailureText.
// beforeRename, when given, runs on the complete new file (still open,
// not yet under its name); false keeps the old file and fails the write.
using BeforeRename = std::function<bool(int fd)>;
bool writeFileAtomic(const std::string& path, const std::string& bytes, bool durable = true,
                     std::string* why = nullptr, const BeforeRename& beforeRename = {});
// The same at a place already reached; `path` names it in messages.
bool writeFileAtomic(const Place& at, const std::string& path, const std::string& bytes, bool durable = true,
                     std::string* why = nullptr, const BeforeRename& beforeRename = {});
// What became of rewriting an original.
struct RewriteResult {
  bool written = false;
  // German, for the user: why the file was not written; or, when it was,
  // what of it could not be kept (its date).
  std::string why;
};

// Rewrites one of the user's originals in place of itself: it keeps its
// owner, group, permission bits, extended attributes (desktop tags, ACLs,
// security labels), access and modification times to the nanosecond, and
// every other name it has. A flushed temporary file in the same folder
// replaces it; where that would lose something (several names, an owner
// or attribute the new file cannot be given) or is impossible (a folder
// the user may not write), the file is written over in place instead,
// with a complete copy of the original in the user's temporary folder
// until the new content is on disk, and put back from it when the write
// fails.
RewriteResult rewriteOriginal(const std::string& path, const std::string& bytes);
RewriteResult rewriteOriginal(const Place& at, const std::string& path, const std::string& bytes);

// Gives the open file the owner and group of `old` (a call that would
// change nothing is left out); false when they cannot be kept: an ordinary
// user cannot give a file away.
bool keepOwner(int fd, const struct stat& old);
// The whole content of an open file, read from its start; it stops once
// more than `most` bytes are in.
bool readAll(int fd, std::string& out, int64_t most = INT64_MAX);

// The system's reason (an errno value) in German words for the user.
std::string reasonText(int errnoValue);
// The one message for a file the program could not write: its name and the
// system's reason, so that a full disk or a size limit can be told apart
// from missing rights.
std::string writeFailureText(const std::string& path, int errnoValue);

// Adds '/' unless the text is empty or already ends in one.
std::string withTrailingSlash(std::string path);

// The status of the name itself (a link is not followed) or, with
// followLinks, of what it leads to; false (errno set) when there is none.
bool fileStatus(const std::string& path, struct stat& st, bool followLinks);
// Opens a file for appending (and reading back its end) without following
// a link at its name and without waiting on a pipe; a missing one is
// created with mode 0644. -1 with errno when it cannot be.
int openForAppend(const std::string& path);

}  // namespace mosaik::fs

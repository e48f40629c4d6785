#pragma once
// The record a folder for derived pictures keeps of the pictures the run
// wrote into it. A name and a date do not tell a derived picture from a
// photo of the user's: a copy from a memory card gives many files one
// date, a second camera counts from 0001 too, and `touch -r` sets any date
// to the nanosecond. The content does: each line holds a SHA-256 digest of
// the file as the run wrote it, which a faithful copy keeps (cp -a,
// rsync -a, tar, mv) and any other file fails.
//
// The record is a hidden file in the folder (hidden names are skipped by
// the walks and are no pictures), one line per file:
//
//   <inode> <size> <mtime s> <mtime ns> <ctime s> <ctime ns> sha256:<64 hex> <name>
//
// Fields are separated by one blank; the name is the last field, with
// blanks, control characters and '%' written as %XX. Fields a later
// version puts between the digest and the name are passed over. Lines of
// earlier versions ("<inode> <size> <mtime s> <mtime ns> <name>", the name
// unescaped blanks and all) still speak for the file of that inode, size
// and time.
//
// The cheap way: the file's inode, size and both times match a line. The
// change time is what no user can set (a copy, `touch`, a rename and a
// write change it), so a photo written into the file and dated back by
// `touch -r` does not pass. Otherwise the file's digest decides, compared
// with the lines for its name or its inode of the same size; a file proven
// so is entered anew, so that a copied gallery pays the digest once.
//
// Entries are only ever added; one that no longer matches a file there
// speaks for nothing, so a run killed half-way leaves no false entry. A
// record another user left in a shared folder speaks only for that user's
// files (the rule for links, fs::madeByTrusted), unless that user owns the
// folder and so may remove any file there anyway; one that another user may
// write, or is a link, or has several names and is no record of ours,
// speaks for nothing. None with several names is ever written through: it
// is replaced.
#include <sys/stat.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace mosaik {

inline constexpr const char* kAbleitungsbuch = ".mosaikschauer-bilder";

// What the record says of one file.
struct Nachweis {
  bool gilt = false;  // the record speaks for it
  // ... but not by a line for the file as it is now (a copy, a new date or
  // name, a line of an earlier version): its entry is to be made anew.
  bool veraltet = false;
  std::string digest;  // of its content, as far as known
};

// A file the record is to speak for.
struct Verzeichnet {
  std::string name;
  struct stat st;
  std::string digest;
};

class Ableitungsbuch {
 public:
  // The record of the folder; empty when there is none or it speaks for
  // nothing (then no file there counts as the program's).
  explicit Ableitungsbuch(const std::string& ordner);
  // What it says of the file `name` of the folder (as stat gave it).
  Nachweis nachweis(const std::string& name, const struct stat& datei) const;
  bool kennt(const std::string& name, const struct stat& datei) const { return nachweis(name, datei).gilt; }
  // Entries read, each file as often as a run wrote it.
  size_t eintraege() const { return zeilen_.size(); }
  // It is there but may not be added to in place (another user's, one of
  // several names, one others may write, a link, one that cannot be
  // read): it is written anew first.
  bool ersetzen() const { return ersetzen_; }
  // Its lines speak for every file: it belongs to the running user or
  // root, and nobody else may write it.
  bool vertraut() const { return !ersetzen_ || (lesbar_ && fs::ownOrRoot(besitzer_)); }
  // Why a record there speaks for nothing, one German sentence naming it;
  // empty when it speaks or is not there.
  const std::string& warum() const { return warum_; }
  // Its lines as read (those of ours), each with its end.
  const std::vector<std::string>& zeilen() const { return zeilen_; }

 private:
  using Schnell = std::tuple<ino_t, off_t, time_t, long, time_t, long>;
  using Alt = std::tuple<ino_t, off_t, time_t, long>;
  std::string ordner_;
  std::map<Schnell, std::string> schnell_;               // by inode, size and both times: the digest
  std::map<Alt, std::set<std::string>> proInode_;        // by inode, size and time: the digests
  std::set<Alt> alt_;                                    // the lines of earlier versions
  std::map<std::pair<std::string, off_t>, std::set<std::string>> proName_;  // by name and size
  std::vector<std::string> zeilen_;
  uid_t besitzer_ = 0;
  bool lesbar_ = false, ersetzen_ = false;
  bool besitztOrdner_ = false;  // its owner owns the folder
  std::string warum_;
};

// Writes the record of the folder anew with the files still there,
// through a temporary file. False when it cannot be; the old one stays.
bool AbleitungsbuchNeuSchreiben(const std::string& ordner, const std::vector<Verzeichnet>& dateien);

// Adds the file (as stat gives it, under the name it has or is about to
// take, with the digest of its content) to the record of the folder; false
// with the reason in German when the record cannot be written.
bool AbleitungEintragen(const std::string& ordner, const Verzeichnet& datei, std::string& grund);

// Enters a file the run writes to zielpfad in a folder that keeps a
// record: once before it takes its name, still open (so that a run killed
// at any point leaves no file of its own unrecorded), and once it has it
// (the rename gave it a new change time).
class Verzeichnung {
 public:
  Verzeichnung(const std::string& zielpfad, std::string& grund);
  // For the write: enters the complete new file.
  fs::BeforeRename vorher() const;
  // After the write: the entry of the file under its name, when it still
  // is the file entered.
  void nachher() const;

 private:
  struct Stand {
    std::string ordner, name;
    std::string* grund;
    bool eingetragen = false;
    Verzeichnet datei;
  };
  std::shared_ptr<Stand> stand_;
};

// A file stands at pfad that the record of its folder does not name: the
// user's, unless it holds what the run would put there.
bool UnverzeichnetDa(const std::string& pfad);
// The message that such a file stays; danach: what the run leaves undone.
std::string BleibtText(const std::string& pfad, const std::string& danach);

// Copies a file the run takes along (a picture's companion, a folder's
// text file) to nach. In a folder that keeps a record (verzeichnen) a file
// already there is replaced only when the record names it or it holds the
// same bytes, and the copy is entered; false with the message for the user
// otherwise.
bool BeilageKopieren(const std::string& von, const std::string& nach, bool verzeichnen, std::string& warum);

}  // namespace mosaik

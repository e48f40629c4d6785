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
// so is entered anew, so that a copied gallery pays the digest once. A line
// of an earlier version proves only the file of its inode, size and time,
// which no copy keeps.
//
// A run appends a line for every file it writes there, in one write. It
// writes the record anew from what it proved at its start when files were
// proven by their content or runs that replaced the pictures again and
// again made it long; one it may not add to in place is written anew as
// well. A line that no longer matches a file there speaks for nothing, so
// a run killed half-way leaves no false entry. A record another
// user left in a shared folder speaks only for that user's files (the rule
// for links, fs::madeByTrusted), unless that user owns the folder and so
// may remove any file there anyway; one that another user may write, or is
// a link, or has several names and is no record of ours, speaks for
// nothing. None with several names is ever written through: it is
// replaced.
//
// A run reads each folder's record once (Ableitungsbuecher) and holds the
// folder it writes derived pictures into for itself: a second run over the
// same folder stops at its start, before it reads a record that the first
// is about to change.
#include <sys/stat.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/CheckedFolders.h"
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
  // Entries read and made, each file as often as a run wrote it.
  size_t eintraege() const { return zeilen_.size(); }
  // It is there but may not be added to in place (another user's, one of
  // several names, one others may write, a link, one that cannot be
  // read): it is written anew first.
  bool ersetzen() const { return ersetzen_; }
  // Its lines speak for every file: it belongs to the running user or
  // root, and nobody else may write it.
  bool vertraut() const { return !ersetzen_ || (lesbar_ && fs::ownOrRoot(besitzer_)); }
  // Why a record there speaks for nothing, or why its lines of an earlier
  // version do not speak for a copy: one German sentence naming it; empty
  // otherwise.
  std::string warum() const;

  // Adds the file (as stat gives it, under the name it has or is about to
  // take, with the digest of its content): appended in one write, or the
  // record written anew where it may not be added to in place. False with
  // the reason in German when it cannot be written.
  bool eintragen(const Verzeichnet& datei, std::string& grund);
  // Writes the record anew with the files still there, through a temporary
  // file. False when it cannot be; the old one stays.
  bool neuSchreiben(const std::vector<Verzeichnet>& dateien);

 private:
  using Schnell = std::tuple<ino_t, off_t, time_t, long, time_t, long>;
  using Alt = std::tuple<ino_t, off_t, time_t, long>;
  // Takes the lines of the text (those of ours) into what the record says;
  // a last line without its end was cut off.
  void lesen(std::string_view text);
  // One line (with its end); false when it is none of ours.
  bool aufnehmen(std::string_view zeile);
  // Writes the text as the whole record, which from then on is this user's
  // and holds the text's lines only.
  bool schreiben(const std::string& text);
  void vergessen();

  std::string ordner_;
  std::map<Schnell, std::string> schnell_;               // by inode, size and both times: the digest
  std::map<Alt, std::set<std::string>> proInode_;        // by inode, size and time: the digests
  std::set<Alt> alt_;                                    // the lines of earlier versions
  std::map<std::pair<std::string, off_t>, std::set<std::string>> proName_;  // by name and size
  std::vector<std::string> zeilen_;
  uid_t besitzer_ = 0;
  std::optional<uid_t> ordnerBesitzer_;
  bool lesbar_ = false, ersetzen_ = false;
  std::string warum_;
};

// The records of one run: each folder's read once, when it is first asked
// for (a folder reached under two paths is one), and kept up to date with
// every entry the run makes, so that a run over many kept pictures does not
// read a record again for each of them. The folders locked for the run stay
// locked while it exists.
class Ableitungsbuecher {
 public:
  Ableitungsbuecher() = default;
  Ableitungsbuecher(const Ableitungsbuecher&) = delete;
  Ableitungsbuecher& operator=(const Ableitungsbuecher&) = delete;

  Ableitungsbuch& buch(const std::string& ordner);
  // Holds the folder for this run alone (a lock on it, which the end of the
  // run releases, also when the process dies). False when another run of
  // the program holds it; a folder that is not there or cannot be locked
  // is let pass (the checks that follow speak for it).
  bool sperren(const std::string& ordner);

 private:
  std::map<std::string, std::unique_ptr<Ableitungsbuch>> buecher_;
  std::vector<fs::Fd> sperren_;
};

// Enters a file the run writes to zielpfad in a folder that keeps a
// record (buecher, nullptr when its folder keeps none): once before it
// takes its name, still open (so that a run killed at any point leaves no
// file of its own unrecorded), and once it has it (the rename gave it a new
// change time).
class Verzeichnung {
 public:
  Verzeichnung(const std::string& zielpfad, Ableitungsbuecher* buecher, std::string& grund);
  // For the write: enters the complete new file; empty when nothing is
  // recorded.
  fs::BeforeRename vorher() const;
  // After the write: the entry of the file under its name, when it still
  // is the file entered.
  void nachher() const;

 private:
  struct Stand {
    std::string ordner, name;
    Ableitungsbuch* buch = nullptr;
    std::string* grund;
    bool eingetragen = false;
    Verzeichnet datei;
  };
  std::shared_ptr<Stand> stand_;
};

// A file stands at pfad that the record of its folder does not name: the
// user's, unless it holds what the run would put there.
bool UnverzeichnetDa(const std::string& pfad, Ableitungsbuecher& buecher);
// The message that such a file stays; danach: what the run leaves undone.
std::string BleibtText(const std::string& pfad, const std::string& danach);

// Copies a file the run takes along (a picture's companion, a folder's
// text file) to nach. In a folder that keeps a record (buecher given) a
// file already there is replaced only when the record names it or it holds
// the same bytes, and the copy is entered; false with the message for the
// user otherwise.
bool BeilageKopieren(const std::string& von, const std::string& nach, Ableitungsbuecher* buecher,
                     std::string& warum);

}  // namespace mosaik

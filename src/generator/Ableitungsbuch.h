#pragma once
// The record a folder for derived pictures keeps of the pictures the run
// wrote into it. A name and a date do not tell a derived picture from a
// photo of the user's: a copy from a memory card gives many files one
// date, and a second camera counts from 0001 too. The file itself does: a
// photo copied there later is another file (another inode), and one copied
// over the derived file changes its size or its time.
//
// The record is a hidden file in the folder (hidden names are skipped by
// the walks and are no pictures). Each line names one file: inode, size,
// modification time (seconds, nanoseconds) and, for the reader, the name.
// Entries are only ever added; one that no longer matches a file there
// speaks for nothing, so a run killed half-way leaves no false entry.
// A record another user left in a shared folder speaks only for that
// user's files (the rule for links, fs::madeByTrusted).
#include <sys/stat.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace mosaik {

inline constexpr const char* kAbleitungsbuch = ".mosaikschauer-bilder";

class Ableitungsbuch {
 public:
  // The record of the folder; empty when there is none or it cannot be
  // read (then no file there counts as the program's).
  explicit Ableitungsbuch(const std::string& ordner);
  // The file (as stat gave it) is one the record names.
  bool kennt(const struct stat& datei) const;
  // Entries read, each file as often as a run wrote it.
  size_t eintraege() const { return eintraege_; }
  // It belongs to another user (neither the running one nor root): what a
  // run adds to it would speak for nothing, so it is written anew first.
  bool fremd() const { return !fs::ownOrRoot(besitzer_); }

 private:
  std::set<std::tuple<ino_t, off_t, time_t, long>> dateien_;
  size_t eintraege_ = 0;
  uid_t besitzer_ = 0;
};

// Each run that replaces the folder's pictures adds their entries again:
// the record of the files still there (name and stat), written anew
// through a temporary file. False when it cannot be; the old one stays.
bool AbleitungsbuchNeuSchreiben(const std::string& ordner,
                                const std::vector<std::pair<std::string, struct stat>>& dateien);

// Adds the file (as stat gives it, under the name it has or is about to
// take) to the record of the folder; false with the reason in German when
// the record cannot be written.
bool AbleitungEintragen(const std::string& ordner, const std::string& name, const struct stat& datei,
                        std::string& grund);

// For a write to zielpfad in a folder that keeps a record: enters the new
// file (still open, not yet under its name) into the record, so that a run
// killed at any point leaves no file of its own unrecorded.
fs::BeforeRename AbleitungVerzeichnen(const std::string& zielpfad, std::string& grund);

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

#pragma once
// Profile (INI) files: section lines "[Name]" followed by "Key=Value" lines.
// Section and key names compare without regard to case (ASCII and the
// Latin-1 letters). Reading removes the blanks around a value and one pair of
// enclosing quotes (single or double); there is no length limit. Writing keeps
// every line it does not touch, in its order: an existing key gets its new
// value in place, a new key goes after the last line of its section, a new
// section to the end of the file behind an empty line.
//
// The file is Windows-1252 with CR LF line ends; when a line would not read
// back as written (a character that Windows-1252 cannot hold, or bytes that
// would read as UTF-8), the whole file is written as UTF-8 with a
// byte-order mark. Without the mark reading decides line by line
// (decodeText), so a line edited in a UTF-8 terminal reads right beside the
// others; it also reads UTF-16 with its byte-order mark (refused when other
// bytes are mixed in) and lines ended by LF, CR LF or CR alone.
// Nothing reaches the disk before speichern() (dateiErsetzen below), so a
// failed write leaves the old file intact.
#include <sys/types.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CheckedFolders.h"

namespace mosaik {

// Why a file that is there but could not be read is not saved over.
inline constexpr const char* kUngelesenNichtUeberschrieben =
    "Sie konnte nicht gelesen werden und wird darum nicht überschrieben.";

// A write the system refuses; the text names the file.
class IniFehler : public std::runtime_error {
 public:
  // grund: what the message adds (" (keine Berechtigung)", or a line
  // of its own beginning with CR LF).
  explicit IniFehler(const std::string& datei, const std::string& grund = "");
  const std::string& datei() const { return datei_; }
  const std::string& grund() const { return grund_; }

 private:
  std::string datei_, grund_;
};

// A settings file as chosen: the folder it lies in, held open from the
// moment it was chosen (the links on the way followed then, once, as the
// resolver follows them), its name in that folder, and its path for
// messages. Everything done with the file, and with its side files (names
// in the same folder), starts from that folder: another user who exchanges
// a folder on the way afterwards changes nothing. Copies share the folder.
class Einstellungsort {
 public:
  Einstellungsort() = default;
  // Chooses the file: opens its folder now (with ordnerAnlegen, missing
  // folders are made). A folder that cannot be opened, or only through
  // another user's link, is not held; grund() says why. Not explicit: a
  // path given where a settings file is expected chooses it there, once.
  Einstellungsort(std::string pfad, bool ordnerAnlegen = false);
  // The file `name` in the same folder.
  Einstellungsort nebenan(const std::string& name) const;

  const std::string& pfad() const { return pfad_; }
  const std::string& name() const { return name_; }
  // The folder is held open (and has not been removed since).
  bool gehalten() const;
  // Why the folder is not held (one German sentence), and the system's
  // reason (errno; ENOENT or ENOTDIR when it is not there at all).
  const std::string& grund() const { return grund_; }
  int fehler() const { return fehler_; }

  enum class Stand { Fehlt, Datei, Anderes };
  // What stands under the name: nothing (also an own link to nothing), a
  // regular file (also behind an own link), or anything else (a folder, a
  // pipe, a link that is not followed, a folder that is not held because
  // of such a link).
  Stand stand() const;
  // The same file: the same folder and name, with the links at the names
  // followed as reading follows them.
  bool gleich(const Einstellungsort& o) const;
  // The file's own place in the held folder (the name itself, unresolved).
  fs::Place platz() const;

 private:
  std::shared_ptr<const fs::Fd> ordner_;
  std::string pfad_, name_, grund_;
  int fehler_ = ENOENT;
};

// A settings or side file as read under the rule of dateiErsetzen: a
// symbolic link is followed under the file system's rule for links another
// user made (fs::madeByTrusted), and a file or link of another user (not
// root) in a folder that others may write is not taken (whoever may write
// there could have put it there).
struct Einstellungsinhalt {
  // Something stands under the name (an own link leading nowhere does not).
  bool vorhanden = false;
  bool gelesen = false;
  std::string bytes;
  // When it is there but was not read: why, one German sentence.
  std::string grund;
};
Einstellungsinhalt einstellungsdateiLesen(const Einstellungsort& ort);

class IniDatei {
 public:
  // Reads the file when it exists. A file that is there but cannot be read
  // (or is refused, or holds no recognisable section) reads as empty, says
  // why in lesefehler(), and speichern() then refuses to replace it.
  explicit IniDatei(Einstellungsort ort);

  const std::string& pfad() const { return ort_.pfad(); }
  bool vorhanden() const { return vorhanden_; }
  // Empty when the file was read or is missing.
  const std::string& lesefehler() const { return lesefehler_; }

  // The value, trimmed and unquoted; nullopt when the section or key is missing.
  std::optional<std::string> lesen(std::string_view sektion, std::string_view schluessel) const;
  std::string lesen(std::string_view sektion, std::string_view schluessel, const std::string& vorgabe) const;

  // Sets one key (creating section and key as needed). A CR or LF in the
  // value is written as "#$0D" / "#$0A", so a value is always one line.
  void schreiben(std::string_view sektion, std::string_view schluessel, std::string_view wert);
  // Removes one key; a missing key is no error.
  void loeschen(std::string_view sektion, std::string_view schluessel);

  // Writes the file; one that holds these bytes already is only proved
  // writable, so that it serves as a write test without a rewrite.
  // Throws IniFehler when the file cannot be written.
  void speichern();

  // The bytes speichern() writes.
  std::string inhalt() const;

 private:
  struct Fundstelle {
    size_t kopf = 0;   // index of the section line
    size_t ende = 0;   // one past the section's last line
  };
  std::optional<Fundstelle> sektionFinden(std::string_view sektion) const;
  std::optional<size_t> schluesselFinden(const Fundstelle& s, std::string_view schluessel) const;

  Einstellungsort ort_;
  std::vector<std::string> zeilen_;  // UTF-8, without line ends
  bool lesbar_ = true;
  bool vorhanden_ = false;
  std::string lesefehler_;
};

// Names compared as the profile files compare them.
bool iniNamenGleich(std::string_view a, std::string_view b);

// Replaces a file with the given bytes (the settings file and its side
// files). A file or folder without any write permission bit counts as
// read-only even for a privileged user (as the read-only attribute does
// elsewhere). Writers of one file take turns (a lock on it). A file that
// already holds these bytes is not rewritten: the write is only proved
// possible. Otherwise through a temporary file in the same folder, which
// takes the old file's owner, group and mode and replaces it only after a
// complete, flushed write; where the folder takes no new file or the owner
// cannot be kept, the file itself is rewritten, its space taken first and
// its length set last. A symbolic link is followed, not replaced, when the
// file system's rule for links allows it (fs::madeByTrusted); otherwise it
// is refused, and so is a file or link of another user (not root) in a
// folder that others may write. Everything happens in the folder held by
// `ort` and, behind a link, in the folders the link leads to, reached once.
// False on failure; the old file is then unchanged, and `warum` (when
// given) says why as IniFehler adds it to its message.
bool dateiErsetzen(const Einstellungsort& ort, const std::string& bytes, std::string* warum = nullptr);

namespace testhaken {
// Runs when the new content stands complete in its temporary file, before
// it replaces the old one.
inline void (*vorDemUmbenennen)() = nullptr;
// How often a lock held by another is tried for (every 25 ms) before the
// access fails.
inline int sperrVersuche = 400;
}  // namespace testhaken

}  // namespace mosaik

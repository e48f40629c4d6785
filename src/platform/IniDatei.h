#pragma once
// Profile (INI) files: section lines "[Name]" followed by "Key=Value" lines.
// Section and key names compare without regard to case (ASCII and the
// Latin-1 letters). Reading removes the blanks around a value and one pair of
// enclosing quotes (single or double); there is no length limit. Writing keeps
// every line it does not touch, in its order: an existing key gets its new
// value in place, a new key goes after the last line of its section, a new
// section to the end of the file behind an empty line.
//
// The file is Windows-1252 with CR LF line ends; when a line holds a
// character that Windows-1252 cannot, the whole file is written as UTF-8 with
// a byte-order mark. Reading accepts both (and UTF-8 without the mark).
// Nothing reaches the disk before speichern(), which replaces the file
// through a temporary file, so a failed write leaves the old file intact.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mosaik {

// A write the system refuses; the text names the file.
class IniFehler : public std::runtime_error {
 public:
  explicit IniFehler(const std::string& datei);
  const std::string& datei() const { return datei_; }

 private:
  std::string datei_;
};

class IniDatei {
 public:
  // Reads the file when it exists. A file that exists but cannot be read
  // reads as empty, and speichern() then refuses to replace it.
  explicit IniDatei(std::string pfad);

  const std::string& pfad() const { return pfad_; }

  // The value, trimmed and unquoted; nullopt when the section or key is missing.
  std::optional<std::string> lesen(std::string_view sektion, std::string_view schluessel) const;
  std::string lesen(std::string_view sektion, std::string_view schluessel, const std::string& vorgabe) const;

  // Sets one key (creating section and key as needed). A CR or LF in the
  // value is written as "#$0D" / "#$0A", so a value is always one line.
  void schreiben(std::string_view sektion, std::string_view schluessel, std::string_view wert);
  // Removes one key; a missing key is no error.
  void loeschen(std::string_view sektion, std::string_view schluessel);

  // Writes the file (always, so that it also serves as a write test).
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

  std::string pfad_;
  std::vector<std::string> zeilen_;  // UTF-8, without line ends
  bool lesbar_ = true;
};

// Names compared as the profile files compare them.
bool iniNamenGleich(std::string_view a, std::string_view b);

// Replaces a file with the given bytes. A file or folder without any write
// permission bit counts as read-only even for a privileged user (as the
// read-only attribute does elsewhere). Through a temporary file in the same
// folder and a rename; only when the folder cannot be written but the file
// can, the file is rewritten in place. A symbolic link is followed, not
// replaced. False on failure; the old file is then unchanged.
bool dateiErsetzen(const std::string& pfad, const std::string& bytes);

}  // namespace mosaik

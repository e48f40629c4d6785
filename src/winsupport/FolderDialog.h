#pragma once
// The folder-browse dialog: the caller sets Folder, calls Execute and reads
// Folder back when it returns true. The chooser itself is the dialog
// service's; this component adds the label in the user's language and the
// status line with the shortened path.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialogs.h"

namespace mosaik {

enum class TBrowseInfoFlag : uint8_t {
  OnlyComputers,
  OnlyPrinters,
  OnlyDomains,
  OnlyAncestors,
  OnlyFileSystem,
  ShowPath,
  EditBox,
  Includefiles,
  IncludeURLs,
  NewDialogStyle,
  UsageHint,
  HideNewFolderButton,
  ShowShared,
  Validate,
};

// The browse-information bit each flag sets.
uint32_t browseInfoBit(TBrowseInfoFlag f);

class TBrowseInfoFlags {
 public:
  TBrowseInfoFlags() = default;
  TBrowseInfoFlags(std::initializer_list<TBrowseInfoFlag> fs) {
    for (TBrowseInfoFlag f : fs) insert(f);
  }
  bool contains(TBrowseInfoFlag f) const { return (menge_ >> static_cast<unsigned>(f)) & 1u; }
  void insert(TBrowseInfoFlag f) { menge_ |= 1u << static_cast<unsigned>(f); }
  // The OR of the browse-information bits of the flags in the set.
  uint32_t bits() const;
  friend bool operator==(const TBrowseInfoFlags&, const TBrowseInfoFlags&) = default;

 private:
  uint32_t menge_ = 0;
};

// Caption lists: entries "key=text", the key a language identifier in four
// upper-case hex digits or "Default".
using Beschriftungen = std::vector<std::string>;
const Beschriftungen& standardLabelTexte();
// The entry of the language; else the "Default" entry; else the first
// entry's text; empty for an empty list.
std::string beschriftungSuchen(const Beschriftungen& liste, std::string_view sprache);

// The language identifier of a locale name ("de_DE.UTF-8" gives "0407");
// "" when the language is not known here (the "Default" texts then apply).
std::string sprachschluessel(std::string_view localeName);
// The language of the user's messages (LC_ALL, LC_MESSAGES, LANG).
std::string systemSprachschluessel();

// The status line: at most m characters; a long path keeps its start up to
// the first separator and as many of its last folders as fit, with "..."
// between them.
std::string statusTextKuerzen(const std::string& text, int m = 50);

class TFolderDialog {
 public:
  // sprache: the language identifier that picks the texts; without one,
  // the language of the dialogs the service shows.
  TFolderDialog(DialogService& dialoge, const std::string& sprache);
  explicit TFolderDialog(DialogService& dialoge);

  std::string Folder;
  TBrowseInfoFlags Flags{TBrowseInfoFlag::ShowPath, TBrowseInfoFlag::NewDialogStyle, TBrowseInfoFlag::ShowShared};

  const std::string& labelText() const { return labelText_; }

  // True when the user chose an item: Folder is then its path (empty for an
  // item without one). On cancel Folder keeps its value.
  bool Execute();

 private:
  DialogService& dialoge_;
  std::string labelText_;
};

}  // namespace mosaik

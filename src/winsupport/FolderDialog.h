#pragma once
// The folder-browse dialog: the caller sets Folder, calls Execute and reads
// Folder back when it returns true. The chooser itself is the dialog
// service's; this component adds the caption and label in the user's
// language, the status line with the shortened path, the new-folder step
// and the special folders as start, root and answer.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialogs.h"
#include "winsupport/SpecialFolders.h"

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
  void erase(TBrowseInfoFlag f) { menge_ &= ~(1u << static_cast<unsigned>(f)); }
  // The OR of the browse-information bits of the flags in the set.
  uint32_t bits() const;
  friend bool operator==(const TBrowseInfoFlags&, const TBrowseInfoFlags&) = default;

 private:
  uint32_t menge_ = 0;
};

enum class TSHFolders : uint8_t {
  foDesktop,
  foDesktopExpanded,
  foPrograms,
  foControlPanel,
  foPrinters,
  foPersonal,
  foFavorites,
  foStartup,
  foRecent,
  foSendto,
  foRecycleBin,
  foStartMenu,
  foDesktopFolder,
  foMyComputer,
  foNetwork,
  foNetworkNeighborhood,
  foFonts,
  foTemplates,
};

// The shell folder constant of a root; -1 for foDesktopExpanded (no root).
int rootCsidl(TSHFolders r);
// The path of a shell folder constant on this system; nullopt for constants
// without a folder here.
std::optional<std::string> csidlPfad(int csidl, const Umgebung& env);

// Caption lists: entries "key=text", the key a language identifier in four
// upper-case hex digits or "Default".
using Beschriftungen = std::vector<std::string>;
const Beschriftungen& standardNeuerOrdnerTexte();
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

// The classic dialog's new-folder button at a screen resolution: left edge,
// width and height; and its width for a text of the given width.
struct KnopfMasse {
  int links, breite, hoehe;
  friend bool operator==(const KnopfMasse&, const KnopfMasse&) = default;
};
KnopfMasse neuerOrdnerKnopf(int dpi);
int neuerOrdnerKnopfBreite(int textBreite, int dpi);

class TFolderDialog {
 public:
  static constexpr std::string_view Version = "8.20.00.00";

  // sprache: the language identifier that picks the texts.
  explicit TFolderDialog(DialogService& dialoge, std::string sprache = systemSprachschluessel(),
                         Umgebung umgebung = prozessUmgebung());

  bool ReturnSpecialFolder = false;
  int SpecialFolder = -1;
  std::string Folder;
  TBrowseInfoFlags Flags{TBrowseInfoFlag::ShowPath, TBrowseInfoFlag::NewDialogStyle, TBrowseInfoFlag::ShowShared};
  TSHFolders RootFolder = TSHFolders::foDesktopExpanded;
  Beschriftungen Titles;

  const Beschriftungen& LabelCaptions() const { return labelListe_; }
  const Beschriftungen& NewFolderCaptions() const { return neuListe_; }
  void setLabelCaptions(Beschriftungen l);
  void setNewFolderCaptions(Beschriftungen l);
  const std::string& labelText() const { return labelText_; }
  const std::string& newFolderText() const { return neuText_; }
  const std::string& sprache() const { return sprache_; }

  // True when the user chose an item: Folder is then its path (empty for an
  // item without one) and, with ReturnSpecialFolder, SpecialFolder the
  // shell folder constant it is, or -1. On cancel Folder keeps its value.
  bool Execute();

 private:
  DialogService& dialoge_;
  std::string sprache_;
  Umgebung umgebung_;
  Beschriftungen labelListe_, neuListe_;
  std::string labelText_, neuText_;
};

}  // namespace mosaik

#include "winsupport/FolderDialog.h"

#include <cstdlib>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

constexpr uint32_t kBits[] = {
    0x1000,  // OnlyComputers
    0x2000,  // OnlyPrinters
    0x2,     // OnlyDomains
    0x8,     // OnlyAncestors
    0x1,     // OnlyFileSystem
    0x4,     // ShowPath
    0x10,    // EditBox
    0x4000,  // Includefiles
    0x80,    // IncludeURLs
    0x40,    // NewDialogStyle
    0x100,   // UsageHint
    0x200,   // HideNewFolderButton
    0x8000,  // ShowShared
    0x20,    // Validate
};

// The shell folder constants and the special folder each one is here.
struct Csidl {
  int wert;
  SpecialFolder ordner;
};
constexpr Csidl kCsidl[] = {
    {0x00, SpecialFolder::Desktop},
    {0x01, SpecialFolder::Internet},
    {0x02, SpecialFolder::Programs},
    {0x03, SpecialFolder::Controls},
    {0x04, SpecialFolder::Printers},
    {0x05, SpecialFolder::Personal},
    {0x06, SpecialFolder::Favorites},
    {0x07, SpecialFolder::Startup},
    {0x08, SpecialFolder::Recent},
    {0x09, SpecialFolder::SendTo},
    {0x0A, SpecialFolder::BitBucket},
    {0x0B, SpecialFolder::StartMenu},
    {0x10, SpecialFolder::DesktopDirectory},
    {0x11, SpecialFolder::Drives},
    {0x12, SpecialFolder::Network},
    {0x13, SpecialFolder::NetHood},
    {0x14, SpecialFolder::Fonts},
    {0x15, SpecialFolder::Templates},
    {0x16, SpecialFolder::CommonStartMenu},
    {0x17, SpecialFolder::CommonPrograms},
    {0x18, SpecialFolder::CommonStartup},
    {0x19, SpecialFolder::CommonDesktopDirectory},
    {0x1A, SpecialFolder::AppData},
    {0x1B, SpecialFolder::PrintHood},
    {0x1C, SpecialFolder::LocalAppData},
    {0x1D, SpecialFolder::AltStartup},
    {0x1E, SpecialFolder::CommonAltStartup},
    {0x1F, SpecialFolder::CommonFavorites},
    {0x20, SpecialFolder::InternetCache},
    {0x21, SpecialFolder::Cookies},
    {0x22, SpecialFolder::History},
    {0x23, SpecialFolder::CommonAppData},
    {0x24, SpecialFolder::Windows},
    {0x25, SpecialFolder::System},
    {0x26, SpecialFolder::ProgramFiles},
    {0x27, SpecialFolder::MyPictures},
    {0x28, SpecialFolder::Profile},
    {0x29, SpecialFolder::SystemX86},
    {0x2A, SpecialFolder::ProgramFilesX86},
    {0x2B, SpecialFolder::ProgramFilesCommon},
    {0x2C, SpecialFolder::ProgramFilesCommonX86},
    {0x2D, SpecialFolder::CommonTemplates},
    {0x2E, SpecialFolder::CommonDocuments},
    {0x2F, SpecialFolder::CommonAdminTools},
    {0x30, SpecialFolder::AdminTools},
};

constexpr int kRootCsidl[] = {0x00, -1, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                              0x09, 0x0A, 0x0B, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15};

// Language and territory of a locale name and the identifier the texts are
// keyed by; a language alone takes its first row.
struct Sprache {
  const char* locale;
  const char* schluessel;
};
constexpr Sprache kSprachen[] = {
    {"da_DK", "0406"}, {"de_DE", "0407"}, {"en_US", "0409"}, {"fr_FR", "040C"}, {"it_IT", "0410"},
    {"nl_NL", "0413"}, {"pl_PL", "0415"}, {"pt_BR", "0416"}, {"de_CH", "0807"}, {"en_GB", "0809"},
    {"fr_BE", "080C"}, {"it_CH", "0810"}, {"nl_BE", "0813"}, {"pt_PT", "0816"}, {"de_AT", "0C07"},
    {"en_AU", "0C09"}, {"fr_CA", "0C0C"}, {"de_LU", "1007"}, {"en_CA", "1009"}, {"fr_CH", "100C"},
    {"de_LI", "1407"}, {"en_NZ", "1409"}, {"fr_LU", "140C"}, {"en_IE", "1809"}, {"fr_MC", "180C"},
    {"en_ZA", "1C09"}, {"en_JM", "2009"}, {"en_BZ", "2809"}, {"en_TT", "2C09"},
};

// The same text for every language identifier of one language.
void sprachfamilie(Beschriftungen& l, std::initializer_list<const char*> schluessel, const char* text) {
  for (const char* s : schluessel) l.push_back(std::string(s) + "=" + text);
}

Beschriftungen weitereSprachen(const char* deutsch, const char* englisch, const char* franzoesisch,
                               const char* italienisch) {
  Beschriftungen l;
  sprachfamilie(l, {"0807"}, deutsch);
  sprachfamilie(l, {"0809"}, englisch);
  sprachfamilie(l, {"080C"}, franzoesisch);
  sprachfamilie(l, {"0810"}, italienisch);
  sprachfamilie(l, {"0C07"}, deutsch);
  sprachfamilie(l, {"0C09"}, englisch);
  sprachfamilie(l, {"0C0C"}, franzoesisch);
  sprachfamilie(l, {"1007"}, deutsch);
  sprachfamilie(l, {"1009"}, englisch);
  sprachfamilie(l, {"100C"}, franzoesisch);
  sprachfamilie(l, {"1407"}, deutsch);
  sprachfamilie(l, {"1409"}, englisch);
  sprachfamilie(l, {"140C"}, franzoesisch);
  sprachfamilie(l, {"1809"}, englisch);
  sprachfamilie(l, {"180C"}, franzoesisch);
  sprachfamilie(l, {"1C09", "2009", "2809", "2C09"}, englisch);
  return l;
}

Beschriftungen mitWeiteren(Beschriftungen l, const Beschriftungen& weitere) {
  l.insert(l.end(), weitere.begin(), weitere.end());
  return l;
}

std::string ohneSchlussstrich(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

}  // namespace

uint32_t browseInfoBit(TBrowseInfoFlag f) { return kBits[static_cast<size_t>(f)]; }

uint32_t TBrowseInfoFlags::bits() const {
  uint32_t b = 0;
  for (size_t i = 0; i < std::size(kBits); ++i)
    if (contains(static_cast<TBrowseInfoFlag>(i))) b |= kBits[i];
  return b;
}

int rootCsidl(TSHFolders r) { return kRootCsidl[static_cast<size_t>(r)]; }

std::optional<std::string> csidlPfad(int csidl, const Umgebung& env) {
  for (const Csidl& c : kCsidl)
    if (c.wert == csidl) {
      auto p = specialFolderPath(c.ordner, env);
      if (p && !p->empty()) return p;
      return std::nullopt;
    }
  return std::nullopt;
}

const Beschriftungen& standardNeuerOrdnerTexte() {
  static const Beschriftungen l = mitWeiteren(
      {"Default=New folder", "0009=New folder", "0406=Ny mappe", "0407=Neuer Ordner", "0409=New folder",
       "040C=Nouveau Dossier", "0410=Nuova Cartella", "0413=Nieuwe map", "0415=Nowy folder", "0416=Nova Pasta"},
      weitereSprachen("Neuer Ordner", "New folder", "Nouveau Dossier", "Nuova Cartella"));
  return l;
}

const Beschriftungen& standardLabelTexte() {
  static const Beschriftungen l = mitWeiteren(
      {"Default=Current folder:", "0009=Current folder:", "0406=Valgt mappe:", "0407=Ausgewählter Ordner:",
       "0409=Current folder:", "040C=Dossier Courant:", "0410=Cartella selezionata:", "0413=Huidige map:",
       "0415=Wybrany folder:", "0416=Pasta Atual:"},
      weitereSprachen("Ausgewählter Ordner:", "Current folder:", "Dossier Courant:", "Cartella selezionata:"));
  return l;
}

std::string beschriftungSuchen(const Beschriftungen& liste, std::string_view sprache) {
  auto textVon = [](const std::string& eintrag) {
    const auto gleich = eintrag.find('=');
    return gleich == std::string::npos ? std::string() : eintrag.substr(gleich + 1);
  };
  auto suchen = [&](std::string_view schluessel) -> const std::string* {
    if (schluessel.empty()) return nullptr;
    for (const std::string& e : liste)
      if (e.size() > schluessel.size() && e.compare(0, schluessel.size(), schluessel) == 0 &&
          e[schluessel.size()] == '=')
        return &e;
    return nullptr;
  };
  if (const std::string* e = suchen(sprache)) return textVon(*e);
  if (const std::string* e = suchen("Default")) return textVon(*e);
  return liste.empty() ? std::string() : textVon(liste.front());
}

std::string sprachschluessel(std::string_view name) {
  // "de_DE.UTF-8@euro": the language and territory only.
  const auto ende = name.find_first_of(".@");
  if (ende != std::string_view::npos) name = name.substr(0, ende);
  if (name.empty() || name == "C" || name == "POSIX") return {};
  for (const Sprache& s : kSprachen)
    if (name == s.locale) return s.schluessel;
  const std::string_view sprache = name.substr(0, name.find('_'));
  for (const Sprache& s : kSprachen)
    if (std::string_view(s.locale).substr(0, 2) == sprache && sprache.size() == 2) return s.schluessel;
  return {};
}

std::string systemSprachschluessel() {
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(var);
    if (v && *v) return sprachschluessel(v);
  }
  return {};
}

std::string statusTextKuerzen(const std::string& utf8, int m) {
  const std::u32string text = toCodePoints(utf8);
  const auto n = static_cast<int>(text.size());
  int trenner = 0;
  for (char32_t c : text) trenner += c == U'/';
  if (n <= m || m < 6 || trenner < 2) return fromCodePoints(text.substr(0, static_cast<size_t>(std::max(m, 0))));
  std::u32string rest = text;
  std::u32string ergebnis;
  // A network path "//rechner/freigabe/...": both separators stay in front.
  if (rest.starts_with(U"//")) {
    ergebnis = U"//";
    rest.erase(0, 2);
  }
  const auto erster = rest.find(U'/');
  ergebnis += rest.substr(0, erster + 1) + U"...";
  rest.erase(0, erster + 1);
  auto zuLang = [&] { return static_cast<int>(ergebnis.size() + rest.size()) + 1 > m; };
  while (zuLang() && rest.find(U'/') != std::u32string::npos) rest.erase(0, rest.find(U'/') + 1);
  if (zuLang()) return fromCodePoints((ergebnis + U'/' + rest).substr(0, static_cast<size_t>(m - 3)) + U"...");
  return fromCodePoints(ergebnis + U'/' + rest);
}

KnopfMasse neuerOrdnerKnopf(int dpi) {
  switch (dpi) {
    case 72:
    case 96: return {12, 75, 23};
    case 120: return {15, 93, 28};
    case 144: return {17, 112, 35};
    case 192: return {20, 150, 41};
    default: return {12 * dpi / 96, 75 * dpi / 96, 23 * dpi / 96};
  }
}

int neuerOrdnerKnopfBreite(int textBreite, int dpi) {
  const int mindestens = dpi == 72 ? 75 : 75 * dpi / 96;
  return std::max(textBreite + 12, mindestens);
}

TFolderDialog::TFolderDialog(DialogService& dialoge, std::string sprache, Umgebung umgebung)
    : dialoge_(dialoge), sprache_(std::move(sprache)), umgebung_(std::move(umgebung)) {
  setLabelCaptions(standardLabelTexte());
  setNewFolderCaptions(standardNeuerOrdnerTexte());
}

void TFolderDialog::setLabelCaptions(Beschriftungen l) {
  labelListe_ = std::move(l);
  labelText_ = beschriftungSuchen(labelListe_, sprache_);
}

void TFolderDialog::setNewFolderCaptions(Beschriftungen l) {
  neuListe_ = std::move(l);
  neuText_ = beschriftungSuchen(neuListe_, sprache_);
}

bool TFolderDialog::Execute() {
  FolderDialogOptions o;
  // An empty list gives an empty caption: the chooser keeps its own.
  o.title = Titles.empty() ? std::string() : beschriftungSuchen(Titles, sprache_);
  o.label = labelText_;
  o.flags = Flags.bits();
  if (Flags.contains(TBrowseInfoFlag::ShowPath)) o.statusText = [](const std::string& p) { return statusTextKuerzen(p); };
  if (const int root = rootCsidl(RootFolder); root >= 0) o.root = csidlPfad(root, umgebung_).value_or(std::string());
  o.folder = Folder;
  if (SpecialFolder != -1)
    if (auto p = csidlPfad(SpecialFolder, umgebung_); p && fs::folderExists(*p)) o.folder = *p;

  for (;;) {
    const std::optional<FolderChoice> wahl = dialoge_.chooseFolder(o);
    if (!wahl) return false;
    if (!wahl->newFolderName) {
      Folder = wahl->path;
      break;
    }
    // A new folder below the selection, then the chooser again with it
    // selected; a name given as nothing leaves the selection as it was.
    const std::string& name = *wahl->newFolderName;
    o.folder = wahl->path;
    if (name.empty() || wahl->path.empty()) continue;
    std::string neu = wahl->path;
    if (name.front() != '/' && neu.back() != '/') neu += '/';
    neu += name;
    if (fs::forceDirectories(neu) && fs::folderExists(neu)) {
      o.folder = neu;
    } else {
      dialoge_.message(MsgKind::Error, "Der Ordner " + neu + "\r\nkann nicht angelegt werden!", MsgButtons::Ok);
    }
  }

  if (ReturnSpecialFolder) {
    SpecialFolder = -1;
    const std::string gewaehlt = ohneSchlussstrich(Folder);
    for (int c = 0; c <= 255 && !gewaehlt.empty(); ++c)
      if (auto p = csidlPfad(c, umgebung_); p && ohneSchlussstrich(*p) == gewaehlt) {
        SpecialFolder = c;
        break;
      }
  }
  return true;
}

}  // namespace mosaik

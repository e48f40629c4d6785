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

}  // namespace

uint32_t browseInfoBit(TBrowseInfoFlag f) { return kBits[static_cast<size_t>(f)]; }

uint32_t TBrowseInfoFlags::bits() const {
  uint32_t b = 0;
  for (size_t i = 0; i < std::size(kBits); ++i)
    if (contains(static_cast<TBrowseInfoFlag>(i))) b |= kBits[i];
  return b;
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
  // A network path's leading "//" holds no separator between folders; a
  // local path has no drive letter in front, so its root separator counts.
  int trenner = 0;
  for (size_t i = text.starts_with(U"//") ? 2 : 0; i < text.size(); ++i) trenner += text[i] == U'/';
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

TFolderDialog::TFolderDialog(DialogService& dialoge, const std::string& sprache)
    : dialoge_(dialoge), labelText_(beschriftungSuchen(standardLabelTexte(), sprache)) {}

TFolderDialog::TFolderDialog(DialogService& dialoge)
    : TFolderDialog(dialoge, dialoge.language().empty() ? systemSprachschluessel() : sprachschluessel(dialoge.language())) {}

bool TFolderDialog::Execute() {
  FolderDialogOptions o;
  o.label = labelText_;
  o.flags = Flags.bits();
  if (Flags.contains(TBrowseInfoFlag::ShowPath)) o.statusText = [](const std::string& p) { return statusTextKuerzen(p); };
  o.folder = Folder;
  const std::optional<FolderChoice> wahl = dialoge_.chooseFolder(o);
  if (!wahl) return false;
  Folder = wahl->path;
  return true;
}

}  // namespace mosaik

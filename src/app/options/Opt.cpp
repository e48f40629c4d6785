#include "app/options/Opt.h"

#include <array>

namespace mosaik {
namespace {
// The group column names the group's first member, or Count for none.
constexpr std::array<OptInfo, kOptCount> kInfo = {{
#define OPT(name, kind, page, group, min, max, caption) \
  {#name, Kind::kind, Page::page, Opt::group, min, max, caption},
#include "app/options/OptionTable.def"
#undef OPT
}};
}  // namespace

const OptInfo& info(Opt o) { return kInfo[static_cast<size_t>(o)]; }

std::optional<Opt> optByName(std::string_view name) {
  for (int i = 0; i < kOptCount; ++i)
    if (kInfo[i].name == name) return static_cast<Opt>(i);
  return std::nullopt;
}

bool onNavigationWindow(Opt o) {
  const Page p = info(o).page;
  return p == Page::NavTabUebersicht || p == Page::NavTabGross;
}

std::string_view procName(Proc p) {
  switch (p) {
    case Proc::EdgrosseBilderPfadnameAnpassen: return "EdgrosseBilderPfadnameAnpassen";
    case Proc::EdVorschauPfadnameAnpassen: return "EdVorschauPfadnameAnpassen";
    case Proc::RBModusAnfaengerClick: return "RBModusAnfaengerClick";
  }
  return "";
}

std::string_view pageCaption(Page p) {
  switch (p) {
    case Page::TabSheetOrdner: return "&Ordner";
    case Page::TabSheetGrosseBilder: return "&Große Bilder";
    case Page::TabSheetVorschau: return "&Vorschaubilder";
    case Page::TabSheetLayout1: return "Layout &1";
    case Page::TabSheetlayout2: return "Layout &2";
    case Page::TabSheetFarbenFonts: return "&Farben, Fonts";
    case Page::TabSTexte: return "&Texte";
    case Page::TabSExtraTexte: return "&Extra-Texte";
    case Page::TabSheetSonstiges: return "So&nstiges";
    case Page::TabSheetSpezielles: return "Spe&zielles";
    case Page::TabSheet1: return "Hea&der und Dateiabschluss";
    case Page::TabSCSSDatei: return "&CSS-Datei";
    case Page::TabSheetProgramm: return "&Programm";
    case Page::TabSheetHilfe: return "&Hilfe";
    case Page::Fenster: return "";
    case Page::NavTabUebersicht: return "Ü&bersichtsseiten";
    case Page::NavTabGross: return "Große Bil&der";
  }
  return "";
}

}  // namespace mosaik

#pragma once
// The controls that hold the option set, named as the program names them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace mosaik {

enum class Opt : uint16_t {
#define OPT(name, kind, page, group, min, max, caption) name,
#include "app/options/OptionTable.def"
#undef OPT
  Count
};
constexpr int kOptCount = static_cast<int>(Opt::Count);

enum class Kind : uint8_t {
  CheckBox, Radio, Text, Memo, Spin, Decimal, ListIndex, SizeText, FontName, Colour, Slider,
  Label, Button,
  Group,  // group boxes and panels that only hold other controls
  Tab     // pages of a page control; Visible is the page's TabVisible
};

// Pages of the main window and of the navigation dialog; Fenster = the
// window itself, outside the page control.
enum class Page : uint8_t {
  TabSheetOrdner, TabSheetGrosseBilder, TabSheetVorschau, TabSheetLayout1, TabSheetlayout2,
  TabSheetFarbenFonts, TabSTexte, TabSExtraTexte, TabSheetSonstiges, TabSheetSpezielles,
  TabSheet1, TabSCSSDatei, TabSheetProgramm, TabSheetHilfe, Fenster,
  NavTabUebersicht, NavTabGross
};

struct OptInfo {
  std::string_view name;
  Kind kind;
  Page page;
  Opt radioGroup;  // first member of the group; Opt::Count when none
  int64_t min;     // spin and slider bounds; decimals in ten-thousandths
  int64_t max;
  std::string_view caption;
};

const OptInfo& info(Opt o);
std::optional<Opt> optByName(std::string_view name);
bool onNavigationWindow(Opt o);
std::string_view pageCaption(Page p);

// Events that a change fires, as the controls of the original windows did.
// Enter: the control receives the focus (not when the window is merely
// activated again).
enum class Ev : uint8_t { Click, Change, Exit, Enter };

// Named routines of the windows that are not a control's event but are run
// explicitly after options are set.
enum class Proc : uint8_t {
  EdgrosseBilderPfadnameAnpassen,
  EdVorschauPfadnameAnpassen,
  RBModusAnfaengerClick,  // the program mode; bound to all three mode buttons
};
std::string_view procName(Proc p);

}  // namespace mosaik

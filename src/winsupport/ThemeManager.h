#pragma once
// Visual styles: which parts of the program may be drawn in the themed
// style, and whether that style is in force right now. The decisions live
// here, without any window; the Qt view follows them (themed = Qt's
// "Fusion" style and the progress bar drawn from its parts, plain = the
// "Windows" style and the gradient bar).
#include <cstdint>
#include <functional>

namespace mosaik {

enum class TThemeOption : uint8_t {
  toAllowNonClientArea,
  toAllowControls,
  toAllowWebContent,
  toSubclassAnimate,
  toSubclassButtons,
  toSubclassCheckListbox,
  toSubclassDBLookup,
  toSubclassFrame,
  toSubclassGroupBox,
  toSubclassListView,
  toSubclassPanel,
  toSubclassTabSheet,
  toSubclassSpeedButtons,
  toSubclassSplitter,
  toSubclassStatusBar,
  toSubclassTrackBar,
  toSubclassWinControl,
  toResetMouseCapture,
  toSetTransparency,
  toAlternateTabSheetDraw,
};

// A set of options, bit n = the option with the ordinal n.
struct TThemeOptions {
  uint32_t bits = 0;
  static constexpr uint32_t bit(TThemeOption o) { return 1u << static_cast<unsigned>(o); }
  constexpr bool enthaelt(TThemeOption o) const { return (bits & bit(o)) != 0; }
  constexpr TThemeOptions ohne(TThemeOption o) const { return {bits & ~bit(o)}; }
  friend constexpr bool operator==(TThemeOptions, TThemeOptions) = default;
};

// Every option but the animation subclassing and the alternative tab
// drawing: visual styles on, the component's default.
inline constexpr TThemeOptions kThemeVoll =
    TThemeOptions{(1u << 20) - 1}.ohne(TThemeOption::toSubclassAnimate).ohne(TThemeOption::toAlternateTabSheetDraw);
// The same without the window frame and the controls: visual styles off.
inline constexpr TThemeOptions kThemeOhneRahmenUndControls =
    kThemeVoll.ohne(TThemeOption::toAllowNonClientArea).ohne(TThemeOption::toAllowControls);

// What the application allows to be themed (the options' first three).
enum ThemeErlaubnis : uint32_t {
  kErlaubtRahmen = 1,      // window frames
  kErlaubtControls = 2,    // controls
  kErlaubtWebinhalt = 4,   // web content
};

// The element classes of the theme engine.
enum class TThemedElement : uint8_t {
  teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress, teRebar,
  teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar, teToolTip, teTrackBar,
  teTrayNotify, teTreeview, teWindow,
};

// One part of an element class in one state; part 0 and state 0 stand for
// no part.
struct TThemedElementDetails {
  TThemedElement Element;
  int Part;
  int State;
  friend bool operator==(const TThemedElementDetails&, const TThemedElementDetails&) = default;
};

// The details of the progress bar: the horizontal and vertical bar and
// their chunks.
enum class TThemedProgress : uint8_t { tpProgressDontCare, tpProgressRoot, tpBar, tpBarVert, tpChunk, tpChunkVert };

// Whether visual styles are in force, and the parts to draw them with. One
// object per process, reached through ThemeServices().
class TThemeServices {
 public:
  TThemeServices() { flagsBerechnen(); }
  virtual ~TThemeServices() = default;

  // Loaded, available on the platform and allowed for controls.
  bool ThemesEnabled() const { return geladen_ && verfuegbar_ && benutzt_; }
  bool ThemesAvailable() const { return verfuegbar_; }

  // Whether the platform has a themed style at all (Qt: "Fusion" can be
  // made); a change is a theme change.
  void setPlattformHatStile(bool ja);
  // What the application allows to be themed (ThemeErlaubnis bits); takes
  // effect with the next theme change.
  void setThemeAppProperties(uint32_t erlaubnis) { erlaubnis_ = erlaubnis; }
  uint32_t GetThemeAppProperties() const { return erlaubnis_; }

  TThemedElementDetails GetElementDetails(TThemedProgress detail) const;

  // The theme has changed: the flags are computed again, then OnThemeChange.
  virtual void ThemeChange();
  std::function<void()> OnThemeChange;

 private:
  void flagsBerechnen();
  bool geladen_ = true;  // nothing to load: the styles come with the toolkit
  bool plattform_ = true;
  bool verfuegbar_ = false;
  bool benutzt_ = false;
  uint32_t erlaubnis_ = kErlaubtRahmen | kErlaubtControls | kErlaubtWebinhalt;
};

// The single theme services object, made on first use.
TThemeServices& ThemeServices();

// Decides through its options which parts may use visual styles. The first
// manager of the process is the main manager; a later one forwards option
// changes to it, and takes over when the main manager ends.
class TThemeManager {
 public:
  explicit TThemeManager(TThemeServices& dienste = ThemeServices());
  ~TThemeManager();
  TThemeManager(const TThemeManager&) = delete;
  TThemeManager& operator=(const TThemeManager&) = delete;

  // The options in force (a secondary manager reports the main one's).
  TThemeOptions Options() const;
  void setOptions(TThemeOptions neu);
  bool istHauptmanager() const;

  // Raised after new options have taken effect; the windows follow.
  std::function<void()> OnThemeChange;
  // How often new options were carried out (the windows repainted).
  int Neuzeichnungen() const { return neuzeichnungen_; }

 private:
  void uebernehmen(TThemeOptions neu);
  TThemeServices& dienste_;
  TThemeOptions options_ = kThemeVoll;
  int neuzeichnungen_ = 0;
};

}  // namespace mosaik

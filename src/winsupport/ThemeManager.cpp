#include "winsupport/ThemeManager.h"

#include <algorithm>
#include <initializer_list>
#include <mutex>
#include <vector>

namespace mosaik {
namespace {

// The managers of the process in the order they were made; the first one is
// the main manager.
std::mutex& registerSperre() {
  static std::mutex m;
  return m;
}
std::vector<TThemeManager*>& register_() {
  static std::vector<TThemeManager*> r;
  return r;
}

TThemeManager* hauptmanager() {
  std::lock_guard<std::mutex> l(registerSperre());
  return register_().empty() ? nullptr : register_().front();
}

// The details of an element whose parts are runs of consecutive detail
// values: part n (from 1) covers the n-th run, the state is the offset in
// the run plus 1; values outside every run have part 0 and state 0.
TThemedElementDetails ausLaeufen(TThemedElement e, int wert, int ersterWert, std::initializer_list<int> laengen) {
  int anfang = ersterWert;
  int teil = 1;
  for (int laenge : laengen) {
    if (wert >= anfang && wert < anfang + laenge) return {e, teil, wert - anfang + 1};
    anfang += laenge;
    ++teil;
  }
  return {e, 0, 0};
}

uint32_t erlaubnisAus(TThemeOptions o) {
  uint32_t e = 0;
  if (o.enthaelt(TThemeOption::toAllowNonClientArea)) e |= kErlaubtRahmen;
  if (o.enthaelt(TThemeOption::toAllowControls)) e |= kErlaubtControls;
  if (o.enthaelt(TThemeOption::toAllowWebContent)) e |= kErlaubtWebinhalt;
  return e;
}

}  // namespace

void TThemeServices::flagsBerechnen() {
  verfuegbar_ = geladen_ && plattform_;
  benutzt_ = verfuegbar_ && (erlaubnis_ & kErlaubtControls) != 0;
}

void TThemeServices::setPlattformHatStile(bool ja) {
  if (ja == plattform_) return;
  plattform_ = ja;
  ThemeChange();
}

void TThemeServices::ThemeChange() {
  flagsBerechnen();
  if (OnThemeChange) OnThemeChange();
}

TThemedElementDetails TThemeServices::GetElementDetails(TThemedProgress detail) const {
  // Bar, vertical bar, chunk and vertical chunk, one state each.
  return ausLaeufen(TThemedElement::teProgress, static_cast<int>(detail), static_cast<int>(TThemedProgress::tpBar),
                    {1, 1, 1, 1});
}

TThemeServices& ThemeServices() {
  static TThemeServices dienste;
  return dienste;
}

TThemeManager::TThemeManager(TThemeServices& dienste) : dienste_(dienste) {
  std::lock_guard<std::mutex> l(registerSperre());
  auto& r = register_();
  if (!r.empty()) options_ = r.front()->options_;
  r.push_back(this);
}

TThemeManager::~TThemeManager() {
  std::lock_guard<std::mutex> l(registerSperre());
  auto& r = register_();
  const bool warHaupt = !r.empty() && r.front() == this;
  r.erase(std::remove(r.begin(), r.end(), this), r.end());
  // The oldest remaining manager takes over, with the options in force.
  if (warHaupt && !r.empty()) r.front()->options_ = options_;
}

bool TThemeManager::istHauptmanager() const { return hauptmanager() == this; }

TThemeOptions TThemeManager::Options() const {
  const TThemeManager* h = hauptmanager();
  return h && h != this ? h->options_ : options_;
}

void TThemeManager::setOptions(TThemeOptions neu) {
  TThemeManager* h = hauptmanager();
  if (h && h != this) {
    h->uebernehmen(neu);
    return;
  }
  uebernehmen(neu);
}

void TThemeManager::uebernehmen(TThemeOptions neu) {
  if (neu == options_) return;
  options_ = neu;
  dienste_.setThemeAppProperties(erlaubnisAus(neu));
  // The windows repaint in the new style: the services see the theme change
  // first, so that every painter asks them afresh.
  ++neuzeichnungen_;
  dienste_.ThemeChange();
  if (OnThemeChange) OnThemeChange();
}

}  // namespace mosaik

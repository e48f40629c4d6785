#pragma once
// The option set: the state of every control of the main window and the
// navigation dialog, without any window. Setting a value by program behaves
// like the original controls: a check box whose state changes and a radio
// member switched on fire Click; texts, spin values and sliders fire Change
// when their text or position changes; list indexes and colours fire nothing.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/options/Opt.h"
#include "winsupport/Decimal4.h"

namespace mosaik {

class OptionEvents {
 public:
  virtual ~OptionEvents() = default;
  virtual void optionEvent(Opt o, Ev e) = 0;
  virtual void procedure(Proc p) = 0;
};

class OptionModel {
 public:
  OptionModel();

  void setEvents(OptionEvents* events) { events_ = events; }
  // Called after any change of a control's value, Enabled, Visible, bounds
  // or items, before the control's event fires.
  using Listener = std::function<void(Opt)>;
  void addListener(Listener l) { listeners_.push_back(std::move(l)); }

  // Separator of the decimal spin values' texts.
  void setDecimalSeparator(char c) { separator_ = c; }
  char decimalSeparator() const { return separator_; }

  bool checked(Opt o) const { return c(o).checked; }
  const std::string& text(Opt o) const { return c(o).text; }
  // A text that is no number reads as the lower bound; bounds apply while
  // they differ.
  int spin(Opt o) const;
  Decimal4 decimal(Opt o) const;
  int index(Opt o) const { return c(o).index; }
  int position(Opt o) const { return c(o).position; }
  uint32_t color(Opt o) const { return c(o).color; }  // 0xRRGGBB
  bool enabled(Opt o) const { return c(o).enabled; }
  bool visible(Opt o) const { return c(o).visible; }
  int64_t minValue(Opt o) const { return c(o).min; }
  int64_t maxValue(Opt o) const { return c(o).max; }
  const std::vector<std::string>& items(Opt o) const { return c(o).items; }

  void setChecked(Opt o, bool on);
  void setText(Opt o, const std::string& text);
  void setSpin(Opt o, int64_t value);
  void setDecimal(Opt o, Decimal4 value);
  // List index: no event. An editable size list takes the item's text too.
  void setIndex(Opt o, int index);
  void setPosition(Opt o, int position);
  void setColor(Opt o, uint32_t rgb);
  void setEnabled(Opt o, bool on);
  void setVisible(Opt o, bool on);
  void setBounds(Opt o, int64_t min, int64_t max);
  void setItems(Opt o, std::vector<std::string> items);

  // Runs a control's handler explicitly, as the defaults and the settings
  // reader do after setting the control ("then runs CBxClick").
  void run(Opt o, Ev e) { fire(o, e); }
  void run(Proc p) {
    if (events_) events_->procedure(p);
  }

  // The member of a radio group that is on (the group's first member names
  // the group); Opt::Count when none is.
  Opt radioChoice(Opt group) const;

 private:
  struct Control {
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    std::string text;
    int index = 0;
    int position = 1;
    uint32_t color = 0;
    int64_t min = 0;
    int64_t max = 0;
    std::vector<std::string> items;
  };
  const Control& c(Opt o) const { return controls_[static_cast<size_t>(o)]; }
  Control& c(Opt o) { return controls_[static_cast<size_t>(o)]; }
  void notify(Opt o);
  void fire(Opt o, Ev e);

  std::array<Control, kOptCount> controls_;
  std::vector<Listener> listeners_;
  OptionEvents* events_ = nullptr;
  char separator_ = ',';
};

// Item lists of the list-index options and the proposals of the size lists.
std::vector<std::string> standardItems(Opt o);

}  // namespace mosaik

#include "app/options/OptionModel.h"

#include <algorithm>
#include <charconv>

namespace mosaik {

OptionModel::OptionModel() {
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    Control& k = c(o);
    k.min = info(o).min;
    k.max = info(o).max;
    k.items = standardItems(o);
    if (info(o).kind == Kind::Label || info(o).kind == Kind::Button || info(o).kind == Kind::Group ||
        info(o).kind == Kind::Tab)
      k.text = std::string(info(o).caption);
    if (info(o).kind == Kind::Spin) k.text = "0";
    if (info(o).kind == Kind::Slider) k.position = static_cast<int>(k.min);
  }
  // Start values of the window layout that the built-in defaults leave alone.
  c(Opt::CBDateinameAlsHint).checked = true;
}

int OptionModel::spin(Opt o) const {
  const Control& k = c(o);
  const std::string& t = k.text;
  int64_t v = k.min;
  long long parsed = 0;
  const char* b = t.data();
  const char* e = t.data() + t.size();
  if (b != e && *b == '+') ++b;
  auto [p, ec] = std::from_chars(b, e, parsed);
  if (ec == std::errc() && p == e && b != e) v = parsed;
  if (k.max != k.min) v = std::clamp<int64_t>(v, k.min, k.max);
  if (v > INT32_MAX) v = INT32_MAX;
  if (v < INT32_MIN) v = INT32_MIN;
  return static_cast<int>(v);
}

Decimal4 OptionModel::decimal(Opt o) const {
  const Control& k = c(o);
  Decimal4 v = Decimal4::parse(k.text, separator_).value_or(Decimal4::fromUnits(k.min));
  if (k.max != k.min) {
    if (v.units() < k.min) v = Decimal4::fromUnits(k.min);
    if (v.units() > k.max) v = Decimal4::fromUnits(k.max);
  }
  return v;
}

void OptionModel::notify(Opt o) {
  for (auto& l : listeners_) l(o);
}

void OptionModel::fire(Opt o, Ev e) {
  if (events_) events_->optionEvent(o, e);
}

void OptionModel::setChecked(Opt o, bool on) {
  Control& k = c(o);
  if (k.checked == on) return;
  k.checked = on;
  if (info(o).kind == Kind::Radio) {
    if (on) {
      const Opt g = info(o).radioGroup;
      for (int i = 0; i < kOptCount; ++i) {
        const Opt m = static_cast<Opt>(i);
        if (m != o && info(m).kind == Kind::Radio && info(m).radioGroup == g && c(m).checked) {
          c(m).checked = false;
          notify(m);
        }
      }
    }
    notify(o);
    if (on) fire(o, Ev::Click);
    return;
  }
  notify(o);
  fire(o, Ev::Click);
}

void OptionModel::setText(Opt o, const std::string& text) {
  Control& k = c(o);
  if (k.text == text) return;
  k.text = text;
  // An editable size list: the item that text names, -1 for a text of the
  // user's own, so that index and text never disagree.
  if (info(o).kind == Kind::SizeText) {
    const auto it = std::find(k.items.begin(), k.items.end(), text);
    k.index = it == k.items.end() ? -1 : static_cast<int>(it - k.items.begin());
  }
  notify(o);
  fire(o, Ev::Change);
}

void OptionModel::setSpin(Opt o, int64_t value) {
  const Control& k = c(o);
  if (k.max != k.min) value = std::clamp<int64_t>(value, k.min, k.max);
  setText(o, std::to_string(value));
}

void OptionModel::setDecimal(Opt o, Decimal4 value) {
  const Control& k = c(o);
  if (k.max != k.min) {
    if (value.units() < k.min) value = Decimal4::fromUnits(k.min);
    if (value.units() > k.max) value = Decimal4::fromUnits(k.max);
  }
  setText(o, value.toText(separator_));
}

void OptionModel::setIndex(Opt o, int index) {
  Control& k = c(o);
  if (info(o).kind == Kind::SizeText || info(o).kind == Kind::FontName) {
    k.index = index;
    if (index >= 0 && index < static_cast<int>(k.items.size())) k.text = k.items[static_cast<size_t>(index)];
    notify(o);
    return;
  }
  if (index < -1 || index >= static_cast<int>(k.items.size())) return;  // no such item
  if (k.index == index) return;
  k.index = index;
  notify(o);
}

void OptionModel::setPosition(Opt o, int position) {
  Control& k = c(o);
  if (k.max != k.min) position = static_cast<int>(std::clamp<int64_t>(position, k.min, k.max));
  if (k.position == position) return;
  k.position = position;
  notify(o);
  fire(o, Ev::Change);
}

void OptionModel::setColor(Opt o, uint32_t rgb) {
  Control& k = c(o);
  rgb &= 0xFFFFFFu;
  if (k.color == rgb) return;
  k.color = rgb;
  notify(o);
}

void OptionModel::setEnabled(Opt o, bool on) {
  if (c(o).enabled == on) return;
  c(o).enabled = on;
  notify(o);
}

void OptionModel::setVisible(Opt o, bool on) {
  if (c(o).visible == on) return;
  c(o).visible = on;
  notify(o);
}

void OptionModel::setBounds(Opt o, int64_t min, int64_t max) {
  c(o).min = min;
  c(o).max = max;
  notify(o);
}

void OptionModel::setItems(Opt o, std::vector<std::string> items) {
  c(o).items = std::move(items);
  notify(o);
}

Opt OptionModel::radioChoice(Opt group) const {
  for (int i = 0; i < kOptCount; ++i) {
    const Opt m = static_cast<Opt>(i);
    if (info(m).kind == Kind::Radio && info(m).radioGroup == group && c(m).checked) return m;
  }
  return Opt::Count;
}

std::vector<std::string> standardItems(Opt o) {
  static const std::vector<std::string> kFamily = {"Standard (keine Angabe)", "Serifen", "Sans-Serif",
                                                    "Schreibschrift", "Fantasie", "Schreibmaschine"};
  static const std::vector<std::string> kStyle = {"Standard (keine Angabe)", "normal", "fett", "kursiv",
                                                   "fett-kursiv"};
  static const std::vector<std::string> kSizes = {
      "xx-small", "x-small", "small", "smaller", "medium", "larger", "large", "x-large", "xx-large",
      "6pt",      "8pt",     "10pt",  "10.5pt",  "11pt",   "12pt",   "13pt",  "14pt",    "15pt",
      "16pt",     "18pt",    "20pt",  "22pt",    "24pt",   "26pt",   "28pt",  "32pt",    "36pt",
      "40pt",     "48pt",    "54pt",  "60pt",    "70pt"};
  auto sizes = [&](const char* first) {
    std::vector<std::string> v{first};
    v.insert(v.end(), kSizes.begin(), kSizes.end());
    return v;
  };
  switch (o) {
    case Opt::CoBFensterNavigation:
      return {"im Übersichts-Fenster", "in EINEM neuen Fenster", "in JE einem neuen Fenster"};
    case Opt::CoBDoctype:
      return {"HTML 4.01 strict", "HTML 4.01 transitional", "XHTML 1.0 strict", "XHTML 1.0 transitional"};
    case Opt::CoBUebWeicheSchriftart:
    case Opt::CoBRestWeicheSchriftart:
      return kFamily;
    case Opt::CoBUebSchriftschnitt:
    case Opt::CoBRestSchriftschnitt:
      return kStyle;
    case Opt::CoBUebGroesse:
    case Opt::CoBUnterUebGroesse:
      return sizes("Standard");
    case Opt::CoBRestGroesse:
      return sizes("Standard (keine Angabe)");
    default:
      return {};
  }
}

}  // namespace mosaik

#include "app/EinstellungsKodierung.h"

#include <charconv>
#include <cmath>

#include "platform/Win1252.h"

namespace mosaik {
namespace {

std::string ersetzen(std::string_view text, std::string_view was, std::string_view durch) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    const size_t f = text.find(was, pos);
    if (f == std::string_view::npos) break;
    out.append(text, pos, f - pos);
    out += durch;
    pos = f + was.size();
  }
  out.append(text, pos, std::string_view::npos);
  return out;
}

bool istLeer(char c) { return c == ' ' || c == '\t'; }

// Would the profile layer change this value (trim blanks, strip quotes)?
bool braeuchteSchutz(std::string_view w) {
  if (w.empty()) return false;
  if (istLeer(w.front()) || istLeer(w.back())) return true;
  return w.size() >= 2 && (w.front() == '"' || w.front() == '\'') && w.back() == w.front();
}

bool inDoppeltenAnfuehrungszeichen(std::string_view w) {
  return w.size() >= 2 && w.front() == '"' && w.back() == '"';
}


}  // namespace

std::string ZeilenumbruecheMaskieren(std::string_view text) {
  return ersetzen(ersetzen(text, "\n", "#$0A"), "\r", "#$0D");
}

std::string ZeilenumbruecheDemaskieren(std::string_view text) {
  return ersetzen(ersetzen(text, "#$0A", "\n"), "#$0D", "\r");
}

namespace einstellungen {

std::string textWert(std::string_view text) {
  std::string w = ZeilenumbruecheMaskieren(text);
  if (braeuchteSchutz(w)) w = "\"" + w + "\"";
  return w;
}

std::string zitiertWert(std::string_view text) {
  std::string w = ZeilenumbruecheMaskieren(text);
  if (inDoppeltenAnfuehrungszeichen(w)) w = "\"" + w + "\"";
  return "\"" + w + "\"";
}

std::string zitiertLesen(std::string_view wert) {
  if (inDoppeltenAnfuehrungszeichen(wert)) wert = wert.substr(1, wert.size() - 2);
  return std::string(wert);
}

std::optional<int32_t> ganzzahlLesen(std::string_view w) {
  bool negativ = false;
  if (!w.empty() && (w.front() == '+' || w.front() == '-')) {
    negativ = w.front() == '-';
    w.remove_prefix(1);
  }
  int basis = 10;
  if (w.size() > 2 && w[0] == '0' && (w[1] == 'x' || w[1] == 'X')) {
    basis = 16;
    w.remove_prefix(2);
  }
  if (w.empty() || w.front() == '+' || w.front() == '-') return std::nullopt;
  int64_t v = 0;
  const auto [p, ec] = std::from_chars(w.data(), w.data() + w.size(), v, basis);
  if (ec != std::errc() || p != w.data() + w.size()) return std::nullopt;
  if (negativ) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::string gleitkommaText(double wert, char trenner) {
  char puffer[64];
  const auto [p, ec] = std::to_chars(puffer, puffer + sizeof puffer, wert, std::chars_format::general, 15);
  std::string s(puffer, ec == std::errc() ? p : puffer);
  for (char& c : s)
    if (c == '.') c = trenner;
  return s;
}

std::optional<double> gleitkommaLesen(std::string_view w) {
  std::string s;
  size_t i = 0;
  if (i < w.size() && (w[i] == '+' || w[i] == '-')) {
    if (w[i] == '-') s += '-';
    ++i;
  }
  bool ziffer = false;
  for (; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i, ziffer = true) s += w[i];
  if (i < w.size() && (w[i] == ',' || w[i] == '.')) {
    s += '.';
    for (++i; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i, ziffer = true) s += w[i];
  }
  if (!ziffer) return std::nullopt;
  if (i < w.size() && (w[i] == 'e' || w[i] == 'E')) {
    s += 'e';
    ++i;
    if (i < w.size() && (w[i] == '+' || w[i] == '-')) s += w[i++];
    bool exponent = false;
    for (; i < w.size() && w[i] >= '0' && w[i] <= '9'; ++i, exponent = true) s += w[i];
    if (!exponent) return std::nullopt;
  }
  if (i != w.size()) return std::nullopt;
  double v = 0;
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace einstellungen

std::string textdateiAusMemo(const std::string& memo, const std::optional<std::string>& bisher) {
  if (bisher && memoAusTextdatei(*bisher) == memo) return *bisher;
  std::string t = ZeilenendenCRLF(memo);
  if (!t.empty()) t += "\r\n";
  return encodeText(t, TextUnit::File);
}

std::optional<std::string> memoAusTextdatei(const std::string& bytes) {
  const std::optional<std::string> text = decodeUserText(bytes);
  if (!text) return std::nullopt;
  std::string t = ZeilenendenCRLF(*text);
  if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.resize(t.size() - 2);
  return t;
}

}  // namespace mosaik

#include "platform/IniDatei.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool istLeer(char c) { return c == ' ' || c == '\t'; }

std::string_view beschneiden(std::string_view s) {
  while (!s.empty() && istLeer(s.front())) s.remove_prefix(1);
  while (!s.empty() && istLeer(s.back())) s.remove_suffix(1);
  return s;
}

char32_t falten(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

// The section name of a section line, or nullopt for any other line.
std::optional<std::string_view> sektionsname(std::string_view zeile) {
  zeile = beschneiden(zeile);
  if (zeile.empty() || zeile.front() != '[') return std::nullopt;
  zeile.remove_prefix(1);
  const size_t zu = zeile.find(']');
  return beschneiden(zu == std::string_view::npos ? zeile : zeile.substr(0, zu));
}

// The key of a key line, or nullopt for a comment or any other line.
std::optional<std::string_view> schluesselname(std::string_view zeile) {
  const std::string_view t = beschneiden(zeile);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  const size_t gleich = t.find('=');
  if (gleich == std::string_view::npos) return std::nullopt;
  return beschneiden(t.substr(0, gleich));
}

std::string einzeilig(std::string_view wert) {
  std::string out;
  out.reserve(wert.size());
  for (const char c : wert) {
    if (c == '\n')
      out += "#$0A";
    else if (c == '\r')
      out += "#$0D";
    else
      out += c;
  }
  return out;
}

bool beschreibbar(const std::string& pfad, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::access(pfad.c_str(), W_OK) == 0;
}

bool anOrtSchreiben(const std::string& pfad, const std::string& bytes) {
  const int fd = ::open(pfad.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  size_t fertig = 0;
  bool ok = true;
  while (fertig < bytes.size()) {
    const ssize_t w = ::write(fd, bytes.data() + fertig, bytes.size() - fertig);
    if (w < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    fertig += static_cast<size_t>(w);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

IniFehler::IniFehler(const std::string& datei)
    : std::runtime_error("nach " + datei + " kann nicht geschrieben werden"), datei_(datei) {}

bool iniNamenGleich(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (falten(nextCodePoint(a, i)) != falten(nextCodePoint(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

IniDatei::IniDatei(std::string pfad) : pfad_(std::move(pfad)) {
  if (!fs::fileExists(pfad_)) {
    // Something that is there but no regular file must not be replaced.
    std::error_code ec;
    lesbar_ = !std::filesystem::exists(pfad_, ec) || std::filesystem::is_symlink(pfad_, ec);
    return;
  }
  const std::optional<std::string> bytes = fs::readFile(pfad_);
  if (!bytes) {
    lesbar_ = false;
    return;
  }
  const std::string text = decodeUserText(*bytes);
  size_t anfang = 0;
  while (anfang < text.size()) {
    size_t ende = text.find('\n', anfang);
    if (ende == std::string::npos) ende = text.size();
    std::string zeile = text.substr(anfang, ende - anfang);
    if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
    zeilen_.push_back(std::move(zeile));
    anfang = ende + 1;
  }
}

std::optional<IniDatei::Fundstelle> IniDatei::sektionFinden(std::string_view sektion) const {
  for (size_t i = 0; i < zeilen_.size(); ++i) {
    const auto name = sektionsname(zeilen_[i]);
    if (!name || !iniNamenGleich(*name, sektion)) continue;
    Fundstelle f;
    f.kopf = i;
    f.ende = i + 1;
    while (f.ende < zeilen_.size() && !sektionsname(zeilen_[f.ende])) ++f.ende;
    return f;
  }
  return std::nullopt;
}

std::optional<size_t> IniDatei::schluesselFinden(const Fundstelle& s, std::string_view schluessel) const {
  for (size_t i = s.kopf + 1; i < s.ende; ++i) {
    const auto name = schluesselname(zeilen_[i]);
    if (name && iniNamenGleich(*name, schluessel)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDatei::lesen(std::string_view sektion, std::string_view schluessel) const {
  const auto s = sektionFinden(sektion);
  if (!s) return std::nullopt;
  const auto z = schluesselFinden(*s, schluessel);
  if (!z) return std::nullopt;
  const std::string& zeile = zeilen_[*z];
  std::string_view wert = beschneiden(std::string_view(zeile).substr(zeile.find('=') + 1));
  if (wert.size() >= 2 && (wert.front() == '"' || wert.front() == '\'') && wert.back() == wert.front()) {
    wert.remove_prefix(1);
    wert.remove_suffix(1);
  }
  return std::string(wert);
}

std::string IniDatei::lesen(std::string_view sektion, std::string_view schluessel,
                            const std::string& vorgabe) const {
  return lesen(sektion, schluessel).value_or(vorgabe);
}

void IniDatei::schreiben(std::string_view sektion, std::string_view schluessel, std::string_view wert) {
  std::string zeile(schluessel);
  zeile += '=';
  zeile += einzeilig(wert);
  const auto s = sektionFinden(sektion);
  if (!s) {
    if (!zeilen_.empty() && !beschneiden(zeilen_.back()).empty()) zeilen_.emplace_back();
    zeilen_.push_back("[" + std::string(sektion) + "]");
    zeilen_.push_back(std::move(zeile));
    return;
  }
  if (const auto z = schluesselFinden(*s, schluessel)) {
    zeilen_[*z] = std::move(zeile);
    return;
  }
  size_t nach = s->kopf;
  for (size_t i = s->kopf + 1; i < s->ende; ++i)
    if (!beschneiden(zeilen_[i]).empty()) nach = i;
  zeilen_.insert(zeilen_.begin() + static_cast<std::ptrdiff_t>(nach + 1), std::move(zeile));
}

void IniDatei::loeschen(std::string_view sektion, std::string_view schluessel) {
  const auto s = sektionFinden(sektion);
  if (!s) return;
  if (const auto z = schluesselFinden(*s, schluessel))
    zeilen_.erase(zeilen_.begin() + static_cast<std::ptrdiff_t>(*z));
}

std::string IniDatei::inhalt() const {
  std::string text;
  for (const std::string& z : zeilen_) {
    text += z;
    text += "\r\n";
  }
  bool verlustfrei = true;
  std::string ansi = utf8ToCp1252(text, &verlustfrei);
  if (verlustfrei) return ansi;
  return std::string(kBom) + text;
}

void IniDatei::speichern() {
  if (!lesbar_ || !dateiErsetzen(pfad_, inhalt())) throw IniFehler(pfad_);
}

bool dateiErsetzen(const std::string& pfad, const std::string& bytes) {
  if (pfad.empty()) return false;
  std::string ziel = pfad;
  std::error_code ec;
  if (std::filesystem::is_symlink(pfad, ec)) {
    const auto echt = std::filesystem::weakly_canonical(pfad, ec);
    if (ec) return false;
    ziel = echt.string();
  }
  struct stat st {};
  const bool existiert = ::stat(ziel.c_str(), &st) == 0;
  if (existiert && (!S_ISREG(st.st_mode) || !beschreibbar(ziel, st))) return false;
  const size_t schraeg = ziel.rfind('/');
  const std::string ordner = schraeg == std::string::npos ? std::string(".") : ziel.substr(0, schraeg + 1);
  struct stat os {};
  if (::stat(ordner.c_str(), &os) != 0 || !S_ISDIR(os.st_mode)) return false;
  if (beschreibbar(ordner, os)) return fs::writeFileAtomic(ziel, bytes);
  // No temporary file possible beside it: the file itself may still be writable.
  return existiert && anOrtSchreiben(ziel, bytes);
}

}  // namespace mosaik

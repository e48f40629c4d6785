#include "platform/Environment.h"

#include "platform/Browser.h"

#include <fontconfig/fontconfig.h>
#include <langinfo.h>
#include <locale.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mosaik {
namespace {

std::string envOr(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string localeName(const char* category) {
  for (const char* n : {"LC_ALL", category, "LANG"}) {
    std::string v = envOr(n);
    if (!v.empty()) return v;
  }
  return {};
}

bool isNeutral(const std::string& loc) {
  return loc.empty() || loc == "C" || loc == "POSIX" || loc.rfind("C.", 0) == 0;
}

// The C library's data for one category of a locale; the German defaults
// stand where a locale is neutral or not installed.
class LocaleDaten {
 public:
  LocaleDaten(int maske, const std::string& name)
      : loc_(isNeutral(name) ? locale_t{} : ::newlocale(maske, name.c_str(), locale_t{})) {}
  ~LocaleDaten() {
    if (loc_) ::freelocale(loc_);
  }
  LocaleDaten(const LocaleDaten&) = delete;
  LocaleDaten& operator=(const LocaleDaten&) = delete;
  explicit operator bool() const { return loc_ != locale_t{}; }
  std::string operator[](nl_item item) const {
    const char* v = ::nl_langinfo_l(item, loc_);
    return v ? v : "";
  }

 private:
  locale_t loc_;
};

// A literal piece of a pattern: letters would read as fields, so they are
// quoted.
void literal(std::string& muster, char c) {
  if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') {
    muster.append("\"").append(1, c).append("\"");
  } else if (c == '"') {
    muster += "'\"'";
  } else if (c == '\'') {
    muster += "\"'\"";
  } else {
    muster += c;
  }
}

}  // namespace

std::string strftimeMuster(std::string_view format, std::string_view ampmFormat) {
  std::string m;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      literal(m, format[i]);
      continue;
    }
    // "-" drops the leading zero; the other flags, a width and the
    // alternative-form modifiers change nothing the patterns can say.
    ++i;
    bool ohneNull = false;
    while (i < format.size() && std::strchr("-_0^#123456789EO", format[i])) ohneNull |= format[i++] == '-';
    if (i == format.size()) break;
    const auto feld = [&](const char* zweistellig) { m += ohneNull ? std::string(1, zweistellig[0]) : zweistellig; };
    switch (format[i]) {
      case 'd': feld("dd"); break;
      case 'e': m += "d"; break;
      case 'm': feld("MM"); break;
      case 'y': m += "yy"; break;
      case 'Y': m += "yyyy"; break;
      case 'b':
      case 'h': m += "MMM"; break;
      case 'B': m += "MMMM"; break;
      case 'a': m += "ddd"; break;
      case 'A': m += "dddd"; break;
      case 'H':
      case 'I': feld("hh"); break;
      case 'k':
      case 'l': m += "h"; break;
      case 'M': feld("nn"); break;
      case 'S': feld("ss"); break;
      case 'p': m += "AMPM"; break;
      case 'P': m += "am/pm"; break;
      case 'D': m += "MM/dd/yy"; break;
      case 'F': m += "yyyy-MM-dd"; break;
      case 'T': m += "hh:nn:ss"; break;
      case 'R': m += "hh:nn"; break;
      case 'r':
        m += ampmFormat.empty() || ampmFormat.find("%r") != std::string_view::npos
                 ? std::string("hh:nn:ss AMPM")
                 : strftimeMuster(ampmFormat, {});
        break;
      case 'n':
      case 't': m += ' '; break;
      case '%': m += '%'; break;
      default: break;  // time zones and week numbers have no field here
    }
  }
  const size_t anfang = m.find_first_not_of(' ');
  if (anfang == std::string::npos) return {};
  return m.substr(anfang, m.find_last_not_of(' ') - anfang + 1);
}

LocaleFormats localeFormats(const std::string& numeric, const std::string& time) {
  LocaleFormats f;
  if (const LocaleDaten zahlen(LC_NUMERIC_MASK, numeric); zahlen) {
    // A separator of more than one byte cannot stand in the spin edits'
    // texts: the German one stays.
    if (const std::string r = zahlen[RADIXCHAR]; r.size() == 1) f.decimalSeparator = r[0];
  }
  if (const LocaleDaten zeit(LC_TIME_MASK, time); zeit) {
    if (std::string d = strftimeMuster(zeit[D_FMT], {}); !d.empty()) f.shortDate = std::move(d);
    if (std::string t = strftimeMuster(zeit[T_FMT], zeit[T_FMT_AMPM]); !t.empty()) f.longTime = std::move(t);
  }
  return f;
}

LocaleFormats systemLocaleFormats() { return localeFormats(localeName("LC_NUMERIC"), localeName("LC_TIME")); }

std::string systemLoginName() {
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) return pw->pw_name;
  std::string u = envOr("USER");
  if (u.empty()) u = envOr("LOGNAME");
  return u;
}

std::vector<std::string> systemFontFamilies() {
  std::vector<std::string> out;
  FcPattern* muster = FcPatternCreate();
  FcObjectSet* felder = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (FcFontSet* schriften = muster && felder ? FcFontList(nullptr, muster, felder) : nullptr) {
    for (int i = 0; i < schriften->nfont; ++i) {
      FcChar8* familie = nullptr;
      if (FcPatternGetString(schriften->fonts[i], FC_FAMILY, 0, &familie) == FcResultMatch && familie && *familie)
        out.emplace_back(reinterpret_cast<const char*>(familie));
    }
    FcFontSetDestroy(schriften);
  }
  if (felder) FcObjectSetDestroy(felder);
  if (muster) FcPatternDestroy(muster);
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

bool SystemShell::open(const std::string& target) {
  // $BROWSER, the desktop's program for HTML, then xdg-open: the first that
  // starts and does not fail at once opens it.
  for (const auto& befehl : openCommands(target, processEnv()))
    if (startDetached(befehl, kStartfrist, warten)) return true;
  return false;
}

}  // namespace mosaik

#include "platform/Browser.h"

#include <signal.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/Win1252.h"

namespace mosaik {
namespace {

bool beginntMit(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }

// How often a started program is looked after while it starts.
constexpr long long kSchrittMs = 10;
constexpr timespec kSchritt{0, kSchrittMs * 1000000L};

bool bleibtImURLPfad(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-._~/!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

std::vector<std::string> teilen(const std::string& s, char trenner) {
  std::vector<std::string> r;
  size_t a = 0;
  for (;;) {
    const size_t e = s.find(trenner, a);
    std::string teil = s.substr(a, e == std::string::npos ? std::string::npos : e - a);
    if (!teil.empty()) r.push_back(std::move(teil));
    if (e == std::string::npos) return r;
    a = e + 1;
  }
}

std::string klein(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

bool istDatei(const std::string& p) {
  struct stat st {};
  return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// An absolute path from a variable of the base-directory rules, else the
// default below HOME.
std::string basisOrdner(const EnvLookup& env, const char* name, const char* unterHome) {
  if (auto v = env(name); v && beginntMit(*v, "/")) return *v;
  if (auto h = env("HOME"); h && beginntMit(*h, "/")) return *h + "/" + unterHome;
  return {};
}

std::vector<std::string> ordnerListe(const EnvLookup& env, const char* name, const char* standard) {
  std::vector<std::string> r;
  const auto v = env(name);
  for (const std::string& d : teilen(v && !v->empty() ? *v : std::string(standard), ':'))
    if (beginntMit(d, "/")) r.push_back(d);
  return r;
}

// Folders that hold desktop entries, the user's own first.
std::vector<std::string> anwendungsOrdner(const EnvLookup& env) {
  std::vector<std::string> r;
  if (std::string d = basisOrdner(env, "XDG_DATA_HOME", ".local/share"); !d.empty()) r.push_back(d + "/applications");
  for (const std::string& d : ordnerListe(env, "XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
    r.push_back(d + "/applications");
  return r;
}

// The association lists in the order the MIME rules give them: the user's
// configuration, the system's, then the lists beside the desktop entries;
// in each folder the current desktop's own list first.
std::vector<std::string> zuordnungsListen(const EnvLookup& env) {
  std::vector<std::string> ordner;
  if (std::string d = basisOrdner(env, "XDG_CONFIG_HOME", ".config"); !d.empty()) ordner.push_back(d);
  for (const std::string& d : ordnerListe(env, "XDG_CONFIG_DIRS", "/etc/xdg")) ordner.push_back(d);
  for (const std::string& d : anwendungsOrdner(env)) ordner.push_back(d);
  std::vector<std::string> desktops;
  if (auto v = env("XDG_CURRENT_DESKTOP"))
    for (const std::string& d : teilen(*v, ':')) desktops.push_back(klein(d));
  std::vector<std::string> r;
  for (const std::string& o : ordner) {
    for (const std::string& d : desktops) r.push_back(o + "/" + d + "-mimeapps.list");
    r.push_back(o + "/mimeapps.list");
  }
  return r;
}

// The value of key in group of a key file (desktop entry or association
// list); nullopt when absent.
std::optional<std::string> schluessel(const std::string& datei, const std::string& gruppe, const std::string& key) {
  // Read as any text file is: a pipe put in its place is never waited on.
  const std::optional<std::string> text = fs::readTextFile(datei);
  if (!text) return std::nullopt;
  std::istringstream f(*text);
  std::string zeile;
  bool drin = false;
  while (std::getline(f, zeile)) {
    if (!zeile.empty() && zeile.back() == '\r') zeile.pop_back();
    if (zeile.empty() || zeile[0] == '#') continue;
    if (zeile[0] == '[') {
      drin = zeile == "[" + gruppe + "]";
      continue;
    }
    if (!drin) continue;
    const size_t gleich = zeile.find('=');
    if (gleich == std::string::npos) continue;
    std::string k = zeile.substr(0, gleich);
    while (!k.empty() && k.back() == ' ') k.pop_back();
    if (k != key) continue;
    std::string v = zeile.substr(gleich + 1);
    while (!v.empty() && v.front() == ' ') v.erase(0, 1);
    return v;
  }
  return std::nullopt;
}

// A desktop file ID names a file below one of the application folders; a
// '-' in it may stand for a sub-folder.
std::optional<std::string> eintragSuchen(const std::string& id, const EnvLookup& env) {
  if (id.empty() || id.find('/') != std::string::npos) return std::nullopt;
  for (const std::string& o : anwendungsOrdner(env)) {
    if (istDatei(o + "/" + id)) return o + "/" + id;
    for (size_t i = id.find('-'); i != std::string::npos; i = id.find('-', i + 1)) {
      std::string p = id;
      p[i] = '/';
      if (istDatei(o + "/" + p)) return o + "/" + p;
    }
  }
  return std::nullopt;
}

std::optional<std::string> ersterEintrag(const std::vector<std::string>& dateien, const char* gruppe,
                                         const std::string& mime, const EnvLookup& env) {
  for (const std::string& liste : dateien)
    if (auto ids = schluessel(liste, gruppe, mime))
      for (const std::string& id : teilen(*ids, ';'))
        if (auto e = eintragSuchen(id, env)) return e;
  return std::nullopt;
}

// General escapes of a string value.
std::string entschluesseln(const std::string& v) {
  std::string r;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      r += v[i];
      continue;
    }
    switch (v[++i]) {
      case 's': r += ' '; break;
      case 'n': r += '\n'; break;
      case 't': r += '\t'; break;
      case 'r': r += '\r'; break;
      default: r += v[i];  // "\\" and anything unknown
    }
  }
  return r;
}

// The local path of a file URL (without query and anchor); empty for other
// URLs.
std::string lokalerPfad(const std::string& url) {
  if (!beginntMit(url, "file://")) return {};
  std::string p = url.substr(7);
  p = p.substr(0, p.find_first_of("#?"));
  if (!beginntMit(p, "/")) return {};  // a host name: not ours to open
  return percentDecoded(p);
}

// The home folder the user database records; none when the user has no entry
// or the entry names no absolute folder.
std::optional<std::string> heimAusBenutzerdatenbank() {
  const long vorschlag = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> puffer(vorschlag > 0 ? static_cast<size_t>(vorschlag) : 16384);
  passwd eintrag{};
  passwd* gefunden = nullptr;
  int fehler = 0;
  while ((fehler = ::getpwuid_r(::getuid(), &eintrag, puffer.data(), puffer.size(), &gefunden)) == ERANGE &&
         puffer.size() < (1u << 20))
    puffer.resize(puffer.size() * 2);
  if (fehler != 0 || !gefunden || !eintrag.pw_dir || eintrag.pw_dir[0] != '/') return std::nullopt;
  return std::string(eintrag.pw_dir);
}

}  // namespace

std::string DateiPfadAlsURL(const std::string& pfad) {
  return (pfad.starts_with('/') ? "file://" : "file:///") + percentEncoded(pfad, bleibtImURLPfad);
}

EnvLookup processEnv() {
  return [](const char* name) -> std::optional<std::string> {
    const bool heim = std::string(name) == "HOME";
    const char* v = std::getenv(name);
    // A HOME that is unset, empty or relative gives way to the user database.
    if (v && (!heim || *v == '/')) return std::string(v);
    if (heim) return heimAusBenutzerdatenbank();
    return std::nullopt;
  };
}

std::optional<std::string> defaultDesktopEntry(const std::string& mimeType, const EnvLookup& env) {
  const std::vector<std::string> listen = zuordnungsListen(env);
  if (auto e = ersterEintrag(listen, "Default Applications", mimeType, env)) return e;
  if (auto e = ersterEintrag(listen, "Added Associations", mimeType, env)) return e;
  std::vector<std::string> caches;
  for (const std::string& o : anwendungsOrdner(env)) caches.push_back(o + "/mimeinfo.cache");
  return ersterEintrag(caches, "MIME Cache", mimeType, env);
}

std::vector<std::string> execCommand(const std::string& execValue, const std::string& url) {
  // Split into arguments: blanks separate, double quotes group, and inside
  // quotes a backslash takes the next character literally.
  const std::string zeile = entschluesseln(execValue);
  std::vector<std::string> woerter;
  std::vector<bool> zitiert;
  std::string wort;
  bool inWort = false, inZitat = false, warZitat = false;
  for (size_t i = 0; i < zeile.size(); ++i) {
    const char c = zeile[i];
    if (inZitat) {
      if (c == '"') {
        inZitat = false;
      } else if (c == '\\' && i + 1 < zeile.size()) {
        wort += zeile[++i];
      } else {
        wort += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWort) {
        woerter.push_back(wort);
        zitiert.push_back(warZitat);
        wort.clear();
        inWort = warZitat = false;
      }
    } else if (c == '"') {
      inZitat = inWort = warZitat = true;
    } else {
      wort += c;
      inWort = true;
    }
  }
  if (inZitat) return {};
  if (inWort) {
    woerter.push_back(wort);
    zitiert.push_back(warZitat);
  }
  if (woerter.empty()) return {};

  std::vector<std::string> r;
  bool urlGesetzt = false;
  const std::string pfad = lokalerPfad(url);
  for (size_t n = 0; n < woerter.size(); ++n) {
    const std::string& w = woerter[n];
    if (!zitiert[n] && (w == "%u" || w == "%U")) {
      r.push_back(url);
      urlGesetzt = true;
    } else if (!zitiert[n] && (w == "%f" || w == "%F")) {
      if (!pfad.empty()) r.push_back(pfad);
      urlGesetzt = true;
    } else if (!zitiert[n] && (w == "%i" || w == "%c" || w == "%k")) {
      // icon, name and entry location: nothing the browser needs
    } else {
      std::string a;
      for (size_t i = 0; i < w.size(); ++i) {
        if (w[i] != '%' || zitiert[n] || i + 1 == w.size()) {
          a += w[i];
        } else if (w[++i] == '%') {
          a += '%';
        } else if (w[i] == 'u' || w[i] == 'U') {
          a += url;
          urlGesetzt = true;
        }
      }
      r.push_back(a);
    }
  }
  if (!urlGesetzt) r.push_back(url);
  return r;
}

std::vector<std::vector<std::string>> openCommands(const std::string& target, const EnvLookup& env) {
  std::vector<std::vector<std::string>> r;
  const bool datei = beginntMit(target, "file://");
  const bool web = beginntMit(target, "http://") || beginntMit(target, "https://");
  if (datei || web) {
    // $BROWSER: programs separated by ':', each with "%s" for the URL or
    // the URL after it.
    if (auto b = env("BROWSER"))
      for (const std::string& eintrag : teilen(*b, ':')) {
        std::vector<std::string> befehl;
        bool gesetzt = false;
        for (std::string w : teilen(eintrag, ' ')) {
          if (const size_t s = w.find("%s"); s != std::string::npos) {
            w.replace(s, 2, target);
            gesetzt = true;
          }
          befehl.push_back(w);
        }
        if (befehl.empty()) continue;
        if (!gesetzt) befehl.push_back(target);
        r.push_back(befehl);
      }
    std::vector<std::string> typen;
    if (web) typen.push_back("x-scheme-handler/" + target.substr(0, target.find(':')));
    typen.push_back("text/html");
    for (const std::string& typ : typen)
      if (auto eintrag = defaultDesktopEntry(typ, env))
        if (auto exec = schluessel(*eintrag, "Desktop Entry", "Exec")) {
          std::vector<std::string> befehl = execCommand(*exec, target);
          if (!befehl.empty()) {
            r.push_back(befehl);
            break;
          }
        }
  }
  r.push_back({"xdg-open", target});
  return r;
}

bool startDetached(const std::vector<std::string>& argv, std::chrono::milliseconds frist,
                   const std::function<void()>& warten) {
  if (argv.empty() || argv[0].empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t kind = ::fork();
  if (kind < 0) return false;
  if (kind == 0) {
    // The child starts the program as its own child, so that the program is
    // no zombie of ours, and watches it for the grace time: its exit status
    // is the verdict. Only async-signal-safe calls from here on.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(SIGCHLD, &standard, nullptr);
    const pid_t enkel = ::fork();
    if (enkel < 0) ::_exit(1);
    if (enkel == 0) {
      ::setsid();
      fs::restoreSignalsForChild();
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
    for (long long gewartet = 0;; gewartet += kSchrittMs) {
      int status = 0;
      const pid_t r = ::waitpid(enkel, &status, WNOHANG);
      if (r == enkel) ::_exit(WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1);
      // Still running after the grace time: it has taken the page over.
      if ((r < 0 && errno != EINTR) || gewartet >= frist.count()) ::_exit(0);
      ::nanosleep(&kSchritt, nullptr);
    }
  }
  int status = 0;
  for (;;) {
    const pid_t r = ::waitpid(kind, &status, warten ? WNOHANG : 0);
    // A child reaped elsewhere leaves status 0: the program counts as
    // started, as before a verdict could be read.
    if (r == kind || (r < 0 && errno != EINTR)) break;
    if (r == 0) {
      warten();
      ::nanosleep(&kSchritt, nullptr);
    }
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace mosaik

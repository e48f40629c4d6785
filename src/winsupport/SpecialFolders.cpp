#include "winsupport/SpecialFolders.h"

#include "platform/Browser.h"
#include "platform/FileSystem.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace mosaik {
namespace {

std::string ohneSchraegstrich(std::string p) {
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

// A variable of the XDG base directories: only an absolute path counts.
std::optional<std::string> xdgVariable(const Umgebung& env, const char* name) {
  const auto v = env(name);
  if (v && !v->empty() && v->front() == '/') return ohneSchraegstrich(*v);
  return std::nullopt;
}

std::optional<std::string> heim(const Umgebung& env) {
  const auto h = env("HOME");
  if (h && !h->empty() && h->front() == '/') return ohneSchraegstrich(*h);
  return std::nullopt;
}

std::optional<std::string> unter(const std::optional<std::string>& basis, const char* rest) {
  if (!basis) return std::nullopt;
  return *basis == "/" ? std::string("/") + rest : *basis + "/" + rest;
}

std::optional<std::string> konfiguration(const Umgebung& env) {
  if (auto x = xdgVariable(env, "XDG_CONFIG_HOME")) return x;
  return unter(heim(env), ".config");
}

std::optional<std::string> daten(const Umgebung& env) {
  if (auto x = xdgVariable(env, "XDG_DATA_HOME")) return x;
  return unter(heim(env), ".local/share");
}

// A folder of user-dirs.dirs (XDG_<NAME>_DIR="$HOME/..." or an absolute
// path), as xdg-user-dir reports it; the given fallback when it is not set.
std::optional<std::string> benutzerordner(const Umgebung& env, const std::string& name,
                                          std::optional<std::string> sonst) {
  const auto home = heim(env);
  const auto konf = konfiguration(env);
  if (!konf) return sonst;
  std::istringstream f(fs::readTextFile(*konf + "/user-dirs.dirs").value_or(std::string()));
  const std::string gesucht = "XDG_" + name + "_DIR=";
  std::optional<std::string> gefunden;
  std::string zeile;
  while (std::getline(f, zeile)) {
    while (!zeile.empty() && (zeile.front() == ' ' || zeile.front() == '\t')) zeile.erase(0, 1);
    if (zeile.rfind(gesucht, 0) != 0) continue;
    std::string wert = zeile.substr(gesucht.size());
    while (!wert.empty() && (wert.back() == '\r' || wert.back() == ' ')) wert.pop_back();
    if (wert.size() < 2 || wert.front() != '"' || wert.back() != '"') continue;
    wert = wert.substr(1, wert.size() - 2);
    if (wert.rfind("$HOME", 0) == 0 && home) {
      const std::string rest = wert.substr(5);
      if (!rest.empty() && rest.front() != '/') continue;
      wert = rest.empty() ? *home : ohneSchraegstrich(*home + rest);
    } else if (wert.empty() || wert.front() != '/') {
      continue;
    }
    gefunden = ohneSchraegstrich(wert);  // the last assignment wins, as in a shell
  }
  return gefunden ? gefunden : sonst;
}

}  // namespace

Umgebung prozessUmgebung() { return processEnv(); }

std::optional<std::string> specialFolderPath(SpecialFolder f, const Umgebung& env) {
  const auto home = heim(env);
  switch (f) {
    case SpecialFolder::AppData: return konfiguration(env);
    case SpecialFolder::LocalAppData: return daten(env);
    case SpecialFolder::InternetCache:
      if (auto x = xdgVariable(env, "XDG_CACHE_HOME")) return x;
      return unter(home, ".cache");
    case SpecialFolder::CommonAppData: {
      // The first entry of XDG_CONFIG_DIRS, else its default.
      const auto dirs = env("XDG_CONFIG_DIRS");
      if (dirs && !dirs->empty() && dirs->front() == '/') return ohneSchraegstrich(dirs->substr(0, dirs->find(':')));
      return std::string("/etc/xdg");
    }
    case SpecialFolder::Desktop:
    case SpecialFolder::DesktopDirectory: return benutzerordner(env, "DESKTOP", unter(home, "Desktop"));
    case SpecialFolder::Personal: return benutzerordner(env, "DOCUMENTS", home);
    case SpecialFolder::MyPictures: return benutzerordner(env, "PICTURES", home);
    case SpecialFolder::Templates: return benutzerordner(env, "TEMPLATES", home);
    case SpecialFolder::Programs:
    case SpecialFolder::StartMenu: return unter(daten(env), "applications");
    case SpecialFolder::Startup: return unter(konfiguration(env), "autostart");
    case SpecialFolder::Fonts: return unter(daten(env), "fonts");
    case SpecialFolder::BitBucket: return unter(daten(env), "Trash");
    case SpecialFolder::Profile: return home;
    case SpecialFolder::CommonPrograms:
    case SpecialFolder::CommonStartMenu: return std::string("/usr/share/applications");
    case SpecialFolder::CommonStartup: return std::string("/etc/xdg/autostart");
    default: return std::nullopt;
  }
}

void GetSpecialFolderPath(SpecialFolder f, std::string& pfad, const Umgebung& env) {
  if (auto p = specialFolderPath(f, env)) pfad = std::move(*p);
}

TSpecialFolders::TSpecialFolders(const Umgebung& env) {
  for (size_t i = 0; i < pfade_.size(); ++i) GetSpecialFolderPath(static_cast<SpecialFolder>(i), pfade_[i], env);
}

const TSpecialFolders& SpecialFolders() {
  static const TSpecialFolders instanz;
  return instanz;
}

}  // namespace mosaik

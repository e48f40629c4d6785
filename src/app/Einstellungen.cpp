#include "app/Einstellungen.h"

#include <cstdlib>

#include "app/options/Hersteller.h"
#include "platform/FileSystem.h"

namespace mosaik {

std::string anwendungsdatenOrdner(const Kontext& k) {
  if (!k.sv.appDataFolder.empty()) return fs::withTrailingSlash(k.sv.appDataFolder);
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') return fs::withTrailingSlash(x);
  if (const char* h = std::getenv("HOME"); h && *h) return fs::withTrailingSlash(h) + ".config/";
  return "/tmp/";
}

std::string standardEinstellungsdatei(const Kontext& k) {
  const std::string pf = k.sv.programFolder.empty() ? fs::programFolder() : fs::withTrailingSlash(k.sv.programFolder);
  return pf + kEinstellungsdatei;
}

std::string persoenlicheEinstellungsdatei(const Kontext& k) {
  return anwendungsdatenOrdner(k) + kProduktname + "/" + kEinstellungsdatei;
}

void IniFileLesen(Kontext&, const std::string&) {}
void ZusatzdateienLaden(Kontext&, const std::string&) {}
bool FormCloseQuery(Kontext&) { return true; }
void FormClose(Kontext&) {}
bool EinstellungsEreignis(Kontext&, Opt, Ev) { return false; }

}  // namespace mosaik

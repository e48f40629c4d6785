#include "generator/Seitenanzeige.h"

#include "platform/Browser.h"

namespace mosaik {

bool HTMLSeiteImBrowserOeffnen(Kontext& k, const std::string& datei, const std::string& anker) {
  // Only the URL keeps the anchor: opening the file itself would lose it.
  std::string url = DateiPfadAlsURL(datei);
  if (!anker.empty()) url += "#" + anker;
  if (k.sv.shell && k.sv.shell->open(url)) return true;
  k.fehler("Die Seite\n" + url +
           "\nkonnte nicht im Browser geöffnet werden: Es ist kein Browser eingerichtet, oder er lässt sich nicht "
           "starten.");
  return false;
}

}  // namespace mosaik

#pragma once
// The two shortcut boxes of the program tab: a shortcut to the program on
// the user's desktop and one in the menu, inside the maker's folder. The
// state lives only in the file system.
#include <string>

#include "app/options/Kontext.h"
#include "winsupport/Verknuepfung.h"

namespace mosaik {

// Where the user's folders are looked up and which program the shortcuts
// start; tests point them at a private home.
struct VerknuepfungsUmgebung {
  Umgebung umgebung = prozessUmgebung();
  std::string programmDatei = laufendesProgramm();
};

// "Mosaikschauer 2.6.1.desktop" and the description "Mosaikschauer 2.6.1".
std::string verknuepfungsDateiname();
std::string verknuepfungsBeschreibung();

// The full paths; empty when the user's folder is unknown.
std::string desktopVerknuepfung(const VerknuepfungsUmgebung& u);
std::string startmenueOrdner(const VerknuepfungsUmgebung& u);  // with a trailing '/'
std::string startmenueVerknuepfung(const VerknuepfungsUmgebung& u);

// At start: ticks each box whose shortcut exists.
void VerknuepfungenPruefen(OptionModel& m, const VerknuepfungsUmgebung& u);

// The boxes' click handlers: ticking creates the shortcut, unticking deletes
// it (and the maker's menu folder when that is left empty). A failure gives
// one error box; the box keeps the user's state.
void CBDesktopVerknuepfungClick(Kontext& k, const VerknuepfungsUmgebung& u);
void CBStartmenueVerknuepfungClick(Kontext& k, const VerknuepfungsUmgebung& u);

}  // namespace mosaik

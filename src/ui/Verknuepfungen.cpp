#include "ui/Verknuepfungen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "app/options/Hersteller.h"
#include "platform/FileSystem.h"

namespace mosaik {
namespace {

constexpr const char* kFehler = "Fehler beim Erstellen oder Löschen der Verknüpfung!";

std::string ordner(SpecialFolder f, const VerknuepfungsUmgebung& u) {
  std::string pfad;
  SpezialOrdnerPfad(f, pfad, u.umgebung);
  return pfad;
}

// Removes the shortcut file (a link to one: the link); nullopt when there
// is none to remove.
std::optional<bool> loeschen(const std::string& datei) {
  const fs::Place at = fs::resolve(datei, false);
  struct stat st {};
  if (!at || ::fstatat(at.dir(), at.name(), &st, 0) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return ::unlinkat(at.dir(), at.name(), 0) == 0;
}

}  // namespace

std::string verknuepfungsBeschreibung() { return std::string(kProduktname) + " " + kVersion; }
std::string verknuepfungsDateiname() { return verknuepfungsBeschreibung() + ".desktop"; }

std::string desktopVerknuepfung(const VerknuepfungsUmgebung& u) {
  const std::string o = ordner(SpecialFolder::DesktopDirectory, u);
  return o.empty() ? o : o + verknuepfungsDateiname();
}

std::string startmenueOrdner(const VerknuepfungsUmgebung& u) {
  const std::string o = ordner(SpecialFolder::Programs, u);
  return o.empty() ? o : o + kHerstellerOrdner + "/";
}

std::string startmenueVerknuepfung(const VerknuepfungsUmgebung& u) {
  const std::string o = startmenueOrdner(u);
  return o.empty() ? o : o + verknuepfungsDateiname();
}

void VerknuepfungenPruefen(OptionModel& m, const VerknuepfungsUmgebung& u) {
  // Ticking runs the click handlers, which find the files present.
  if (const std::string d = desktopVerknuepfung(u); !d.empty() && fs::fileExists(d))
    m.setChecked(Opt::CBDesktopVerknuepfung, true);
  if (const std::string s = startmenueVerknuepfung(u); !s.empty() && fs::fileExists(s))
    m.setChecked(Opt::CBStartmenueVerknuepfung, true);
}

// Without a known folder there is nowhere to put a shortcut, and none to
// delete.
void CBDesktopVerknuepfungClick(Kontext& k, const VerknuepfungsUmgebung& u) {
  const std::string datei = desktopVerknuepfung(u);
  const bool an = k.m.checked(Opt::CBDesktopVerknuepfung);
  bool ok = true;
  if (datei.empty())
    ok = !an;
  else if (an && !fs::fileExists(datei))
    // A desktop folder the session has not made yet is made here, as the
    // menu folder is.
    ok = fs::forceDirectories(ordner(SpecialFolder::DesktopDirectory, u)) &&
         VerknuepfungAnlegen(u.programmDatei, datei, verknuepfungsBeschreibung());
  else if (!an)
    ok = loeschen(datei).value_or(true);
  if (!ok) k.fehler(kFehler);
}

void CBStartmenueVerknuepfungClick(Kontext& k, const VerknuepfungsUmgebung& u) {
  const std::string ordner = startmenueOrdner(u);
  const std::string datei = startmenueVerknuepfung(u);
  const bool an = k.m.checked(Opt::CBStartmenueVerknuepfung);
  bool ok = true;
  if (datei.empty()) {
    ok = !an;
  } else if (an && !fs::fileExists(datei)) {
    ok = fs::forceDirectories(ordner) && VerknuepfungAnlegen(u.programmDatei, datei, verknuepfungsBeschreibung());
  } else if (!an) {
    // The maker's folder goes only when nothing else is left in it.
    if (const auto entfernt = loeschen(datei)) ok = *entfernt && LeerenOrdnerEntfernen(ordner);
  }
  if (!ok) k.fehler(kFehler);
}

}  // namespace mosaik

#pragma once
// The two recursive walks of a run and the folder scans beside them.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "generator/Lauf.h"
#include "generator/Verzeichnis.h"

namespace mosaik {

// Walk 1: mirrors the source tree into the large-image tree. ordnerNummer
// is the parent's number string ("" for the top folder, index -1).
void OriginaleVerkleinernDurchlauf(Lauf& lauf, const std::string& quelle, const std::string& ziel,
                                   bool mitUnterordnern, const std::string& ordnerNummer, int ordnerIndex,
                                   bool& ok);
// Walk 2: renames, lists and sorts each folder and writes its pages.
void GalerieDurchlauf(Lauf& lauf, const std::string& von, const std::string& vorschauOrdner, bool mitUnterordnern,
                      const std::string& ordnerNummer, int ordnerIndex, bool& ok);

// --- The entry filter shared by the walks and scans ----------------------

// The extension test: ".JPG" / ".JPEG" in any ASCII case, as chosen.
bool IstBilddatei(const Kontext& k, const std::string& name);
// A listing of the folder without the entries the attribute options and
// the output folders' names exclude; pictures and other files are both
// kept (callers test IstBilddatei). The names of links to folders that the
// same filter would take go to verknuepfungen when given: the walks never
// follow them.
std::vector<fs::Entry> OrdnerLesen(const Lauf& lauf, const std::string& ordner,
                                   std::vector<std::string>* verknuepfungen = nullptr);

// The last names of the run's output folders, which no renaming may give.
std::set<std::string> Ausgabeordnernamen(const Lauf& lauf);
// A folder's side file ("dirinfo.txt", "dirname.txt") that is a regular
// file and can be read; one that cannot is reported (and left out).
bool SeitendateiLesbar(const Kontext& k, const std::string& pfad);
// Folders the run writes into get their former date back at its end.
void OrdnerzeitMerken(Lauf& lauf, const std::string& ordner);
void OrdnerzeitenZuruecksetzen(Lauf& lauf);

// --- Scans ---------------------------------------------------------------

// Admitted pictures in the folder and every admitted folder below it; 0
// and ok cleared after a cancel.
int BilderZaehlen(Lauf& lauf, const std::string& ordner, bool& ok);
// Pictures, bytes and subfolders with pictures of one folder (below it too,
// as the recursive options ask) and the name of its first picture in page
// order; ok cleared after a cancel.
void OrdnerStatistik(Lauf& lauf, const std::string& ordner, int& anzahl, int64_t& bytes, bool& ok,
                     std::string& erstesBild, int& unterordner);
// A side file exists (in any ASCII letter case) and its attributes may be
// linked.
bool DateiattributeErlaubt(const Kontext& k, const std::string& pfad);
// "1024 Bytes", "1 KB": bytes up to 1024, whole kilobytes above.
std::string DateigroesseText(const std::string& pfad);
bool DateiDatumSetzen(const std::string& pfad, uint32_t dosDatum);

}  // namespace mosaik

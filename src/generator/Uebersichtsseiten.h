#pragma once
// The overview pages of a folder: heading block with the path of links,
// paging links, the table of subfolders, the thumbnail table and the
// footer.
#include <cstdint>
#include <optional>
#include <string>

#include "generator/Lauf.h"
#include "generator/Seitenrahmen.h"

namespace mosaik {

// Writes all overview pages of the folder ordner: its pictures are
// bildliste (sorted), its subfolders the entries of ordnerliste from
// startIndex on; ordnerIndex is the folder's own entry, -1 for the top;
// ordnerNummer the chain of folder numbers from the top ("-0-3").
void OrdnerSeitenSchreiben(Lauf& lauf, const std::string& ordner, const std::string& vorschauOrdner,
                           const std::string& ordnerNummer, TVerzeichnisArray& ordnerliste, TDateiArray& bildliste,
                           int startIndex, int ordnerIndex);

// The heading block: link back, heading, folder name with the page
// counter, "dirinfo.txt", the extra text and the path of links.
void UeberschriftSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner,
                           const std::string& ordnerNummer, int seitenNr, int seitenZahl);
// The paging links; oben = at the top of the page.
void SeitennavigationSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, int seitenNr,
                               int ordnerIndex, int seitenZahl, bool oben);
// The table of the subfolders (and of the folder itself).
void UnterordnerTabelleSchreiben(Lauf& lauf, HTMLSeite& seite, const std::string& ordner,
                                 const std::string& vorschauOrdner, const TVerzeichnisArray& ordnerliste,
                                 int startIndex);
// The picture element of a subfolder: its first picture.
std::string OrdnerbildTag(const Kontext& k, const std::string& ordner, const std::string& vorschauOrdner,
                          const TVerzeichniseintrag& unterordner, const std::string& erstesBild);
// Link back, footer line and page end.
void FusszeileSchreiben(const Kontext& k, HTMLSeite& seite, const std::string& ordner, int seitenNr);

// "1024 B", "1,5 KB", "3 MB": bytes, kilobytes above 1024 bytes, megabytes
// above 1024 kilobytes, one decimal at most, ties to even.
std::string GroesseText(int64_t bytes, char dezimaltrenner);

// The first line of the folder's "dirname.txt" (found in any letter case);
// nothing when there is none or it is empty.
std::optional<std::string> DirnameErsteZeile(const std::string& ordner);

}  // namespace mosaik

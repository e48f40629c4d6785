#pragma once
// Output folders, page and picture file names, display paths, relative
// paths and the small text routines they use. Folder paths carry a trailing
// '/'; a '\' is part of a name, never a separator.
#include <optional>
#include <string>

#include "app/options/Kontext.h"
#include "generator/Lauf.h"

namespace mosaik {

// --- Folders -------------------------------------------------------------

// Absolute, without "." and ".." steps or doubled separators, with a
// trailing '/'; empty stays empty. Every root of a run goes through here so
// that prefixes and lengths of paths built from them agree.
std::string OrdnerNormalisieren(const std::string& pfad);

std::string standardOrdnerHTML(const Kontext& k);
std::string standardOrdnerGrosseBilder(const Kontext& k);
std::string standardOrdnerVorschaubilder(const Kontext& k);
// The chosen HTML folder, else the standard one; normalised.
std::string HTMLOrdner(const Kontext& k);
// The chosen large-image / thumbnail folder, else the standard one;
// normalised.
std::string GrosseBilderOrdner(const Kontext& k);
std::string VorschauOrdner(const Kontext& k);

// True when a file can be created in the folder; leaves nothing behind.
bool OrdnerBeschreibbar(const std::string& folder);
// A folder the run writes into is never reached through a link another
// user made (fs::foreignLink): false after an error box that names the link
// and, when the run stops for it, ends with "Programmabbruch!".
bool AusgabeordnerVertraut(const Kontext& k, const std::string& folder, bool abbruch);
// Creates the folder with all missing parents unless it exists; reports a
// failure in an error box. When a date is given it becomes the folder's
// modification time (best effort).
bool OrdnerAnlegen(const Kontext& k, const std::string& folder, std::optional<uint32_t> datum = std::nullopt);
// A folder the run checked was found swapped: what fails for it is not
// reported on its own, the run's end names the swap once.
bool AustauschGemeldet();
// The message for a file that cannot be read, with the reason on a line
// of its own when there is one.
std::string Lesefehler(const std::string& pfad, const std::string& grund = {});

// --- Names ---------------------------------------------------------------

// Overview page of the folder numbered ordnerNummer ("0" for the root).
std::string UebersichtsseiteDateiname(const Kontext& k, const std::string& ordnerNummer, int seite);
// Picture page of list[index], derived from its overview page's name.
std::string EinzelbildHTMLName(const Kontext& k, const std::string& uebersichtsseite, const TDateiArray& liste,
                               int index, bool stopp);
std::string HTMLGrundname(const Kontext& k);
std::string CSSDateiname(const Kontext& k);
std::string GrossbildKennungEntfernen(const Kontext& k, const std::string& name);
// Given a path, only its file-name part is renamed and returned.
std::string VorschaubildName(const Kontext& k, const std::string& name);
std::string GrossbildName(const Kontext& k, const std::string& name);

// --- Paths and links -----------------------------------------------------

// The root that display paths are measured from: the picture folder, or
// the large-image folder when originals are reduced; normalised.
std::string AnzeigeWurzel(const Kontext& k);
// The folder's path below the root with a leading '/' per level and no
// trailing '/' ("/Urlaub/Tag 1"); "" for the root itself and for folders
// outside it.
std::string AnzeigeUnterpfad(const Kontext& k, const std::string& ordner);
// The display path: the start-folder name, already entity-encoded by the
// page frame, followed by the path below the root.
std::string AnzeigePfad(const Kontext& k, const std::string& ordner, const std::string& startnameKodiert);
// "Urlaub/Tag 1/" below the root, "" for the root. The flag asks for a path
// on disk; on this system both forms use '/'.
std::string UnterordnerPfad(const Kontext& k, const std::string& ordner, bool fuerDatei);
// "../" once per level below the root.
std::string PfadZurStartseite(const Kontext& k, const std::string& ordner, bool fuerDatei);

std::string RelativerPfadZumHTMLOrdner(const Kontext& k, const std::string& pfad);
std::string RelativeURLZumHTMLOrdner(const Kontext& k, const std::string& pfad);
std::string RelativerPfad(const std::string& basis, const std::string& pfad);
std::string RelativeURL(const std::string& basis, const std::string& pfad);
// A web address ("scheme://") or a path beginning with '/' or '\'.
bool IstAbsoluterPfad(const std::string& text);
// Puts the way back to the gallery root in front of text when the user's
// path in the given field is relative and subfolders are included.
void RelativenPfadAnpassen(const Kontext& k, std::string& text, Opt feld, const std::string& ordner);
std::string OriginalLinkPfad(const Kontext& k, const std::string& basis, const std::string& pfad);
std::string BasisPfadAbschneiden(const std::string& pfad, const std::string& basis);

// --- Text routines -------------------------------------------------------

// Appends c unless the text is empty or already ends with it.
void ZeichenAnhaengen(char c, std::string& text);
// Removes one trailing c, if there is one.
void ZeichenEntfernen(char c, std::string& text);
int ZeichenZaehlen(char c, const std::string& text);
std::string TextErsetzen(const std::string& suchtext, const std::string& ersatz, const std::string& text);
std::string GemeinsamesEndeAbschneiden(const std::string& pfadA, const std::string& pfadB);
// The last component of a folder path.
std::string LetzterOrdnername(std::string path);

// Name parts: the file-name part of a path, its extension with the dot
// ("" when none), and the name without that extension.
std::string DateinamenTeil(const std::string& pfad);
std::string Erweiterung(const std::string& name);
std::string OhneErweiterung(const std::string& name);

}  // namespace mosaik

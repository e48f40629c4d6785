#pragma once
// Shortcuts to a program, as the Linux desktops know them: freedesktop
// desktop entries (".desktop" files) on the desktop and in the menu folder
// ~/.local/share/applications.
#include <string>

#include "winsupport/SpecialFolders.h"

namespace mosaik {

// The path of a special folder with a trailing '/'; pfad stays as it was
// when the folder is unknown.
void SpezialOrdnerPfad(SpecialFolder f, std::string& pfad, const Umgebung& env);

// The text of a desktop entry that starts the program ziel (no arguments,
// no working folder, no icon): Name is the file's base name, Comment the
// description.
std::string desktopEintrag(const std::string& ziel, const std::string& name, const std::string& beschreibung);

// Creates the shortcut file datei (ending in ".desktop") to the program
// ziel. Never replaces a file that is already there; leaves no half-written
// file behind. The file may be run, as launchers on the desktop require.
bool VerknuepfungAnlegen(const std::string& ziel, const std::string& datei, const std::string& beschreibung);

// True when the folder holds no entry at all (hidden ones count); false for
// a folder that cannot be read.
bool OrdnerIstLeer(const std::string& ordner);
// Removes the folder when it holds no entry at all; false only when an
// empty one could not be removed. A link at its name is left alone.
bool LeerenOrdnerEntfernen(const std::string& ordner);

// The full path of the running program file; empty when it cannot be found.
std::string laufendesProgramm();

}  // namespace mosaik

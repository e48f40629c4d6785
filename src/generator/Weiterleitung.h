#pragma once
// Redirect pages "index.html" in the folders of the large-image and the
// thumbnail trees, which send a visitor who opens such a folder to the
// gallery's start page.
#include <string>

#include "generator/Lauf.h"

namespace mosaik {

// Writes the redirect page into the folder and, with subfolders,
// recursively into every admitted subfolder that has pictures below it.
void IndexInGrafikordnernSchreiben(Lauf& lauf, const std::string& ordner, bool mitUnterordnern);

// Writes ordner + "index.html" when the folder is writable. Never writes
// into the HTML folder itself, and never replaces an "index.html" that is
// not a redirect page of ours (a page of the user's, or the start page).
void WeiterleitungsIndexSchreiben(const Kontext& k, const std::string& ordner);

// The text of the redirect page leading to ziel.
std::string WeiterleitungsSeite(const std::string& ziel);

}  // namespace mosaik

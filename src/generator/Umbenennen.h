#pragma once
// Web-safe names for pictures and folders, renaming on disk without ever
// replacing a file, "dirname.txt" and the companion files of a picture.
#include <string>
#include <vector>

#include "app/options/Kontext.h"

namespace mosaik {

// The name in its web-safe form; geaendert tells whether anything but the
// letter case changed.
std::string WebsichererDateiname(const Kontext& k, const std::string& name, bool& geaendert);

// Renames ordner + name to its web-safe name and sets name to the new name;
// companion files follow. The name may be handed over in another letter
// case than on disk: the entry is looked up without regard to ASCII case.
// False when a rename failed.
bool DateiWebsicherUmbenennen(const Kontext& k, const std::string& ordner, std::string& name);

// Writes "dirname.txt" with the folder's former name unless the folder has
// one already (in any letter case), cannot be written to, or the option is
// off.
void DirnameTxtSchreiben(const Kontext& k, const std::string& ordner, const std::string& alterName);

// Copies the picture's companion files (".mov", ".avi", ".wav", ".mp3",
// ".txt", as the link options ask) under the new picture's base name,
// replacing older copies. False once a copy failed.
bool BegleitdateienKopieren(const Kontext& k, const std::string& quelle, const std::string& ziel,
                            const std::string& bildname, const std::string& neuerBildname);

// The companion extensions the options ask for, in their order.
std::vector<std::string> Begleiterweiterungen(const Kontext& k);

}  // namespace mosaik

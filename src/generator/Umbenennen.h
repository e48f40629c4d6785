#pragma once
// Web-safe names for pictures and folders, renaming on disk without ever
// replacing a file, "dirname.txt" and the companion files of a picture.
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/options/Kontext.h"

namespace mosaik {

class Ableitungsbuecher;

// The name in its web-safe form; geaendert tells whether anything but the
// letter case changed.
std::string WebsichererDateiname(const Kontext& k, const std::string& name, bool& geaendert);

// Renames ordner + name to its web-safe name and sets name to the new name;
// companion files follow. The name may be handed over in another letter
// case than on disk: the entry is looked up without regard to ASCII case.
// A picture and its companions move together or not at all (a read-only
// companion keeps the picture's name too), and a name in belegt counts as
// taken. A folder whose "dirname.txt" cannot be written keeps its name
// (reported). False when a rename failed.
bool DateiWebsicherUmbenennen(const Kontext& k, const std::string& ordner, std::string& name,
                              const std::set<std::string>& belegt = {});

// Writes "dirname.txt" with the folder's former name unless the folder has
// one already (in any letter case) or the option is off. False when the
// name would be lost: the file cannot be written, or something that is no
// file stands in its place; `warum` (when given) then says which and why.
// verzeichnen: the run's records when the folder keeps a record of what
// the run wrote there.
bool DirnameTxtSchreiben(const Kontext& k, const std::string& ordner, const std::string& alterName,
                         std::string* warum = nullptr, Ableitungsbuecher* verzeichnen = nullptr);

// The companion of the picture bild with the extension (any letter case):
// a regular file, and only the one picture's whose name matches it exactly,
// else the first in listing order whose name matches it in another case.
std::optional<std::string> Begleitdatei(const Kontext& k, const std::string& ordner, const std::string& bild,
                                        const std::string& erweiterung);
// Gives a companion (name, as found) its web-safe name when it keeps the
// picture's base name by that.
void BegleitdateiMitbenennen(const Kontext& k, const std::string& ordner, const std::string& bild, std::string& name);

// The picture's companion files that are there (name as found, and the
// extension it stands for, in the order of Begleiterweiterungen); one behind
// a link another user made is reported as unreadable and left out.
std::vector<std::pair<std::string, std::string>> VorhandeneBegleitdateien(const Kontext& k, const std::string& ordner,
                                                                          const std::string& bild);
// Copies the picture's companion files (".mov", ".avi", ".wav", ".mp3",
// ".txt", as the link options ask) under the new picture's base name,
// replacing older copies (in a folder that keeps a record of what the run
// wrote, only those: BeilageKopieren). A copy that fails is reported (both
// files and the reason) and ends the copying: false.
bool BegleitdateienKopieren(const Kontext& k, const std::string& quelle, const std::string& ziel,
                            const std::string& bildname, const std::string& neuerBildname,
                            Ableitungsbuecher* verzeichnen = nullptr);

// The companion extensions the options ask for, in their order.
std::vector<std::string> Begleiterweiterungen(const Kontext& k);

}  // namespace mosaik

#pragma once
// The user's special folders, answered by their freedesktop (XDG)
// equivalents: application data = $XDG_CONFIG_HOME (default ~/.config),
// desktop = the user's DESKTOP folder (user-dirs.dirs, default ~/Desktop),
// start-menu programs = ~/.local/share/applications, and so on. Folders
// this system has no notion of are empty. Paths carry no trailing '/'.
#include <array>
#include <functional>
#include <optional>
#include <string>

namespace mosaik {

enum class SpecialFolder {
#define FOLDER(name) name,
#include "winsupport/SpecialFolders.def"
#undef FOLDER
  Count
};

// Looks up an environment variable; nullopt when it is not set.
using Umgebung = std::function<std::optional<std::string>(const char*)>;
// The process environment; a HOME that is unset, empty or relative gives
// way to the home the user database records.
Umgebung prozessUmgebung();

// The path of one special folder; nullopt when the system knows none.
std::optional<std::string> specialFolderPath(SpecialFolder f, const Umgebung& env);
// Leaves pfad untouched when the lookup fails.
void GetSpecialFolderPath(SpecialFolder f, std::string& pfad, const Umgebung& env = prozessUmgebung());

// All paths are resolved once, when the object is made; a change of the
// user's folders afterwards is not seen.
class TSpecialFolders {
 public:
  explicit TSpecialFolders(const Umgebung& env = prozessUmgebung());

#define FOLDER(name) \
  const std::string& name() const { return pfade_[static_cast<size_t>(SpecialFolder::name)]; }
#include "winsupport/SpecialFolders.def"
#undef FOLDER

  const std::string& pfad(SpecialFolder f) const { return pfade_[static_cast<size_t>(f)]; }

 private:
  std::array<std::string, static_cast<size_t>(SpecialFolder::Count)> pfade_;
};

// The instance the program asks; made on first use.
const TSpecialFolders& SpecialFolders();

}  // namespace mosaik

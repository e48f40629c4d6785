#pragma once
// How a URL reaches the user's programs: the browser named in $BROWSER, the
// desktop's default program for HTML (its desktop entry, as the freedesktop
// MIME associations name it), then xdg-open. A local page is given to the
// browser as a file URL, so that its #anchor survives; xdg-open alone would
// drop it.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace mosaik {

using EnvLookup = std::function<std::optional<std::string>(const char*)>;
EnvLookup processEnv();

// A local path as a file URL: every byte that may not stand in a URL path
// (blanks, '%', '#', '?', quotes, control characters, bytes >= 0x80...) is
// percent-encoded. An absolute path gives "file:///...".
std::string DateiPfadAlsURL(const std::string& pfad);

// The commands to try, in order, each an argument vector.
std::vector<std::vector<std::string>> openCommands(const std::string& target, const EnvLookup& env);

// The desktop entry file of the default program for a MIME type; nullopt
// when none is registered or its file cannot be found.
std::optional<std::string> defaultDesktopEntry(const std::string& mimeType, const EnvLookup& env);

// The program line of a desktop entry (the Exec value as written in the
// file) made into an argument vector for url: %u and %U become the URL, %f
// and %F its local path (file URLs only), the other field codes vanish; with
// no URL code the URL is added at the end. Empty when the line is malformed.
std::vector<std::string> execCommand(const std::string& execValue, const std::string& url);

// Starts a program detached from this process; true once it is running
// (false when it could not be started at all, for example not found).
bool startDetached(const std::vector<std::string>& argv);

}  // namespace mosaik

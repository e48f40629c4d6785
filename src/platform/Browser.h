#pragma once
// How a URL reaches the user's programs: the browser named in $BROWSER, the
// desktop's default program for HTML (its desktop entry, as the freedesktop
// MIME associations name it), then xdg-open. A local page is given to the
// browser as a file URL, so that its #anchor survives; xdg-open alone would
// drop it.
#include <chrono>
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

// How long a started program is watched: one that ends within it with a
// failure status did not open anything. Launchers such as xdg-open end so at
// once when no browser is set up; a browser started directly keeps running,
// and the wait for it stays this short.
inline constexpr std::chrono::milliseconds kStartfrist{2000};

// Starts a program detached from this process; true when it runs on after
// the grace time or ended in it with status 0 (false when it could not be
// started, for example not found, or ended in it with another status or a
// signal). While the verdict is awaited, `warten` (when given) is called
// again and again, so that a window stays alive for the whole grace time a
// browser that keeps running costs.
bool startDetached(const std::vector<std::string>& argv, std::chrono::milliseconds frist = kStartfrist,
                   const std::function<void()>& warten = {});

}  // namespace mosaik

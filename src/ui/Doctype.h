#pragma once
// The document-type switch: flags for the page writers and the line-break
// and rule tags of the user's texts.
#include <string>
#include <string_view>

namespace mosaik {

// Replaces every occurrence of tag, found without regard to ASCII letter
// case, by ersatz exactly as written.
std::string tagErsetzen(const std::string& text, std::string_view tag, std::string_view ersatz);

}  // namespace mosaik

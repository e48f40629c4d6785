#pragma once
// The text of generated pages: entity encoding of user texts, links to files
// and user-typed addresses, and the bytes that finally go into the files.
// Inside, page text is UTF-8; the files are Windows-1252 (declared as
// ISO-8859-1).
#include <string>
#include <string_view>

#include "platform/Win1252.h"

namespace mosaik {

// Entity encoding of a user text on its way into a page. The euro sign and
// the Latin-1 letters and signs get their named entities; characters the
// page's code page cannot show correctly get a numeric character
// reference; ASCII (also '&', '<', '>' and '"') and the four Latin-1
// characters without an entity (no-break space, Ë, ë, ý) pass unchanged.
// Bytes that are no UTF-8 are taken as Windows-1252.
std::string HTMLZeichenKodieren(std::string_view text);

// A user text as an attribute value (the alt and title of a navigation
// graphic): encoded as the same text is between tags, so entities the user
// typed stay entities, with '"' as "&quot;", which would end the value.
std::string AttributKodieren(std::string_view text);

// A file or folder name shown as text (a heading, an alt or title
// attribute): entity-encoded, and '&', '<', '>' and '"' escaped, since a
// name on disk may hold them.
std::string NameKodieren(std::string_view name);

// A file or folder name (or a path of them, '/' kept) as it goes into an
// href or src attribute: printable ASCII stays, every byte of a non-ASCII
// character and the characters that would end or change the URL or the
// attribute are percent-encoded.
std::string URLKodieren(std::string_view name);

// An address the user typed (link target, graphic, favicon, style sheet,
// path replacement): kept as typed, except that non-ASCII bytes, blanks
// and characters that would break the attribute are percent-encoded and
// '&' is written as "&amp;".
std::string BenutzerURLKodieren(std::string_view adresse);

// The bytes of a page file: Windows-1252, with a numeric character
// reference for every character the code page cannot hold.
std::string SeitenBytes(std::string_view utf8);

// The bytes of a style sheet: Windows-1252, with a CSS escape for every
// character the code page cannot hold.
std::string CSSBytes(std::string_view utf8);

// Replaces every occurrence of such, found without regard to ASCII case, by
// ersatz, left to right in one pass.
std::string ErsetzenOhneFall(std::string_view text, std::string_view such, std::string_view ersatz);


}  // namespace mosaik

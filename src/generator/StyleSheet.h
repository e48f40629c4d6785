#pragma once
// The gallery's style sheet, built from the colour, font, size and spacing
// options. Its ids and classes are the ones the page writers emit.
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// The whole style sheet: lines separated by CR LF, no line end after the
// last one.
std::string StyleSheetErzeugen(const Kontext& k);

// Writes the style sheet (or the user's edited text of it) into the HTML
// folder under its name; reports a failure and clears ok. A failure leaves
// an older style sheet untouched.
void CSSDateiSchreiben(Kontext& k, const std::string& htmlOrdner, bool& ok);

}  // namespace mosaik

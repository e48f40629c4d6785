#pragma once
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// Resets every option of both windows to its built-in default. From the
// button it asks first and changes nothing unless the answer is Yes.
void BGrundEinstellungenClick(Kontext& k, bool vomKnopf);

// The login name of the current user; empty when it cannot be obtained.
std::string WindowsBenutzername(const Kontext& k);

}  // namespace mosaik

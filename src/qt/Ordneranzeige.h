#pragma once
// The four folder displays of the main window: read-only fields that show
// their folder shortened to their width (the full path as tool tip); a
// click on the picture or HTML folder, or "Pfad ändern" from its context
// menu, opens the folder chooser.
#include "app/options/OptionModel.h"
#include "qt/OptionBinder.h"

namespace mosaik {

void ordneranzeigenEinrichten(OptionBinder& binder, OptionModel& m);

}  // namespace mosaik

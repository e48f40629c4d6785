#pragma once
#include "app/options/Kontext.h"
#include "ui/Formulare.h"

namespace mosaik {

// The navigation dialog: its options live in the shared option model.
class TNavigationForm : public Formular {
 public:
  explicit TNavigationForm(Kontext& k) : k_(k) {}

#define HANDLER(control, event) void control##event();
#include "ui/NavHandler.def"
#undef HANDLER
  // Dispatches an event of one of the dialog's controls; false when the
  // control has no handler for it.
  bool ereignis(Opt o, Ev e);

  // The standard navigation graphics, written into the HTML folder.
  bool StandardbilderUebErzeugen();
  bool StandardbilderGrossErzeugen();

 private:
  Kontext& k_;
};

}  // namespace mosaik

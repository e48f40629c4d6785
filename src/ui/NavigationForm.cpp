#include "ui/NavigationForm.h"

#include "generator/Navigationsgrafiken.h"

namespace mosaik {

bool TNavigationForm::ereignis(Opt o, Ev e) {
#define HANDLER(control, event)                  \
  if (o == Opt::control && e == Ev::event) {     \
    control##event();                            \
    return true;                                 \
  }
#include "ui/NavHandler.def"
#undef HANDLER
  return false;
}

void TNavigationForm::CBNavigationObenClick() {}
void TNavigationForm::CBNavigationUntenClick() {}
void TNavigationForm::RBNavUebTextlinksClick() {}
void TNavigationForm::RBNavGrTextlinksClick() {}
void TNavigationForm::RBGrossGrafikStandardClick() {}

bool TNavigationForm::StandardbilderUebErzeugen() { return mosaik::StandardbilderUebErzeugen(k_); }
bool TNavigationForm::StandardbilderGrossErzeugen() { return mosaik::StandardbilderGrossErzeugen(k_); }

}  // namespace mosaik

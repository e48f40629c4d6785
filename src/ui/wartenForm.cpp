#include "ui/Formulare.h"

namespace mosaik {

void TwartenForm::FormCreate() { AbbruchFlag = 0; }

void TwartenForm::Show() {
  AbbruchFlag = 0;
  Visible = true;
  melden();
}

void TwartenForm::Hide() {
  Visible = false;
  melden();
}

void TwartenForm::BAbbruchClick() { AbbruchFlag = 1; }

void TwartenForm::aktuelleDatei(const std::string& name) {
  LAktuellerDateiname = name;
  melden();
}

}  // namespace mosaik

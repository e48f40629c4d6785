#pragma once
// The main window as a headless model: the handlers of its controls.
#include <functional>

#include "app/options/Kontext.h"
#include "generator/Lauf.h"
#include "ui/Formulare.h"
#include "ui/NavigationForm.h"

namespace mosaik {

class THauptForm : public OptionEvents, public Formular {
 public:
  THauptForm(Kontext& k, TNavigationForm& nav) : k_(k), nav_(nav) {}

  void optionEvent(Opt o, Ev e) override;
  void procedure(Proc p) override;

  // Events that a layer above handles first (the settings location and
  // auto-save boxes belong to the settings file); true = handled.
  std::function<bool(Opt, Ev)> vorrang;

#define HANDLER(control, event) void control##event();
#include "ui/Handler.def"
#undef HANDLER
  void RBModusAnfaengerClick();
  void EdgrosseBilderPfadnameAnpassen();
  void EdVorschauPfadnameAnpassen();

  Kontext& kontext() { return k_; }

 private:
  Kontext& k_;
  TNavigationForm& nav_;
};

// Connects a run to the windows: the main window's busy state, the progress
// dialog and the navigation dialog's graphics.
class FensterRunView : public RunView {
 public:
  FensterRunView(THauptForm& haupt, TwartenForm& warten, TNavigationForm& nav)
      : haupt_(haupt), warten_(warten), nav_(nav) {}
  void laufBeginnt() override;
  void laufEndet() override;
  void aktuelleDatei(const std::string& name) override { warten_.aktuelleDatei(name); }
  bool StandardbilderUebErzeugen() override { return nav_.StandardbilderUebErzeugen(); }
  bool StandardbilderGrossErzeugen() override { return nav_.StandardbilderGrossErzeugen(); }

 private:
  THauptForm& haupt_;
  TwartenForm& warten_;
  TNavigationForm& nav_;
};

}  // namespace mosaik

#include "ui/HauptForm.h"

#include "ui/Auswahl.h"
#include "ui/Farbdialog.h"

namespace mosaik {

void THauptForm::optionEvent(Opt o, Ev e) {
  if (vorrang && vorrang(o, e)) return;
  if (onNavigationWindow(o)) {
    nav_.ereignis(o, e);
    return;
  }
  if (oeffnetFarbdialog(o, e)) {
    KlickAufFarbCode(o);
    return;
  }
  if (auswahlEreignis(*this, o, e)) return;
#define BINDUNG(control, event, handler)     \
  if (o == Opt::control && e == Ev::event) { \
    handler();                               \
    return;                                  \
  }
#include "ui/Bindungen.def"
#undef BINDUNG
#define HANDLER(control, event)              \
  if (o == Opt::control && e == Ev::event) { \
    control##event();                        \
    return;                                  \
  }
#include "ui/Handler.def"
#undef HANDLER
}

void THauptForm::weiterreichen(Opt von, Opt ziel) {
  if (rueckwaertsBetreten && rueckwaertsBetreten()) {
    if (fokusZurueck) fokusZurueck(von);
  } else {
    fokus(ziel);
  }
}

void THauptForm::procedure(Proc p) {
  switch (p) {
    case Proc::EdgrosseBilderPfadnameAnpassen: EdgrosseBilderPfadnameAnpassen(); break;
    case Proc::EdVorschauPfadnameAnpassen: EdVorschauPfadnameAnpassen(); break;
    case Proc::RBModusAnfaengerClick: RBModusAnfaengerClick(); break;
  }
}

void FensterRunView::laufBeginnt() {
  AppState& st = haupt_.kontext().st;
  st.Sanduhr = true;
  st.HauptFormEnabled = false;
  haupt_.melden();
  warten_.TimerEnabled = true;
  warten_.Show();
}

void FensterRunView::laufEndet() {
  AppState& st = haupt_.kontext().st;
  st.Sanduhr = false;
  st.HauptFormEnabled = true;
  haupt_.melden();
  warten_.Hide();
  warten_.TimerEnabled = false;
}

}  // namespace mosaik

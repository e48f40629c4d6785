#pragma once
// The main window as a headless model: the handlers of its controls.
#include <functional>

#include "app/options/Kontext.h"
#include "generator/Lauf.h"
#include "ui/Formulare.h"
#include "ui/NavigationForm.h"
#include "ui/Verknuepfungen.h"
#include "winsupport/ThemeManager.h"

namespace mosaik {

class TfarbForm;

class THauptForm : public OptionEvents, public Formular {
 public:
  THauptForm(Kontext& k, TNavigationForm& nav) : k_(k), nav_(nav) {
    entwurfszustand();
    nav_.KlickAufFarbCode = [this](Opt panel) { KlickAufFarbCode(panel); };
  }

  void optionEvent(Opt o, Ev e) override;
  void procedure(Proc p) override;

  // Events that a layer above handles first (the settings location and
  // auto-save boxes belong to the settings file); true = handled.
  std::function<bool(Opt, Ev)> vorrang;

#define HANDLER(control, event) void control##event();
#include "ui/Handler.def"
#undef HANDLER
  void RBModusAnfaengerClick();
  void EdHTMLPfadAnpassen();
  void EdgrosseBilderPfadnameAnpassen();
  void EdVorschauPfadnameAnpassen();
  // Edits a colour panel's colour in the colour dialog farbForm (set by the
  // program; without it the colour stays).
  void KlickAufFarbCode(Opt panel);
  TfarbForm* farbForm = nullptr;

  // Key filters of the free-text fields. KeyDown takes the virtual key
  // (letters as upper-case ASCII) and the Ctrl state; KeyPress takes the
  // typed character and returns what reaches the field, 0 when the key is
  // swallowed. Pasted text goes through the same filter.
  void EdHintergrundgrafikKeyDown(Opt feld, int taste, bool strg);
  char32_t KeyPress(Opt feld, char32_t zeichen);
  std::string einfuegen(Opt feld, const std::string& text);

  // Moves the keyboard focus to a control (set by the view).
  std::function<void(Opt)> fokusSetzen;
  // Moves the keyboard focus from a control on to the one before it in the
  // tab order (set by the view).
  std::function<void(Opt)> fokusZurueck;
  // Whether the control being entered was reached backwards, with
  // Shift+Tab (set by the view).
  std::function<bool()> rueckwaertsBetreten;

  // The visual-style component: CBTheming sets its options, the windows
  // follow them.
  TThemeManager ThemeManager;
  // Where the shortcut boxes look for the user's folders.
  VerknuepfungsUmgebung verknuepfungen;

  Kontext& kontext() { return k_; }

 private:
  // The states the window shows before any option is set: what the
  // defaults leave untouched must already agree with the unticked boxes.
  void entwurfszustand();
  void ausgabetextPruefen(Opt feld, const char* standard);
  void ausgabetextPruefen(Opt feld);
  void dateiverweisPruefen(Opt feld);
  void ersatzpfadPruefen(Opt feld);
  void trennzeichenPruefen(Opt feld, const char* ersatz, bool leerErsetzen);
  void qualitaetPruefen(Opt feld, Opt regler, int standard);
  void qualitaetEingetippt(Opt feld, Opt regler);
  void groessenbasisKlick();
  void linkmodusOhneSeiten(bool fensterMoeglich);
  void originaleVerlinkbar();
  void pfadanzeigenAktualisieren();
  void fokus(Opt o) {
    if (fokusSetzen) fokusSetzen(o);
  }
  // A control that is never typed into hands the focus on in the direction
  // the user goes: forward to ziel, backwards past itself, so that
  // Shift+Tab is not sent back to where it came from.
  void weiterreichen(Opt von, Opt ziel);

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

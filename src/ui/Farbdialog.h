#pragma once
// The colour dialog "Farbangaben": one colour shown three ways at once, as
// red, green and blue values, as a swatch that opens the system colour
// chooser, and as the HTML code "#RRGGBB". The colour panels of the main
// window and of the navigation dialog edit their colour with it.
#include <cstdint>
#include <functional>
#include <string>

#include "app/options/Kontext.h"
#include "ui/Formulare.h"

namespace mosaik {

class TfarbForm : public Formular {
 public:
  enum class Ergebnis { Keins, OK, Abbrechen };
  enum Kanal { Rot, Gruen, Blau };

  explicit TfarbForm(Kontext& k) : k_(k) {}

  // The swatch farbquadrat holds the dialog's colour (0xRRGGBB). Setting it
  // fires nothing.
  uint32_t farbquadrat() const { return farbquadrat_; }
  void setFarbquadrat(uint32_t rgb);

  // The spin edits SpEdRot, SpEdGruen, SpEdBlau (0 to 255; a value outside
  // is clamped at once). A change fires SpEdRotChange.
  int spin(Kanal k) const { return spin_[k]; }
  void setSpin(Kanal k, int wert);

  // The code edit EdHTMLCode with its caret (SelStart, in characters) and
  // selection length. A change of the text fires EdHTMLCodeChange; text
  // set by the program puts the caret at the start.
  const std::string& EdHTMLCode() const { return code_; }
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void setEdHTMLCode(const std::string& text);
  // What the user typed or pasted: the text with the caret it left.
  void eingabe(const std::string& text, int selStart, int selLength);
  void setAuswahl(int selStart, int selLength);

  Ergebnis ModalResult = Ergebnis::Keins;

  // --- Handlers ------------------------------------------------------------
  void FormShow();
  void SpEdRotChange();  // all three spin edits
  void farbquadratClick();  // the swatch and its label "wählen"
  void EdHTMLCodeChange();
  // The key filter: the character that reaches the edit, 0 when dropped.
  char32_t EdHTMLCodeKeyPress(char32_t zeichen);
  // Virtual key (letters as upper-case ASCII) and the Ctrl state.
  void EdHTMLCodeKeyDown(int taste, bool strg);
  void EdHTMLCodeExit();
  void BAbbruchClick();
  void BschliessenClick();

  // Shows the dialog modally: FormShow, then the view's modal loop (modal)
  // until a button calls schliessen. A dialog closed otherwise (close box,
  // Escape, no view at all) counts as cancelled, so the colour of the moment
  // of showing comes back.
  Ergebnis ShowModal();
  std::function<void()> modal;
  std::function<void()> schliessen;

 private:
  void schliessenMit(Ergebnis e);
  void codeSetzen(const std::string& text, bool caretBehalten);

  Kontext& k_;
  uint32_t farbquadrat_ = 0;
  uint32_t gemerkt_ = 0;  // the swatch colour at the moment of showing
  int spin_[3] = {0, 0, 0};
  std::string code_;
  int selStart_ = 0;
  int selLength_ = 0;
};

// Edits a colour panel's colour in the colour dialog (the main window's
// KlickAufFarbCode): the dialog takes the panel's colour, is shown modally,
// and the panel takes the swatch's colour, however the dialog was closed.
void KlickAufFarbCode(Kontext& k, TfarbForm& farb, Opt panel);

// Whether an event of a main-window control opens the colour dialog for it:
// a click on any colour panel, and entering one of the seven colour panels
// of the colours page.
bool oeffnetFarbdialog(Opt o, Ev e);

}  // namespace mosaik

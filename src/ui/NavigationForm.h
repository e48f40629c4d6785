#pragma once
#include <functional>
#include <string>

#include "app/options/Kontext.h"
#include "ui/Formulare.h"

namespace mosaik {

// The navigation dialog: the links from page to page. Its options live in
// the shared option model; the dialog adds which of them are available
// when, the rule that keeps one of "oben" and "unten" ticked, the repair of
// the graphic paths and the choice of graphic files.
class TNavigationForm : public Formular {
 public:
  explicit TNavigationForm(Kontext& k) : k_(k) {}

#define HANDLER(control, event) void control##event();
#include "ui/NavHandler.def"
#undef HANDLER
  // Dispatches an event of one of the dialog's controls, shared handlers
  // included; false when the control has no handler for it.
  bool ereignis(Opt o, Ev e);

  // Every activation: rule P, and the page "Große Bil&der" only while the
  // main window makes one page per picture.
  void FormActivate();
  void BSchliessenClick();
  bool TabSheetGrosseBilderVisible = true;
  // Set by the view: closes the dialog.
  std::function<void()> schliessen;
  // The main window's KlickAufFarbCode, set by the main window.
  std::function<void(Opt)> KlickAufFarbCode;

  // The seven graphic-path edits and their key filter: the character that
  // reaches the edit, 0 when it is dropped. Pasted text passes the same set.
  static bool grafikpfadFeld(Opt o);
  char32_t EdGrafikUebZurueckKeyPress(char32_t zeichen);  // the five of the own graphics
  char32_t EdGrafikDiashowEinKeyPress(char32_t zeichen);
  char32_t EdGrafikDiashowAusKeyPress(char32_t zeichen);
  char32_t KeyPress(Opt feld, char32_t zeichen);
  std::string einfuegen(Opt feld, const std::string& text) const;

  // A graphic file chosen in the open dialog, as a path relative to the
  // HTML folder; false when cancelled or when the file does not exist.
  bool GrafikdateiWaehlen(std::string& pfad);

  // The standard navigation graphics, written into the HTML folder.
  bool StandardbilderUebErzeugen();
  bool StandardbilderGrossErzeugen();

 private:
  void grafikpfadPruefen(Opt feld);
  void grafikWaehlen(Opt feld);
  void farbeBearbeiten(Opt panel);

  Kontext& k_;
};

}  // namespace mosaik

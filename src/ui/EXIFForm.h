#pragma once
// The caption template editor "Bildbeschreibungen" as a headless model: it
// edits the overview or the large-image caption template of the main
// window, inserts codes at the caret from its reference card of labels,
// wraps a selection in conditional brackets, offers the standard template
// and an undo, and holds the two focal lengths of the 35 mm equivalent.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/options/Kontext.h"
#include "ui/Formulare.h"
#include "winsupport/RealSpin.h"

namespace mosaik {

class TEXIFForm : public Formular {
 public:
  explicit TEXIFForm(Kontext& k);

  enum class Aktion { Einfuegen, Klammern };
  enum class Gruppe { Datei, Exif, Sonstiges };
  struct Etikett {
    std::string_view name;
    std::string_view text;
    Aktion aktion;
    std::string_view code;  // Klammern: the opening and the closing bracket, three characters each
    Gruppe gruppe;
  };
  // The labels of the reference card in their order.
  static const std::vector<Etikett>& Etiketten();

  static constexpr const char* kStandardUebersicht = "\\dn\\[\\zu\\ko\\]";
  static constexpr const char* kStandardGross = "\\[\\ko\\zu\\]\\dn\\zu\\kl\\dg\\( \\ad \\bz \\bl \\bw\\)\\gr";

  // Which template is edited: the overview's (MBeschreibung) or the large
  // images' (MBeschreibungGross). Set by the main window before showing.
  bool BeschreibungUebersicht = true;

  // The dialog's memo: its text (line breaks CR LF) and the selection, in
  // characters from 0.
  std::string MBeschreibung;
  int SelStart = 0;
  int SelLength = 0;
  bool ScrollBalken = false;  // the vertical scroll bar of the memo

  TRealSpinEdit RSpEdRealBW;          // "real (in mm)"
  TRealSpinEdit RSpEdAequivalenteBW;  // "entspricht (in mm)"

  // The view: shows the window modally (returns when it is closed), closes
  // it; the comment editor is opened through kommentareOeffnen.
  std::function<void()> modalAnzeigen;
  std::function<void()> schliessen;
  std::function<void()> kommentareOeffnen;

  // The main window's buttons "ändern..." (and the double clicks on its
  // two template memos): chooses the template and shows the dialog
  // modally; closing it copies the template back.
  void Zeigen(bool uebersicht);

  void FormShow();
  void FormHide();
  void BSchliessenClick();
  void BStandardClick();
  void BRueckgaengigClick();
  void RSpEdRealBWChange();
  void RSpEdAequivalenteBWChange();
  void BitBKommentareClick();

#define ETIKETT(name, text, aktion, code, gruppe) void name##Click();
#include "ui/EXIFEtiketten.def"
#undef ETIKETT
  // The click on a label by its name; false for no label of the card.
  bool EtikettKlick(std::string_view name);

  // A typed character: false when it is swallowed (Enter inserts \zu).
  bool MBeschreibungKeyPress(char32_t zeichen);
  void MBeschreibungExit();
  // The memo's text changed; zeilen = the lines it shows.
  void MBeschreibungChange(int zeilen);

  // The template expanded for a picture of the picture folder, as the
  // pages will show it (HTML fragment, empty when the caption is empty).
  std::string Vorschau();
  // The picture the preview shows; empty when the folder has none.
  const std::string& Vorschaubild() const { return vorschauDatei_; }

 private:
  void einfuegen(std::string_view code);
  void klammern(std::string_view auf, std::string_view zu);
  void etikett(const Etikett& e);
  Opt hauptMemo() const { return BeschreibungUebersicht ? Opt::MBeschreibung : Opt::MBeschreibungGross; }
  void vorschaubildSuchen();

  Kontext& k_;
  std::string rueckgaengig_;
  std::string vorschauOrdner_, vorschauDatei_;
  int64_t vorschauGroesse_ = 0;
  uint32_t vorschauDatum_ = 0;
};

// Where the dialog goes: 20 below and 472 right of the main window's top
// left corner, moved left when its right edge would pass the screen.
std::pair<int, int> EXIFFensterposition(int hauptLinks, int hauptOben, int breite, int bildschirmbreite);

// A decimal option value as the spin edit's four places: the nearest,
// halves to even.
Decimal4 VierStellen(double wert);

// Character positions in UTF-8 text: the byte offset of the n-th character
// (the end for positions past it) and the number of characters.
size_t ZeichenOffset(std::string_view text, int zeichen);
int ZeichenAnzahl(std::string_view text);

}  // namespace mosaik

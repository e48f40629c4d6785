#pragma once
// State of one generation run and what the run needs of the windows.
#include <cstdint>
#include <ctime>
#include <utility>
#include <set>
#include <string>
#include <vector>

#include "app/options/Kontext.h"

namespace mosaik {

class Ableitungsbuecher;

// One folder of a walk.
struct TVerzeichniseintrag {
  std::string Name;
  std::string Zielname;  // the web-safe name it gets
  uint32_t Datum = 0;    // packed DOS date-time
};
using TVerzeichnisArray = std::vector<TVerzeichniseintrag>;

// One picture of the current folder.
struct TDateieintrag {
  std::string Name;
  int64_t Groesse = 0;  // bytes
  uint32_t Datum = 0;   // packed DOS date-time
  int Hoehe = 0;
  int Breite = 0;
  int Seite = 0;  // the overview page that shows it
};
using TDateiArray = std::vector<TDateieintrag>;

// What the run asks of the windows: the progress dialog, the main window's
// busy state and the navigation dialog's standard graphics.
class RunView {
 public:
  virtual ~RunView() = default;
  // Hourglass, main window disabled, progress dialog shown with its
  // animation running.
  virtual void laufBeginnt() = 0;
  // Normal cursor, main window enabled, progress dialog hidden.
  virtual void laufEndet() = 0;
  // The file in hand, shown in the progress dialog.
  virtual void aktuelleDatei(const std::string& name) = 0;
  // False after a failure that the graphics writer has reported; the run
  // then stops.
  virtual bool StandardbilderUebErzeugen() = 0;
  virtual bool StandardbilderGrossErzeugen() = 0;
};

// Per-run state shared by the walks, the scans and the page writers.
struct Lauf {
  Lauf(Kontext& kontext, RunView& v) : k(kontext), view(v) {}
  Kontext& k;
  RunView& view;

  std::string HTMLOrdnername;
  std::string GrosseBilderOrdnername;
  std::string VorschauOrdnername;

  TVerzeichnisArray Ordnerliste;
  TVerzeichnisArray OrdnerlisteGross;
  int OrdnerlisteHigh = -1;
  TDateiArray Bildliste;
  // Folders the run writes into, with their dates before it.
  std::vector<std::pair<std::string, struct timespec>> Ordnerzeiten;
  // Picture-page folders whose creation failed and was reported.
  std::set<std::string> EinzelbildOrdnerGemeldet;
  // The trees of large images and of thumbnails keep a record of the
  // pictures written into them (Ableitungsbuch.h): all but the folders the
  // program names itself. The run's records while it writes them, else
  // nullptr.
  Ableitungsbuecher* GrossbilderVerzeichnen = nullptr;
  Ableitungsbuecher* VorschaubilderVerzeichnen = nullptr;

  // Lets window events through and tells whether the user cancelled.
  bool pumpUndAbbruch() const;
};

// Reports a user cancel once per run; clears ok.
void BenutzerAbbruch(Kontext& k, bool& ok);

}  // namespace mosaik

#pragma once
// The dialogs as headless models. The Qt views mirror them.
#include <functional>
#include <string>

#include "app/options/Kontext.h"

namespace mosaik {

// Base of every headless window: its own Visible flag and a change signal
// for the view.
class Formular {
 public:
  virtual ~Formular() = default;
  bool Visible = false;
  std::function<void()> geaendert;
  void melden() {
    if (geaendert) geaendert();
  }
};

// The progress dialog: shown without being modal while the main window is
// disabled; its cancel button sets AbbruchFlag.
class TwartenForm : public Formular {
 public:
  bool TimerEnabled = false;
  std::string LAktuellerDateiname;
  void FormCreate();
  void Show();
  void Hide();
  void BAbbruchClick();
  void aktuelleDatei(const std::string& name);
};

class TEXIFForm : public Formular {};
class TfarbForm : public Formular {};
class TKommentarForm : public Formular {};

}  // namespace mosaik

#pragma once
// What the routines of the program reach through the main window: the
// option set, the values outside the controls and the injected services.
#include "app/options/AppState.h"
#include "app/options/OptionModel.h"
#include "platform/Environment.h"

namespace mosaik {

struct Kontext {
  OptionModel& m;
  AppState& st;
  Services& sv;

  MsgResult meldung(MsgKind kind, const std::string& text, MsgButtons b = MsgButtons::Ok) const {
    return sv.dialogs->message(kind, text, b);
  }
  void fehler(const std::string& text) const { meldung(MsgKind::Error, text); }
};

}  // namespace mosaik

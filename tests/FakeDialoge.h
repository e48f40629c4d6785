#pragma once
// A dialog service for tests: records every message and answers questions
// from a script (Yes when the script is empty).
#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace mosaik::test {

struct Meldung {
  MsgKind kind;
  std::string text;
  MsgButtons buttons;
  std::string caption;
};

class FakeDialoge : public DialogService {
 public:
  std::vector<Meldung> meldungen;
  std::deque<MsgResult> antworten;

  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override {
    meldungen.push_back({kind, text, buttons, caption});
    if (buttons == MsgButtons::Ok) return MsgResult::Ok;
    if (antworten.empty()) return MsgResult::Yes;
    const MsgResult r = antworten.front();
    antworten.pop_front();
    return r;
  }
  std::vector<std::string> texte() const {
    std::vector<std::string> t;
    for (const auto& m : meldungen) t.push_back(m.text);
    return t;
  }
};

}  // namespace mosaik::test

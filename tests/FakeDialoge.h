#pragma once
// A dialog service for tests: records every message and answers questions
// from a script (Yes when the script is empty).
#include <deque>
#include <optional>
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
  // File dialogs: every one shown is recorded; answers come from the script
  // (nullopt = cancelled; cancelled when the script is empty).
  struct DateiDialog {
    bool speichern;
    FileDialogOptions optionen;
  };
  std::vector<DateiDialog> dateiDialoge;
  std::deque<std::optional<std::string>> dateiAntworten;
  std::optional<std::string> openFileName(const FileDialogOptions& o) override { return datei(false, o); }
  std::optional<std::string> saveFileName(const FileDialogOptions& o) override { return datei(true, o); }
  std::optional<std::string> datei(bool speichern, const FileDialogOptions& o) {
    dateiDialoge.push_back({speichern, o});
    return naechste(dateiAntworten);
  }
  // Folder choosers: every one shown is recorded with its options; answers
  // come from the script (nullopt = cancelled; cancelled when empty).
  std::vector<FolderDialogOptions> ordnerDialoge;
  std::deque<std::optional<FolderChoice>> ordnerAntworten;
  std::optional<FolderChoice> chooseFolder(const FolderDialogOptions& o) override {
    ordnerDialoge.push_back(o);
    return naechste(ordnerAntworten);
  }
  // The colour chooser: the colours it was opened with; answers scripted
  // (nullopt = cancelled; cancelled when empty).
  std::vector<uint32_t> farbDialoge;
  std::deque<std::optional<uint32_t>> farbAntworten;
  std::optional<uint32_t> chooseColor(uint32_t rgb) override {
    farbDialoge.push_back(rgb);
    return naechste(farbAntworten);
  }
  // The language the dialogs speak; empty: the user's.
  std::string sprache;
  std::string language() const override { return sprache; }
  // The next scripted answer; cancelled when the script is empty.
  template <class T>
  static std::optional<T> naechste(std::deque<std::optional<T>>& skript) {
    if (skript.empty()) return std::nullopt;
    std::optional<T> r = skript.front();
    skript.pop_front();
    return r;
  }
  std::vector<std::string> texte() const {
    std::vector<std::string> t;
    for (const auto& m : meldungen) t.push_back(m.text);
    return t;
  }
};

}  // namespace mosaik::test

#pragma once
// Message boxes go through this service: the window shows them, an
// unattended run without a display prints them, tests script them.
#include <string>

namespace mosaik {

enum class MsgKind { Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No };

class DialogService {
 public:
  virtual ~DialogService() = default;
  // caption empty: the application title.
  virtual MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                            const std::string& caption = {}) = 0;
};

// Writes every message to stderr; questions are answered No, since nobody is
// there to answer them.
class ConsoleDialogService : public DialogService {
 public:
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override;
};

}  // namespace mosaik

#pragma once
#include "platform/Dialogs.h"

namespace mosaik {

// Message boxes as Qt dialogs, owned by the active window.
class QtDialogService : public DialogService {
 public:
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override;
};

}  // namespace mosaik

#pragma once
#include <QString>

#include "platform/Dialogs.h"

namespace mosaik {

// Message boxes as Qt dialogs, owned by the active window.
class QtDialogService : public DialogService {
 public:
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override;
  std::optional<std::string> openFileName(const FileDialogOptions& o) override;
  std::optional<std::string> saveFileName(const FileDialogOptions& o) override;
};

// "Text|*.a;*.b|Text 2|*.c" as Qt's name filters ("Text (*.a *.b)").
QString qtFilter(const std::string& filter);

}  // namespace mosaik

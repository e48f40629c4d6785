#include "platform/Dialogs.h"

#include <cstdio>

namespace mosaik {

MsgResult ConsoleDialogService::message(MsgKind kind, const std::string& text,
                                        MsgButtons buttons, const std::string& caption) {
  const char* label = "Information";
  switch (kind) {
    case MsgKind::Warning: label = "Warnung"; break;
    case MsgKind::Error:
      label = "Fehler";
      ++errors_;
      break;
    case MsgKind::Information: label = "Information"; break;
    case MsgKind::Confirmation: label = "Frage"; break;
  }
  std::string body;
  for (char c : text)
    if (c != '\r') body += c;
  std::fprintf(stderr, "Mosaikschauer %s%s%s: %s\n", label, caption.empty() ? "" : " - ",
               caption.c_str(), body.c_str());
  if (buttons == MsgButtons::YesNo) {
    std::fprintf(stderr, "(ohne Benutzer beantwortet: Nein)\n");
    return MsgResult::No;
  }
  std::fflush(stderr);
  return MsgResult::Ok;
}

}  // namespace mosaik

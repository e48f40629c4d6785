#pragma once
// Message boxes go through this service: the window shows them, an
// unattended run without a display prints them, tests script them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace mosaik {

enum class MsgKind { Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No };

// An open or save dialog. filter: pairs of text and pattern separated by
// vertical bars ("Einstellungen (*.ini)|*.ini|Alle Dateien (*.*)|*.*");
// defaultExt (".ini") is added to a name typed without an extension; the
// dialog opens in folder with fileName proposed. A save dialog asks no
// overwrite question of its own (the caller asks).
struct FileDialogOptions {
  std::string title;
  std::string filter;
  std::string defaultExt;
  std::string folder;
  std::string fileName;
};

// A folder chooser. label: the text above the folders; folder: the folder
// selected first; flags: the browse flags of TFolderDialog
// (winsupport/FolderDialog.h) as bits. statusText gives the status line for
// a selected path.
struct FolderDialogOptions {
  std::string label;
  std::string folder;
  uint32_t flags = 0;
  std::function<std::string(const std::string&)> statusText;
};

// The choice of a folder chooser that was not cancelled: path is empty for
// an item that is no file-system folder.
struct FolderChoice {
  std::string path;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  // caption empty: the application title.
  virtual MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                            const std::string& caption = {}) = 0;
  // The chosen file's full path; nullopt when cancelled.
  virtual std::optional<std::string> openFileName(const FileDialogOptions&) { return std::nullopt; }
  virtual std::optional<std::string> saveFileName(const FileDialogOptions&) { return std::nullopt; }
  // nullopt when cancelled.
  virtual std::optional<FolderChoice> chooseFolder(const FolderDialogOptions&) { return std::nullopt; }
  // The system colour chooser, opened with rgb (0xRRGGBB); nullopt when
  // cancelled.
  virtual std::optional<uint32_t> chooseColor(uint32_t /*rgb*/) { return std::nullopt; }
  // The language the dialogs speak whatever the user's locale, as a locale
  // name ("de_DE"); empty: the user's (LC_ALL, LC_MESSAGES, LANG).
  virtual std::string language() const { return {}; }
};

// Writes every message to stderr; questions are answered No, since nobody is
// there to answer them.
class ConsoleDialogService : public DialogService {
 public:
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override;
  // Error messages written so far: an unattended run that showed one did
  // not do all it was asked to, even where it went on.
  int errors() const { return errors_; }

 private:
  int errors_ = 0;
};

}  // namespace mosaik

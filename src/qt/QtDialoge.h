#pragma once
#include <QFileDialog>
#include <QString>
#include <QTranslator>

#include "platform/Dialogs.h"

namespace mosaik {

// Message boxes as Qt dialogs, owned by the active window.
class QtDialogService : public DialogService {
 public:
  MsgResult message(MsgKind kind, const std::string& text, MsgButtons buttons,
                    const std::string& caption = {}) override;
  std::optional<std::string> openFileName(const FileDialogOptions& o) override;
  std::optional<std::string> saveFileName(const FileDialogOptions& o) override;
  // A folder chooser showing folders only, centred on the screen, with the
  // label above and the status line below; "new folder" is its own button.
  std::optional<FolderChoice> chooseFolder(const FolderDialogOptions& o) override;
  std::optional<uint32_t> chooseColor(uint32_t rgb) override;
  // Qt's dialogs speak German whatever LANG says (see qtDeutschEinrichten).
  std::string language() const override { return "de_DE"; }
};

// Qt's own texts (its dialogs, the edit fields' context menus) in German
// from its German translation, which qtDeutsch receives, and German formats
// in every Qt dialog whatever LANG says: the program speaks German
// throughout. False when the translation is missing.
bool qtDeutschEinrichten(QTranslator& qtDeutsch);

// An open, save or folder dialog as Qt draws it, in German, its list in
// detail view wide enough for the name, size, type and date columns on a
// screen of 1024 x 768 and up.
void dateidialogEinrichten(QFileDialog& d);

// "Text|*.a;*.b|Text 2|*.c" as Qt's name filters ("Text (*.a *.b)").
QString qtFilter(const std::string& filter);

// The folder chooser, prepared but not shown (tests look at it).
void ordnerDialogEinrichten(QFileDialog& d, const FolderDialogOptions& o);
// Where the chooser opens: the folder, else its nearest existing parent.
QString vorhandenerOrdner(const QString& pfad);

}  // namespace mosaik

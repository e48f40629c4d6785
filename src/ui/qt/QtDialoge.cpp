#include "ui/qt/QtDialoge.h"

#include <QApplication>
#include <QMessageBox>

namespace mosaik {

MsgResult QtDialogService::message(MsgKind kind, const std::string& text, MsgButtons buttons,
                                   const std::string& caption) {
  QMessageBox box(QApplication::activeWindow());
  switch (kind) {
    case MsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  box.setWindowTitle(caption.empty() ? QStringLiteral("Mosaikschauer") : QString::fromStdString(caption));
  QString t = QString::fromStdString(text);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  box.setText(t);
  if (buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MsgResult::Ok;
}

}  // namespace mosaik

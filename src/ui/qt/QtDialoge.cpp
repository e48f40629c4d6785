#include "ui/qt/QtDialoge.h"

#include <QApplication>
#include <QFileDialog>
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

QString qtFilter(const std::string& filter) {
  const QStringList teile = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filter2;
  for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
    QString text = teile[i];
    const QString muster = QString(teile[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt filters by the patterns in the last pair of brackets.
    filter2 << text + QStringLiteral(" (") + muster + QLatin1Char(')');
  }
  return filter2.join(QStringLiteral(";;"));
}

namespace {
std::optional<std::string> dateiDialog(const FileDialogOptions& o, QFileDialog::AcceptMode modus) {
  QFileDialog d(QApplication::activeWindow(), QString::fromStdString(o.title), QString::fromStdString(o.folder),
                qtFilter(o.filter));
  d.setAcceptMode(modus);
  d.setFileMode(modus == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The caller asks before replacing a file.
  d.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!o.defaultExt.empty()) {
    std::string ext = o.defaultExt;
    if (ext.front() == '.') ext.erase(0, 1);
    d.setDefaultSuffix(QString::fromStdString(ext));
  }
  if (!o.fileName.empty()) d.selectFile(QString::fromStdString(o.fileName));
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
  return d.selectedFiles().first().toStdString();
}
}  // namespace

std::optional<std::string> QtDialogService::openFileName(const FileDialogOptions& o) {
  return dateiDialog(o, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogService::saveFileName(const FileDialogOptions& o) {
  return dateiDialog(o, QFileDialog::AcceptSave);
}

}  // namespace mosaik

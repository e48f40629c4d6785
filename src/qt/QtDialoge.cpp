#include "qt/QtDialoge.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QSplitter>
#include <QTextBoundaryFinder>
#include <QTreeView>
#include <QUrl>
#include <algorithm>

#include "platform/FileSystem.h"
#include "qt/OptionBinder.h"
#include "winsupport/FolderDialog.h"

namespace mosaik {

namespace {

// One word in pieces no wider than breite: first after its last "/" (a
// folder and a name part where they meet), else in pieces of even width
// cut from its end on, so that the end of a name, its extension and what
// stands just before it, stays in one piece.
QString wortBrechen(const QString& wort, const QFontMetrics& fm, int breite) {
  const int w = fm.horizontalAdvance(wort);
  if (w <= breite) return wort;
  const qsizetype ordner = wort.lastIndexOf(QLatin1Char('/'), -2) + 1;
  if (ordner > 0)
    return wortBrechen(wort.left(ordner), fm, breite) + QLatin1Char('\n') + wortBrechen(wort.mid(ordner), fm, breite);
  const int stuecke = (w + breite - 1) / breite;
  const int ziel = (w + stuecke - 1) / stuecke;
  QTextBoundaryFinder zeichen(QTextBoundaryFinder::Grapheme, wort);
  zeichen.toEnd();
  qsizetype anfang = zeichen.toPreviousBoundary();  // the last character, however wide
  for (qsizetype p = zeichen.toPreviousBoundary(); p > 0 && fm.horizontalAdvance(wort.mid(p)) <= ziel;
       p = zeichen.toPreviousBoundary())
    anfang = p;
  if (anfang <= 0) return wort;
  return wortBrechen(wort.left(anfang), fm, breite) + QLatin1Char('\n') + wort.mid(anfang);
}

// A message box breaks its lines between words only, and a word wider than
// the screen (a long file name in its folder) would carry the box past the
// screen's edge: such a word is broken; every character stays.
QString langeWoerterUmbrechen(const QString& text, const QFontMetrics& fm, int breite) {
  QString aus;
  qsizetype von = 0;
  for (qsizetype i = 0; i <= text.size(); ++i)
    if (i == text.size() || text.at(i).isSpace()) {
      aus += wortBrechen(text.mid(von, i - von), fm, breite);
      if (i < text.size()) aus += text.at(i);
      von = i + 1;
    }
  return aus;
}

}  // namespace

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
  // The texts name files and folders: a name that looks like markup is
  // shown as it is, and its line breaks stay.
  box.setTextFormat(Qt::PlainText);
  // The box grows to half the screen (at most 500 pixels) before it wraps
  // its text; the text has that less the icon, the margins and the few
  // pixels the label's text layout keeps free.
  box.setText(QString());
  const QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  const int rand = box.layout()->minimumSize().width() - (label ? label->minimumSizeHint().width() : 0);
  const int breite = std::min(box.screen()->availableGeometry().width() / 2, 500) - rand - 8;
  box.setText(langeWoerterUmbrechen(t, label ? label->fontMetrics() : box.fontMetrics(), breite));
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
    QString text = teile[i].trimmed();
    // Qt shows the description and filters by the patterns in its last pair
    // of brackets: the patterns the description names for the eye give way
    // to the ones that filter, so each shows once. "*.*" is every file.
    if (text.endsWith(QLatin1Char(')')) && text.contains(QLatin1Char('(')))
      text = text.left(text.lastIndexOf(QLatin1Char('('))).trimmed();
    QStringList muster;
    for (const QString& m : teile[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
      muster << (m.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : m.trimmed());
    filter2 << text + QStringLiteral(" (") + muster.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filter2.join(QStringLiteral(";;"));
}

bool qtDeutschEinrichten(QTranslator& qtDeutsch) {
  // The type column's texts come from the default locale.
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  if (!qtDeutsch.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  QCoreApplication::installTranslator(&qtDeutsch);
  return true;
}

namespace {

// Qt's file list writes sizes and dates in the system locale's formats
// ("7 Dec 2024", English where LANG is unset), which no default locale
// changes: here they are German.
class DeutscheDateiangaben : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override {
    const auto* dateien = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !dateien || (index.column() != 1 && index.column() != 3))
      return QIdentityProxyModel::data(index, role);
    const QModelIndex i = mapToSource(index);
    const QLocale de(QLocale::German, QLocale::Germany);
    if (index.column() == 3) return de.toString(dateien->lastModified(i), QLocale::ShortFormat);
    return dateien->isDir(i) ? QString() : de.formattedDataSize(dateien->size(i));
  }
};

}  // namespace

void dateidialogEinrichten(QFileDialog& d) {
  // Qt's own dialog: a desktop's dialog would speak the desktop's language.
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  d.setViewMode(QFileDialog::Detail);
  d.setProxyModel(new DeutscheDateiangaben(&d));
  // Size, type and date always whole; the name takes the rest.
  if (auto* liste = d.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* kopf = liste->header();
    kopf->setStretchLastSection(false);
    for (int s = 0; s < kopf->count(); ++s)
      kopf->setSectionResizeMode(s, s == 0 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  }
  // Wide enough for the columns; on a small screen what it has room for.
  QSize groesse(900, 560);
  if (const QScreen* s = d.screen()) groesse = groesse.boundedTo(s->availableGeometry().size() - QSize(40, 80));
  d.resize(groesse);
  // The places beside the list show their names whole.
  auto* orte = d.findChild<QListView*>(QStringLiteral("sidebar"));
  auto* teiler = d.findChild<QSplitter*>(QStringLiteral("splitter"));
  if (orte && teiler && teiler->count() == 2) {
    const int breite = orte->sizeHintForColumn(0) + 2 * orte->frameWidth() + 8;
    teiler->setSizes({breite, std::max(0, teiler->width() - breite)});
  }
}

namespace {
std::optional<std::string> dateiDialog(const FileDialogOptions& o, QFileDialog::AcceptMode modus) {
  QFileDialog d(QApplication::activeWindow(), QString::fromStdString(o.title), QString(), qtFilter(o.filter));
  dateidialogEinrichten(d);
  // A folder that does not exist yet (the HTML folder before the first
  // run) opens as its nearest existing parent; Qt would open the parent
  // and propose the missing folder's name as the file's.
  if (const QString start = vorhandenerOrdner(QString::fromStdString(o.folder)); !start.isEmpty())
    d.setDirectory(start);
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

namespace mosaik {

namespace {
// A folder's name from the chooser as the program writes names: lexically
// normal, without '/' at the end.
std::string ordnername(const QString& pfad) {
  std::string p = fs::absoluteName(pfad.toStdString());
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}
}  // namespace

QString vorhandenerOrdner(const QString& pfad) {
  QString p = pfad;
  while (!p.isEmpty() && !fs::folderExists(p.toStdString())) {
    const qsizetype s = p.lastIndexOf(QLatin1Char('/'));
    const QString oben = s < 0 ? QStringLiteral(".") : s == 0 ? QStringLiteral("/") : p.left(s);
    if (oben == p || oben == QStringLiteral(".")) return {};
    p = oben;
  }
  return p;
}

void ordnerDialogEinrichten(QFileDialog& d, const FolderDialogOptions& o) {
  dateidialogEinrichten(d);
  d.setFileMode(QFileDialog::Directory);
  d.setOption(QFileDialog::ShowDirsOnly, true);
  // Without the new-folder button nothing may be changed in the chooser.
  if (o.flags & browseInfoBit(TBrowseInfoFlag::HideNewFolderButton)) d.setOption(QFileDialog::ReadOnly, true);
  if (!o.label.empty()) d.setLabelText(QFileDialog::LookIn, QString::fromStdString(o.label));
  const QString start = vorhandenerOrdner(QString::fromStdString(o.folder));
  // Confirmed at once, the chooser returns the folder it opened in.
  if (!start.isEmpty()) d.setDirectory(start);
  if (o.statusText) {
    QLabel* status = klartextLabel(&d);
    status->setObjectName(QStringLiteral("Statuszeile"));
    if (auto* gitter = qobject_cast<QGridLayout*>(d.layout())) gitter->addWidget(status, gitter->rowCount(), 0, 1, -1);
    const auto zeigen = [status, f = o.statusText](const QString& pfad) {
      status->setText(QString::fromStdString(f(ordnername(pfad))));
    };
    QObject::connect(&d, &QFileDialog::currentChanged, status, zeigen);
    QObject::connect(&d, &QFileDialog::directoryEntered, status, zeigen);
    // A folder renamed in the chooser (a new one gets its name there) stays
    // chosen under its new name.
    if (auto* modell = d.findChild<QFileSystemModel*>())
      QObject::connect(modell, &QFileSystemModel::fileRenamed, status,
                       [zeigen](const QString& ordner, const QString&, const QString& neu) {
                         zeigen(ordner + QLatin1Char('/') + neu);
                       });
    zeigen(start.isEmpty() ? d.directory().absolutePath() : start);
  }
}

std::optional<FolderChoice> QtDialogService::chooseFolder(const FolderDialogOptions& o) {
  QFileDialog d(QApplication::activeWindow());
  ordnerDialogEinrichten(d, o);
  if (QScreen* s = d.screen()) d.move(s->availableGeometry().center() - d.rect().center());
  if (d.exec() != QDialog::Accepted || d.selectedUrls().isEmpty()) return std::nullopt;
  // An item that is no local folder has no path.
  const QUrl url = d.selectedUrls().first();
  return FolderChoice{url.isLocalFile() ? ordnername(url.toLocalFile()) : std::string()};
}

std::optional<uint32_t> QtDialogService::chooseColor(uint32_t rgb) {
  const QColor neu =
      QColorDialog::getColor(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF), QApplication::activeWindow());
  if (!neu.isValid()) return std::nullopt;
  return farbeAusQt(neu);
}

}  // namespace mosaik

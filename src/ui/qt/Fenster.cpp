#include "ui/qt/Fenster.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScrollArea>
#include <QVBoxLayout>

#include "generator/Generierung.h"

namespace mosaik {
namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

const char* seitenName(Page p) {
  switch (p) {
    case Page::TabSheetOrdner: return "TabSheetOrdner";
    case Page::TabSheetGrosseBilder: return "TabSheetGrosseBilder";
    case Page::TabSheetVorschau: return "TabSheetVorschau";
    case Page::TabSheetLayout1: return "TabSheetLayout1";
    case Page::TabSheetlayout2: return "TabSheetlayout2";
    case Page::TabSheetFarbenFonts: return "TabSheetFarbenFonts";
    case Page::TabSTexte: return "TabSTexte";
    case Page::TabSExtraTexte: return "TabSExtraTexte";
    case Page::TabSheetSonstiges: return "TabSheetSonstiges";
    case Page::TabSheetSpezielles: return "TabSheetSpezielles";
    case Page::TabSheet1: return "TabSheet1";
    case Page::TabSCSSDatei: return "TabSCSSDatei";
    case Page::TabSheetProgramm: return "TabSheetProgramm";
    case Page::TabSheetHilfe: return "TabSheetHilfe";
    case Page::Fenster: return "Fenster";
    case Page::NavTabUebersicht: return "TabSheetUebersicht";
    case Page::NavTabGross: return "TabSheetGross";
  }
  return "";
}

QWidget* seiteAufbauen(OptionBinder& binder, Page seite) {
  auto* innen = new QWidget;
  auto* form = new QFormLayout(innen);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (int i = 0; i < kOptCount; ++i) {
    const Opt o = static_cast<Opt>(i);
    if (info(o).page != seite) continue;
    QWidget* w = binder.erzeugen(o, innen);
    const Kind k = info(o).kind;
    if (k == Kind::CheckBox || k == Kind::Radio || k == Kind::Button || k == Kind::Memo ||
        (k == Kind::Label && info(o).caption.empty())) {
      form->addRow(w);
    } else {
      std::string_view cap = info(o).caption.empty() ? info(o).name : info(o).caption;
      auto* l = new QLabel(qs(cap), innen);
      l->setBuddy(w);
      form->addRow(l, w);
    }
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(innen);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setObjectName(QString::fromLatin1(seitenName(seite)));
  return scroll;
}

}  // namespace

void seitenAufbauen(OptionBinder& binder, QTabWidget* tabs, const std::vector<Page>& seiten) {
  for (Page s : seiten) tabs->addTab(seiteAufbauen(binder, s), qs(pageCaption(s)));
}

WartenDialog::WartenDialog(TwartenForm& form) : QDialog(nullptr), form_(form) {
  setObjectName(QStringLiteral("wartenForm"));
  setWindowTitle(QStringLiteral("Bitte warten..."));
  setModal(false);
  auto* v = new QVBoxLayout(this);
  v->addWidget(new QLabel(QStringLiteral("Die Galerie wird erstellt. Bitte warten..."), this));
  LAktuellerDateiname = new QLabel(this);
  LAktuellerDateiname->setObjectName(QStringLiteral("LAktuellerDateiname"));
  LAktuellerDateiname->setMinimumWidth(360);
  v->addWidget(LAktuellerDateiname);
  auto* balken = new QProgressBar(this);
  balken->setRange(0, 0);  // running animation, no known end
  v->addWidget(balken);
  BAbbruch = new QPushButton(QStringLiteral("Abbrechen"), this);
  BAbbruch->setObjectName(QStringLiteral("BAbbruch"));
  v->addWidget(BAbbruch, 0, Qt::AlignHCenter);
  connect(BAbbruch, &QPushButton::clicked, this, [this] { form_.BAbbruchClick(); });
  form_.geaendert = [this] { aktualisieren(); };
}

void WartenDialog::aktualisieren() {
  LAktuellerDateiname->setText(QString::fromStdString(form_.LAktuellerDateiname));
  if (form_.Visible != isVisible()) setVisible(form_.Visible);
}

NavigationDialog::NavigationDialog(Programm& p, OptionBinder& binder) : QDialog(nullptr) {
  (void)p;
  setObjectName(QStringLiteral("NavigationForm"));
  setWindowTitle(QStringLiteral("Navigation"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  tabs = new QTabWidget(this);
  seitenAufbauen(binder, tabs, {Page::NavTabUebersicht, Page::NavTabGross});
  v->addWidget(tabs);
  auto* schliessen = new QPushButton(QStringLiteral("&Schließen"), this);
  schliessen->setObjectName(QStringLiteral("BSchliessen"));
  connect(schliessen, &QPushButton::clicked, this, &QDialog::accept);
  v->addWidget(schliessen, 0, Qt::AlignRight);
  resize(520, 480);
}

Hauptfenster::Hauptfenster(Programm& p, OptionBinder& binder, NavigationDialog& nav)
    : QMainWindow(nullptr), p_(p), binder_(binder), nav_(nav) {
  setObjectName(QStringLiteral("HauptForm"));
  setWindowTitle(QStringLiteral("Mosaikschauer"));
  auto* zentral = new QWidget(this);
  auto* v = new QVBoxLayout(zentral);
  PageControl = new QTabWidget(zentral);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  seitenAufbauen(binder, PageControl,
                 {Page::TabSheetOrdner, Page::TabSheetGrosseBilder, Page::TabSheetVorschau, Page::TabSheetLayout1,
                  Page::TabSheetlayout2, Page::TabSheetFarbenFonts, Page::TabSTexte, Page::TabSExtraTexte,
                  Page::TabSheetSonstiges});
  PageControlExperten = new QTabWidget;
  PageControlExperten->setObjectName(QStringLiteral("PageControlExperten"));
  seitenAufbauen(binder, PageControlExperten, {Page::TabSheetSpezielles, Page::TabSheet1, Page::TabSCSSDatei});
  PageControlExperten->widget(0)->setObjectName(QStringLiteral("TabSheetSpezielles"));
  auto* experten = new QWidget;
  experten->setObjectName(QStringLiteral("TabSExperten"));
  (new QVBoxLayout(experten))->addWidget(PageControlExperten);
  PageControl->addTab(experten, QStringLiteral("E&xperten"));
  seitenAufbauen(binder, PageControl, {Page::TabSheetProgramm, Page::TabSheetHilfe});
  v->addWidget(PageControl);

  auto* unten = new QHBoxLayout;
  unten->addWidget(binder.erzeugen(Opt::LProgginame, zentral));
  unten->addStretch();
  auto* navKnopf = new QPushButton(QStringLiteral("Na&vigation..."), zentral);
  navKnopf->setObjectName(QStringLiteral("BNavigation"));
  connect(navKnopf, &QPushButton::clicked, this, [this] { nav_.exec(); });
  unten->addWidget(navKnopf);
  for (Opt o : {Opt::BitBErgebnisAnsehen, Opt::BitBStart, Opt::BitBBeenden}) unten->addWidget(binder.erzeugen(o, zentral));
  v->addLayout(unten);
  setCentralWidget(zentral);
  binder.setKnopfAktion([this](Opt o) { knopf(o); });
  p_.m.setEnabled(Opt::BitBErgebnisAnsehen, false);
  p_.HauptForm.geaendert = [this] { aktualisieren(); };
  resize(760, 640);
}

void Hauptfenster::knopf(Opt o) {
  switch (o) {
    case Opt::BitBStart: p_.BitBStartClick(); break;
    case Opt::BitBErgebnisAnsehen: BitBErgebnisAnsehenClick(p_.k); break;
    case Opt::BitBBeenden: close(); break;
    case Opt::BGrundEinstellungen: p_.BGrundEinstellungenClick(); break;
    default: break;
  }
}

void Hauptfenster::aktualisieren() {
  const AppState& st = p_.st;
  setEnabled(st.HauptFormEnabled);
  if (st.Sanduhr && !cursorGesetzt_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cursorGesetzt_ = true;
  } else if (!st.Sanduhr && cursorGesetzt_) {
    QApplication::restoreOverrideCursor();
    cursorGesetzt_ = false;
  }
  for (int i = 0; i < PageControl->count(); ++i)
    if (PageControl->widget(i)->objectName() == QString::fromStdString(st.AktiveSeite)) PageControl->setCurrentIndex(i);
  for (int i = 0; i < PageControlExperten->count(); ++i)
    if (PageControlExperten->widget(i)->objectName() == QString::fromStdString(st.AktiveExpertenSeite))
      PageControlExperten->setCurrentIndex(i);
  if (p_.beendet() && isVisible()) close();
}

bool Hauptfenster::event(QEvent* e) {
  const bool r = QMainWindow::event(e);
  if (e->type() == QEvent::WindowActivate) p_.FormActivate();
  return r;
}

void Hauptfenster::closeEvent(QCloseEvent* e) {
  if (!p_.beendet()) p_.BitBBeendenClick();
  if (!p_.beendet()) {
    e->ignore();
    return;
  }
  e->accept();
}

Fenster::Fenster(Programm& prog)
    : p(prog), binder(prog.m), navigation(prog, binder), haupt(prog, binder, navigation), warten(prog.wartenForm) {
  exif.setObjectName(QStringLiteral("EXIFForm"));
  farb.setObjectName(QStringLiteral("farbForm"));
  kommentar.setObjectName(QStringLiteral("KommentarForm"));
  haupt.aktualisieren();
}

}  // namespace mosaik

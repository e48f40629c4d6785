#include "qt/Fenster.h"

#include "app/Einstellungen.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include "generator/Generierung.h"
#include "ui/Feldfilter.h"
#include "ui/Hilfe.h"
#include "qt/HilfeTaste.h"
#include "qt/Ordneranzeige.h"
#include "qt/Seiten.h"
#include "qt/ThemenMaler.h"

namespace mosaik {
Tastenfilter tastenfilter(THauptForm& haupt, TNavigationForm& nav) {
  Tastenfilter f;
  f.gefiltert = [](Opt o) { return feldfilter(o) != Feldfilter::Keiner || TNavigationForm::grafikpfadFeld(o); };
  f.keyDown = [&haupt](Opt o, int taste, bool strg) { haupt.EdHintergrundgrafikKeyDown(o, taste, strg); };
  f.keyPress = [&haupt, &nav](Opt o, char32_t c) {
    return TNavigationForm::grafikpfadFeld(o) ? nav.KeyPress(o, c) : haupt.KeyPress(o, c);
  };
  f.einfuegen = [&haupt, &nav](Opt o, const std::string& t) {
    return TNavigationForm::grafikpfadFeld(o) ? nav.einfuegen(o, t) : haupt.einfuegen(o, t);
  };
  return f;
}

Hauptfenster::Hauptfenster(Programm& p, OptionBinder& binder, NavigationDialog& nav)
    : QMainWindow(nullptr), p_(p), binder_(binder), nav_(nav) {
  setObjectName(QStringLiteral("HauptForm"));
  setWindowTitle(QStringLiteral("Mosaikschauer"));
  auto* zentral = new QWidget(this);
  auto* v = new QVBoxLayout(zentral);
  PageControl = new QTabWidget(zentral);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  hauptseitenAufbauen(binder, PageControl, PageControlExperten);
  ordneranzeigenEinrichten(binder, p_.m);
  v->addWidget(PageControl, 1);
  // The page the user turns to is the page the program knows.
  connect(PageControl, &QTabWidget::currentChanged, this,
          [this] { p_.st.AktiveSeite = PageControl->currentWidget()->objectName().toStdString(); });
  connect(PageControlExperten, &QTabWidget::currentChanged, this, [this] {
    p_.st.AktiveExpertenSeite = PageControlExperten->currentWidget()->objectName().toStdString();
  });

  auto* unten = new QHBoxLayout;
  unten->addWidget(binder.erzeugen(Opt::LProgginame, zentral));
  unten->addStretch();
  for (Opt o : {Opt::BitBErgebnisAnsehen, Opt::BitBStart, Opt::BitBBeenden}) unten->addWidget(binder.erzeugen(o, zentral));
  v->addLayout(unten);
  setCentralWidget(zentral);
  binder.alleAktualisieren();
  binder.setKnopfAktion([this](Opt o) { knopf(o); });
  p_.HauptForm.fokusSetzen = [this](Opt o) {
    fokusDanach([this, o] { fokusGeben(binder_.widget(o)); });
  };
  p_.HauptForm.fokusZurueck = [this](Opt o) {
    fokusDanach([this, o] {
      if (QWidget* w = binder_.widget(o); w && w->hasFocus()) focusNextPrevChild(false);
    });
  };
  p_.HauptForm.rueckwaertsBetreten = [this] { return binder_.rueckwaertsBetreten(); };
  p_.m.setEnabled(Opt::BitBErgebnisAnsehen, false);
  p_.HauptForm.geaendert = [this] { aktualisieren(); };
  // The window follows the visual styles, and the main window previews F1.
  ThemeServices().setPlattformHatStile(plattformHatStile());
  p_.HauptForm.ThemeManager.OnThemeChange = [this] { aktualisieren(); };
  new HilfeTaste(*this, p_.k);
  hilfeKnopfHinweise(*this);
  // Where the screen has room (1280 x 800 and up) every page fits without
  // scrolling and every tab (all are shown in expert mode) without scroll
  // buttons; a smaller screen gets a window that fits it, whose pages scroll.
  int reiter = 40;
  const QFontMetrics fm(PageControl->tabBar()->font());
  for (int i = 0; i < PageControl->count(); ++i)
    reiter += fm.horizontalAdvance(PageControl->tabText(i).remove(QLatin1Char('&'))) + 26;
  const QSize noetig(reiter, 640);
  resize(sizeHint().expandedTo(noetig).expandedTo(QSize(980, 640)).boundedTo(QSize(1260, 740)));
  fensterEinpassen(*this);
}

void Hauptfenster::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!eingepasst_) {
    eingepasst_ = true;
    // The window opens with the keys on the first control of its page, not
    // on the tab bar, where they would do nothing and show nowhere.
    fokusGeben(ersteSteuerung(PageControl->currentWidget()));
    // Once framed, the window is fitted again with its real frame.
    QTimer::singleShot(0, this, [this] { fensterEinpassen(*this); });
  }
}

void Hauptfenster::fokusGeben(QWidget* w) {
  if (!w) return;
  // The user did not move the focus there: it shows where the keys go, as
  // if the keyboard had moved it.
  setAttribute(Qt::WA_KeyboardFocusChange);
  w->setFocus(Qt::OtherFocusReason);
}

void Hauptfenster::fokusDanach(std::function<void()> bewegen) {
  // The handlers move the focus while a field is being entered or left. The
  // move waits until that focus change is done, or the field would take the
  // focus back in its own eyes (a caret blinking beside the control that has
  // the keys); it is dropped when the focus has gone elsewhere meanwhile.
  QPointer<QWidget> jetzt = QApplication::focusWidget();
  QMetaObject::invokeMethod(
      this,
      [jetzt, bewegen = std::move(bewegen)] {
        if (QApplication::focusWidget() == jetzt) bewegen();
      },
      Qt::QueuedConnection);
}

void Hauptfenster::navigationZeigen(int seite) {
  nav_.tabs->setCurrentIndex(seite);
  nav_.exec();
}

void Hauptfenster::knopf(Opt o) {
  switch (o) {
    case Opt::BitBStart: p_.BitBStartClick(); break;
    case Opt::BitBErgebnisAnsehen: BitBErgebnisAnsehenClick(p_.k); break;
    case Opt::BitBBeenden: close(); break;
    case Opt::BGrundEinstellungen: p_.BGrundEinstellungenClick(); break;
    case Opt::BNavigationUebersicht:
      p_.NavigationForm.RBNavUebTextlinksClick();
      navigationZeigen(0);
      break;
    case Opt::BNavigationGrosseBilder:
      p_.NavigationForm.RBNavUebTextlinksClick();
      navigationZeigen(1);
      break;
    case Opt::BEinstellungenSpeichern: BEinstellungenSpeichernClick(p_.k); break;
    case Opt::BEinstellungenLaden: BEinstellungenLadenClick(p_.k); break;
    case Opt::BExifDaten: p_.EXIFForm.Zeigen(true); break;
    case Opt::BGrossExifDaten: p_.EXIFForm.Zeigen(false); break;
    case Opt::BitBJPGKommentare: p_.KommentarForm.Zeigen(); break;
    case Opt::BHilfe: BHilfeClick(p_.k); break;
    case Opt::BFragebogen: BFragebogenClick(p_.k); break;
    case Opt::BHomepage: BHomepageClick(p_.k); break;
    case Opt::BMail: BMailClick(p_.k); break;
    default: break;
  }
}

void Hauptfenster::aktualisieren() {
  const AppState& st = p_.st;
  // The controls are locked, not the window: the progress dialog is the
  // window's own and must stay usable (a window's dialogs follow its
  // enabled state). Its modality keeps the window from taking input.
  centralWidget()->setEnabled(st.HauptFormEnabled);
  // Visual styles on: the themed style; off: the plain one.
  stilAnwenden(ThemeServices());
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
    : p(prog),
      binder(prog.m, tastenfilter(prog.HauptForm, prog.NavigationForm)),
      navigation(prog.NavigationForm, binder),
      haupt(prog, binder, navigation),
      exif(prog.EXIFForm, &haupt, prog.m.decimalSeparator()),
      warten(prog.wartenForm, &haupt),
      farb(prog.farbForm),
      kommentar(prog.KommentarForm) {
  // A double click on a caption template opens its editor.
  doppelklickAnbinden(binder.widget(Opt::MBeschreibung), [&prog] { prog.EXIFForm.Zeigen(true); });
  doppelklickAnbinden(binder.widget(Opt::MBeschreibungGross), [&prog] { prog.EXIFForm.Zeigen(false); });
  haupt.aktualisieren();
}

}  // namespace mosaik

// The main window under an offscreen display: user input reaches the model
// and runs its rule once, model changes reach the widgets, the widgets'
// own inherited states never feed back into the rules, every page fits;
// F1 and the help tab; a run locks the window behind the progress dialog.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QPlainTextEdit>
#include <QStyleHints>
#include <QStyleOption>
#include <QTabBar>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <fstream>
#include <tuple>

#include "FensterTestbasis.h"

namespace mosaik::test {
namespace {

struct Optionsseiten : Fensterprobe {
  bool tabSichtbar(QTabWidget* leiste, Opt seite) { return leiste->isTabVisible(leiste->indexOf(w(seite))); }
  // Turns to every page the tab bar shows, and on the expert tab to each
  // of its inner pages in turn.
  void jedeSeite(const std::function<void(QWidget* seite)>& tun) {
    QTabWidget* leiste = f->haupt.PageControl;
    QTabWidget* experten = f->haupt.PageControlExperten;
    for (int i = 0; i < leiste->count(); ++i) {
      if (!leiste->isTabVisible(i)) continue;
      leiste->setCurrentIndex(i);
      QApplication::processEvents();
      tun(leiste->widget(i));
      for (int j = 0; leiste->widget(i) == w(Opt::TabSExperten) && j < experten->count(); ++j) {
        if (!experten->isTabVisible(j)) continue;
        experten->setCurrentIndex(j);
        QApplication::processEvents();
        tun(experten->widget(j));
      }
    }
  }
};

// A page in a program mode, for messages.
std::string wo(Opt modus, const QWidget* seite) {
  return std::string(info(modus).name) + " " + seite->objectName().toStdString();
}

// The mnemonics a shown window shows: the shown tabs of its tab bars and the
// shown buttons, group boxes and labels that lead to a control; with
// `nurErreichbar` only those that are enabled too, the others leave their
// key to the focused control.
std::vector<std::pair<QKeySequence, QString>> mnemonics(QWidget* fenster, bool nurErreichbar) {
  std::vector<std::pair<QKeySequence, QString>> alle;
  const auto nehmen = [&](const QString& text) {
    if (const QKeySequence k = QKeySequence::mnemonic(text); !k.isEmpty()) alle.emplace_back(k, text);
  };
  for (QWidget* x : fenster->findChildren<QWidget*>()) {
    if (!x->isVisible() || (nurErreichbar && !x->isEnabled())) continue;
    if (auto* leiste = qobject_cast<QTabBar*>(x)) {
      for (int i = 0; i < leiste->count(); ++i)
        if (leiste->isTabVisible(i) && (!nurErreichbar || leiste->isTabEnabled(i))) nehmen(leiste->tabText(i));
    } else if (auto* b = qobject_cast<QAbstractButton*>(x)) {
      nehmen(b->text());
    } else if (auto* g = qobject_cast<QGroupBox*>(x)) {
      nehmen(g->title());
    } else if (auto* l = qobject_cast<QLabel*>(x); l && l->buddy()) {
      nehmen(l->text());
    }
  }
  return alle;
}

TEST_F(Optionsseiten, JedeOptionHatIhrWidgetMitIhremNamen) {
  for (int i = 0; i < kOptCount; ++i) EXPECT_NE(w(static_cast<Opt>(i)), nullptr) << info(static_cast<Opt>(i)).name;
  EXPECT_EQ(f->haupt.PageControl->currentWidget()->objectName(), QStringLiteral("TabSheetOrdner"));
  EXPECT_EQ(f->haupt.PageControlExperten->currentWidget()->objectName(), QStringLiteral("TabSheetSpezielles"));
}

TEST_F(Optionsseiten, EingabeErreichtDasModellUndDieRegelLaeuftEinmal) {
  u.dialoge.antworten = {MsgResult::No};
  auto* copyright = w<QCheckBox>(Opt::CBCopyright);
  copyright->click();
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);  // the question came once
  EXPECT_FALSE(copyright->isChecked());
  w<QCheckBox>(Opt::CBHintergrundgrafik)->click();
  EXPECT_TRUE(w(Opt::EdHintergrundgrafik)->isEnabled());

  // A radio button clicked twice stays chosen.
  auto* experte = w<QRadioButton>(Opt::RBModusExperte);
  experte->click();
  experte->click();
  EXPECT_TRUE(experte->isChecked());
  EXPECT_TRUE(tabSichtbar(f->haupt.PageControl, Opt::TabSExperten));
  EXPECT_TRUE(w(Opt::TabSExperten)->isEnabled());
  w<QRadioButton>(Opt::RBModusAnfaenger)->click();
  EXPECT_FALSE(tabSichtbar(f->haupt.PageControl, Opt::TabSExperten));
  EXPECT_FALSE(w(Opt::TabSExperten)->isEnabled());
  EXPECT_FALSE(w(Opt::GrBPfade)->isVisibleTo(&f->haupt));

  // A user's choice in a list runs its change handler.
  auto* doctype = w<QComboBox>(Opt::CoBDoctype);
  doctype->setCurrentIndex(2);
  emit doctype->activated(2);
  EXPECT_TRUE(p->st.DoctypeXHTML);

  w<QSpinBox>(Opt::SpEdSpaltenzahl)->setValue(7);
  EXPECT_EQ(p->m.spin(Opt::SpEdSpaltenzahl), 7);
  w<QSlider>(Opt::TrBKomprimierung)->setValue(60);
  EXPECT_EQ(w<QLineEdit>(Opt::EdKomprimierung)->text(), QStringLiteral("60"));
  w<QComboBox>(Opt::CoBUebGroesse)->setCurrentText(QStringLiteral("17"));
  EXPECT_EQ(p->m.text(Opt::CoBUebGroesse), "17");
}

TEST_F(Optionsseiten, ModellaenderungErreichtDasWidgetOhneZweitenLauf) {
  p->m.setChecked(Opt::CBAndereCSSDatei, true);
  EXPECT_EQ(u.dialoge.meldungen.size(), 1u);  // one warning: the widget's update ran no handler
  EXPECT_FALSE(tabSichtbar(f->haupt.PageControlExperten, Opt::TabSCSSDatei));

  p->m.setIndex(Opt::CoBFensterNavigation, 2);
  p->m.run(Opt::CoBFensterNavigation, Ev::Change);
  EXPECT_EQ(w<QComboBox>(Opt::CoBFensterNavigation)->currentIndex(), 2);
  EXPECT_EQ(w<QLabel>(Opt::LBlaetternUebersichtGross)->text(), QStringLiteral("Fenster schließen"));
  p->m.setText(Opt::EdSeitentitel, "Meine Reise");
  EXPECT_EQ(w<QLineEdit>(Opt::EdSeitentitel)->text(), QStringLiteral("Meine Reise"));
  p->m.setSpin(Opt::SpEdSpaltenzahl, 3);
  EXPECT_EQ(w<QSpinBox>(Opt::SpEdSpaltenzahl)->value(), 3);
  p->m.setPosition(Opt::TrBKomprimierung, 40);
  EXPECT_EQ(w<QSlider>(Opt::TrBKomprimierung)->value(), 40);
  p->m.setText(Opt::CoBUebGroesse, "19");
  EXPECT_EQ(w<QComboBox>(Opt::CoBUebGroesse)->currentText(), QStringLiteral("19"));

  // Captions the rules change.
  p->m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  EXPECT_EQ(w<QGroupBox>(Opt::GrBGroesse)->title(), QStringLiteral("Anzeigegröße der großen Bil&der in der Übersicht"));
  p->m.setText(Opt::EdNameHTML, "galerie.php");
  p->m.run(Opt::EdNameHTML, Ev::Exit);
  EXPECT_EQ(w<QCheckBox>(Opt::CBGrundnameistIndex)->text(), QStringLiteral("Startseite heißt &index.php"));
}

// A run locks the main window behind the progress dialog; rules run
// meanwhile read and write the model only, and the window shows their
// result once the run ends.
TEST_F(Optionsseiten, LaufSperrtDasFensterHinterDemFortschritt) {
  f->haupt.show();
  p->runView.laufBeginnt();
  EXPECT_FALSE(w(Opt::CBHintergrundgrafik)->isEnabled());
  EXPECT_TRUE(f->warten.isVisible());
  // The main window's own dialog, kept above it by the window system and
  // modal to it; its button is not locked with the window's controls.
  EXPECT_EQ(f->warten.parentWidget(), &f->haupt);
  ASSERT_NE(f->warten.windowHandle(), nullptr);
  EXPECT_EQ(f->warten.windowHandle()->transientParent(), f->haupt.windowHandle());
  EXPECT_EQ(f->warten.windowHandle()->modality(), Qt::WindowModal);
  EXPECT_EQ(QApplication::activeModalWidget(), &f->warten);
  EXPECT_TRUE(f->warten.BAbbruch->isEnabled());
  p->runView.aktuelleDatei("bild.jpg");
  EXPECT_EQ(f->warten.LAktuellerDateiname->text(), QStringLiteral("bild.jpg"));
  f->warten.grab().save(bildschirmOrdner() + QStringLiteral("/wartenForm.png"));
  p->m.setChecked(Opt::CBHintergrundgrafik, true);
  EXPECT_TRUE(p->m.enabled(Opt::EdHintergrundgrafik));
  p->runView.laufEndet();
  EXPECT_TRUE(w(Opt::EdHintergrundgrafik)->isEnabled());
  EXPECT_FALSE(f->warten.isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  f->haupt.hide();
}

TEST_F(Optionsseiten, TastenfilterUndFeldausgangImFenster) {
  auto* name = w<QLineEdit>(Opt::EdNameHTML);
  name->setText(QString());
  p->m.setText(Opt::EdNameHTML, "");
  tippen(name, QStringLiteral("w!\\x"));
  EXPECT_EQ(name->text(), QStringLiteral("w/x"));
  EXPECT_EQ(p->m.text(Opt::EdNameHTML), "w/x");
  taste(name, Qt::Key_Backspace, QString(QChar(8)));
  EXPECT_EQ(p->m.text(Opt::EdNameHTML), "w/");

  // Ctrl+V pastes, filtered; the next key is filtered again.
  auto* grafik = w<QLineEdit>(Opt::EdHintergrundgrafik);
  QApplication::clipboard()->setText(QStringLiteral("Bilder\\Hinter grund.PNG"));
  taste(grafik, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
  EXPECT_EQ(p->m.text(Opt::EdHintergrundgrafik), "Bilder/Hintergrund.PNG");
  taste(grafik, Qt::Key_Space, QStringLiteral(" "));
  EXPECT_EQ(grafik->text(), QStringLiteral("Bilder/Hintergrund.PNG"));
  // The quality fields refuse the clipboard shortcuts.
  auto* qualitaet = w<QLineEdit>(Opt::EdKomprimierung);
  QApplication::clipboard()->setText(QStringLiteral("77"));
  taste(qualitaet, Qt::Key_V, QString(QChar(22)), Qt::ControlModifier);
  EXPECT_EQ(qualitaet->text(), QStringLiteral("25"));
  // The context menu's paste is the one the filter takes over.
  std::unique_ptr<QMenu> menu(grafik->createStandardContextMenu());
  ASSERT_NE(einfuegenAktion(menu.get()), nullptr);
  EXPECT_EQ(einfuegenAktion(menu.get())->text().remove(QLatin1Char('&')).left(5), QStringLiteral("Paste"));

  // Leaving a field repairs it; losing the window's activation does not.
  auto* klammer = w<QLineEdit>(Opt::EdKlammerAuf);
  p->m.setText(Opt::EdKlammerAuf, "");
  verlassen(klammer, Qt::ActiveWindowFocusReason);
  EXPECT_EQ(p->m.text(Opt::EdKlammerAuf), "");
  verlassen(klammer, Qt::PopupFocusReason);
  EXPECT_EQ(p->m.text(Opt::EdKlammerAuf), "");
  verlassen(klammer, Qt::TabFocusReason);
  EXPECT_EQ(klammer->text(), QStringLiteral("("));

  // Entering the panorama column count bounds it by the table's columns.
  p->m.setSpin(Opt::SpEdSpaltenzahl, 4);
  QFocusEvent rein(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(w(Opt::SpEdAnzPanoSpalten), &rein);
  EXPECT_EQ(p->m.maxValue(Opt::SpEdAnzPanoSpalten), 4);
}

// Every page in every program mode, written to PNG for a person to look at.
// The window fits the screen (the offscreen one is 800 x 600, as a
// 1600 x 1200 screen at 200 %) with its button row in view; a page that
// needs more room than that scrolls instead of squeezing its controls.
TEST_F(Optionsseiten, JedeSeiteInJedemModusPasst) {
  const QString ziel = bildschirmOrdner();
  f->haupt.show();
  QApplication::processEvents();
  EXPECT_TRUE(f->haupt.screen()->availableGeometry().contains(f->haupt.frameGeometry()));
  for (Opt knopf : {Opt::BitBErgebnisAnsehen, Opt::BitBStart, Opt::BitBBeenden})
    EXPECT_TRUE(f->haupt.rect().contains(QRect(w(knopf)->mapTo(&f->haupt, QPoint()), w(knopf)->size())));
  const auto passt = [&](Opt modus, QWidget* seite) {
    QApplication::processEvents();
    const QString name = qn(modus) + QLatin1Char('-') + seite->objectName();
    auto* rolle = seite->findChild<QScrollArea*>();
    QWidget* inhalt = rolle ? rolle->widget() : seite;
    EXPECT_LE(inhalt->minimumSizeHint().height(), inhalt->height()) << name.toStdString();
    EXPECT_LE(inhalt->minimumSizeHint().width(), inhalt->width()) << name.toStdString();
    f->haupt.grab().save(ziel + QLatin1Char('/') + name + QStringLiteral(".png"));
  };
  for (Opt modus : {Opt::RBModusAnfaenger, Opt::RBModusFortgeschrittener, Opt::RBModusExperte}) {
    w<QRadioButton>(modus)->click();
    jedeSeite([&](QWidget* seite) { passt(modus, seite); });
  }
  f->haupt.hide();
}

TEST_F(Optionsseiten, F1UndHilfeknoepfeOeffnenIhreSeite) {
  const std::string hilfe = u.programmOrdner.pfad() + "hilfe/";
  std::filesystem::create_directories(hilfe);
  for (const char* s : {"index.htm", "ordner.htm", "layout1.htm"})
    std::ofstream(hilfe + s) << "<html></html>";
  taste(w(Opt::CBmitUnterverzeichnissen), Qt::Key_F1);
  // The spin box's own line edit belongs to the spin box.
  taste(w(Opt::SpEdSpaltenzahl)->findChild<QLineEdit*>(), Qt::Key_F1);
  // Other keys are not the help's.
  taste(w(Opt::CBmitUnterverzeichnissen), Qt::Key_F2);
  w<QPushButton>(Opt::BHilfe)->click();
  EXPECT_EQ(u.shell.geoeffnet,
            (std::vector<std::string>{"file://" + hilfe + "ordner.htm#PfadzudenBildern",
                                      "file://" + hilfe + "layout1.htm#Tabellenoptionen", "file://" + hilfe + "index.htm"}));
  EXPECT_EQ(w(Opt::BHomepage)->toolTip(), QStringLiteral("https://mosaikschauer.example/"));
  EXPECT_EQ(w(Opt::BMail)->toolTip(), QStringLiteral("rueckmeldung@mosaikschauer.example"));
  EXPECT_TRUE(w(Opt::LProgrammname)->font().bold());
}

// A hidden page is out of every key's reach: the page keys pressed again
// and again from a visible page in both directions, the hidden tabs' own
// mnemonics, the focus and F1 aimed at a control on one. In beginner mode,
// on the experts' inner pages without the CSS page, and in the navigation
// dialog without picture pages.
TEST_F(Optionsseiten, VerborgeneSeitenSindMitKeinerTasteErreichbar) {
  const std::string hilfe = u.programmOrdner.pfad() + "hilfe/";
  std::filesystem::create_directories(hilfe);
  for (const char* s : {"texte.htm", "experten.htm"}) std::ofstream(hilfe + s) << "<html></html>";
  u.dialoge.antworten = {MsgResult::Ok};
  struct Fall {
    std::function<void()> einrichten;
    QWidget* fenster;
    QTabWidget* leiste;
    Opt start;                        // on a visible page
    std::vector<QWidget*> verborgen;  // the hidden pages
    std::vector<Qt::Key> mnemonics;   // theirs, with Alt
    Opt feld;                         // on a hidden page
  };
  const std::vector<Fall> faelle = {
      {[&] { w<QRadioButton>(Opt::RBModusAnfaenger)->click(); }, &f->haupt, f->haupt.PageControl,
       Opt::CBHintergrundgrafik, {w(Opt::TabSTexte), w(Opt::TabSExtraTexte), w(Opt::TabSExperten)},
       {Qt::Key_T, Qt::Key_E, Qt::Key_X}, Opt::EdStartordnerName},
      {[&] {
         w<QRadioButton>(Opt::RBModusExperte)->click();
         p->m.setChecked(Opt::CBAndereCSSDatei, true);
         f->haupt.PageControl->setCurrentWidget(w(Opt::TabSExperten));
       },
       &f->haupt, f->haupt.PageControlExperten, Opt::CBAndereCSSDatei, {w(Opt::TabSCSSDatei)}, {Qt::Key_C},
       Opt::CBCSSDateiaendern},
      {[&] {
         p->m.setChecked(Opt::RBLinkAufBilddatei, true);
         p->m.setChecked(Opt::RBZeilenzahl, true);
         QEvent ev(QEvent::WindowActivate);
         QApplication::sendEvent(&f->navigation, &ev);
       },
       &f->navigation, f->navigation.tabs, Opt::CBNavigationOben,
       {f->navigation.findChild<QWidget*>(QStringLiteral("TabSheetGrosseBilder"))}, {Qt::Key_D},
       Opt::SpEdVertikalerAbstand},
  };
  for (const Fall& fall : faelle) {
    const auto nr = &fall - faelle.data();
    fall.einrichten();
    QTabWidget* leiste = fall.leiste;
    fall.fenster->show();
    QApplication::setActiveWindow(fall.fenster);
    QApplication::processEvents();
    for (QWidget* seite : fall.verborgen) ASSERT_FALSE(leiste->isTabVisible(leiste->indexOf(seite))) << nr;
    const auto vonVorn = [&] {
      for (int i = 0; i < leiste->count(); ++i)
        if (leiste->widget(i)->isAncestorOf(w(fall.start))) leiste->setCurrentIndex(i);
      w(fall.start)->setFocus(Qt::OtherFocusReason);
    };
    const auto druecken = [&](Qt::Key taste, Qt::KeyboardModifiers mod) {
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      QTest::keyClick(QApplication::focusWidget(), taste, mod);
      const std::string wie = QKeySequence(taste | mod).toString().toStdString() + " in Fall " + std::to_string(nr);
      EXPECT_TRUE(leiste->isTabVisible(leiste->currentIndex())) << wie;
      for (QWidget* seite : fall.verborgen) {
        EXPECT_NE(leiste->currentWidget(), seite) << wie;
        EXPECT_FALSE(seite->isAncestorOf(QApplication::focusWidget())) << wie;
      }
    };
    for (auto [taste, mod] : {std::pair{Qt::Key_Tab, Qt::KeyboardModifiers(Qt::ControlModifier)},
                              {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
                              {Qt::Key_PageDown, Qt::KeyboardModifiers(Qt::ControlModifier)},
                              {Qt::Key_PageUp, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
      vonVorn();
      for (int n = 0; n <= leiste->count(); ++n) druecken(taste, mod);
    }
    fall.fenster->grab().save(bildschirmOrdner() + QStringLiteral("/Seitentasten-%1.png").arg(nr));
    for (Qt::Key m : fall.mnemonics) {
      vonVorn();
      druecken(m, Qt::AltModifier);
    }
    w(fall.feld)->setFocus(Qt::OtherFocusReason);
    druecken(Qt::Key_F1, Qt::NoModifier);
    fall.fenster->hide();
  }
  // F1 opened the help of the visible control only.
  EXPECT_EQ(u.shell.geoeffnet, std::vector<std::string>{"file://" + hilfe + "experten.htm#andereCSS"});
}

// Arrow keys choose among the radio buttons of a group, round the end and
// past a disabled member, and take the focus along; Shift+Tab gets past a
// caption template memo, never to a stop that shows no focus (the page's
// scroll area), and Tab comes back through it.
TEST_F(Optionsseiten, PfeiltastenWaehlenUndRueckwaertsTabGehtWeiter) {
  w<QRadioButton>(Opt::RBModusExperte)->click();
  f->haupt.show();
  f->haupt.activateWindow();
  QApplication::processEvents();
  for (const auto& [seite, von, key, gesperrt, nach] :
       {std::tuple{Opt::TabSheetProgramm, Opt::RBModusAnfaenger, Qt::Key_Up, Opt::Count, Opt::RBModusExperte},
        {Opt::TabSheetlayout2, Opt::RBnichtverlinken, Qt::Key_Right, Opt::RBLinkAufBilddatei,
         Opt::RBProBildEineHTMLDatei}}) {
    f->haupt.PageControl->setCurrentWidget(w(seite));
    QApplication::processEvents();  // the page's first control is entered
    p->m.setChecked(von, true);
    if (gesperrt != Opt::Count) p->m.setEnabled(gesperrt, false);
    w(von)->setFocus(Qt::TabFocusReason);
    taste(w(von), key);
    EXPECT_EQ(p->m.radioChoice(info(von).radioGroup), nach) << info(von).name;
    EXPECT_TRUE(w<QRadioButton>(nach)->isChecked() && w(nach)->hasFocus()) << info(von).name;
    if (gesperrt != Opt::Count) p->m.setEnabled(gesperrt, true);
  }
  QWidget* reiter = f->haupt.PageControl->tabBar();
  for (auto [memo, knopf] : {std::pair{Opt::MBeschreibung, Opt::BExifDaten}, {Opt::MBeschreibungGross, Opt::BGrossExifDaten}}) {
    w(knopf)->setFocus(Qt::TabFocusReason);
    taste(w(knopf), Qt::Key_Backtab, {}, Qt::ShiftModifier);
    QApplication::processEvents();
    QWidget* davor = QApplication::focusWidget();
    EXPECT_TRUE(memo == Opt::MBeschreibung ? davor == reiter || davor->parentWidget() == reiter
                                           : davor == w(Opt::CBGrosseBilderVergroessern))
        << info(memo).name << " " << davor->metaObject()->className();
    taste(davor, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), w(knopf)) << info(memo).name;
  }
  // Tab from the tab bar into a page scrolled to its end, and on through
  // it: every control that takes the focus is wholly in view.
  f->haupt.PageControl->setCurrentWidget(w(Opt::TabSheetLayout1));
  f->haupt.resize(f->haupt.width(), 360);
  QApplication::processEvents();
  auto* rolle = w(Opt::TabSheetLayout1)->findChild<QScrollArea*>();
  ASSERT_GT(rolle->verticalScrollBar()->maximum(), 0);
  rolle->verticalScrollBar()->setValue(rolle->verticalScrollBar()->maximum());
  reiter->setFocus(Qt::TabFocusReason);
  int gesehen = 0;
  for (int n = 0; n < 80; ++n) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* fokus = QApplication::focusWidget();
    if (!rolle->widget()->isAncestorOf(fokus)) {
      if (gesehen) break;
      continue;
    }
    if (++gesehen == 1) f->haupt.grab().save(bildschirmOrdner() + QStringLiteral("/Layout1-Tab-vom-Reiter.png"));
    const QRect r(fokus->mapTo(rolle->viewport(), QPoint()), fokus->size());
    EXPECT_TRUE(rolle->viewport()->rect().contains(r)) << n << " " << fokus->objectName().toStdString();
  }
  EXPECT_GT(gesehen, 10);
  f->haupt.hide();
}

// The window opens with the keys on the first control of its page, shown. A
// caption template memo entered with the mouse, where no key has shown the
// focus yet, hands the focus to its button, which shows it, and keeps no
// blinking caret of its own.
TEST_F(Optionsseiten, FokusAmStartUndVomMemoSichtbarWeitergereicht) {
  f->haupt.show();
  QApplication::setActiveWindow(&f->haupt);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), w(Opt::BitBBilderPfadWahl));
  const auto fokusGezeigt = [this](Opt o) {
    QStyleOption zustand;
    zustand.initFrom(w(o));
    return (zustand.state & QStyle::State_HasFocus) && (zustand.state & QStyle::State_KeyboardFocusChange);
  };
  EXPECT_TRUE(fokusGezeigt(Opt::BitBBilderPfadWahl));

  QStyleHints* hinweise = QGuiApplication::styleHints();
  const int blinken = hinweise->cursorFlashTime();
  hinweise->setCursorFlashTime(100);
  f->haupt.PageControl->setCurrentWidget(w(Opt::TabSheetlayout2));
  auto* memo = w<QPlainTextEdit>(Opt::MBeschreibung);
  w(Opt::CBDateinameAlsHint)->setFocus(Qt::MouseFocusReason);
  f->haupt.setAttribute(Qt::WA_KeyboardFocusChange, false);
  QApplication::processEvents();
  const QImage ohneFokus = memo->grab().toImage();
  QTest::mouseClick(memo->viewport(), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), w(Opt::BExifDaten));
  EXPECT_TRUE(fokusGezeigt(Opt::BExifDaten));
  // Three blink periods long the memo looks as before.
  for (int n = 0; n < 6; ++n) {
    QTest::qWait(50);
    ASSERT_EQ(memo->grab().toImage(), ohneFokus) << n;
  }
  hinweise->setCursorFlashTime(blinken);
  f->haupt.hide();
}

// On every page in every mode, with both captions of the thumbnail size
// group, and on the navigation dialog's pages: no two mnemonics shown share
// a key (counting the tab bars and the buttons below the pages; Alt would
// alternate between them), and an Alt combination that reaches none (a
// hidden page's, a disabled control's, or no mnemonic at all) pressed in
// any field changes no option.
TEST_F(Optionsseiten, AltTastenJederSeite) {
  const auto werte = [this] {
    std::vector<std::string> z;
    for (int i = 0; i < kOptCount; ++i) {
      const Opt o = static_cast<Opt>(i);
      z.push_back(p->m.text(o) + '|' + std::to_string(p->m.spin(o)) + '|' + std::to_string(p->m.index(o)));
    }
    return z;
  };
  int gedrueckt = 0;
  const auto pruefen = [&](QWidget* fenster, const std::string& wo) {
    std::map<QString, QString> erste;
    for (const auto& [k, text] : mnemonics(fenster, false)) {
      const auto [it, neu] = erste.emplace(k.toString(), text);
      EXPECT_TRUE(neu) << wo << ": " << k.toString().toStdString() << " in " << it->second.toStdString() << " und "
                       << text.toStdString();
    }
    for (QWidget* x : fenster->findChildren<QWidget*>()) {
      const bool feld = x->testAttribute(Qt::WA_InputMethodEnabled) || qobject_cast<QComboBox*>(x);
      if (!feld || !x->isVisible() || !x->isEnabled() || !(x->focusPolicy() & Qt::TabFocus)) continue;
      x->setFocus(Qt::TabFocusReason);
      QApplication::processEvents();
      if (QApplication::focusWidget() != x) continue;  // a field that hands the focus on
      QString erreichbar;
      for (const auto& [k, text] : mnemonics(fenster, true)) erreichbar += QChar(k[0].key());
      const std::vector<std::string> vorher = werte();
      for (char c = '0'; c <= 'Z'; ++c) {
        if (erreichbar.contains(QLatin1Char(c))) continue;
        // Each key on its own, not as part of a word a list searches for.
        if (auto* liste = qobject_cast<QComboBox*>(x)) liste->view()->keyboardSearch({});
        QTest::keyClick(x, c, Qt::AltModifier);
        ++gedrueckt;
      }
      const std::vector<std::string> nachher = werte();
      std::string geaendert;
      for (int i = 0; i < kOptCount; ++i)
        if (nachher[i] != vorher[i]) geaendert += std::string(info(static_cast<Opt>(i)).name) + ' ';
      EXPECT_EQ(geaendert, "") << wo << ", " << x->objectName().toStdString();
    }
  };
  p->m.setText(Opt::EdSeitentitel, "Urlaub");
  f->haupt.show();
  QApplication::setActiveWindow(&f->haupt);
  for (Opt modus : {Opt::RBModusAnfaenger, Opt::RBModusFortgeschrittener, Opt::RBModusExperte}) {
    w<QRadioButton>(modus)->click();
    jedeSeite([&](QWidget* seite) { pruefen(&f->haupt, wo(modus, seite)); });
    EXPECT_EQ(p->m.text(Opt::EdSeitentitel), "Urlaub");
  }
  p->m.setChecked(Opt::CBVorschaubilderErzeugen, false);
  f->haupt.PageControl->setCurrentWidget(w(Opt::TabSheetVorschau));
  pruefen(&f->haupt, "ohne Vorschaubilder");
  f->haupt.hide();
  p->m.setChecked(Opt::RBProBildEineHTMLDatei, true);
  f->navigation.show();
  QApplication::setActiveWindow(&f->navigation);
  for (int i = 0; i < f->navigation.tabs->count(); ++i) {
    ASSERT_TRUE(f->navigation.tabs->isTabVisible(i));
    f->navigation.tabs->setCurrentIndex(i);
    pruefen(&f->navigation, "Navigation " + std::to_string(i));
  }
  f->navigation.hide();
  EXPECT_GT(gedrueckt, 2000);
}

// The picture of the info group lights up under the mouse and is back at
// rest once its single-shot timer has fired.
TEST_F(Optionsseiten, BildWechseltUnterDerMaus) {
  auto* bild = f->haupt.findChild<QLabel*>(QStringLiteral("ImMeinBild"));
  ASSERT_NE(bild, nullptr);
  // The first tile's colour in a grab of the picture.
  const auto kachel = [bild] { return bild->grab().toImage().pixel(8, 8) & 0xFFFFFFu; };
  EXPECT_EQ(kachel(), 0x4A6FA5u);
  QMouseEvent zug(QEvent::MouseMove, QPointF(10, 10), bild->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(bild, &zug);
  EXPECT_EQ(kachel(), 0xE8692Cu);
  const QDeadlineTimer frist(5000);
  while (kachel() != 0x4A6FA5u && !frist.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(kachel(), 0x4A6FA5u);
}

TEST_F(Optionsseiten, StilFolgtDemThemingKaestchen) {
  p->m.setChecked(Opt::CBTheming, false);
  EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("windows"));
  p->m.setChecked(Opt::CBTheming, true);
  EXPECT_EQ(QApplication::style()->name().toLower(), QStringLiteral("fusion"));
}

}  // namespace
}  // namespace mosaik::test

#include "qt/Seiten.h"

#include "qt/FarbDialog.h"
#include "qt/MeinBild.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

namespace mosaik {
namespace {

using O = Opt;

// A page's scroll area asks for room for all of its content: the window
// opens as large as the pages need where the screen allows, and the
// scroll bars appear only where it does not. Its width has room for the
// vertical bar too, so that a window only too low for its pages does not
// scroll sideways as well.
class Seitenrolle : public QScrollArea {
 public:
  explicit Seitenrolle(QWidget* parent) : QScrollArea(parent) {
    // The control that takes the focus is brought fully into view however
    // it was reached: Tab from the tab bar or from the button row below the
    // pages, a mnemonic, a click on a control half out of view. The scroll
    // area's own care covers only Tab pressed inside it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* jetzt) {
      if (!jetzt || !widget() || !widget()->isAncestorOf(jetzt)) return;
      if (!viewport()->rect().contains(QRect(jetzt->mapTo(viewport(), QPoint()), jetzt->size())))
        ensureWidgetVisible(jetzt);
    });
  }
  QSize sizeHint() const override {
    const int rand = 2 * frameWidth();
    const int balken = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    if (!widget()) return QSize(rand + balken, rand);
    const QSize inhalt(widget()->sizeHint().expandedTo(widget()->minimumSizeHint()).width(),
                       widget()->minimumSizeHint().height());
    return inhalt + QSize(rand + balken, rand);
  }
};

// Small helpers that keep the page code close to the form: every control
// is created by the binder inside its group, then placed.
class Bau {
 public:
  explicit Bau(OptionBinder& b) : b_(b) {}

  QWidget* w(Opt o, QWidget* p) { return b_.erzeugen(o, p); }
  QWidget* widgetVon(Opt o) const { return b_.widget(o); }
  QGroupBox* gruppe(Opt o, QWidget* p) { return static_cast<QGroupBox*>(b_.erzeugen(o, p)); }
  // A tab page; returns the widget that takes its content. A page of the
  // main page control scrolls when the window is smaller than its content,
  // so that a small screen still reaches every control and the button row
  // below the pages.
  QWidget* seite(Opt o, QTabWidget* leiste, bool rollen = true) {
    QWidget* s = b_.erzeugen(o, leiste);
    leiste->addTab(s, QString());
    return rollen ? rollend(s) : s;
  }
  // The widget that takes a page's content, inside a scroll area that
  // fills the page.
  static QWidget* rollend(QWidget* s) {
    auto* rolle = new Seitenrolle(s);
    // No tab stop of its own: it shows no focus, so Tab and Shift+Tab would
    // seem to do nothing once on every page. It scrolls to the control that
    // takes the focus.
    rolle->setFocusPolicy(Qt::NoFocus);
    rolle->setFrameShape(QFrame::NoFrame);
    rolle->setWidgetResizable(true);
    auto* inhalt = new QWidget;
    inhalt->setObjectName(s->objectName() + QStringLiteral("Inhalt"));
    rolle->setWidget(inhalt);
    auto* l = new QVBoxLayout(s);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(rolle);
    return inhalt;
  }
  // A plain caption that follows its control.
  QLabel* text(const QString& t, QWidget* buddy, QWidget* p) { return begleitText(t, buddy, p); }
  // A caption that belongs to no single control.
  static QLabel* hinweis(const QString& t, QWidget* p, bool umbrechen = false) {
    auto* l = new QLabel(t, p);
    l->setWordWrap(umbrechen);
    return l;
  }

  // Controls side by side, the rest of the row left empty.
  static QHBoxLayout* reihe(std::initializer_list<QWidget*> ws, bool auffuellen = true) {
    auto* h = new QHBoxLayout;
    for (QWidget* x : ws) h->addWidget(x);
    if (auffuellen) h->addStretch(1);
    return h;
  }
  static QHBoxLayout* eingerueckt(QLayout* l, int breite = 20) {
    auto* h = new QHBoxLayout;
    h->addSpacing(breite);
    h->addLayout(l);
    return h;
  }
  static QHBoxLayout* eingerueckt(QWidget* x, int breite = 20) {
    auto* h = new QHBoxLayout;
    h->addSpacing(breite);
    h->addWidget(x);
    return h;
  }
  // A field of about n characters.
  static QWidget* schmal(QWidget* x, int zeichen) {
    x->setFixedWidth(QFontMetrics(x->font()).horizontalAdvance(QLatin1Char('M')) * zeichen + 12);
    return x;
  }
  static QWidget* memoHoehe(QWidget* x, int zeilen) {
    auto* me = static_cast<QPlainTextEdit*>(x);
    me->setFixedHeight(QFontMetrics(me->font()).lineSpacing() * zeilen + 12);
    return x;
  }
  static QWidget* knopfSchmal(QWidget* x) {
    x->setFixedWidth(QFontMetrics(x->font()).horizontalAdvance(static_cast<QPushButton*>(x)->text()) + 20);
    return x;
  }

 private:
  OptionBinder& b_;
};

// A folder display with its choose and default buttons.
QHBoxLayout* ordnerZeile(Bau& b, QWidget* p, Opt anzeige, Opt waehlen, Opt standard) {
  auto* h = new QHBoxLayout;
  QWidget* ed = b.w(anzeige, p);
  static_cast<QLineEdit*>(ed)->setReadOnly(true);
  ed->setFocusPolicy(Qt::NoFocus);
  h->addWidget(ed, 1);
  h->addWidget(Bau::knopfSchmal(b.w(waehlen, p)));
  if (standard != Opt::Count) h->addWidget(Bau::knopfSchmal(b.w(standard, p)));
  return h;
}

// A file reference field with its choose button.
QHBoxLayout* dateiZeile(Bau& b, QWidget* p, Opt box, Opt feld, Opt knopf) {
  auto* h = new QHBoxLayout;
  if (box != Opt::Count) h->addWidget(b.w(box, p));
  h->addWidget(b.w(feld, p), 1);
  if (knopf != Opt::Count) h->addWidget(Bau::knopfSchmal(b.w(knopf, p)));
  return h;
}

// A page with two columns of groups.
struct ZweiSpalten {
  QWidget* seite;
  QVBoxLayout* links;
  QVBoxLayout* rechts;
};

ZweiSpalten zweiSpalten(Bau& b, QTabWidget* leiste, Opt seite) {
  QWidget* s = b.seite(seite, leiste);
  auto* h = new QHBoxLayout(s);
  auto* links = new QVBoxLayout;
  auto* rechts = new QVBoxLayout;
  h->addLayout(links, 1);
  h->addLayout(rechts, 1);
  return {s, links, rechts};
}

// --- Ordner -------------------------------------------------------------------

void seiteOrdner(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheetOrdner, leiste);
  auto* v = new QVBoxLayout(s);

  QGroupBox* g = b.gruppe(O::GrBPfadeUndDateien, s);
  auto* gl = new QGridLayout(g);
  QWidget* edBilder = b.w(O::EdBilderPfad, g);
  static_cast<QLineEdit*>(edBilder)->setReadOnly(true);
  edBilder->setFocusPolicy(Qt::NoFocus);
  gl->addWidget(b.text(QStringLiteral("Pfad zu den Originalbildern:"), edBilder, g), 0, 0);
  auto* bilderZeile = new QHBoxLayout;
  bilderZeile->addWidget(edBilder, 1);
  bilderZeile->addWidget(Bau::knopfSchmal(b.w(O::BitBBilderPfadWahl, g)));
  gl->addLayout(bilderZeile, 0, 1);
  QHBoxLayout* html = ordnerZeile(b, g, O::EdHTMLPfadname, O::BitBHTMLSpeicherortWaehlen, O::BitBHTMLOrdnerLoeschen);
  gl->addWidget(b.text(QStringLiteral("Speicherort der HTML-Dateien:"), b.widgetVon(O::EdHTMLPfadname), g), 1, 0);
  gl->addLayout(html, 1, 1);
  QWidget* name = b.w(O::EdNameHTML, g);
  gl->addWidget(b.text(QStringLiteral("Grundname der HTML-Dateien:"), name, g), 2, 0);
  gl->addLayout(Bau::reihe({Bau::schmal(name, 16), b.w(O::CBGrundnameistIndex, g)}), 2, 1);
  QWidget* ordner = b.w(O::RBStrukturOrdner, g);
  gl->addWidget(b.text(QStringLiteral("HTML-Struktur:"), ordner, g), 3, 0);
  gl->addLayout(Bau::reihe({ordner, b.w(O::RBStrukturflach, g)}), 3, 1);
  gl->addWidget(b.w(O::CBmitUnterverzeichnissen, g), 4, 0, 1, 2);
  gl->addWidget(b.w(O::CBVorschaubilderErzeugen, g), 5, 0, 1, 2);
  gl->addWidget(b.w(O::CBOriginaleVerkleinern, g), 6, 0, 1, 2);
  gl->addLayout(Bau::reihe({b.w(O::CBPanoramaExtrabehandlung, g), b.w(O::LPanoVerhaeltnis, g),
                            Bau::schmal(b.w(O::RSpEdVerhaeltnis, g), 4)}),
                7, 0, 1, 2);
  gl->addLayout(Bau::reihe({b.w(O::BitBJPGKommentare, g)}), 8, 0, 1, 2);
  gl->setColumnStretch(1, 1);
  v->addWidget(g);

  auto* unten = new QHBoxLayout;
  QGroupBox* pfade = b.gruppe(O::GrBPfade, s);
  auto* pl = new QGridLayout(pfade);
  int zeile = 0;
  for (auto [box, feld] : {std::pair{O::CBPfadOriginaleErsetzen, O::EdOriginalePfadErsetzung},
                           {O::CBBilderPfadErsetzen, O::EdPfadErsetzung},
                           {O::CBVorschaulinksErsetzen, O::EdVorschaulinksErsetzen}}) {
    pl->addWidget(b.w(box, pfade), zeile, 0);
    pl->addWidget(b.w(feld, pfade), zeile, 1);
    ++zeile;
  }
  pl->setColumnStretch(1, 1);
  unten->addWidget(pfade, 3);

  auto* rechts = new QVBoxLayout;
  QGroupBox* typen = b.gruppe(O::GrBDateitypen, s);
  (new QVBoxLayout(typen))->addLayout(Bau::reihe({b.w(O::CBTypJpg, typen), b.w(O::CBTypJpeg, typen)}));
  rechts->addWidget(typen);
  QGroupBox* attr = b.gruppe(O::GrBAttribute, s);
  auto* al = new QGridLayout(attr);
  al->addWidget(b.w(O::CBAttrSchreibschutz, attr), 0, 0);
  al->addWidget(b.w(O::CBAttrVersteckt, attr), 0, 1);
  al->addWidget(b.w(O::CBAttrArchiv, attr), 1, 0);
  al->addWidget(b.w(O::CBAttrSystem, attr), 1, 1);
  rechts->addWidget(attr);
  rechts->addStretch(1);
  unten->addLayout(rechts, 2);
  v->addLayout(unten);
  v->addStretch(1);
}

// --- Große Bilder ------------------------------------------------------------------

// The large images and the thumbnails share the arrangement of their
// folder, compression, name affix and reduction method.
struct Bildersteuerung {
  Opt gruppe, ordner, waehlen, standard, ersetzen, lKomprimierung, regler, qualitaet, progressiv, lZusatz, zusatz,
      vorne, hinten, lMethode, einfach, resample;
};

QGroupBox* bildergruppe(Bau& b, QWidget* s, const Bildersteuerung& c) {
  QGroupBox* g = b.gruppe(c.gruppe, s);
  auto* gl = new QGridLayout(g);
  QHBoxLayout* ort = ordnerZeile(b, g, c.ordner, c.waehlen, c.standard);
  gl->addWidget(b.text(QStringLiteral("Speicherort:"), b.widgetVon(c.ordner), g), 0, 0);
  gl->addLayout(ort, 0, 1);
  gl->addWidget(b.w(c.ersetzen, g), 1, 1);
  gl->addWidget(b.w(c.lKomprimierung, g), 2, 0);
  gl->addLayout(Bau::reihe({Bau::schmal(b.w(c.regler, g), 16), Bau::schmal(b.w(c.qualitaet, g), 3)}), 2, 1);
  gl->addWidget(b.w(c.progressiv, g), 3, 1);
  gl->addWidget(b.w(c.lZusatz, g), 4, 0);
  gl->addLayout(Bau::reihe({Bau::schmal(b.w(c.zusatz, g), 8), b.w(c.vorne, g), b.w(c.hinten, g)}), 4, 1);
  gl->addWidget(b.w(c.lMethode, g), 5, 0);
  gl->addLayout(Bau::reihe({b.w(c.einfach, g), b.w(c.resample, g)}), 5, 1);
  gl->setColumnStretch(1, 1);
  return g;
}

void seiteGrosseBilder(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheetGrosseBilder, leiste);
  auto* v = new QVBoxLayout(s);

  v->addWidget(bildergruppe(b, s,
                            {O::GroupBox1, O::EdgrosseBilderPfadname, O::BitBgrosseBilderSpeicherortWaehlen,
                             O::BitBgrosseBilderOrdnerLoeschen, O::CBGrosseBilderErsetzen, O::LKomprimierungGrossebilder,
                             O::TrBKomprimierungGrosseBilder, O::EdKomprimierungGrosseBilder, O::CBGrosseBilderProgressiv,
                             O::LNamenserweiterungGrosseBilder, O::EdErweiterungGrosseBilder, O::RBVorneGrosseBilder,
                             O::RBhintenGrosseBilder, O::LVerklMethodeGrosse, O::RBVerklMethGrossEinfach,
                             O::RBVerklMethGrossResample}));

  auto* mitte = new QHBoxLayout;
  QGroupBox* gr = b.gruppe(O::GroupBox2, s);
  auto* grl = new QVBoxLayout(gr);
  grl->addLayout(Bau::reihe({b.w(O::SpEdGroesseGrosseBilder, gr), b.w(O::LPunkteGrosseBilder, gr)}));
  grl->addLayout(Bau::reihe({b.w(O::RBLaengereSeiteGrosseBilder, gr), b.w(O::RBBreiteGrosseBilder, gr),
                             b.w(O::RBHoeheGrosseBilder, gr)}));
  grl->addWidget(b.w(O::CBkleineBilderVergroessernGrosseBilder, gr));
  auto* auch = static_cast<QLabel*>(b.w(O::LAuchPanosGrosseBilder, gr));
  auch->setWordWrap(true);
  grl->addWidget(auch);
  grl->addStretch(1);
  mitte->addWidget(gr, 1);

  QGroupBox* pano = b.gruppe(O::GBPanosgross, s);
  auto* pl = new QVBoxLayout(pano);
  pl->addLayout(Bau::reihe({b.w(O::LGroessePanoGrosseBilder, pano), b.w(O::SpEdPanoramaGrosseBilder, pano),
                            b.w(O::LPunktePanoGrosseBilder, pano)}));
  pl->addLayout(Bau::reihe({b.w(O::RBPanoramaBreiteGrosseBilder, pano), b.w(O::RBPanoramaHoeheGrosseBilder, pano)}));
  pl->addStretch(1);
  mitte->addWidget(pano, 1);
  v->addLayout(mitte);

  QGroupBox* n = b.gruppe(O::GrBNamenAendern, s);
  auto* nl = new QGridLayout(n);
  nl->addWidget(b.w(O::CBUngueltigeNamenErsetzen, n), 0, 0, 1, 2);
  nl->addWidget(b.w(O::CBKleineDateinamen, n), 1, 0);
  nl->addWidget(b.w(O::CBLeerzeichenErsetzen, n), 2, 0);
  nl->addWidget(b.w(O::CBUmlauteErsetzen, n), 3, 0);
  nl->addWidget(b.w(O::CBSchreibschutzdateienUmbenennen, n), 1, 1);
  nl->addLayout(Bau::reihe({b.w(O::CBAndereZeichen, n), Bau::schmal(b.w(O::EdAndereZeichen, n), 12)}), 2, 1);
  nl->setColumnMinimumWidth(0, 220);
  nl->setColumnStretch(1, 1);
  nl->setContentsMargins(28, nl->contentsMargins().top(), 9, 9);
  v->addWidget(n);
  v->addStretch(1);
}

// --- Vorschaubilder --------------------------------------------------------------------

void seiteVorschau(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheetVorschau, leiste);
  auto* v = new QVBoxLayout(s);

  v->addWidget(bildergruppe(b, s,
                            {O::GrBVorschaubilder, O::EdVorschauPfadname, O::BitBVorschaubilderSpeicherortWaehlen,
                             O::BitBVorschaubilderordnerLoeschen, O::CBVorschaubilderErsetzen, O::LKomprimierungVorschau,
                             O::TrBKomprimierung, O::EdKomprimierung, O::CBVorschaubilderProgressiv,
                             O::Lnamenserweiterung, O::EdErweiterungVorschaubilder, O::RBVorne, O::RBhinten,
                             O::LVerklmethodeVorschau, O::RBVerklMethKleinEinfach, O::RBVerklMethKleinResample}));

  auto* unten = new QHBoxLayout;
  QGroupBox* gr = b.gruppe(O::GrBGroesse, s);
  auto* grl = new QVBoxLayout(gr);
  QWidget* groesse = b.w(O::SpEdGroesse, gr);
  grl->addLayout(Bau::reihe({groesse, b.text(QStringLiteral("Pixel"), groesse, gr)}));
  grl->addLayout(Bau::reihe({b.w(O::RBLaengereSeite, gr), b.w(O::RBBreite, gr), b.w(O::RBHoehe, gr)}));
  grl->addLayout(Bau::reihe({b.w(O::RBVorschauQuadratisch, gr), b.w(O::LFarbe, gr), b.w(O::PanelquadratFarbe, gr)}));
  klickOeffnetFarbe(static_cast<QLabel*>(b.widgetVon(O::LFarbe)), b.widgetVon(O::PanelquadratFarbe));
  grl->addWidget(b.w(O::CBZentrerirungstrick, gr));
  QWidget* panel = b.w(O::PZentirerungstrick, gr);
  auto* panelZeile = new QHBoxLayout(panel);
  panelZeile->setContentsMargins(20, 0, 0, 0);
  panelZeile->addWidget(b.hinweis(QStringLiteral("Hintergrund:"), panel));
  panelZeile->addWidget(b.w(O::RBVorschauhintergrundtransparent, panel));
  panelZeile->addWidget(b.w(O::RBVorschauhintergrundFarbe, panel));
  panelZeile->addWidget(b.w(O::PZentrierungstrickFarbe, panel));
  panelZeile->addStretch(1);
  grl->addWidget(panel);
  grl->addWidget(b.w(O::CBkleineBilderVergroessern, gr));
  grl->addStretch(1);
  unten->addWidget(gr, 1);

  QGroupBox* pano = b.gruppe(O::GrBPanorama, s);
  auto* pl = new QVBoxLayout(pano);
  pl->addLayout(Bau::reihe({b.w(O::LGroessePanoVorschau, pano), b.w(O::SpEdPanoramaVorschau, pano),
                            b.w(O::LPanoPunkte, pano)}));
  pl->addLayout(Bau::reihe({b.w(O::RBPanoramaBreite, pano), b.w(O::RBPanoramaHoehe, pano)}));
  pl->addWidget(b.w(O::LPanoTabsp1, pano));
  pl->addLayout(Bau::eingerueckt(b.w(O::RBPanoramaVorschauAlleSpalten, pano)));
  pl->addLayout(Bau::eingerueckt(Bau::reihe({b.w(O::RBPanoramaVorschauEinigeSpalten, pano),
                                             b.w(O::SpEdAnzPanoSpalten, pano), b.w(O::LPanoTabsp2, pano)})));
  pl->addStretch(1);
  unten->addWidget(pano, 1);
  v->addLayout(unten);
  v->addStretch(1);
}

// --- Layout 1 ------------------------------------------------------------------------

void seiteLayout1(Bau& b, QTabWidget* leiste) {
  auto [s, links, rechts] = zweiSpalten(b, leiste, O::TabSheetLayout1);

  QGroupBox* t = b.gruppe(O::GrBTabellenoptionen, s);
  auto* tl = new QGridLayout(t);
  QWidget* spalten = b.w(O::SpEdSpaltenzahl, t);
  tl->addWidget(b.text(QStringLiteral("Spaltenzahl:"), spalten, t), 0, 0);
  tl->addLayout(Bau::reihe({spalten, b.w(O::CBTabellenrahmen, t)}), 0, 1);
  QWidget* abstand1 = b.w(O::SpEdAbstand1, t);
  tl->addWidget(b.text(QStringLiteral("Zellenabstand:"), abstand1, t), 1, 0);
  tl->addLayout(Bau::reihe({abstand1}), 1, 1);
  QWidget* abstand2 = b.w(O::SpEdAbstand2, t);
  tl->addWidget(b.text(QStringLiteral("Zelleninnenabstand:"), abstand2, t), 2, 0);
  tl->addLayout(Bau::reihe({abstand2, b.w(O::LBedeutungWertMinus1, t)}), 2, 1);
  QWidget* ganz = b.w(O::RBganzerOrdner, t);
  tl->addWidget(b.text(QStringLiteral("Pro Seite:"), ganz, t), 3, 0);
  tl->addWidget(ganz, 3, 1);
  QWidget* zeilen = b.w(O::SpEdZeilenProSeitezahl, t);
  tl->addLayout(Bau::reihe({b.w(O::RBZeilenzahl, t), zeilen, b.text(QStringLiteral("Zeilen"), zeilen, t)}), 4, 1);
  tl->addLayout(Bau::reihe({b.w(O::BNavigationUebersicht, t)}), 5, 1);
  tl->setColumnStretch(1, 1);
  links->addWidget(t);

  QGroupBox* k = b.gruppe(O::GrBSeitenkopf, s);
  auto* kl = new QGridLayout(k);
  QWidget* titel = b.w(O::EdSeitentitel, k);
  kl->addWidget(b.text(QStringLiteral("Seitentitel:"), titel, k), 0, 0);
  kl->addWidget(titel, 0, 1);
  QWidget* ueber = b.w(O::EdUeberschrift, k);
  kl->addWidget(b.text(QStringLiteral("Überschrift:"), ueber, k), 1, 0);
  kl->addWidget(ueber, 1, 1);
  kl->addWidget(b.w(O::CBOrdnernameAnzeigen, k), 2, 0, 1, 2);
  kl->addWidget(b.w(O::CBSeitenanzahlAnzeigen, k), 3, 0, 1, 2);
  links->addWidget(k);

  QGroupBox* so = b.gruppe(O::GrBSortieren, s);
  auto* sl = new QGridLayout(so);
  sl->addWidget(b.w(O::CBOrdnerSortieren, so), 0, 0);
  sl->addLayout(Bau::reihe({b.w(O::RBOrdnerSortierenNachName, so), b.w(O::RBOrdnerSortierenNachDatum, so)}), 0, 1);
  sl->addWidget(b.w(O::CBOSortRueckwaerts, so), 1, 1);
  sl->addWidget(b.w(O::CBDateienSortieren, so), 2, 0);
  sl->addLayout(Bau::reihe({b.w(O::RBDateienSortierenNachName, so), b.w(O::RBDateienSortierenNachDatum, so),
                            b.w(O::RBDateienSortierenNachGroesse, so)}),
                2, 1);
  sl->addWidget(b.w(O::CBDSortRueckwaerts, so), 3, 1);
  sl->setColumnStretch(1, 1);
  links->addWidget(so);
  links->addStretch(1);

  QGroupBox* u = b.gruppe(O::GrBanzUnterordner, s);
  auto* ul = new QVBoxLayout(u);
  ul->addLayout(Bau::reihe({b.w(O::LOrdner, u), b.w(O::SpEdOrdnerSpalten, u), b.w(O::LSpalte_n, u)}));
  auto* reihenfolge = new QGridLayout;
  reihenfolge->addWidget(Bau::knopfSchmal(b.w(O::SpBspaltenweise, u)), 0, 0);
  reihenfolge->addWidget(b.w(O::RBOrdnerSpaltenweise, u), 0, 1);
  reihenfolge->addWidget(Bau::knopfSchmal(b.w(O::SpBZeilenweise, u)), 1, 0);
  reihenfolge->addWidget(b.w(O::RBOrdnerZeilenweise, u), 1, 1);
  reihenfolge->setColumnStretch(2, 1);
  ul->addLayout(Bau::eingerueckt(reihenfolge));
  ul->addLayout(Bau::eingerueckt(Bau::reihe({b.w(O::LOrdnerSpaltenabstand, u), b.w(O::SpEdOrdnerSpaltenabstand, u),
                                             b.w(O::LBedeutungWertMinus1_no2, u)})));
  auto* strich = static_cast<QFrame*>(b.w(O::PStrichbeiOrndern, u));
  strich->setFrameShape(QFrame::HLine);
  strich->setFrameShadow(QFrame::Sunken);
  ul->addWidget(strich);
  ul->addWidget(b.w(O::LAnzeigenbeiordnern, u));
  auto* angaben = new QGridLayout;
  angaben->addWidget(b.w(O::CBOrdnernamenAnzeigen, u), 0, 0);
  angaben->addWidget(b.w(O::CBUnterordnerbildAnzeigen, u), 1, 0);
  angaben->addWidget(b.w(O::CBUnterordnerMitDatum, u), 2, 0);
  angaben->addWidget(b.w(O::CBUnterordnerMitAnzDateien, u), 3, 0);
  angaben->addWidget(b.w(O::CBUnterordnerMitAnzDateienRek, u), 3, 1);
  angaben->addWidget(b.w(O::CBAnzeigeUnterodnerMitDateigroesse, u), 4, 0);
  angaben->addWidget(b.w(O::CBAnzeigeUnterodnerMitGroesseRek, u), 4, 1);
  angaben->addWidget(b.w(O::CBAnzeigeUnterordnerMitAnzUnterordner, u), 5, 0);
  angaben->addWidget(b.w(O::CBAnzeigeUnterodnerMitUnterordnerRek, u), 5, 1);
  angaben->addWidget(b.w(O::CBAnzeigeAuchAktuellerOrdner, u), 6, 0, 1, 2);
  angaben->setColumnStretch(2, 1);
  ul->addLayout(Bau::eingerueckt(angaben));
  ul->addStretch(1);
  rechts->addWidget(u);
  rechts->addStretch(1);
}

// --- Layout 2 ------------------------------------------------------------------------

QGroupBox* groessenGruppe(Bau& b, QWidget* p, Opt gruppe, Opt original, Opt anders, Opt spin, Opt punkte,
                          std::initializer_list<Opt> seiten) {
  QGroupBox* g = b.gruppe(gruppe, p);
  auto* l = new QVBoxLayout(g);
  l->addWidget(b.w(original, g));
  l->addLayout(Bau::reihe({b.w(anders, g), b.w(spin, g), b.w(punkte, g)}));
  auto* r = new QHBoxLayout;
  r->addSpacing(20);
  for (Opt o : seiten) r->addWidget(b.w(o, g));
  r->addStretch(1);
  l->addLayout(r);
  return g;
}

void seiteLayout2(Bau& b, QTabWidget* leiste) {
  auto [s, links, rechts] = zweiSpalten(b, leiste, O::TabSheetlayout2);

  QGroupBox* u = b.gruppe(O::GrBbildinfos, s);
  auto* ul = new QVBoxLayout(u);
  QWidget* beschreibung = b.w(O::MBeschreibung, u);
  ul->addWidget(b.text(QStringLiteral("Bildbeschreibung:"), beschreibung, u));
  auto* bz = new QHBoxLayout;
  bz->addWidget(Bau::memoHoehe(beschreibung, 3), 1);
  bz->addWidget(b.w(O::BExifDaten, u), 0, Qt::AlignTop);
  ul->addLayout(bz);
  ul->addWidget(b.w(O::CBDateinameAlsHint, u));
  QWidget* video = b.w(O::CBLinkZuVideo, u);
  ul->addWidget(b.text(QStringLiteral("Links zu Begleitdateien:"), video, u));
  ul->addLayout(Bau::eingerueckt(
      Bau::reihe({video, b.w(O::CBLinkZuAudio, u), b.w(O::CBLinkZuTextdatei, u)})));
  ul->addWidget(Bau::hinweis(QStringLiteral("Vorschaubilder verlinken:"), u));
  auto* modi = new QVBoxLayout;
  modi->addWidget(b.w(O::RBnichtverlinken, u));
  modi->addWidget(b.w(O::RBLinkAufBilddatei, u));
  modi->addWidget(b.w(O::RBProBildEineHTMLDatei, u));
  ul->addLayout(Bau::eingerueckt(modi));
  ul->addWidget(b.w(O::CBOriginaleVerlinken, u));
  ul->addLayout(Bau::reihe({b.w(O::LFensternavigation, u), b.w(O::CoBFensterNavigation, u)}));
  ul->addStretch(1);
  links->addWidget(u);
  links->addStretch(1);

  QGroupBox* g = b.gruppe(O::GBGrosseBilder, s);
  auto* gl = new QVBoxLayout(g);
  auto* groessen = new QHBoxLayout;
  groessen->addWidget(groessenGruppe(b, g, O::GrBGroesseNormalebilder, O::RBGrosseBilderOriginalgross, O::RBdummy1,
                                     O::SpEdGrosseBilder, O::LPunkte1,
                                     {O::RBGrosseBilderLaengereSeite, O::RBGrosseBilderBreite, O::RBGrosseBilderHoehe}));
  groessen->addWidget(groessenGruppe(b, g, O::GrBGrossePanoramen, O::RBGrossePanoramenOriginalgross, O::RBDummy2,
                                     O::SpEdGrossePanoramen, O::LPunkte2,
                                     {O::RBGrossePanoramenBreite, O::RBGrossePanoramenHoehe}));
  gl->addLayout(groessen);
  gl->addWidget(b.w(O::CBGrosseBilderVergroessern, g));
  QGroupBox* z = b.gruppe(O::GroupBox3, g);
  auto* zl = new QVBoxLayout(z);
  zl->addWidget(b.w(O::LBeschreibungGross, z));
  auto* gz = new QHBoxLayout;
  gz->addWidget(Bau::memoHoehe(b.w(O::MBeschreibungGross, z), 3), 1);
  gz->addWidget(b.w(O::BGrossExifDaten, z), 0, Qt::AlignTop);
  zl->addLayout(gz);
  zl->addWidget(b.w(O::CBGrossBildHint, z));
  zl->addWidget(b.w(O::LLinksGross, z));
  zl->addLayout(Bau::eingerueckt(Bau::reihe(
      {b.w(O::CBGrossBildLinkVideo, z), b.w(O::CBGrossBildLinkAudio, z), b.w(O::CBGrossBildLinkText, z)})));
  zl->addLayout(Bau::reihe({b.w(O::BNavigationGrosseBilder, z)}));
  gl->addWidget(z);
  gl->addStretch(1);
  rechts->addWidget(g);
  rechts->addStretch(1);
}

// --- Farben, Fonts ---------------------------------------------------------------------

QGroupBox* schriftGruppe(Bau& b, QWidget* p, Opt gruppe, Opt fest, Opt name, Opt weich, Opt schnitt,
                         std::initializer_list<std::pair<Opt, const char*>> groessen) {
  QGroupBox* g = b.gruppe(gruppe, p);
  auto* l = new QGridLayout(g);
  l->addWidget(b.w(fest, g), 0, 0);
  l->addWidget(b.w(name, g), 0, 1);
  QWidget* w = b.w(weich, g);
  l->addWidget(b.text(QStringLiteral("sonst Schriftfamilie:"), w, g), 1, 0);
  l->addWidget(w, 1, 1);
  QWidget* sn = b.w(schnitt, g);
  l->addWidget(b.text(QStringLiteral("Schriftschnitt:"), sn, g), 2, 0);
  l->addWidget(sn, 2, 1);
  int zeile = 3;
  for (const auto& [o, t] : groessen) {
    QWidget* x = b.w(o, g);
    l->addWidget(b.text(QString::fromUtf8(t), x, g), zeile, 0);
    l->addWidget(x, zeile, 1);
    ++zeile;
  }
  l->setColumnStretch(1, 1);
  return g;
}

void seiteFarbenFonts(Bau& b, QTabWidget* leiste) {
  auto [s, links, rechts] = zweiSpalten(b, leiste, O::TabSheetFarbenFonts);

  QGroupBox* hg = b.gruppe(O::GrBHintergrund, s);
  (new QVBoxLayout(hg))
      ->addLayout(dateiZeile(b, hg, O::CBHintergrundgrafik, O::EdHintergrundgrafik, O::BitBWaehlerHintergrundgrafik));
  links->addWidget(hg);

  QGroupBox* f = b.gruppe(O::GrBFarben, s);
  auto* fl = new QGridLayout(f);
  int zeile = 0;
  for (Opt o : {O::PanelHintergrundFarbe, O::PanelTextFarbe, O::PanelLinkFarbe, O::PanelHoverLinkFarbe,
                O::PanelVLinkFarbe, O::PanelALinkFarbe, O::PanelLinienFarbe}) {
    QWidget* panel = b.w(o, f);
    QLabel* beschriftung = b.text(
        QString::fromUtf8(info(o).caption.data(), static_cast<qsizetype>(info(o).caption.size())) + QLatin1Char(':'),
        panel, f);
    klickOeffnetFarbe(beschriftung, panel);
    fl->addWidget(beschriftung, zeile, 0);
    fl->addWidget(panel, zeile, 1);
    ++zeile;
  }
  fl->setColumnStretch(2, 1);
  links->addWidget(f);
  links->addStretch(1);

  QGroupBox* fonts = b.gruppe(O::GrBFonts, s);
  auto* fol = new QVBoxLayout(fonts);
  fol->addWidget(schriftGruppe(b, fonts, O::GrBUeberschrift, O::CBUebFesteSchrift, O::CoBUeberschrift,
                               O::CoBUebWeicheSchriftart, O::CoBUebSchriftschnitt,
                               {{O::CoBUebGroesse, "Größe Überschrift:"}, {O::CoBUnterUebGroesse, "Größe Unterüberschrift:"}}));
  fol->addWidget(schriftGruppe(b, fonts, O::GrBResttext, O::CBRestFesteSchrift, O::CoBResttext,
                               O::CoBRestWeicheSchriftart, O::CoBRestSchriftschnitt, {{O::CoBRestGroesse, "Größe:"}}));
  rechts->addWidget(fonts);
  rechts->addStretch(1);
}

// --- Texte, Extra-Texte ------------------------------------------------------------------

void seiteTexte(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSTexte, leiste);
  auto* v = new QVBoxLayout(s);
  QGroupBox* g = b.gruppe(O::GroupBox6, s);
  auto* gl = new QGridLayout(g);
  const std::pair<Opt, const char*> texte[] = {
      {O::EdStartordnerName, "Startordner:"},       {O::EdDieserOrdner, "Dieser Ordner:"},
      {O::EdUnterordnerSing, "Unterordner (Einzahl):"}, {O::EdUnterordnerPl, "Unterordner (Mehrzahl):"},
      {O::EdBildSing, "Bild (Einzahl):"},           {O::EdBilderPl, "Bilder (Mehrzahl):"},
      {O::EdKeineBilddateien, "Keine Bilder:"},     {O::EdBilderCopyright, "Bilder-Copyright:"},
      {O::EdNachOben, "Verweis nach oben:"},        {O::EdVideodatei, "Videodatei:"},
      {O::EdAudiodatei, "Audiodatei:"},             {O::EdTextdatei, "Textdatei:"},
      {O::EdErstelltMit, "Erstellt mit:"},
  };
  int zeile = 0;
  for (const auto& [o, t] : texte) {
    QWidget* ed = b.w(o, g);
    gl->addWidget(b.text(QString::fromUtf8(t), ed, g), zeile, 0);
    gl->addWidget(ed, zeile, 1);
    ++zeile;
  }
  gl->addLayout(Bau::reihe({b.w(O::BStandard, g)}), zeile, 1);
  gl->setColumnStretch(1, 1);
  v->addWidget(g);
  v->addStretch(1);
}

void seiteExtraTexte(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSExtraTexte, leiste);
  auto* v = new QVBoxLayout(s);
  auto* dirinfo = static_cast<QWidget*>(b.w(O::CBdirinfoeinbinden, s));
  v->addWidget(dirinfo);
  auto* h = new QHBoxLayout;
  QGroupBox* ueb = b.gruppe(O::GroupBox7, s);
  auto* ul = new QVBoxLayout(ueb);
  ul->addWidget(b.w(O::CBZTextUebOben, ueb));
  ul->addLayout(Bau::eingerueckt(
      Bau::reihe({b.w(O::RBZTextUebObenAufErsterSeite, ueb), b.w(O::RBZTextUebObenAufJederSeite, ueb)})));
  ul->addWidget(b.w(O::MZTextUebOben, ueb), 1);
  ul->addWidget(b.w(O::CBZTextUebUnten, ueb));
  ul->addLayout(Bau::eingerueckt(
      Bau::reihe({b.w(O::RBZTextUebUntenAufErsterSeite, ueb), b.w(O::RBZTextUebUntenAufJederSeite, ueb)})));
  ul->addWidget(b.w(O::MZTextUebUnten, ueb), 1);
  h->addWidget(ueb, 1);
  QGroupBox* gr = b.gruppe(O::GroupBox8, s);
  auto* gl = new QVBoxLayout(gr);
  gl->addWidget(b.w(O::CBZTextGrossOben, gr));
  gl->addWidget(b.w(O::MZTextGrossOben, gr), 1);
  gl->addWidget(b.w(O::CBZTextGrossUnten, gr));
  gl->addWidget(b.w(O::MZTextGrossUnten, gr), 1);
  h->addWidget(gr, 1);
  v->addLayout(h, 1);
}

// --- Sonstiges ---------------------------------------------------------------------------

void seiteSonstiges(Bau& b, QTabWidget* leiste) {
  auto [s, links, rechts] = zweiSpalten(b, leiste, O::TabSheetSonstiges);

  QGroupBox* meta = b.gruppe(O::GrBMeta, s);
  auto* ml = new QGridLayout(meta);
  int zeile = 0;
  for (auto [box, feld] : {std::pair{O::CBAutor, O::EdMetaAutor}, {O::CBSchluesselwoerter, O::EdMetaSchluesselwoerter},
                           {O::CBBeschreibung, O::EdMetaBeschreibung}}) {
    ml->addWidget(b.w(box, meta), zeile, 0);
    ml->addWidget(b.w(feld, meta), zeile, 1);
    ++zeile;
  }
  ml->addWidget(b.w(O::CBSuchrobotorEinladen, meta), zeile++, 0, 1, 2);
  ml->addWidget(b.w(O::CBSuchrobotorAusladen, meta), zeile++, 0, 1, 2);
  ml->addWidget(b.w(O::CBFramekiller, meta), zeile++, 0, 1, 2);
  ml->addLayout(Bau::reihe({b.w(O::CBDiashow, meta), b.w(O::SpEdDiashow, meta), b.w(O::LDiashowSek, meta)}), zeile++, 0,
                1, 2);
  ml->addLayout(Bau::eingerueckt(b.w(O::CBDiashowAbschaltbar, meta)), zeile++, 0, 1, 2);
  ml->setColumnStretch(1, 1);
  links->addWidget(meta);

  QGroupBox* anzeige = b.gruppe(O::GroupBox9, s);
  auto* al = new QGridLayout(anzeige);
  al->addWidget(b.w(O::CBmitHR, anzeige), 0, 0);
  al->addWidget(b.w(O::CBBilderCopyright, anzeige), 0, 1);
  al->addWidget(b.w(O::CBmitLinkNachOben, anzeige), 1, 0);
  al->addWidget(b.w(O::CBCopyright, anzeige), 1, 1);
  links->addWidget(anzeige);
  QGroupBox* grafik = b.gruppe(O::GroupBox4, s);
  (new QVBoxLayout(grafik))->addWidget(b.w(O::CBIndexInGrafikordnern, grafik));
  links->addWidget(grafik);
  links->addStretch(1);

  QGroupBox* z = b.gruppe(O::GrBLinkZurueck, s);
  auto* zl = new QGridLayout(z);
  zl->addWidget(b.w(O::CBLinkZurueckZurHomepage, z), 0, 0, 1, 3);
  zl->addLayout(Bau::reihe({b.w(O::RBLinkZurueckNurAuf1Seite, z), b.w(O::RBLinkZurueckAufJederSeite, z)}), 1, 1, 1, 2);
  zl->addLayout(Bau::reihe({b.w(O::CBLinkZurueckOben, z), b.w(O::CBLinkZurueckUnten, z)}), 2, 1, 1, 2);
  QWidget* ziel = b.w(O::EdLinkZuruekVerlinkteDatei, z);
  zl->addWidget(b.text(QStringLiteral("Verlinkte Datei:"), ziel, z), 3, 1);
  zl->addWidget(ziel, 3, 2);
  zl->addWidget(Bau::knopfSchmal(b.w(O::BitBLinkZuruekVerlinkteDatei, z)), 3, 3);
  zl->addWidget(b.w(O::CBLinkZureckGrafikLink, z), 4, 1);
  zl->addWidget(b.w(O::EdLinkZurueckGrafik, z), 4, 2);
  zl->addWidget(Bau::knopfSchmal(b.w(O::BitBLinkZurueckGrafik, z)), 4, 3);
  zl->addWidget(b.w(O::CBLinkZurueckTextlink, z), 5, 1);
  zl->addWidget(b.w(O::EdLinkZurueckText, z), 5, 2);
  zl->setColumnMinimumWidth(0, 12);
  zl->setColumnStretch(2, 1);
  rechts->addWidget(z);
  rechts->addStretch(1);
}

// --- Experten ------------------------------------------------------------------------------

void seiteSpezielles(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheetSpezielles, leiste, false);
  auto* v = new QVBoxLayout(s);

  QGroupBox* n = b.gruppe(O::GrBHTMLNamensanpassung, s);
  auto* nl = new QVBoxLayout(n);
  nl->addWidget(Bau::hinweis(QStringLiteral("Aufbau der Dateinamen (die Trennzeichen können geändert werden):"), n));
  auto* vorschau = new QHBoxLayout;
  vorschau->setSpacing(2);
  for (Opt o : {O::LHTMLName, O::EdKlammerAuf, O::LZahl1, O::EdBindestrich, O::LZahl3, O::EdKlammerZu,
                O::EdVerbindungszeichen, O::LBildname, O::LHTMLEndung}) {
    QWidget* x = b.w(o, n);
    if (info(o).kind == Kind::Text) Bau::schmal(x, 2);
    vorschau->addWidget(x);
  }
  vorschau->addStretch(1);
  nl->addLayout(vorschau);
  v->addWidget(n);

  QGroupBox* kopf = b.gruppe(O::GroupBox10, s);
  auto* kl = new QGridLayout(kopf);
  QWidget* doctype = b.w(O::CoBDoctype, kopf);
  kl->addWidget(b.text(QStringLiteral("Dokumenttyp:"), doctype, kopf), 0, 0);
  kl->addLayout(Bau::reihe({doctype}), 0, 1);
  auto* achtung = static_cast<QLabel*>(b.w(O::LDoctypeAchtung, kopf));
  achtung->setWordWrap(true);
  kl->addWidget(achtung, 1, 1);
  kl->addWidget(b.w(O::CBmitXMLDeklaration, kopf), 2, 1);
  kl->addWidget(b.w(O::CBAndereCSSDatei, kopf), 3, 0);
  kl->addLayout(dateiZeile(b, kopf, Opt::Count, O::EdAndereCSSDatei, O::BitBCSSDatei), 3, 1);
  kl->addWidget(b.w(O::CBFavicon, kopf), 4, 0);
  kl->addLayout(dateiZeile(b, kopf, Opt::Count, O::EdFavicon, O::BitBFavicon), 4, 1);
  kl->setColumnStretch(1, 1);
  v->addWidget(kopf);
  v->addStretch(1);
}

void seiteHeader(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheet1, leiste, false);
  auto* v = new QVBoxLayout(s);
  v->addLayout(Bau::reihe({b.w(O::CBeigenenHeaderVerwenden, s), b.w(O::BHeaderEinstellungenUebernehmen, s)}));
  v->addLayout(Bau::reihe({b.w(O::LAenderungenFuerNeuenHeader, s), b.w(O::RBNeuerHeaderNurErsteSeite, s),
                           b.w(O::RBNeuerHeaderUebersichtsseiten, s), b.w(O::RBNeuerHeaderAlleSeiten, s)}));
  auto* memos = new QHBoxLayout;
  auto* kopf = new QVBoxLayout;
  kopf->addWidget(b.w(O::LNeuerHeader, s));
  kopf->addWidget(b.w(O::MNeuerHeader, s), 1);
  memos->addLayout(kopf, 1);
  auto* fuss = new QVBoxLayout;
  fuss->addWidget(b.w(O::LNeuerDateiabschluss, s));
  fuss->addWidget(b.w(O::MNeuerDateiabschluss, s), 1);
  memos->addLayout(fuss, 1);
  v->addLayout(memos, 1);
  v->addLayout(Bau::reihe({b.w(O::LHeaderFooterAchtung, s), b.w(O::BHeaderUndFooterSpeichern, s),
                           b.w(O::BHeaderUndFooterLaden, s)},
                          false));
}

void seiteCSS(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSCSSDatei, leiste, false);
  auto* v = new QVBoxLayout(s);
  v->addLayout(Bau::reihe({b.w(O::CBCSSDateiaendern, s), b.w(O::BCSSEinstellungenUebernehmen, s)}));
  v->addWidget(b.w(O::MangepassteCSSDatei, s), 1);
  v->addLayout(Bau::reihe({b.w(O::LgeaenderteCSSDateiAchtung, s), b.w(O::BgeaenderteCSSSpeichern, s),
                           b.w(O::BgeaenderteCSSLaden, s)},
                          false));
}

QTabWidget* seiteExperten(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSExperten, leiste);
  auto* v = new QVBoxLayout(s);
  QGroupBox* g = b.gruppe(O::GroupBox5, s);
  auto* gl = new QVBoxLayout(g);
  auto* innen = new QTabWidget(g);
  innen->setObjectName(QStringLiteral("PageControlExperten"));
  seiteSpezielles(b, innen);
  seiteHeader(b, innen);
  seiteCSS(b, innen);
  gl->addWidget(innen);
  v->addWidget(g);
  return innen;
}

// --- Programm, Hilfe ------------------------------------------------------------------------

void seiteProgramm(Bau& b, QTabWidget* leiste) {
  auto [s, links, rechts] = zweiSpalten(b, leiste, O::TabSheetProgramm);

  QGroupBox* e = b.gruppe(O::GrBEinstellungen, s);
  auto* el = new QVBoxLayout(e);
  el->addWidget(b.w(O::CBEinstellungenAutomatischSpeichern, e));
  el->addWidget(b.w(O::CBIniDateiImAnwendungsordner, e));
  auto* ordner = static_cast<QLabel*>(b.w(O::LAnwendungsordner, e));
  ordner->setWordWrap(true);
  el->addLayout(Bau::eingerueckt(ordner));
  el->addLayout(Bau::eingerueckt(b.w(O::LHauptIniFilename, e)));
  el->addLayout(Bau::reihe({b.w(O::BEinstellungenSpeichern, e), b.w(O::BEinstellungenLaden, e)}));
  el->addLayout(Bau::reihe({b.w(O::BGrundEinstellungen, e)}));
  links->addWidget(e);
  QGroupBox* xp = b.gruppe(O::GBXPDesign, s);
  (new QVBoxLayout(xp))->addWidget(b.w(O::CBTheming, xp));
  links->addWidget(xp);
  links->addStretch(1);

  QGroupBox* vk = b.gruppe(O::GrBVerknuepfungen, s);
  auto* vl = new QVBoxLayout(vk);
  vl->addWidget(Bau::hinweis(QStringLiteral("Verknüpfungen zu Mosaikschauer"), vk));
  vl->addLayout(Bau::reihe({b.w(O::CBDesktopVerknuepfung, vk), b.w(O::CBStartmenueVerknuepfung, vk)}));
  vl->addWidget(Bau::hinweis(QStringLiteral("Diese Verknüpfungen werden für den aktuellen User angelegt."), vk, true));
  vl->addWidget(
      Bau::hinweis(QStringLiteral("Die Startmenü-Verknüpfung wird im Programmordner Drevanstal angelegt."), vk, true));
  vl->addWidget(
      Bau::hinweis(QStringLiteral("Ein Deaktivieren der Option bewirkt das Löschen der Verknüpfung."), vk, true));
  rechts->addWidget(vk);
  QGroupBox* modus = b.gruppe(O::GBProgrammmodus, s);
  auto* ml = new QVBoxLayout(modus);
  for (Opt o : {O::RBModusAnfaenger, O::RBModusFortgeschrittener, O::RBModusExperte}) ml->addWidget(b.w(o, modus));
  rechts->addWidget(modus);
  rechts->addStretch(1);
}

void seiteHilfe(Bau& b, QTabWidget* leiste) {
  QWidget* s = b.seite(O::TabSheetHilfe, leiste);
  auto* v = new QVBoxLayout(s);
  QGroupBox* info = b.gruppe(O::GrBInfo, s);
  auto* il = new QVBoxLayout(info);
  // The program's name stands out in bold.
  QWidget* name = b.w(O::LProgrammname, info);
  QFont fett = name->font();
  fett.setBold(true);
  name->setFont(fett);
  il->addLayout(Bau::reihe({new MeinBild(info), name}));
  il->addWidget(Bau::hinweis(QStringLiteral("F1 =  kontext- sensitive Hilfe"), info));
  il->addLayout(Bau::reihe({b.w(O::BHilfe, info), b.w(O::BFragebogen, info), b.w(O::BHomepage, info),
                            b.w(O::BMail, info)}));
  v->addWidget(info);
  QGroupBox* lies = b.gruppe(O::GrBLiesmich, s);
  auto* ll = new QVBoxLayout(lies);
  auto* memo = static_cast<QPlainTextEdit*>(b.w(O::MLiesmich, lies));
  memo->setReadOnly(true);
  ll->addWidget(memo);
  v->addWidget(lies, 1);
}

}  // namespace

void fensterEinpassen(QWidget& fenster) {
  const QScreen* schirm = fenster.screen();
  if (!schirm) return;
  const QRect frei = schirm->availableGeometry();
  // Before the window system has framed the window its frame is unknown:
  // room for a title bar and borders is kept free.
  const QSize rahmen =
      (fenster.frameGeometry().size() - fenster.size()).expandedTo(fenster.isVisible() ? QSize() : QSize(16, 40));
  const QSize innen = fenster.size().boundedTo(frei.size() - rahmen);
  if (innen != fenster.size()) fenster.resize(innen);
  const QSize aussen = innen + rahmen;
  fenster.move(frei.x() + std::max(0, (frei.width() - aussen.width()) / 2),
               frei.y() + std::max(0, (frei.height() - aussen.height()) / 2));
}

QWidget* ersteSteuerung(QWidget* seite) {
  for (QWidget* w = seite->nextInFocusChain(); w != seite; w = w->nextInFocusChain())
    if (seite->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->isVisibleTo(seite) &&
        w->isEnabled())
      return w;
  return nullptr;
}

bool istOrdneranzeige(Opt o) {
  return o == O::EdBilderPfad || o == O::EdHTMLPfadname || o == O::EdgrosseBilderPfadname || o == O::EdVorschauPfadname;
}

void hauptseitenAufbauen(OptionBinder& binder, QTabWidget* pageControl, QTabWidget*& pageControlExperten) {
  Bau b(binder);
  seiteOrdner(b, pageControl);
  seiteGrosseBilder(b, pageControl);
  seiteVorschau(b, pageControl);
  seiteLayout1(b, pageControl);
  seiteLayout2(b, pageControl);
  seiteFarbenFonts(b, pageControl);
  seiteTexte(b, pageControl);
  seiteExtraTexte(b, pageControl);
  seiteSonstiges(b, pageControl);
  pageControlExperten = seiteExperten(b, pageControl);
  seiteProgramm(b, pageControl);
  seiteHilfe(b, pageControl);
}

// --- Navigation dialog -----------------------------------------------------------------------

void navigationsseitenAufbauen(OptionBinder& binder, QTabWidget* tabs) {
  Bau b(binder);

  // The pages scroll as the main window's do, so that the dialog fits a
  // small screen.
  auto* uebSeite = new QWidget(tabs);
  uebSeite->setObjectName(QStringLiteral("TabSheetUebersichtsseiten"));
  tabs->addTab(uebSeite, QStringLiteral("Ü&bersichtsseiten"));
  QWidget* ueb = Bau::rollend(uebSeite);
  auto* ul = new QGridLayout(ueb);
  ul->addWidget(b.w(O::LNavigation, ueb), 0, 0);
  ul->addLayout(Bau::reihe({b.w(O::CBNavigationOben, ueb), b.w(O::CBNavigationUnten, ueb)}), 0, 1, 1, 2);
  ul->addLayout(Bau::reihe({b.w(O::RBNavUebTextlinks, ueb)}), 1, 0);
  QWidget* zurueck = b.w(O::EdBlaetternZurueck, ueb);
  QLabel* lz = static_cast<QLabel*>(b.w(O::LBlaetternZurueck, ueb));
  lz->setTextFormat(Qt::AutoText);
  lz->setBuddy(zurueck);
  ul->addWidget(lz, 2, 0);
  ul->addWidget(zurueck, 2, 1, 1, 2);
  QWidget* vor = b.w(O::EdBlaetternVor, ueb);
  QLabel* lv = static_cast<QLabel*>(b.w(O::LBlaetternVor, ueb));
  lv->setTextFormat(Qt::AutoText);
  lv->setBuddy(vor);
  ul->addWidget(lv, 3, 0);
  ul->addWidget(vor, 3, 1, 1, 2);
  ul->addLayout(Bau::reihe({b.w(O::RBNavUebGrafiklinks, ueb)}), 4, 0);
  ul->addLayout(Bau::eingerueckt(Bau::reihe(
                    {b.w(O::RBUebGrafikStandard, ueb), b.w(O::LUebFarbe, ueb), b.w(O::PanelUebQuadratFarbe, ueb)})),
                5, 0, 1, 3);
  klickOeffnetFarbe(static_cast<QLabel*>(b.widgetVon(O::LUebFarbe)), b.widgetVon(O::PanelUebQuadratFarbe));
  ul->addLayout(Bau::eingerueckt(b.w(O::RBUebGrafikIndividuell, ueb)), 6, 0);
  int zeile = 7;
  for (auto [l, ed, bt] : {std::tuple{O::LUebIndividuellZurueck, O::EdGrafikUebZurueck, O::BitBWaehlenGrafikUebZurueck},
                           {O::LUebWeiter, O::EdGrafikUebWeiter, O::BitBWaehlenGrafikUebWeiter}}) {
    QWidget* feld = b.w(ed, ueb);
    auto* label = static_cast<QLabel*>(b.w(l, ueb));
    label->setTextFormat(Qt::AutoText);
    label->setBuddy(feld);
    ul->addLayout(Bau::eingerueckt(label, 40), zeile, 0);
    ul->addWidget(feld, zeile, 1);
    ul->addWidget(Bau::knopfSchmal(b.w(bt, ueb)), zeile, 2);
    ++zeile;
  }
  ul->addWidget(b.w(O::CBNavgrafikenUebMitTitle, ueb), zeile++, 0, 1, 3);
  ul->addLayout(Bau::eingerueckt(b.w(O::LNavgrafikenUebMitTitleErlaeuterung, ueb)), zeile++, 0, 1, 3);
  ul->setRowStretch(zeile, 1);
  ul->setColumnStretch(1, 1);

  auto* grossSeite = new QWidget(tabs);
  grossSeite->setObjectName(QStringLiteral("TabSheetGrosseBilder"));
  tabs->addTab(grossSeite, QStringLiteral("Große Bil&der"));
  QWidget* gross = Bau::rollend(grossSeite);
  auto* gl = new QGridLayout(gross);
  gl->addWidget(b.w(O::CBNavigationGrosseBilder, gross), 0, 0, 1, 2);
  gl->addWidget(b.w(O::CBNavigationEndlos, gross), 0, 2);
  QWidget* abstand = b.w(O::SpEdVertikalerAbstand, gross);
  auto* la = static_cast<QLabel*>(b.w(O::LAbstand, gross));
  la->setTextFormat(Qt::AutoText);
  la->setBuddy(abstand);
  gl->addWidget(la, 1, 0);
  gl->addLayout(Bau::reihe({abstand}), 1, 1);
  gl->addLayout(Bau::reihe({b.w(O::RBNavGrTextlinks, gross)}), 2, 0);
  zeile = 3;
  for (auto [l, ed] : {std::pair{O::LBlaetternzurueckGross, O::EdnavGrossZurueck},
                       {O::LBlaetternUebersichtGross, O::EdnavGrossUebersicht},
                       {O::LBlaetternWeiterGross, O::EdnavGrossWeiter},
                       {O::LnavGrossDiashowEin, O::EdnavGrossDiashowEin},
                       {O::LnavGrossDiashowAus, O::EdnavGrossDiashowAus}}) {
    gl->addLayout(Bau::eingerueckt(b.w(l, gross)), zeile, 0);
    gl->addWidget(b.w(ed, gross), zeile, 1, 1, 2);
    ++zeile;
  }
  gl->addLayout(Bau::reihe({b.w(O::RBNavGrGrafiklinks, gross)}), zeile++, 0);
  QWidget* panel = b.w(O::GrossPanelquadratFarbe, gross);
  QLabel* lFarbe = b.text(QStringLiteral("Farbe"), panel, gross);
  lFarbe->setObjectName(QStringLiteral("LFarbe"));
  klickOeffnetFarbe(lFarbe, panel);
  gl->addLayout(Bau::eingerueckt(Bau::reihe({b.w(O::RBGrossGrafikStandard, gross), lFarbe, panel})), zeile++, 0, 1, 3);
  gl->addLayout(Bau::eingerueckt(b.w(O::RBGrossGrafikIndividuell, gross)), zeile++, 0);
  for (auto [l, ed, bt] :
       {std::tuple{O::LIndividuellZurueck, O::EdGrafikGrossZurueck, O::BitBWaehlenGrafikGrossZurueck},
        {O::LUebersicht, O::EdGrafikGrossUebersicht, O::BitBWaehlenGrafikGrossUebersicht},
        {O::LWeiter, O::EdGrafikGrossWeiter, O::BitBWaehlenGrafikGrossWeiter},
        {O::LGrafikDiashowEin, O::EdGrafikDiashowEin, O::BitBWaehlenGrafikGrossDiashowEin},
        {O::LGrafikDiashowAus, O::EdGrafikDiashowAus, O::BitBWaehlenGrafikGrossDiashowAus}}) {
    gl->addLayout(Bau::eingerueckt(b.w(l, gross), 40), zeile, 0);
    gl->addWidget(b.w(ed, gross), zeile, 1);
    gl->addWidget(Bau::knopfSchmal(b.w(bt, gross)), zeile, 2);
    ++zeile;
  }
  gl->addWidget(b.w(O::CBNavgrafikenGrossMitTitle, gross), zeile++, 0, 1, 3);
  gl->addLayout(Bau::eingerueckt(b.w(O::LNavgrafikenGrossMitTitleErlaeuterung, gross)), zeile++, 0, 1, 3);
  gl->setRowStretch(zeile, 1);
  gl->setColumnStretch(1, 1);
}

}  // namespace mosaik

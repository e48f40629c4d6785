#include "qt/NavigationDialog.h"

#include <QEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "qt/Seiten.h"

namespace mosaik {

NavigationDialog::NavigationDialog(TNavigationForm& form, OptionBinder& binder) : QDialog(nullptr), form_(form) {
  setObjectName(QStringLiteral("NavigationForm"));
  setWindowTitle(QStringLiteral("Navigation"));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  tabs = new QTabWidget(this);
  navigationsseitenAufbauen(binder, tabs);
  v->addWidget(tabs);
  for (Opt o : {Opt::BitBWaehlenGrafikUebZurueck, Opt::BitBWaehlenGrafikUebWeiter, Opt::BitBWaehlenGrafikGrossZurueck,
                Opt::BitBWaehlenGrafikGrossUebersicht, Opt::BitBWaehlenGrafikGrossWeiter,
                Opt::BitBWaehlenGrafikGrossDiashowEin, Opt::BitBWaehlenGrafikGrossDiashowAus})
    if (QWidget* w = binder.widget(o)) w->setToolTip(QStringLiteral("Pfad für Grafikdatei wählen"));
  BSchliessen = new QPushButton(QStringLiteral("&Schließen"), this);
  BSchliessen->setObjectName(QStringLiteral("BSchliessen"));
  connect(BSchliessen, &QPushButton::clicked, this, [this] { form_.BSchliessenClick(); });
  v->addWidget(BSchliessen, 0, Qt::AlignRight);
  form_.schliessen = [this] { accept(); };
  form_.geaendert = [this] { aktualisieren(); };
  aktualisieren();
  resize(sizeHint());
  fensterEinpassen(*this);
}

void NavigationDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  // Framed now: fitted again with its real frame.
  QTimer::singleShot(0, this, [this] { fensterEinpassen(*this); });
}

void NavigationDialog::aktualisieren() {
  const int gross = tabs->indexOf(findChild<QWidget*>(QStringLiteral("TabSheetGrosseBilder")));
  if (gross >= 0) seiteZeigen(tabs, gross, form_.TabSheetGrosseBilderVisible);
}

bool NavigationDialog::event(QEvent* e) {
  const bool r = QDialog::event(e);
  if (e->type() == QEvent::WindowActivate) form_.FormActivate();
  return r;
}

}  // namespace mosaik

#pragma once
// The navigation dialog's window, a view of TNavigationForm: its two pages
// are option controls bound by the binder; the window adds the page of the
// picture pages shown only when there are picture pages, and the close
// button.
#include <QDialog>
#include <QPushButton>
#include <QTabWidget>

#include "ui/NavigationForm.h"
#include "qt/OptionBinder.h"

namespace mosaik {

class NavigationDialog : public QDialog {
  Q_OBJECT
 public:
  NavigationDialog(TNavigationForm& form, OptionBinder& binder);
  void aktualisieren();
  QTabWidget* tabs;
  QPushButton* BSchliessen;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  TNavigationForm& form_;
};

}  // namespace mosaik

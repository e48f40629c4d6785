#pragma once
// The JPEG comment editor's window, a view of TKommentarForm, laid out as
// the form is (client area 616 x 304).
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/KommentarForm.h"

namespace mosaik {

// The picture area: shows the model's pixels.
class Bildfenster : public QWidget {
 public:
  Bildfenster(TKommentarForm& form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  TKommentarForm& form_;
};

class KommentarDialog : public QDialog {
  Q_OBJECT
 public:
  explicit KommentarDialog(TKommentarForm& form);
  void aktualisieren();

  QLineEdit* EdBilderPfad;
  QPushButton* BitBBilderPfadWahl;
  QLabel* LBildNr;
  QLabel* LHinterbild;
  Bildfenster* Bild;
  QPlainTextEdit* MKommentar;
  QLabel* LDateiname;
  QPushButton* BitBzurueck;
  QPushButton* BitBWeiter;
  QPushButton* BitBAbbruch;
  QPushButton* BSchliessen;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  std::string memoText() const;

  TKommentarForm& form_;
  bool spiegeln_ = false;
  // The text last put into the memo and the memo's raw text right after.
  std::string gezeigt_;
  QString roh_;
};

}  // namespace mosaik

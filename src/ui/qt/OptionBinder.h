#pragma once
// Builds the widget of each control from the option table and binds it to
// the model: user input goes to the model's setters (which run the
// handlers); model changes come back with the widget's signals blocked, so
// no handler runs twice.
#include <QObject>
#include <QWidget>
#include <array>
#include <functional>

#include "app/options/OptionModel.h"

namespace mosaik {

class OptionBinder : public QObject {
  Q_OBJECT
 public:
  explicit OptionBinder(OptionModel& m, QObject* parent = nullptr);

  // Creates the widget of a control (check box, edit, spin box, ...), named
  // after it. Buttons call `knopf` when clicked.
  QWidget* erzeugen(Opt o, QWidget* parent);
  QWidget* widget(Opt o) const { return widgets_[static_cast<size_t>(o)]; }
  void setKnopfAktion(std::function<void(Opt)> f) { knopf_ = std::move(f); }
  // Mirrors the model's state of every created widget.
  void alleAktualisieren();

 private:
  void aktualisieren(Opt o);
  OptionModel& m_;
  std::array<QWidget*, kOptCount> widgets_{};
  std::function<void(Opt)> knopf_;
};

// Memo texts: CR LF in the model, LF in the widget.
QString memoNachQt(const std::string& s);
std::string memoAusQt(const QString& s);

}  // namespace mosaik

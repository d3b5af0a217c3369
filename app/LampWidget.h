#pragma once
// A lamp of the control bar: a small round light in grey, yellow or green.

#include <QWidget>

#include "app/WindowState.h"

namespace tarvelo::app {

class LampWidget : public QWidget {
  Q_OBJECT

 public:
  explicit LampWidget(QWidget* parent = nullptr);

  void SetLamp(Lamp lamp);
  Lamp CurrentLamp() const { return lamp_; }
  QSize sizeHint() const override { return QSize(14, 14); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Lamp lamp_ = Lamp::kGrey;
};

}  // namespace tarvelo::app

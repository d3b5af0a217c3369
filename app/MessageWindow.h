#pragma once
// The "CIS Converter Message " window: one multi-line text and the buttons OK and Cancel, which
// both end the message alike. Messages of every kind are shown in it; the kind shows as the
// window's icon.

#include <QDialog>
#include <QString>

#include "services/Reporter.h"

class QLabel;

namespace tarvelo::app {

inline constexpr const char* kMessageWindowCaption = "CIS Converter Message ";

class MessageWindow : public QDialog {
  Q_OBJECT

 public:
  MessageWindow(MessageKind kind, const QString& text, QWidget* parent = nullptr);

  QString Text() const;

 private:
  QLabel* text_;
};

}  // namespace tarvelo::app

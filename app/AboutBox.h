#pragma once
// The "About Tarvelo" box: the program icon, "Tarvelo Version 1.0" and OK.

#include <QDialog>

namespace tarvelo::app {

inline constexpr const char* kAboutCaption = "About Tarvelo";
inline constexpr const char* kAboutText = "Tarvelo Version 1.0";

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tarvelo::app

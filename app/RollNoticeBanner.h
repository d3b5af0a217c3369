#pragma once
// The banner above the roll view: what the last conversion got wrong about the open roll (see
// RollNotice), with the buttons that mend it. Hidden while there is nothing to say; the close
// button hides it until the next conversion.

#include <QFrame>

#include "app/RollNotice.h"

class QLabel;
class QPushButton;

namespace tarvelo::app {

class RollNoticeBanner : public QFrame {
  Q_OBJECT

 public:
  explicit RollNoticeBanner(QWidget* parent = nullptr);

  // Shows `notice` (hides the banner when it is empty).
  void Show(const RollNotice& notice);
  QString Text() const;

  QPushButton* AlignButton() const { return align_; }
  QPushButton* RecogniseButton() const { return recognise_; }
  QPushButton* CloseButton() const { return close_; }

 signals:
  void AlignRequested();
  void RecogniseRequested();

 private:
  QLabel* icon_;
  QLabel* text_;
  QPushButton* align_;
  QPushButton* recognise_;
  QPushButton* close_;
};

}  // namespace tarvelo::app

#pragma once
// A display field that shows its whole text when it has the room and otherwise cuts the middle
// out ("Duo-Art 60…Swan.CIS"), so the start and the end, where file names carry the roll's
// number and extension, stay readable. The whole text is always its tool tip. It asks for the
// width of a sample text (a width that does not change with the text shown, so the bar around
// it keeps its rows) and makes do with the width of a shorter one.

#include <QLabel>
#include <QString>

namespace tarvelo::app {

class ElidedLabel : public QLabel {
  Q_OBJECT

 public:
  ElidedLabel(const QString& least_sample, const QString& preferred_sample, QWidget* parent = nullptr);

  // The text and its tool tip.
  void SetFullText(const QString& text);
  // Whether the text is shown cut at the label's present width.
  bool IsElided() const;
  // The text as painted at the present width.
  QString ShownText() const;

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int WidthOf(const QString& sample) const;
  int Height() const;

  QString least_sample_;
  QString preferred_sample_;
};

}  // namespace tarvelo::app

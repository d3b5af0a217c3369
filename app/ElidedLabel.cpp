#include "app/ElidedLabel.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace tarvelo::app {

ElidedLabel::ElidedLabel(const QString& least_sample, const QString& preferred_sample, QWidget* parent)
    : QLabel(parent), least_sample_(least_sample), preferred_sample_(preferred_sample) {
  setTextFormat(Qt::PlainText);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ElidedLabel::SetFullText(const QString& text) {
  setText(text);
  setToolTip(text);
}

QString ElidedLabel::ShownText() const {
  return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(contentsRect().width() - 2 * margin(), 0));
}

bool ElidedLabel::IsElided() const { return ShownText() != text(); }

int ElidedLabel::WidthOf(const QString& sample) const {
  const QMargins frame = contentsMargins();
  // A little more than the text's advance: some fonts paint a pixel or two past it.
  return fontMetrics().horizontalAdvance(sample) + fontMetrics().averageCharWidth() / 2 + 2 * margin() + frame.left() +
         frame.right();
}

int ElidedLabel::Height() const {
  const QMargins frame = contentsMargins();
  return fontMetrics().height() + 2 * margin() + frame.top() + frame.bottom() + 2;
}

QSize ElidedLabel::minimumSizeHint() const { return {WidthOf(least_sample_), Height()}; }

QSize ElidedLabel::sizeHint() const { return {std::max(WidthOf(preferred_sample_), WidthOf(least_sample_)), Height()}; }

void ElidedLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
  QStyleOption option;
  option.initFrom(this);
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), option.palette, isEnabled(), ShownText(),
                        foregroundRole());
}

}  // namespace tarvelo::app

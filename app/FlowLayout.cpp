#include "app/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace tarvelo::app {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent) { setSpacing(spacing); }

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::AddWidget(QWidget* widget, int stretch) {
  addChildWidget(widget);
  items_.append(new QWidgetItem(widget));
  stretches_.append(std::max(stretch, 0));
  invalidate();
}

void FlowLayout::addItem(QLayoutItem* item) {
  items_.append(item);
  stretches_.append(0);
}

int FlowLayout::count() const { return static_cast<int>(items_.size()); }

QLayoutItem* FlowLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
  if (index < 0 || index >= items_.size()) return nullptr;
  stretches_.removeAt(index);
  return items_.takeAt(index);
}

Qt::Orientations FlowLayout::expandingDirections() const { return Qt::Horizontal; }

int FlowLayout::heightForWidth(int width) const { return Arrange(QRect(0, 0, width, 0), false); }

QSize FlowLayout::minimumSize() const {
  // As narrow as the widest item's least width; as high as the items need at that width.
  QSize size;
  for (const QLayoutItem* item : items_)
    if (!item->isEmpty()) size = size.expandedTo(item->minimumSize());
  const QMargins margins = contentsMargins();
  size += QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
  return size;
}

QSize FlowLayout::sizeHint() const {
  // Everything on one row.
  int width = 0, height = 0, shown = 0;
  for (const QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
    ++shown;
  }
  const QMargins margins = contentsMargins();
  width += std::max(shown - 1, 0) * spacing() + margins.left() + margins.right();
  return {width, height + margins.top() + margins.bottom()};
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  Arrange(rect, true);
}

int FlowLayout::Arrange(const QRect& rect, bool apply) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const int gap = spacing();
  const int row_width = std::max(area.width(), 1);
  int top = area.y();
  int index = 0;
  const int total = count();
  while (index < total) {
    // The items of this row: as many as fit at their preferred widths (at least one).
    int end = index, used = 0, stretch_sum = 0, row_height = 0;
    for (int next = index; next < total; ++next) {
      const QLayoutItem* item = items_.at(next);
      if (item->isEmpty()) {
        if (end == next) ++end;
        continue;
      }
      const int width = item->sizeHint().width();
      const int with_gap = used == 0 ? width : used + gap + width;
      if (used > 0 && with_gap > row_width) break;
      used = with_gap;
      stretch_sum += stretches_.at(next);
      row_height = std::max(row_height, item->sizeHint().height());
      end = next + 1;
    }
    // The room left over goes to the stretching items; a row too narrow for its one item
    // shrinks it down to its least width.
    const int spare = row_width - used;
    int x = area.x();
    int spare_left = std::max(spare, 0);
    int stretch_left = stretch_sum;
    for (int at = index; at < end; ++at) {
      QLayoutItem* item = items_.at(at);
      if (item->isEmpty()) continue;
      int width = item->sizeHint().width();
      if (spare < 0) width = std::max(item->minimumSize().width(), width + spare);
      if (stretch_left > 0 && stretches_.at(at) > 0) {
        const int share = spare_left * stretches_.at(at) / stretch_left;
        width += share;
        spare_left -= share;
        stretch_left -= stretches_.at(at);
      }
      if (apply) item->setGeometry(QRect(x, top, width, row_height));
      x += width + gap;
    }
    top += row_height + gap;
    index = end;
  }
  const QMargins margins = contentsMargins();
  return std::max(top - gap - area.y(), 0) + margins.top() + margins.bottom();
}

}  // namespace tarvelo::app

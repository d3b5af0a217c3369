#pragma once
// A layout that sets its items side by side in rows and starts a new row where the next item
// would not fit, so a bar of many controls fits any window width (a narrow window or a large
// scale factor gives more rows, never a window wider than the screen). Within a row, the room
// left over goes to the items that stretch (a horizontal stretch factor above 0, in its
// proportion); an item wider than a whole row gets the row's width, down to its least width.

#include <QLayout>
#include <QList>

namespace tarvelo::app {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
  ~FlowLayout() override;

  // Adds `widget` with `stretch`: its share of a row's room to spare (0: its own width).
  void AddWidget(QWidget* widget, int stretch = 0);

  void addItem(QLayoutItem* item) override;
  int count() const override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in `rect` (only measures when `apply` is false); returns the height used.
  int Arrange(const QRect& rect, bool apply) const;

  QList<QLayoutItem*> items_;
  QList<int> stretches_;
};

}  // namespace tarvelo::app

#include "app/DesktopLook.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace tarvelo::app {

void ApplyDesktopLook(QApplication& application) {
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) application.setStyle(fusion);
  QPalette palette = application.style()->standardPalette();
  const QColor background(230, 230, 210);
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Button, background);
  // Black texts where a control can be used; the greyed ones in a grey that still reads on the
  // background, halfway between black and it.
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, Qt::black);
    palette.setColor(group, QPalette::ButtonText, Qt::black);
    palette.setColor(group, QPalette::Text, Qt::black);
  }
  const QColor greyed(128, 128, 118);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
    palette.setColor(QPalette::Disabled, role, greyed);
  palette.setColor(QPalette::Disabled, QPalette::Light, background);  // no etched shadow under greyed texts
  application.setPalette(palette);
}

}  // namespace tarvelo::app

#include "app/AboutBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ProgramIcon.h"

namespace tarvelo::app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kAboutCaption));
  setModal(true);
  auto* icon = new QLabel;
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  auto* text = new QLabel(QString::fromLatin1(kAboutText));
  text->setObjectName("aboutText");
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* content = new QHBoxLayout;
  content->addWidget(icon);
  content->addSpacing(12);
  content->addWidget(text, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(content);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tarvelo::app

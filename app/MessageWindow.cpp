#include "app/MessageWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/MessagePresenter.h"
#include "app/QtText.h"

namespace tarvelo::app {

namespace {

QStyle::StandardPixmap KindIcon(MessageKind kind) {
  switch (kind) {
    case MessageKind::kError:
      return QStyle::SP_MessageBoxCritical;
    case MessageKind::kWarning:
      return QStyle::SP_MessageBoxWarning;
    case MessageKind::kInformation:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

}  // namespace

MessageWindow::MessageWindow(MessageKind kind, const QString& text, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(kMessageWindowCaption));
  setModal(true);

  auto* icon = new QLabel;
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(KindIcon(kind), nullptr, this).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);

  // Plain text: the core's messages hold file names and values, never markup.
  text_ = new QLabel(text);
  text_->setObjectName("messageText");
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setMinimumWidth(360);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  // Cancel ends the message as OK does: the work goes on either way.
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);

  auto* message = new QHBoxLayout;
  message->addWidget(icon);
  message->addWidget(text_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(message);
  layout->addWidget(buttons);
}

QString MessageWindow::Text() const { return text_->text(); }

void StandardErrorPresenter::Present(MessageKind kind, std::string_view text) {
  std::string line(text);
  std::replace(line.begin(), line.end(), '\n', ' ');
  std::fprintf(stderr, "tarvelo: %s: %s\n", MessageKindName(kind), line.c_str());
}

void MessageWindowPresenter::Present(MessageKind kind, std::string_view text) {
  MessageWindow window(kind, ToQString(text), parent_);
  window.exec();
}

}  // namespace tarvelo::app

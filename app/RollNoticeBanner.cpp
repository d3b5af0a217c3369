#include "app/RollNoticeBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/QtText.h"

namespace tarvelo::app {

namespace {

// A warning in amber, information in pale blue, each with a darker border.
constexpr QRgb kWarningBackground = qRgb(255, 236, 179);
constexpr QRgb kWarningBorder = qRgb(214, 160, 0);
constexpr QRgb kInformationBackground = qRgb(220, 234, 250);
constexpr QRgb kInformationBorder = qRgb(110, 150, 200);

}  // namespace

RollNoticeBanner::RollNoticeBanner(QWidget* parent) : QFrame(parent) {
  setObjectName("rollNotice");
  icon_ = new QLabel;
  icon_->setAlignment(Qt::AlignTop);
  text_ = new QLabel;
  text_->setObjectName("rollNoticeText");
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  align_ = new QPushButton(QStringLiteral("Align to This Roll"));
  align_->setObjectName("bannerAlign");
  align_->setToolTip(
      QStringLiteral("Measure the scanner values that put this roll's holes on their tracks; "
                     "\"Apply\" in the Scanner Settings dialog converts the roll with them"));
  recognise_ = new QPushButton(QStringLiteral("Recognise From This Roll"));
  recognise_->setObjectName("bannerRecognise");
  recognise_->setToolTip(QStringLiteral("Choose the roll type the holes point to and convert the roll as that type"));
  close_ = new QPushButton(QStringLiteral("×"));
  close_->setObjectName("bannerClose");
  close_->setFlat(true);
  close_->setFixedWidth(close_->fontMetrics().horizontalAdvance(QStringLiteral("××")) + 8);
  close_->setToolTip(QStringLiteral("Hide this note until the next conversion"));
  for (QPushButton* button : {align_, recognise_, close_}) button->setAutoDefault(false);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  buttons->addWidget(align_);
  buttons->addWidget(recognise_);
  buttons->addStretch(1);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 6, 4, 6);
  row->addWidget(icon_);
  row->addWidget(text_, 1);
  row->addLayout(buttons);
  row->addWidget(close_, 0, Qt::AlignTop);

  connect(align_, &QPushButton::clicked, this, &RollNoticeBanner::AlignRequested);
  connect(recognise_, &QPushButton::clicked, this, &RollNoticeBanner::RecogniseRequested);
  connect(close_, &QPushButton::clicked, this, &QWidget::hide);
  hide();
}

void RollNoticeBanner::Show(const RollNotice& notice) {
  if (notice.Empty()) {
    text_->clear();
    hide();
    return;
  }
  const QColor background(notice.IsWarning ? kWarningBackground : kInformationBackground);
  const QColor border(notice.IsWarning ? kWarningBorder : kInformationBorder);
  setStyleSheet(
      QStringLiteral("#rollNotice { background: %1; border: 1px solid %2; }").arg(background.name(), border.name()));
  const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  icon_->setPixmap(
      style()
          ->standardIcon(notice.IsWarning ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxInformation, nullptr,
                         this)
          .pixmap(size * 2, size * 2));
  text_->setText(ToQString(notice.Text()));
  align_->setVisible(notice.OfferAlign);
  recognise_->setVisible(notice.OfferRecognise);
  show();
}

QString RollNoticeBanner::Text() const { return isHidden() ? QString() : text_->text(); }

}  // namespace tarvelo::app

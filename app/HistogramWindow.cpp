#include "app/HistogramWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/PictureImage.h"
#include "app/QtText.h"
#include "view/SpacingHistogramPicture.h"

namespace tarvelo::app {

HistogramWindow::HistogramWindow(const SpacingHistogramStore& store, const DiagnosticSettings& settings,
                                 const std::string& file_name, QWidget* parent)
    : QDialog(parent), picture_(DrawSpacingHistogram(store, settings)) {
  setWindowTitle(QString::fromLatin1(kSpacingHistogramCaption));
  setModal(true);

  title_ = new QLabel(ToQString(SpacingHistogramTitle(file_name)));
  title_->setObjectName("histogramTitle");
  title_->setTextFormat(Qt::PlainText);
  canvas_ = new QLabel;
  canvas_->setObjectName("histogramCanvas");
  QFont canvas_font = font();
  canvas_font.setPixelSize(12);  // the size of the command line's picture texts
  canvas_->setPixmap(PictureToPixmap(picture_, canvas_font));
  canvas_->setFixedSize(picture_.Image.width, picture_.Image.height);
  legend_ = new QLabel(QString::fromLatin1(kSpacingHistogramLegend));
  legend_->setObjectName("histogramLegend");

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(canvas_);
  layout->addWidget(legend_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace tarvelo::app

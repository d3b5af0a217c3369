#pragma once
// The "Inter-Event Spacing Histogram" window: the title "Spacing Histogram - " + the file name,
// the canvas of the last conversion's spacing histograms (the core's raster with its texts
// written in the window's font) and the fixed legend. Modal; it only reads what it was given.

#include <QDialog>

#include "events/SpacingHistogramStore.h"
#include "settings/DiagnosticSettings.h"
#include "support/Picture.h"

class QLabel;

namespace tarvelo::app {

class HistogramWindow : public QDialog {
  Q_OBJECT

 public:
  HistogramWindow(const SpacingHistogramStore& store, const DiagnosticSettings& settings, const std::string& file_name,
                  QWidget* parent = nullptr);

  QLabel* TitleLabel() const { return title_; }
  QLabel* Canvas() const { return canvas_; }
  QLabel* Legend() const { return legend_; }
  // The canvas as the core drew it (before the texts were written).
  const Picture& CanvasPicture() const { return picture_; }

 private:
  Picture picture_;
  QLabel* title_;
  QLabel* canvas_;
  QLabel* legend_;
};

}  // namespace tarvelo::app

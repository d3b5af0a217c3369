// What the windows show: the roll view and the histogram canvas as the core draws them, the
// right-button reference line, the holes off their tracks marked, and the message window.
#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include "DesktopTestSupport.h"
#include "SyntheticRoll.h"
#include "app/HistogramWindow.h"
#include "app/MessageWindow.h"
#include "app/RollViewWidget.h"
#include "settings/IniProfile.h"
#include "view/RollView.h"
#include "view/SpacingHistogramPicture.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

// The pixels of `shown` that differ from `raster`, leaving out the cells of the labels (which
// the window writes in its own font).
int DifferencesOutsideLabels(const QImage& shown, const Picture& raster, const QFont& font) {
  const QFontMetrics metrics(font);
  std::vector<QRect> cells;
  for (const TextLabel& label : raster.Labels) {
    const QRect text = metrics.boundingRect(QString::fromStdString(label.Text));
    cells.emplace_back(label.X - 2, label.Y - 2, text.width() + 6, metrics.height() + 4);
  }
  int differences = 0;
  for (int y = 0; y < raster.Image.height; ++y) {
    for (int x = 0; x < raster.Image.width; ++x) {
      const QPoint point(x, y);
      if (std::any_of(cells.begin(), cells.end(), [&](const QRect& cell) { return cell.contains(point); })) continue;
      const uint32_t colour = raster.Image.Pixel(x, y);
      if (shown.pixel(x, y) != qRgb(ColourRed(colour), ColourGreen(colour), ColourBlue(colour))) ++differences;
    }
  }
  return differences;
}

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
  return count;
}

}  // namespace

class DesktopViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void TheRollViewShowsTheCoresPicture() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    RollViewWidget& view = *window.View();
    QCOMPARE(view.verticalScrollBar()->pageStep(), 100);
    QCOMPARE(view.verticalScrollBar()->singleStep(), 10);
    QCOMPARE(view.horizontalScrollBar()->pageStep(), 187);
    QCOMPARE(view.horizontalScrollBar()->singleStep(), 18);
    QCOMPARE(view.verticalScrollBar()->maximum(), MaxScrollRow(view.viewport()->height()));

    // An empty document: ruler background and strips, no dots.
    QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixel(20, 200), qRgb(255, 255, 170));
    QCOMPARE(CountColour(shown, qRgb(8, 0, 0)), 0);

    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    for (const int scroll : {0, view.verticalScrollBar()->maximum() / 2, view.verticalScrollBar()->maximum()}) {
      view.verticalScrollBar()->setValue(scroll);
      shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
      // The same picture drawn apart from the window, with the settings the view drew with.
      Picture expected;
      TrackStrips strips = InitialTrackStrips(window.Document().RollType().StripWidthPixels);
      RenderTrackStrips(window.Document().RollType(), strips);
      DrawRollView(window.Document().ScanData(), strips, view.ViewSettings(), expected);
      QCOMPARE(view.ViewSettings().ScrollY, scroll);
      QCOMPARE(shown.size(), QSize(expected.Image.width, expected.Image.height));
      QVERIFY(view.LastPicture().Image.pixels == expected.Image.pixels);
      QCOMPARE(DifferencesOutsideLabels(shown, expected, view.font()), 0);
      if (scroll == 0) QVERIFY(CountColour(shown, qRgb(8, 0, 0)) > 100);
    }
  }

  void TheHolesOffTheirTracksAreMarkedUntilSwitchedOff() {
    // A 12-inch roll with every fifth hole punched half a track beside its track's centre.
    testing::TempDir dir;
    synth::SyntheticRollSpec plan;
    plan.length_inch = 12;
    for (int k = 0; k < 40; ++k) plan.holes.push_back({30 + (k * 7) % 40, 0.5 + k * 0.25, 0.1});
    for (size_t k = 0; k < plan.holes.size(); k += 5) plan.holes[k].center_shift = 0.5;
    testing::WriteBytes(dir.File("Shifted.cis"), synth::RenderSyntheticCis(plan));
    const std::string profile_path = dir.File("Tarvelo.ini");
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    window.show();
    QAction& marks = *window.OffTrackHolesAction();
    QVERIFY(marks.isChecked());  // on unless switched off
    QVERIFY(window.OpenFile(QString::fromStdString(dir.File("Shifted.cis"))));
    RollViewWidget& view = *window.View();
    QCOMPARE(static_cast<int>(view.MarkedHoles().size()), window.Document().Summary().HolesOffTrack);
    QCOMPARE(view.MarkedHoles().size(), size_t{8});
    QVERIFY(std::abs(view.MarkedHoles().front().Start - 0.5) < 0.03);
    const QRgb orange =
        qRgb(ColourRed(kMarkedHoleColour), ColourGreen(kMarkedHoleColour), ColourBlue(kMarkedHoleColour));
    auto orange_pixels = [&] {
      return CountColour(view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32), orange);
    };
    QVERIFY(orange_pixels() > 100);

    marks.trigger();
    QVERIFY(view.MarkedHoles().empty());
    QCOMPARE(orange_pixels(), 0);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("Desktop", "ShowOffTrackHoles", 1), 0);
    marks.trigger();
    QCOMPARE(view.MarkedHoles().size(), size_t{8});
    // A roll without such holes has no marks; New leaves none behind.
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    QCOMPARE(static_cast<int>(view.MarkedHoles().size()), window.Document().Summary().HolesOffTrack);
    window.OnFileNew();
    QVERIFY(view.MarkedHoles().empty());
  }

  void TheRightButtonDrawsAReferenceLineUntilTheNextRepaint() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* viewport = window.View()->viewport();
    const int row = 300;
    auto row_pixels = [&] {
      const QPoint origin = viewport->mapTo(&window, QPoint(0, row));
      const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
      int black = 0;
      for (int x = 0; x < viewport->width(); ++x) black += screen.pixel(origin.x() + x, origin.y()) == qRgb(0, 0, 0);
      return black;
    };
    QTest::mouseClick(viewport, Qt::RightButton, Qt::NoModifier, QPoint(400, row));
    QCOMPARE(row_pixels(), viewport->width());
    viewport->repaint();
    QVERIFY(row_pixels() < viewport->width() / 2);
  }

  void TheHistogramWindowShowsTheCanvasOfAHandMadeHistogram() {
    SpacingHistogramStore store;
    store.HistogramAll[125] = 40;
    store.HistogramFirstHalf[125] = 30;
    store.HistogramSecondHalf[125] = 10;
    store.HistogramAll[60] = 20;
    store.HistogramSecondHalf[60] = 20;
    store.HistogramAll[5] = 500;  // below the display threshold: no influence on the scale
    DiagnosticSettings settings;
    settings.HistogramMinDisplayDistance = 13;
    HistogramWindow window(store, settings, "MyRoll");
    QCOMPARE(window.windowTitle(), QStringLiteral("Inter-Event Spacing Histogram"));
    QCOMPARE(window.TitleLabel()->text(), QStringLiteral("Spacing Histogram - MyRoll"));
    QCOMPARE(window.Legend()->text(),
             QStringLiteral("Blue on Left, Gold on Right = Takeup Spool Accel Too Low ---  Blue on Right, Gold on "
                            "Left = Takeup Spool Accel Too High"));
    const Picture expected = DrawSpacingHistogram(store, settings);
    QVERIFY(window.CanvasPicture().Image.pixels == expected.Image.pixels);
    const QImage shown = window.Canvas()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(expected.Image.width, expected.Image.height));
    QCOMPARE(DifferencesOutsideLabels(shown, expected, window.Canvas()->font()), 0);
    // Bin 125 at x = 425: the whole roll's 40 counts are the largest, so 300 rows high.
    QCOMPARE(shown.pixel(425, 299), qRgb(0, 150, 0));
    // Bin 60 at x = 230: 20 counts, half as high.
    QCOMPARE(shown.pixel(230, 200), qRgb(0, 150, 0));
    QCOMPARE(shown.pixel(230, 100), shown.pixel(500, 100));
    QCOMPARE(shown.pixel(426, 299), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(427, 299), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(53, 200), qRgb(230, 230, 230));  // bin 0, below the threshold
  }

  void TheMessageWindowEndsWithOkAndWithCancel() {
    for (const QDialogButtonBox::StandardButton which : {QDialogButtonBox::Ok, QDialogButtonBox::Cancel}) {
      MessageWindow window(MessageKind::kWarning, QStringLiteral("first line\nsecond line : 2."));
      QCOMPARE(window.windowTitle(), QStringLiteral("CIS Converter Message "));
      QVERIFY(window.isModal());
      QCOMPARE(window.Text(), QStringLiteral("first line\nsecond line : 2."));
      window.show();
      QPushButton* button = window.findChild<QDialogButtonBox*>()->button(which);
      QVERIFY(button);
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY(!window.isVisible());
      QCOMPARE(window.result(), static_cast<int>(QDialog::Accepted));
    }

    // The program's presenter waits in the modal window until it is answered.
    MessageWindowPresenter presenter;
    QString shown;
    testing::AnswerNextModal([&](QDialog* dialog) { shown = dialog->findChild<QLabel*>("messageText")->text(); });
    presenter.Present(MessageKind::kError, "*** Invalid File Type *** CIS files only - ");
    QCOMPARE(shown, QStringLiteral("*** Invalid File Type *** CIS files only - "));
  }
};

QTEST_MAIN(DesktopViewsTest)
#include "DesktopViews_test.moc"

// The control bar's scanner values after a conversion: Auto-Tweak's, marked and with its report
// as their tip, when the conversion used them; the preset's, marked "Preset", when it did not
// (Auto-Tweak off, or a roll the measurement cannot read), and after an offset nudge. The view
// draws the holes with the values the bar shows.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "DesktopTestSupport.h"
#include "SyntheticRoll.h"
#include "app/ControlBar.h"
#include "app/RollViewWidget.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

constexpr double kTrackSpacing = 1.0 / 9;  // the Fail-Safe roll type's tracks, nine an inch

// Holes on tracks 20 to 79, scanned at 300 DPI with the sensor's pixel 0 at `offset` inch of
// the roll: the preset's offset 1.0 fits offset 1.0 only.
QString WriteRoll(const testing::TempDir& dir, const std::string& name, double offset, bool with_holes = true) {
  synth::SyntheticRollSpec plan;
  plan.offset = offset;
  plan.dpi = 300;
  plan.header_dpi = 300;
  plan.scan_width = 300 * 13;
  plan.length_inch = 30;
  if (with_holes)
    for (int k = 0; k < 150; ++k) plan.holes.push_back({20 + (k * 13) % 60, 0.5 + k * 0.19, 0.1});
  testing::WriteBytes(dir.File(name), synth::RenderSyntheticCis(plan));
  return QString::fromStdString(dir.File(name));
}

// The number after "Offset = ".
double ShownOffset(const ControlBar& bar) {
  return bar.OffsetField()->text().mid(QStringLiteral("Offset = ").size()).toDouble();
}

}  // namespace

class DesktopAutoTweakTest : public QObject {
  Q_OBJECT

 private slots:
  void TheBarShowsAutoTweaksValuesMarkedUntilARunKeepsThePresets() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.resize(1000, 700);
    window.show();
    ControlBar& bar = *window.Bar();
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Preset"));
    QVERIFY(bar.ValuesMark()->toolTip().contains(QStringLiteral("Auto-Tweak is on")));

    // A roll placed a track off: converted with the measured offset, shown as Auto-Tweak's.
    const QString off = WriteRoll(dir, "off.cis", 1.0 + kTrackSpacing);
    QVERIFY(window.OpenFile(off));
    QApplication::processEvents();
    const ConversionSummary& summary = window.Document().Summary();
    QVERIFY(!summary.AutoTweak.empty());
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Auto-Tweak"));
    QVERIFY(bar.ValuesMark()->font().bold());
    const QString report = QString::fromStdString(summary.AutoTweak);
    QVERIFY2(report.contains(QStringLiteral("(the preset's: DPI 300, offset 1.0000 inch")), qPrintable(report));
    QCOMPARE(bar.ValuesMark()->toolTip(), report);
    QVERIFY2(bar.OffsetField()->toolTip().contains(report), qPrintable(bar.OffsetField()->toolTip()));
    QVERIFY2(std::abs(ShownOffset(bar) - (1.0 + kTrackSpacing)) < 0.01, qPrintable(bar.OffsetField()->text()));
    QVERIFY(std::abs(ShownOffset(bar) - summary.Placement.Fitted.Offset) < 1e-6);  // eight digits shown
    QCOMPARE(bar.DpiField()->text(), QStringLiteral("300 DPI"));
    QVERIFY(bar.StretchField()->text().startsWith(QStringLiteral("Stretch = ")));
    for (ElidedLabel* field : {bar.DpiField(), bar.OffsetField(), bar.StretchField()})
      QVERIFY2(!field->IsElided(), qPrintable(field->text()));
    QVERIFY(!bar.ValuesMark()->text().isEmpty() &&
            bar.ValuesMark()->width() > bar.ValuesMark()->fontMetrics().horizontalAdvance(bar.ValuesMark()->text()));
    QCOMPARE(window.View()->ViewSettings().ScannerOffset, summary.Placement.Fitted.Offset);
    // The preset itself is left as it was.
    QCOMPARE(window.Session().Presets.Live().ScannerOffset, 1.0);

    // The arrows move the preset's offset, which the bar and the view then show.
    QVERIFY(bar.NudgeRightButton()->toolTip().contains(QStringLiteral("Auto-Tweak, when on, measures")));
    QTest::mouseClick(bar.NudgeRightButton(), Qt::LeftButton);
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1.025"));
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Preset"));
    QCOMPARE(window.View()->ViewSettings().ScannerOffset, 1.025);
    QTest::mouseClick(bar.NudgeLeftButton(), Qt::LeftButton);

    // Converted again with Auto-Tweak tweaking, then without it: the mark goes with the run.
    QTest::mouseClick(bar.ReprocessButton(), Qt::LeftButton);
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Auto-Tweak"));
    window.Session().Presets.Live().AutoTweakSettings = false;
    QVERIFY(window.OpenFile(off));
    QVERIFY(window.Document().Summary().AutoTweak.empty());
    QVERIFY(window.Document().Summary().PlacementWarned);
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Preset"));
    QVERIFY(!bar.ValuesMark()->font().bold());
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1."));
    QVERIFY(bar.ValuesMark()->toolTip().contains(QStringLiteral("Auto-Tweak is off")));
    QVERIFY(!bar.OffsetField()->toolTip().contains(QStringLiteral("Auto-Tweak: converted")));
    QCOMPARE(window.View()->ViewSettings().ScannerOffset, 1.0);
  }

  void ARollTheMeasurementCannotReadKeepsThePresetsValuesAndSaysWhy() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    ControlBar& bar = *window.Bar();
    QVERIFY(window.OpenFile(WriteRoll(dir, "off.cis", 1.0 + kTrackSpacing)));
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Auto-Tweak"));

    // Auto-Tweak is on but finds nothing to measure: the preset's values, and why.
    QVERIFY(window.OpenFile(WriteRoll(dir, "blank.cis", 1.0, false)));
    QVERIFY(window.Document().Summary().AutoTweak.empty());
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Preset"));
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1."));
    QVERIFY2(bar.ValuesMark()->toolTip().contains(
                 QStringLiteral("kept them, as the measurement cannot read the roll: no holes were found")),
             qPrintable(bar.ValuesMark()->toolTip()));

    // A new document has no conversion whose values to show.
    QVERIFY(window.OpenFile(WriteRoll(dir, "off.cis", 1.0 + kTrackSpacing)));
    window.OnFileNew();
    QCOMPARE(bar.ValuesMark()->text(), QStringLiteral("Preset"));
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1."));
  }
};

QTEST_MAIN(DesktopAutoTweakTest)
#include "DesktopAutoTweak_test.moc"

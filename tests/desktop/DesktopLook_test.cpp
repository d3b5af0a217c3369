// How the window looks and fits: greyed commands drawn greyed, the control bar's fields showing
// their whole texts (or cut in the middle, the whole text as tool tip), a tool tip on every
// control, and a first window no larger than the screen, also at scale factor 2.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <filesystem>

#include "DesktopTestSupport.h"
#include "app/ControlBar.h"
#include "app/DesktopLook.h"
#include "app/ElidedLabel.h"
#include "helpers/RunCommand.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

QImage Picture(QWidget* widget) { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The darkest pixel's grey value: where the text is.
int DarkestGrey(const QImage& image) {
  int darkest = 255;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

}  // namespace

class DesktopLookTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ApplyDesktopLook(*qApp); }

  void GreyedCommandsAreDrawnGreyed() {
    const QPalette palette = QApplication::palette();
    QCOMPARE(palette.color(QPalette::Active, QPalette::Window), QColor(230, 230, 210));
    QCOMPARE(palette.color(QPalette::Disabled, QPalette::Window), QColor(230, 230, 210));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
      QCOMPARE(palette.color(QPalette::Active, role), QColor(Qt::black));
      QCOMPARE(palette.color(QPalette::Inactive, role), QColor(Qt::black));
      QVERIFY(qGray(palette.color(QPalette::Disabled, role).rgb()) > 96);
    }

    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // "Re-Process" while idle, "Zoom In" at the largest zoom and "PunchMIDI" are greyed and look it.
    ControlBar& bar = *window.Bar();
    QPushButton* reprocess = bar.ReprocessButton();
    QVERIFY(!reprocess->isEnabled());
    const int greyed = DarkestGrey(Picture(reprocess));
    QVERIFY2(greyed > 80, qPrintable(QString::number(greyed)));
    QTest::mouseClick(bar.NudgeRightButton(), Qt::LeftButton);
    QVERIFY(reprocess->isEnabled());
    QVERIFY(DarkestGrey(Picture(reprocess)) < 40);
    for (int click = 0; click < 4; ++click) QTest::mouseClick(bar.ZoomInButton(), Qt::LeftButton);
    QVERIFY(!bar.ZoomInButton()->isEnabled());
    QVERIFY(DarkestGrey(Picture(bar.ZoomInButton())) > 80);
    QVERIFY(DarkestGrey(Picture(bar.ZoomOutButton())) < 40);
    QVERIFY(!bar.PunchMidiBox()->isEnabled());
    QCOMPARE(bar.PunchMidiBox()->palette().color(QPalette::Disabled, QPalette::WindowText),
             palette.color(QPalette::Disabled, QPalette::WindowText));
  }

  void FieldsShowTheirWholeTextsOrCutTheMiddleWithATip() {
    testing::TempDir dir;
    const std::string long_name = dir.File("Duo-Art 6064 The Swan (Saint-Saens), played by a collector.cis");
    std::filesystem::copy_file(testing::SourceFile("data/sample/SampleRoll.cis"), long_name);
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.resize(1000, 700);
    window.show();
    QVERIFY(window.OpenFile(QString::fromStdString(long_name)));
    QApplication::processEvents();
    ControlBar& bar = *window.Bar();
    ElidedLabel& file = *bar.FileField();
    const QString whole = QStringLiteral("Duo-Art 6064 The Swan (Saint-Saens), played by a collector.cis");
    QCOMPARE(file.text(), whole);
    QCOMPARE(file.toolTip(), whole);
    QVERIFY(file.IsElided());
    QVERIFY(file.ShownText().startsWith(QStringLiteral("Duo-Art")));
    QVERIFY(file.ShownText().endsWith(QStringLiteral("collector.cis")));

    // The scanner values of an aligned roll are shown whole.
    window.Session().Presets.NudgeOffset(0.13467);
    window.ApplySettingsChange();
    QApplication::processEvents();
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1.13467"));
    QVERIFY(!bar.OffsetField()->IsElided());
    QVERIFY(!bar.StretchField()->IsElided());
    // So are the eight decimals a measurement stores (a real scan's suggestion).
    window.Session().Presets.Live().ScannerOffset = 1.2011605;
    window.Session().Presets.Live().ScannerAlignStretch = 0.98020697;
    window.ApplySettingsChange();
    QApplication::processEvents();
    QCOMPARE(bar.StretchField()->text(), QStringLiteral("Stretch = 0.98020697"));
    QVERIFY(!bar.OffsetField()->IsElided());
    QVERIFY(!bar.StretchField()->IsElided());
    // Every roll type's name fits the box.
    QComboBox& box = *bar.RollTypeBox();
    for (int index = 0; index < box.count(); ++index)
      QVERIFY2(box.width() > box.fontMetrics().horizontalAdvance(box.itemText(index)) + 20,
               qPrintable(box.itemText(index)));
    QVERIFY(presenter.texts.empty());
  }

  void EveryControlHasATip() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    QStringList without;
    for (QWidget* widget : window.Bar()->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                           qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<ElidedLabel*>(widget);
      if (control && widget->toolTip().isEmpty() && !qobject_cast<ElidedLabel*>(widget))
        without << widget->objectName();
      if (auto* field = qobject_cast<ElidedLabel*>(widget); field && field->statusTip().isEmpty())
        without << field->objectName();
    }
    QVERIFY2(without.isEmpty(), qPrintable(without.join(", ")));
  }

  void TheFirstWindowFitsTheScreen() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    const QRect available = window.screen()->availableGeometry();
    QVERIFY2(available.contains(window.geometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                   .arg(window.width())
                                                                   .arg(window.height())
                                                                   .arg(available.width())
                                                                   .arg(available.height())));
    QVERIFY(window.width() >= available.width() * 8 / 10);

    // The program on a full-HD screen at scale factor 2: 960 x 540 of the window's pixels.
    testing::TempDir dir;
    const std::string screens = dir.File("screen.json");
    testing::WriteBytes(screens, R"({"screens": [{"name": "hd", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                                 R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    const std::string shot = dir.File("window.png");
    const testing::CommandResult run =
        testing::RunCommand("QT_QPA_PLATFORM=offscreen:configfile=" + testing::ShellQuote(screens) +
                            " QT_SCALE_FACTOR=2 TARVELO_PROFILE=" + testing::ShellQuote(dir.File("Tarvelo.ini")) + " " +
                            testing::ShellQuote(TARVELO_DESKTOP_PATH) + " --screenshot " + testing::ShellQuote(shot) +
                            " " + testing::ShellQuote(testing::CopySampleRoll(dir).toStdString()));
    QVERIFY2(run.status == 0, run.err.c_str());
    const QImage picture(QString::fromStdString(shot));
    QVERIFY(!picture.isNull());
    QVERIFY2(picture.width() <= 1920 && picture.height() <= 1080,
             qPrintable(QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height())));
    QVERIFY(picture.width() >= 1400);
  }
};

QTEST_MAIN(DesktopLookTest)
#include "DesktopLook_test.moc"

// The main window driven as a user drives it: the control bar's commands, the two window states,
// the lamps, zoom, the roll type box, the offset arrows, progress and messages.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "DesktopTestSupport.h"
#include "app/AboutBox.h"
#include "app/ControlBar.h"
#include "app/DesktopFrontEnd.h"
#include "app/LampWidget.h"
#include "app/RollViewWidget.h"
#include "helpers/Environment.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

QColor BarColour(const ControlBar& bar) { return bar.Progress()->palette().color(QPalette::Highlight); }

// Whether the document's keyword list holds an item starting with `key` and holding `value`.
bool HasKeyword(const TarveloDoc& doc, const std::string& key, const std::string& value) {
  for (int index = 0; index < doc.Keywords().Count(); ++index) {
    const std::string item = doc.Keywords().ItemText(index);
    if (item.starts_with(key) && item.find(value, key.size()) != std::string::npos) return true;
  }
  return false;
}

QStringList MenuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* action : menu->actions())
    if (!action->isSeparator() && action->isVisible()) texts << action->text();
  return texts;
}

QMenu* Menu(MainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions())
    if (action->text() == title) return action->menu();
  return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsIdleWithTheBarsTextsAndMenus() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(presenter.texts.empty());
    QVERIFY(window.screen()->availableGeometry().contains(window.geometry()));
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("Untitled - Tarvelo"));
    ControlBar& bar = *window.Bar();
    QVERIFY(!bar.ReprocessButton()->isEnabled());
    QVERIFY(!bar.PunchMidiBox()->isEnabled());
    QVERIFY(bar.PunchMidiBox()->isChecked());
    QVERIFY(bar.TrackingCorrectionsBox()->isEnabled());
    QVERIFY(!bar.TrackingCorrectionsBox()->isChecked());
    QCOMPARE(bar.StatusField()->text(), QStringLiteral("Ready"));
    QCOMPARE(bar.Progress()->value(), 100);
    QCOMPARE(BarColour(bar), QColor(34, 238, 85));
    QCOMPARE(bar.findChild<QLabel*>("versionText")->text(),
             QStringLiteral("CIS to ScanImageMIDI converter - Beta Version - June. 23, 2007"));
    QCOMPARE(bar.findChild<QLabel*>("dpiField")->text(), QStringLiteral("300 DPI"));
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1."));
    QCOMPARE(bar.findChild<QLabel*>("stretchField")->text(), QStringLiteral("Stretch = 1."));
    QCOMPARE(bar.findChild<QLabel*>("modeField")->text(), QStringLiteral("Mode1 - no encoding"));
    QCOMPARE(bar.findChild<QLabel*>("presetField")->text(), QStringLiteral("My Scanner"));
    QCOMPARE(bar.findChild<QLabel*>("trackingText")->text(), QStringLiteral("Active Tracking ON"));
    QCOMPARE(bar.TrackingLamp()->CurrentLamp(), Lamp::kGreen);
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kYellow);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kYellow);

    QStringList texts;
    for (QWidget* widget : bar.findChildren<QWidget*>()) {
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
      if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
    }
    for (const char* text : {"File : ",
                             "Roll Type ",
                             "<--",
                             "-->",
                             "Scanner Settings",
                             "Re-Process",
                             "ScanMIDI",
                             "eRollMIDI",
                             "ExpressionMIDI",
                             "PunchMIDI",
                             "Zoom In",
                             "Zoom Out",
                             "Show Tracking Corrections",
                             "View Spacing Histogram",
                             "CIS Data",
                             "View/Set Embedded Text",
                             "Skew Correction OFF",
                             "Punch Fitting OFF",
                             "Play",
                             "Stop"})
      QVERIFY2(texts.contains(QString::fromLatin1(text)), text);

    // The roll types, then a separator and "Recognise From This Roll".
    QCOMPARE(bar.RollTypeBox()->count(), static_cast<int>(window.RollTypeNames().size()) + 2);
    QCOMPARE(bar.RollTypeBox()->itemText(0), QStringLiteral("Fail-Safe"));
    QVERIFY(bar.RollTypeBox()->count() > 5);

    QCOMPARE(MenuTexts(Menu(window, "&Settings")),
             QStringList({"&ScanImageMIDI Settings", "&eRoll MIDI settings", "&Diagnostics", "&ActiveTracking",
                          "&Twin Array Settings", "A&udio Settings..."}));
    QCOMPARE(MenuTexts(Menu(window, "&Listen")), QStringList({"&Play", "&Stop"}));
    QCOMPARE(MenuTexts(Menu(window, "&View")), QStringList({"&Toolbar", "&Status Bar", "Show &Off-Track Holes"}));
    QVERIFY(Menu(window, "&File") && Menu(window, "&Help"));
  }

  void ZoomButtonsStepTheViewAndGreyAtTheLimits() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    ShowActive(window);
    ControlBar& bar = *window.Bar();
    QCOMPARE(window.View()->ViewSettings().ZoomFactor, 1.0);
    for (int click = 0; click < 3; ++click) QTest::mouseClick(bar.ZoomInButton(), Qt::LeftButton);
    QVERIFY(bar.ZoomInButton()->isEnabled());
    QTest::mouseClick(bar.ZoomInButton(), Qt::LeftButton);
    QCOMPARE(window.State().Zoom().Level(), 9);
    QVERIFY(!bar.ZoomInButton()->isEnabled());
    QVERIFY(bar.ZoomOutButton()->isEnabled());
    QCOMPARE(window.View()->ViewSettings().ZoomFactor, 16.0);
    // The keys follow the buttons, greyed ones included.
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.State().Zoom().Level(), 9);
    for (int key = 0; key < 7; ++key) QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(window.State().Zoom().Level(), 2);
    QVERIFY(bar.ZoomOutButton()->isEnabled());
    QTest::mouseClick(bar.ZoomOutButton(), Qt::LeftButton);
    QCOMPARE(window.State().Zoom().Level(), 1);
    QVERIFY(!bar.ZoomOutButton()->isEnabled());
    QVERIFY(bar.ZoomInButton()->isEnabled());
    QCOMPARE(window.View()->ViewSettings().ZoomFactor, 0.0625);
  }

  void ProgressColourTypesZeroAndSevenKeepTheColour() {
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    DesktopFrontEnd& front_end = window.FrontEnd();
    ControlBar& bar = *window.Bar();
    front_end.SetProgress(kProgressTwinArray, 20);
    QCOMPARE(BarColour(bar), QColor(51, 255, 255));
    QCOMPARE(bar.Progress()->value(), 20);
    front_end.SetProgress(0, 30);
    QCOMPARE(BarColour(bar), QColor(51, 255, 255));
    QCOMPARE(bar.Progress()->value(), 30);
    front_end.SetProgress(7, 130);
    QCOMPARE(BarColour(bar), QColor(51, 255, 255));
    QCOMPARE(bar.Progress()->value(), 100);
    front_end.SetStatusText("Building Histogram Array");
    QCOMPARE(bar.StatusField()->text(), QStringLiteral("Building Histogram Array"));
  }

  void UnknownRollTypeSelectsTheFirstEntry() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    {
      IniProfile profile(profile_path);
      QVERIFY(profile.WriteProfileString("Roll Settings", "ActiveRollTypeName", "No Such Roll").ok());
    }
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    QCOMPARE(window.Bar()->RollTypeBox()->currentIndex(), 0);
    QCOMPARE(window.Bar()->RollTypeBox()->currentText(), QStringLiteral("Fail-Safe"));
    QVERIFY(presenter.Saw("ERROR - Requested Roll Type Not Found : No Such Roll"));
  }

  // The program opens the user's profile as tarvelo-cli does: TARVELO_PROFILE names an INI file
  // on every system; its unreadable lines are reported with its path and kept.
  void TheUserProfileIsTheOneTheCommandLineUses() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    testing::WriteBytes(profile_path, "[OutputFiles]\nScanMidi=0\nno equals sign here\n");
    testing::ScopedEnvironment profile_variable("TARVELO_PROFILE", profile_path);
    RecordingPresenter presenter;
    app::MainWindowOptions options = testing::TestWindowOptions(presenter);
    options.UserProfile = true;
    MainWindow window(options);
    window.show();
    QVERIFY(!window.Bar()->ScanMidiBox()->isChecked());
    QVERIFY(presenter.Saw("The settings profile " + profile_path + " has lines that cannot be read"));

    QTest::mouseClick(window.Bar()->ScanMidiBox(), Qt::LeftButton);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("OutputFiles", "ScanMidi", 0), 1);
    QVERIFY(testing::ReadBytes(profile_path).find("no equals sign here") != std::string::npos);
  }

  void LampsThroughUncheckingAndCheckingScanMidiAndAConversion() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    window.show();
    ControlBar& bar = *window.Bar();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kGreen);

    QTest::mouseClick(bar.ScanMidiBox(), Qt::LeftButton);
    QVERIFY(!bar.ScanMidiBox()->isChecked());
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGrey);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("OutputFiles", "ScanMidi", 1), 0);
    QVERIFY(!bar.ReprocessButton()->isEnabled());  // a check box is no settings change
    QTest::mouseClick(bar.ScanMidiBox(), Qt::LeftButton);
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kYellow);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("OutputFiles", "ScanMidi", 0), 1);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kGreen);

    // The next conversion writes the file.
    QTest::mouseClick(bar.NudgeRightButton(), Qt::LeftButton);
    QTest::mouseClick(bar.NudgeLeftButton(), Qt::LeftButton);
    QTest::mouseClick(bar.ReprocessButton(), Qt::LeftButton);
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void TheExpressionMidiBoxIsStoredAndItsFileWrittenByTheNextConversion() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    RecordingPresenter presenter;
    auto window = std::make_unique<MainWindow>(testing::TestWindowOptions(presenter, profile_path));
    window->show();
    ControlBar* bar = window->Bar();
    QVERIFY(!bar->ExpressionMidiBox()->isChecked());  // off by default: the other outputs stay as they are
    QVERIFY(window->OpenFile(testing::CopySampleRoll(dir)));
    QVERIFY(!std::filesystem::exists(dir.File("SampleRoll_ExpressionMIDI.mid")));
    QCOMPARE(bar->ExpressionMidiLamp()->CurrentLamp(), Lamp::kGrey);

    QTest::mouseClick(bar->ExpressionMidiBox(), Qt::LeftButton);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("OutputFiles", "WriteExpressionMidi", 0), 1);
    QCOMPARE(bar->ExpressionMidiLamp()->CurrentLamp(), Lamp::kYellow);
    window->OnReprocess();
    QCOMPARE(bar->ExpressionMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QVERIFY(std::filesystem::exists(dir.File("SampleRoll_ExpressionMIDI.mid")));
    QCOMPARE(bar->ERollMidiLamp()->CurrentLamp(), Lamp::kGreen);

    // The next session starts with the box as stored; unchecking stores that too.
    window = std::make_unique<MainWindow>(testing::TestWindowOptions(presenter, profile_path));
    window->show();
    bar = window->Bar();
    QVERIFY(bar->ExpressionMidiBox()->isChecked());
    QCOMPARE(bar->ExpressionMidiLamp()->CurrentLamp(), Lamp::kYellow);
    QTest::mouseClick(bar->ExpressionMidiBox(), Qt::LeftButton);
    QCOMPARE(IniProfile(profile_path).GetProfileInt("OutputFiles", "WriteExpressionMidi", 1), 0);
    QCOMPARE(bar->ExpressionMidiLamp()->CurrentLamp(), Lamp::kGrey);
    QVERIFY(presenter.Saw("The roll type \"Fail-Safe\" has no expression system"));
  }

  void RollTypeChoiceOffsetNudgeAndConversionChangeTheWindowState() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    // The nudged offset is the one converted with: no Auto-Tweak.
    QVERIFY(testing::KeepPresetPlacement(profile_path));
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    ShowActive(window);
    ControlBar& bar = *window.Bar();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    QTest::mouseClick(bar.TrackingCorrectionsBox(), Qt::LeftButton);
    QVERIFY(window.View()->ViewSettings().ShowTrackingCorrections);

    // A roll type chosen in the box: settings changed.
    QComboBox* roll_type = bar.RollTypeBox();
    roll_type->setFocus();
    QTest::keyClick(roll_type, Qt::Key_Down);
    const std::string chosen = roll_type->currentText().toStdString();
    QCOMPARE(chosen, window.RollTypeNames()[1]);
    QCOMPARE(IniProfile(profile_path).GetProfileString("Roll Settings", "ActiveRollTypeName", ""), chosen);
    QCOMPARE(window.Document().RollTypeName(), chosen);
    VerifySettingsChanged(window);
    QVERIFY(!window.View()->ViewSettings().ShowTrackingCorrections);

    // Re-Process: idle again, both files written with the new roll type.
    QTest::keyClick(&window, Qt::Key_F5);
    VerifyIdle(window);
    QCOMPARE(window.Document().Summary().Outputs.size(), size_t{2});
    QVERIFY(HasKeyword(window.Document(), "/CIS_converted_as_type: ", chosen));

    // An offset nudge changes the live offset only.
    QTest::mouseClick(bar.NudgeRightButton(), Qt::LeftButton);
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 1.025"));
    QCOMPARE(window.Session().Presets.Live().ScannerOffset, 1.025);
    QCOMPARE(window.View()->ViewSettings().ScannerOffset, 1.025);
    QCOMPARE(IniProfile(profile_path).GetProfileString("Scanner Settings", "ScannerOffset0", "none"),
             std::string("none"));
    VerifySettingsChanged(window);
    QTest::mouseClick(bar.ReprocessButton(), Qt::LeftButton);
    VerifyIdle(window);
    QVERIFY(HasKeyword(window.Document(), "/scanner_horizontal_offset: ", "1.025"));
    QTest::mouseClick(bar.NudgeLeftButton(), Qt::LeftButton);
    QTest::mouseClick(bar.NudgeLeftButton(), Qt::LeftButton);
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 0.975"));
    QVERIFY(presenter.texts.empty());
  }

  void MessagesGoThroughThePresenterAndABadFileKeepsTheDocument() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    const int lines = window.Document().ScanData().Lines.Size();
    QVERIFY(lines > 0);
    QTest::mouseClick(window.Bar()->NudgeRightButton(), Qt::LeftButton);  // settings changed

    testing::WriteBytes(dir.File("notes.txt"), "not a scan");
    QVERIFY(!window.OpenFile(QString::fromStdString(dir.File("notes.txt"))));
    QCOMPARE(presenter.texts.size(), size_t{1});
    QCOMPARE(presenter.texts[0], std::string("*** Invalid File Type *** CIS files only - "));
    QCOMPARE(presenter.kinds[0], MessageKind::kError);
    testing::WriteBytes(dir.File("short.cis"), "too short");
    QVERIFY(!window.OpenFile(QString::fromStdString(dir.File("short.cis"))));
    QVERIFY(presenter.Saw("The file is too short to be a CIS file"));
    // The roll opened before is still the document, the window as it was.
    QCOMPARE(window.Document().ScanData().Lines.Size(), lines);
    QCOMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
    QCOMPARE(window.Bar()->FileField()->text(), QStringLiteral("SampleRoll.cis"));
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("SampleRoll.cis - Tarvelo"));
    QVERIFY(window.Bar()->ReprocessButton()->isEnabled());
  }

  void AboutBoxAndHistogramWindowOpenFromTheirCommands() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));

    QString about_caption, about_text;
    testing::AnswerNextModal([&](QDialog* dialog) {
      about_caption = dialog->windowTitle();
      about_text = dialog->findChild<QLabel*>("aboutText")->text();
    });
    Menu(window, "&Help")->actions().first()->trigger();
    QCOMPARE(about_caption, QStringLiteral("About Tarvelo"));
    QCOMPARE(about_text, QStringLiteral("Tarvelo Version 1.0"));

    QString caption, title;
    testing::AnswerNextModal([&](QDialog* dialog) {
      caption = dialog->windowTitle();
      title = dialog->findChild<QLabel*>("histogramTitle")->text();
    });
    QTest::mouseClick(window.Bar()->HistogramButton(), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Inter-Event Spacing Histogram"));
    QCOMPARE(title, QStringLiteral("Spacing Histogram - SampleRoll"));
  }

 private:
  // Shown and active, so that the window's keys reach their commands.
  static void ShowActive(MainWindow& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  static void VerifySettingsChanged(MainWindow& window) {
    ControlBar& bar = *window.Bar();
    QVERIFY(window.State().IsReprocessPending());
    QVERIFY(bar.ReprocessButton()->isEnabled());
    QVERIFY(!bar.TrackingCorrectionsBox()->isEnabled());
    QVERIFY(!bar.TrackingCorrectionsBox()->isChecked());
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kYellow);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kYellow);
  }

  static void VerifyIdle(MainWindow& window) {
    ControlBar& bar = *window.Bar();
    QVERIFY(!window.State().IsReprocessPending());
    QVERIFY(!bar.ReprocessButton()->isEnabled());
    QVERIFY(bar.TrackingCorrectionsBox()->isEnabled());
    QCOMPARE(bar.StatusField()->text(), QStringLiteral("Ready"));
    QCOMPARE(bar.Progress()->value(), 100);
    QCOMPARE(BarColour(bar), QColor(34, 238, 85));
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kGreen);
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindow_test.moc"

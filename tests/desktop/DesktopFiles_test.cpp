// Files through the window: opening (command, drop, recent files, command line), saving, what the
// profile keeps between sessions, and real scans converted through the window giving the same
// MIDI files as tarvelo-cli.
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "DesktopTestSupport.h"
#include "SyntheticRoll.h"
#include "app/ControlBar.h"
#include "app/DesktopFrontEnd.h"
#include "app/RollNoticeBanner.h"
#include "cis/CisWriter.h"
#include "helpers/RunCommand.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;
namespace fs = std::filesystem;

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class DesktopFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void SaveAsWritesTheScanWholeOrNotAtAll() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("SampleRoll.cis - Tarvelo"));

    const std::string copy = dir.File("Copy.cis");
    QVERIFY(window.SaveDocumentAs(Q(copy)));
    std::string expected;
    CisScanData scan = window.Document().ScanData();
    QVERIFY(EncodeCisFile(scan, expected).ok());
    QCOMPARE(testing::ReadBytes(copy), expected);
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("Copy.cis - Tarvelo"));
    QCOMPARE(window.Recent().Paths().front(), fs::absolute(copy).string());

    // A place that cannot take the file: a message, no file, nothing left behind.
    testing::WriteBytes(dir.File("not-a-folder"), "x");
    const std::vector<std::string> before = FilesIn(dir.Path());
    QVERIFY(!window.SaveDocumentAs(Q(dir.File("not-a-folder/Roll.cis"))));
    QCOMPARE(presenter.kinds.size(), size_t{1});
    QCOMPARE(presenter.kinds[0], MessageKind::kError);
    QVERIFY(presenter.texts[0].find("not-a-folder") != std::string::npos);
    QCOMPARE(FilesIn(dir.Path()), before);
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("Copy.cis - Tarvelo"));

    // File New: an empty document with nothing to save.
    window.OnFileNew();
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("Untitled - Tarvelo"));
    QCOMPARE(window.Document().ScanData().Lines.Size(), 0);
    QCOMPARE(window.Bar()->FileField()->text(), QString());
  }

  void RecentFilesGeometryAndFolderLastBetweenSessions() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    const QString roll = testing::CopySampleRoll(dir);
    const std::string gone = dir.File("Gone.cis");
    fs::copy_file(roll.toStdString(), gone);
    RecordingPresenter presenter;
    {
      MainWindow window(testing::TestWindowOptions(presenter, profile_path));
      window.show();
      // First start: nine tenths of the screen's available area.
      const QRect available = window.screen()->availableGeometry();
      QCOMPARE(window.size(), QSize(available.width() * 9 / 10, available.height() * 9 / 10));
      QVERIFY(window.OpenFile(Q(gone)));
      QVERIFY(window.OpenFile(roll));
      window.resize(700, 560);
      window.close();
    }
    fs::remove(gone);
    IniProfile profile(profile_path);
    QCOMPARE(profile.GetProfileInt("Desktop", "WindowWidth", 0), 700);
    QCOMPARE(profile.GetProfileString("Desktop", "LastFolder", ""), fs::absolute(dir.Path()).string());
    QCOMPARE(profile.GetProfileString("Desktop", "RecentFile1", ""), fs::absolute(roll.toStdString()).string());
    QCOMPARE(profile.GetProfileString("Desktop", "RecentFile2", ""), fs::absolute(gone).string());

    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    window.show();
    QCOMPARE(window.size(), QSize(700, 560));
    const std::vector<QAction*>& recent = window.RecentFileActions();
    QVERIFY(recent[0]->isVisible() && recent[1]->isVisible() && !recent[2]->isVisible());
    QCOMPARE(recent[0]->text(), QStringLiteral("&1 ") + Q(fs::absolute(roll.toStdString()).string()));
    recent[0]->trigger();
    QCOMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
    QVERIFY(presenter.texts.empty());

    // A recent file that has gone: its message, and it leaves the list.
    recent[1]->trigger();
    QCOMPARE(presenter.texts.size(), size_t{1});
    QCOMPARE(presenter.kinds[0], MessageKind::kError);
    QCOMPARE(window.Recent().Paths().size(), size_t{1});
    QVERIFY(!recent[1]->isVisible());
    QCOMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
  }

  void AFileDroppedOnTheWindowIsOpened() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(testing::CopySampleRoll(dir))});
    QDragEnterEvent enter(QPoint(200, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(200, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QVERIFY(drop.isAccepted());
    // Opened once the drop has been answered.
    QTRY_COMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
    QVERIFY(fs::exists(dir.File("SampleRoll_ScanImageMIDI.mid")));
    QVERIFY(fs::exists(dir.File("SampleRoll_eRollMIDI.mid")));
  }

  void TheProgramOpensTheFileNamedOnItsCommandLine() {
    testing::TempDir dir;
    const QString roll = testing::CopySampleRoll(dir);
    const std::string shot = dir.File("window.png");
    const testing::CommandResult run = testing::RunCommand(
        "QT_QPA_PLATFORM=offscreen TARVELO_PROFILE=" + testing::ShellQuote(dir.File("Tarvelo.ini")) + " " +
        testing::ShellQuote(TARVELO_DESKTOP_PATH) + " --tracking --screenshot " + testing::ShellQuote(shot) + " " +
        testing::ShellQuote(roll.toStdString()));
    QVERIFY2(run.status == 0, run.err.c_str());
    QVERIFY(fs::exists(dir.File("SampleRoll_ScanImageMIDI.mid")));
    QVERIFY(fs::exists(dir.File("SampleRoll_eRollMIDI.mid")));
    const QImage picture(Q(shot));
    QVERIFY(!picture.isNull());

    const testing::CommandResult refused = testing::RunCommand(
        "QT_QPA_PLATFORM=offscreen TARVELO_PROFILE=" + testing::ShellQuote(dir.File("Tarvelo.ini")) + " " +
        testing::ShellQuote(TARVELO_DESKTOP_PATH) + " --screenshot " + testing::ShellQuote(dir.File("no/such/a.png")));
    QCOMPARE(refused.status, 1);
    QVERIFY(refused.err.find("cannot write the screenshot") != std::string::npos);
  }

  // A screenshot run waits for no one: the warnings of a damaged scan go to standard error
  // instead of a message window that would wait for an answer.
  void AScreenshotOfADamagedScanFinishes() {
    testing::TempDir dir;
    synth::CisHeaderFields header;
    header.width = 1000;
    header.line_count = 300;
    std::string bytes = synth::EncodeCisHeader(header);
    for (int line = 0; line < 300; ++line)
      synth::AppendCisLine(bytes, line % 50 == 7 ? std::vector<uint32_t>{900, 300} : std::vector<uint32_t>{400, 600},
                           0);
    testing::WriteBytes(dir.File("damaged.cis"), bytes);
    const std::string shot = dir.File("window.png");
    const testing::CommandResult run = testing::RunCommand(
        "QT_QPA_PLATFORM=offscreen TARVELO_PROFILE=" + testing::ShellQuote(dir.File("Tarvelo.ini")) + " timeout 120 " +
        testing::ShellQuote(TARVELO_DESKTOP_PATH) + " --screenshot " + testing::ShellQuote(shot) + " " +
        testing::ShellQuote(dir.File("damaged.cis")));
    QVERIFY2(run.status == 0, run.err.c_str());
    QVERIFY2(run.err.find("tarvelo: warning: ") != std::string::npos, run.err.c_str());
    QVERIFY(run.err.find("width exceeded") != std::string::npos);
    QVERIFY(!QImage(Q(shot)).isNull());
  }

  void RealScansThroughTheWindowGiveTheCommandLinesMidiFiles() {
    if (testing::RealCisDir().empty()) QSKIP("no ../shared/data/real-cis");
    qputenv("SOURCE_DATE_EPOCH", "1700000000");
    for (const char* name : {"stepper_single.CIS", "stepper_twin.CIS"}) {
      testing::TempDir dir;
      fs::create_directories(dir.Path() / "window");
      fs::create_directories(dir.Path() / "cli");
      const fs::path scan = dir.Path() / "window" / name;
      fs::create_symlink(testing::RealCisDir() / name, scan);
      const std::string profile_path = dir.File("Tarvelo.ini");

      RecordingPresenter presenter;
      MainWindow window(testing::TestWindowOptions(presenter, profile_path));
      window.show();
      QVERIFY(window.OpenFile(Q(scan.string())));
      // A roll type chosen in the box, then Re-Process.
      QComboBox* roll_type = window.Bar()->RollTypeBox();
      roll_type->setFocus();
      QTest::keyClicks(roll_type, "88");
      QCOMPARE(roll_type->currentText(), QStringLiteral("88-Note"));
      QTest::mouseClick(window.Bar()->ReprocessButton(), Qt::LeftButton);
      QVERIFY(!window.State().IsReprocessPending());

      const testing::CommandResult cli = testing::RunCommand(
          testing::CliPath() + " convert --quiet --profile " + testing::ShellQuote(profile_path) + " --roll-types " +
          testing::ShellQuote(testing::SourceFile("data/RollTypeDefinitions.xml")) + " --output-dir " +
          testing::ShellQuote((dir.Path() / "cli").string()) + " " +
          testing::ShellQuote((testing::RealCisDir() / name).string()));
      // Converted (0), or converted with warnings (3: the 88-Note tracks do not fit every scan).
      QVERIFY2(cli.status == 0 || cli.status == 3, cli.err.c_str());
      const std::string stem = fs::path(name).stem().string();
      for (const char* suffix : {"_ScanImageMIDI.mid", "_eRollMIDI.mid"}) {
        const std::string from_window = testing::ReadBytes((dir.Path() / "window" / (stem + suffix)).string());
        const std::string from_cli = testing::ReadBytes((dir.Path() / "cli" / (stem + suffix)).string());
        QVERIFY2(!from_window.empty(), (stem + suffix).c_str());
        QVERIFY2(from_window == from_cli, (stem + suffix).c_str());
      }
      // Where the settings do not fit a scan, the window says so in the banner above the view,
      // never in a modal message.
      QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
      if (!window.FrontEnd().LastNotice().empty()) {
        QVERIFY(!window.Banner()->isHidden());
        QVERIFY(!window.Banner()->Text().isEmpty());
        QVERIFY(window.statusBar()->currentMessage().isEmpty());
      }
    }
  }
};

QTEST_MAIN(DesktopFilesTest)
#include "DesktopFiles_test.moc"

// The user's work on a roll is kept: header edits made in "CIS Data" mark the title bar and are
// offered to be saved ("Save", "Discard", "Cancel") before the roll is closed, and they reach
// the roll information both MIDI files embed. The roll information of a newly opened roll is
// completed once the roll is shown, and a dropped file is opened after its drag has ended.
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <filesystem>

#include "DesktopTestSupport.h"
#include "app/ControlBar.h"
#include "cis/CisFile.h"
#include "helpers/RecordingFrontEnd.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

// Once the event loop runs the save prompt, answers it with `answer`.
void AnswerSavePrompt(QMessageBox::StandardButton answer, bool* asked) {
  QTimer::singleShot(0, [answer, asked] {
    auto* prompt = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!prompt || prompt->objectName() != QStringLiteral("savePrompt")) return;
    *asked = true;
    prompt->button(answer)->click();
  });
}

// "CIS Data" with the title and tempo entered.
void EditHeader(MainWindow& window, const QString& title, const QString& tempo) {
  testing::AnswerNextModal([&](QDialog* dialog) {
    dialog->findChild<QLineEdit*>("Title")->setText(title);
    dialog->findChild<QLineEdit*>("Tempo")->setText(tempo);
    QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
  });
  QTest::mouseClick(window.Bar()->CisDataButton(), Qt::LeftButton);
}

std::string TitleInFile(const QString& path) {
  testing::RecordingFrontEnd reader;
  CisScanData data;
  if (!OpenCisFile(path.toStdString(), false, data, reader).ok()) return "(unreadable)";
  return data.Header.Title;
}

}  // namespace

class DesktopDocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void UnsavedHeaderEditsAreMarkedAndOfferedToBeSaved() {
    testing::TempDir dir;
    const QString roll = testing::CopySampleRoll(dir);
    const QString other = QString::fromStdString(dir.File("Other.cis"));
    std::filesystem::copy_file(roll.toStdString(), other.toStdString());
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(roll));
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("SampleRoll.cis - Tarvelo"));
    EditHeader(window, "Edited", "80");
    QVERIFY(window.HasUnsavedEdits());
    QCOMPARE(testing::ShownTitle(window), QStringLiteral("SampleRoll.cis* - Tarvelo"));

    // Cancel: another file, New and quitting all leave the roll open with its edits.
    bool asked = false;
    AnswerSavePrompt(QMessageBox::Cancel, &asked);
    QVERIFY(!window.OpenFile(other));
    QVERIFY(asked);
    QCOMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
    asked = false;
    AnswerSavePrompt(QMessageBox::Cancel, &asked);
    QVERIFY(!window.close());
    QVERIFY(asked && window.isVisible());
    asked = false;
    AnswerSavePrompt(QMessageBox::Cancel, &asked);
    window.OnFileNew();
    QVERIFY(asked);
    QCOMPARE(window.Document().ScanData().Header.Title, std::string("Edited"));

    // Discard: the other file opens and the scan on disk keeps its title.
    asked = false;
    AnswerSavePrompt(QMessageBox::Discard, &asked);
    QVERIFY(window.OpenFile(other));
    QVERIFY(asked);
    QVERIFY(!window.isWindowModified());
    QCOMPARE(TitleInFile(roll), std::string("Tarvelo sample: scales, chords"));

    // Save: the edits are written into the file before the window closes. Edited back to what
    // was read, nothing is left to save.
    EditHeader(window, "Kept", "80");
    EditHeader(window, "Tarvelo sample: scales, chords", "80");
    QVERIFY(!window.HasUnsavedEdits());
    EditHeader(window, "Kept", "80");
    asked = false;
    AnswerSavePrompt(QMessageBox::Save, &asked);
    QVERIFY(window.close());
    QVERIFY(asked);
    QCOMPARE(TitleInFile(other), std::string("Kept"));
    QVERIFY(presenter.texts.empty());
  }

  void HeaderEditsReachTheRollInformationTheFilesEmbed() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    EditHeader(window, "The Swan (Saint-Saens)", "72.9");
    QTest::mouseClick(window.Bar()->ReprocessButton(), Qt::LeftButton);
    for (const char* output : {"SampleRoll_eRollMIDI.mid", "SampleRoll_ScanImageMIDI.mid"}) {
      const std::string bytes = testing::ReadBytes(dir.File(output));
      for (const char* text : {"/title: The Swan (Saint-Saens)", "/roll_tempo: 72", "/play_tempo: 72"})
        QVERIFY2(bytes.find(text) != std::string::npos, text);
      QVERIFY(bytes.find("/title: Tarvelo sample") == std::string::npos);
    }
    bool asked = false;
    AnswerSavePrompt(QMessageBox::Discard, &asked);
    window.OnFileNew();
    QVERIFY(asked);
    QVERIFY(presenter.texts.empty());
  }

  void TheRollInformationIsAskedForOnceTheRollIsShownAndADropEndsAtOnce() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindowOptions options = testing::TestWindowOptions(presenter);
    bool drop_answered = false;
    std::string shown_when_asked;
    options.EditRollInfo = [&](RollInfo& info) {
      shown_when_asked = window_->Document().FileNameWithExtension();
      info.Composer = "Camille Saint-Saens";
      return drop_answered;
    };
    MainWindow window(options);
    window_ = &window;
    window.show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(testing::CopySampleRoll(dir))});
    QDragEnterEvent enter(QPoint(200, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(200, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QVERIFY(drop.isAccepted());
    QVERIFY(shown_when_asked.empty());  // the drop was answered before anything was opened
    drop_answered = true;
    QTRY_COMPARE(window.Document().FileNameWithExtension(), std::string("SampleRoll.cis"));
    QCOMPARE(shown_when_asked, std::string("SampleRoll.cis"));
    // Completed entries are embedded: the roll was converted again with them.
    QCOMPARE(window.Document().RollInformation().Composer, std::string("Camille Saint-Saens"));
    QVERIFY(testing::ReadBytes(dir.File("SampleRoll_eRollMIDI.mid")).find("/composer: Camille Saint-Saens") !=
            std::string::npos);
    QVERIFY(!window.State().IsReprocessPending());
    window_ = nullptr;
  }

 private:
  MainWindow* window_ = nullptr;
};

QTEST_MAIN(DesktopDocumentTest)
#include "DesktopDocument_test.moc"

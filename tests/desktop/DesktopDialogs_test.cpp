// The dialogs reached from the main window, driven as a collector drives them: each command
// opens its dialog, and what a dialog's OK changes shows in the window (the scanner display, the
// settings-changed state) and in the next conversion.
#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "DesktopTestSupport.h"
#include "app/ControlBar.h"
#include "app/LampWidget.h"
#include "cis/CisFile.h"
#include "helpers/RecordingFrontEnd.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::AnswerNextModal;
using tarvelo::testing::RecordingPresenter;

namespace {

QAction* MenuItem(MainWindow& window, const QString& menu, const QString& item) {
  for (QAction* top : window.menuBar()->actions()) {
    if (top->text() != menu) continue;
    for (QAction* action : top->menu()->actions())
      if (action->text() == item) return action;
  }
  return nullptr;
}

void SetField(QDialog* dialog, const char* name, const QString& text) {
  auto* field = dialog->findChild<QLineEdit*>(name);
  QVERIFY2(field, name);
  field->setText(text);
}

void ClickOk(QDialog* dialog) {
  QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

}  // namespace

class DesktopDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void EachCommandOpensItsDialog() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    ControlBar& bar = *window.Bar();

    QStringList captions;
    const auto note_caption = [&](QDialog* dialog) { captions << dialog->windowTitle(); };
    for (QPushButton* button : {bar.ScannerSettingsButton(), bar.CisDataButton(), bar.EmbeddedTextButton()}) {
      AnswerNextModal(note_caption);
      QTest::mouseClick(button, Qt::LeftButton);
    }
    for (const char* item : {"&ScanImageMIDI Settings", "&eRoll MIDI settings", "&Diagnostics", "&ActiveTracking",
                             "&Twin Array Settings"}) {
      QAction* action = MenuItem(window, "&Settings", item);
      QVERIFY2(action, item);
      AnswerNextModal(note_caption);
      action->trigger();
    }
    QCOMPARE(captions,
             QStringList({"Scanner Settings Dialog", "CIS File Embedded Data",
                          "Embed Keyword Data Text Items Into MIDI file", "General Settings", "eRoll MIDI Settings ",
                          "Diagnostic Settings", "Active Tracking Settings", "Twin Array Processing Settings"}));
    QVERIFY(presenter.texts.empty());
  }

  void ACollectorChangesTheOffsetTheERollSettingsAndTheTempoThenReprocesses() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    RecordingPresenter presenter;
    MainWindowOptions options = testing::TestWindowOptions(presenter, profile_path);
    options.EditRollInfo = nullptr;  // the roll information dialog comes up while the file opens
    MainWindow window(options);
    window.show();
    ControlBar& bar = *window.Bar();

    QString roll_info_caption;
    AnswerNextModal([&](QDialog* dialog) {
      roll_info_caption = dialog->windowTitle();
      SetField(dialog, "composer", "Scott Joplin");
      ClickOk(dialog);
    });
    QVERIFY(window.OpenFile(testing::CopySampleRoll(dir)));
    QCOMPARE(roll_info_caption, QStringLiteral("Embed Keyword Data Text Items Into MIDI file"));
    QCOMPARE(window.Document().RollInformation().Composer, std::string("Scott Joplin"));
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGreen);

    // The scanner offset, in the current preset.
    AnswerNextModal([](QDialog* dialog) {
      SetField(dialog, "ScannerOffset", "0.9");
      ClickOk(dialog);
    });
    QTest::mouseClick(bar.ScannerSettingsButton(), Qt::LeftButton);
    QCOMPARE(bar.OffsetField()->text(), QStringLiteral("Offset = 0.9"));
    QCOMPARE(IniProfile(profile_path).GetProfileString("Scanner Settings", "ScannerOffset0", ""), std::string("0.9"));
    QVERIFY(bar.ReprocessButton()->isEnabled());
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kYellow);

    // The eRoll trailer, and the header's tempo.
    AnswerNextModal([](QDialog* dialog) {
      SetField(dialog, "eRollMidiTrailerTime", "3");
      ClickOk(dialog);
    });
    MenuItem(window, "&Settings", "&eRoll MIDI settings")->trigger();
    QCOMPARE(IniProfile(profile_path).GetProfileInt("Midi eRoll Settings", "eRollMidiTrailerTime", 0), 3);
    AnswerNextModal([](QDialog* dialog) {
      SetField(dialog, "Tempo", "72.9");
      ClickOk(dialog);
    });
    QTest::mouseClick(bar.CisDataButton(), Qt::LeftButton);
    QCOMPARE(window.Document().ScanData().Header.Tempo, int16_t{72});

    // Re-Process: the lamps turn green and the outputs carry the new values.
    QTest::mouseClick(bar.ReprocessButton(), Qt::LeftButton);
    QCOMPARE(bar.ScanMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QCOMPARE(bar.ERollMidiLamp()->CurrentLamp(), Lamp::kGreen);
    QVERIFY(!bar.ReprocessButton()->isEnabled());
    QCOMPARE(window.Session().ERoll.eRollMidiTrailerTime, 3);
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());

    // Saving writes the corrected tempo into the file.
    const QString saved = QString::fromStdString(dir.File("Saved.cis"));
    QVERIFY(window.SaveDocumentAs(saved));
    testing::RecordingFrontEnd reader;
    CisScanData data;
    QVERIFY(OpenCisFile(saved.toStdString(), false, data, reader).ok());
    QCOMPARE(data.Header.Tempo, int16_t{72});
  }
};

QTEST_MAIN(DesktopDialogsTest)
#include "DesktopDialogs_test.moc"

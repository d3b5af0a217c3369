// Aligning the open roll from the desktop: the scanner dialog's "Align to This Roll" fills the
// DPI, offset and stretch fields (Apply stores them, Cancel nothing), and the roll type box's
// "Recognise From This Roll" chooses the recognised type as a choice in the box would, or keeps
// the one in use when the holes do not decide.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <sstream>

#include "DesktopTestSupport.h"
#include "app/ControlBar.h"
#include "helpers/AlignmentRolls.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

constexpr double kTrueOffset = 1.16;  // 1.4 tracks from the preset's 1.0
constexpr double kTrueStretch = 1.004;

// A 50-inch roll of `system` scanned at 300 DPI with the paper at kTrueOffset, stretched by
// kTrueStretch, wandering and ragged.
std::string SystemRollBytes(synth::RollSystem system) {
  synth::SyntheticRollSpec plan = testing::SystemRoll(system, kTrueOffset, kTrueStretch, 300);
  plan.length_inch = 50;
  plan.holes = synth::SystemRollHoles(system, 50, 11);
  return synth::RenderSyntheticCis(plan);
}

QString WriteRoll(const testing::TempDir& dir, const std::string& name, const std::string& bytes) {
  testing::WriteBytes(dir.File(name), bytes);
  return QString::fromStdString(dir.File(name));
}

// Once the event loop runs the next modal dialog, hands it to `act`, which closes it.
void OnNextModal(std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) act(dialog);
  });
}

QString FieldText(QDialog* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name)->text(); }

QPushButton* DialogButton(QDialog* dialog, QDialogButtonBox::StandardButton which) {
  return dialog->findChild<QDialogButtonBox*>()->button(which);
}

// What the scanner dialog showed after "Align to This Roll" was pressed.
struct AlignedFields {
  bool enabled = false;
  QString before;  // DPI, offset and stretch before the button was pressed
  QString dpi, offset, stretch, measured;
};

// Opens the scanner dialog from the control bar, presses "Align to This Roll" when it can, and
// closes the dialog with `close` (Apply or Cancel).
AlignedFields AlignInScannerDialog(MainWindow& window, QDialogButtonBox::StandardButton close) {
  AlignedFields seen;
  OnNextModal([&](QDialog* dialog) {
    auto* align = dialog->findChild<QPushButton*>("AlignToRoll");
    seen.enabled = align->isEnabled();
    seen.before = FieldText(dialog, "ScannerDPI") + " " + FieldText(dialog, "ScannerOffset") + " " +
                  FieldText(dialog, "ScannerAlignStretch");
    if (seen.enabled) QTest::mouseClick(align, Qt::LeftButton);
    seen.dpi = FieldText(dialog, "ScannerDPI");
    seen.offset = FieldText(dialog, "ScannerOffset");
    seen.stretch = FieldText(dialog, "ScannerAlignStretch");
    seen.measured = dialog->findChild<QLabel*>("AlignmentMeasured")->text();
    QTest::mouseClick(DialogButton(dialog, close), Qt::LeftButton);
  });
  QTest::mouseClick(window.Bar()->ScannerSettingsButton(), Qt::LeftButton);
  return seen;
}

bool RecogniseEntryEnabled(const ControlBar& bar) {
  auto* model = qobject_cast<QStandardItemModel*>(bar.RollTypeBox()->model());
  return model->item(bar.RecogniseEntryIndex())->isEnabled();
}

// Chooses "Recognise From This Roll" from the keyboard (the last entry of the box).
void ChooseRecognise(ControlBar& bar) {
  bar.RollTypeBox()->setFocus();
  QTest::keyClick(bar.RollTypeBox(), Qt::Key_End);
}

// The shipped library with `names` in place of its roll types, each a copy of the 88-Note type.
std::string TwinNoteLibrary(const testing::TempDir& dir, const std::vector<std::string>& names) {
  std::ifstream in(testing::SourceFile("data/RollTypeDefinitions.xml"));
  std::stringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  const size_t start = all.find("<RollType Name=\"88-Note\">");
  const size_t end = all.find("</RollType>", start) + std::string("</RollType>").size();
  std::string library = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<RollTypeDefinitions>\n";
  for (const std::string& name : names) {
    std::string type = all.substr(start, end - start);
    type.replace(type.find("88-Note"), 7, name);
    library += type + "\n";
  }
  library += "</RollTypeDefinitions>\n";
  testing::WriteBytes(dir.File("Library.xml"), library);
  return dir.File("Library.xml");
}

}  // namespace

class DesktopAlignmentTest : public QObject {
  Q_OBJECT

 private slots:
  void AlignToThisRollFillsTheFieldsAndOnlyApplyStoresThem() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    QVERIFY(IniProfile(profile_path).WriteProfileString("Roll Settings", "ActiveRollTypeName", "Ampico B").ok());
    QVERIFY(testing::KeepPresetPlacement(profile_path));
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    window.show();

    // No roll open: nothing to measure.
    QVERIFY(!AlignInScannerDialog(window, QDialogButtonBox::Cancel).enabled);

    QVERIFY(window.OpenFile(WriteRoll(dir, "AmpicoB.cis", SystemRollBytes(synth::RollSystem::kAmpicoB))));
    // Active tracking follows the paper, but from the wrong offset not every hole reaches its track.
    const double off_before = window.Document().Summary().HolesOffTrack;
    QVERIFY(off_before * 20 > window.Document().Summary().HolesMeasured);

    // Cancel: the fields were filled, nothing is stored.
    const AlignedFields cancelled = AlignInScannerDialog(window, QDialogButtonBox::Cancel);
    QVERIFY(cancelled.enabled);
    QCOMPARE(cancelled.dpi, QStringLiteral("300"));
    QVERIFY2(std::abs(cancelled.offset.toDouble() - kTrueOffset) <= 0.005, qPrintable(cancelled.offset));
    QVERIFY2(std::abs(cancelled.stretch.toDouble() - kTrueStretch) <= 0.003, qPrintable(cancelled.stretch));
    QVERIFY2(cancelled.measured.startsWith(QStringLiteral("Measured: ")), qPrintable(cancelled.measured));
    QVERIFY2(cancelled.measured.contains(QStringLiteral("of the holes on track with DPI 300, offset ")),
             qPrintable(cancelled.measured));
    QVERIFY2(cancelled.measured.contains(QStringLiteral("; paper edges 1.")), qPrintable(cancelled.measured));
    QCOMPARE(window.Session().Presets.Live().ScannerOffset, 1.0);
    QCOMPARE(IniProfile(profile_path).GetProfileString("Scanner Settings", "ScannerOffset0", "none"),
             std::string("none"));
    QVERIFY(!window.State().IsReprocessPending());

    // Apply: the measured values go into the preset through the usual checks.
    const AlignedFields applied = AlignInScannerDialog(window, QDialogButtonBox::Ok);
    QCOMPARE(applied.offset, cancelled.offset);  // the same measurement
    QCOMPARE(IniProfile(profile_path).GetProfileString("Scanner Settings", "ScannerOffset0", ""),
             applied.offset.toStdString());
    QCOMPARE(IniProfile(profile_path).GetProfileString("Scanner Settings", "ScannerAlignStretch0", ""),
             applied.stretch.toStdString());
    QCOMPARE(window.Session().Presets.Live().ScannerOffset, applied.offset.toDouble());
    QVERIFY(window.State().IsReprocessPending());

    // Converted again with them, the holes lie on their tracks.
    QTest::mouseClick(window.Bar()->ReprocessButton(), Qt::LeftButton);
    const ConversionSummary& summary = window.Document().Summary();
    QVERIFY(summary.HolesMeasured > 1000);
    QVERIFY2(summary.HolesOffTrack * 100 < summary.HolesMeasured, qPrintable(QString::number(summary.HolesOffTrack)));
    QVERIFY(summary.HolesOffTrack * 5 < off_before);
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void AlignToThisRollSaysWhyWhenNothingCanBeMeasured() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter));
    window.show();
    synth::SyntheticRollSpec blank;  // paper without holes
    blank.length_inch = 5;
    QVERIFY(window.OpenFile(WriteRoll(dir, "Blank.cis", synth::RenderSyntheticCis(blank))));
    const AlignedFields seen = AlignInScannerDialog(window, QDialogButtonBox::Cancel);
    QVERIFY(seen.enabled);
    QCOMPARE(seen.measured, QStringLiteral("No settings fit this scan: its holes could not be measured."));
    QCOMPARE(seen.dpi + " " + seen.offset + " " + seen.stretch, seen.before);

    // The roll type box says so too and keeps its selection.
    ChooseRecognise(*window.Bar());
    QCOMPARE(window.statusBar()->currentMessage(),
             QStringLiteral("No settings fit this scan: its holes could not be measured."));
    QCOMPARE(window.Bar()->RollTypeBox()->currentIndex(), 0);
    QVERIFY(!window.State().IsReprocessPending());
  }

  void RecogniseFromThisRollChoosesTheRecognisedType() {
    testing::TempDir dir;
    const std::string profile_path = dir.File("Tarvelo.ini");
    RecordingPresenter presenter;
    MainWindow window(testing::TestWindowOptions(presenter, profile_path));
    window.show();
    ControlBar& bar = *window.Bar();
    QComboBox* box = bar.RollTypeBox();
    // The roll types, a separator, the entry; usable only with a roll open.
    QCOMPARE(box->count(), static_cast<int>(window.RollTypeNames().size()) + 2);
    QCOMPARE(box->itemText(bar.RecogniseEntryIndex()), QStringLiteral("Recognise From This Roll"));
    QVERIFY(!RecogniseEntryEnabled(bar));

    QVERIFY(window.OpenFile(WriteRoll(dir, "AmpicoB.cis", SystemRollBytes(synth::RollSystem::kAmpicoB))));
    QVERIFY(RecogniseEntryEnabled(bar));
    QCOMPARE(box->currentText(), QStringLiteral("Fail-Safe"));
    ChooseRecognise(bar);
    // Chosen as the box would choose it: selected, active, stored, re-process pending.
    QCOMPARE(box->currentText(), QStringLiteral("Ampico B"));
    QCOMPARE(window.Session().Roll.ActiveRollTypeName, std::string("Ampico B"));
    QCOMPARE(window.Document().RollTypeName(), std::string("Ampico B"));
    QCOMPARE(IniProfile(profile_path).GetProfileString("Roll Settings", "ActiveRollTypeName", ""),
             std::string("Ampico B"));
    QVERIFY(window.State().IsReprocessPending());
    const QString said = window.statusBar()->currentMessage();
    QVERIFY2(
        said.startsWith(QStringLiteral("Recognised Ampico B (score 0.")) && said.contains(QStringLiteral("; next ")),
        qPrintable(said));

    // A new document: nothing to recognise; the choice stays.
    window.OnFileNew();
    QVERIFY(!RecogniseEntryEnabled(bar));
    QCOMPARE(box->currentText(), QStringLiteral("Ampico B"));
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void RecogniseFromThisRollKeepsTheTypeWhenTheHolesDoNotDecide() {
    // Two roll types with the same tracks and no known use of control tracks.
    testing::TempDir dir;
    RecordingPresenter presenter;
    MainWindowOptions options = testing::TestWindowOptions(presenter);
    options.RollTypeCandidates = {TwinNoteLibrary(dir, {"Player Roll", "Home-made Roll"})};
    MainWindow window(options);
    window.show();
    ControlBar& bar = *window.Bar();
    QVERIFY(window.OpenFile(WriteRoll(dir, "Plain.cis", SystemRollBytes(synth::RollSystem::kPlain88))));
    bar.RollTypeBox()->setFocus();
    QTest::keyClick(bar.RollTypeBox(), Qt::Key_Down);
    QCOMPARE(bar.RollTypeBox()->currentText(), QStringLiteral("Player Roll"));
    QTest::mouseClick(bar.ReprocessButton(), Qt::LeftButton);

    ChooseRecognise(bar);
    QCOMPARE(bar.RollTypeBox()->currentText(), QStringLiteral("Player Roll"));
    QCOMPARE(window.Session().Roll.ActiveRollTypeName, std::string("Player Roll"));
    QVERIFY(!window.State().IsReprocessPending());
    const QString said = window.statusBar()->currentMessage();
    QVERIFY2(said.startsWith(QStringLiteral("The roll type is undecided: Player Roll 0.")), qPrintable(said));
    QVERIFY2(said.contains(QStringLiteral(", Home-made Roll 0.")), qPrintable(said));
    QVERIFY2(said.endsWith(QStringLiteral("; Player Roll is kept")), qPrintable(said));
  }
};

QTEST_MAIN(DesktopAlignmentTest)
#include "DesktopAlignment_test.moc"

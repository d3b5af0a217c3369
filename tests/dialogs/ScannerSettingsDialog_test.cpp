// The scanner presets dialog driven through its controls: refusals, Apply, Cancel, switching
// presets, the offset nudge, and values a hand-edited profile holds.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

#include "app/dialogs/ScannerSettingsDialog.h"
#include "dialogs/DialogTestKit.h"

using tarvelo::ScannerPresets;
using tarvelo::app::ScannerSettingsDialog;
using namespace tarvelo::testing;

namespace {

constexpr const char* kSection = "Scanner Settings";

QLineEdit* FieldOf(QDialog& dialog, const QString& name) {
  if (auto* combo = dialog.findChild<QComboBox*>(name)) return combo->lineEdit();
  return dialog.findChild<QLineEdit*>(name);
}

}  // namespace

class ScannerSettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void refusesOutOfRangeFields_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("range");
    const auto row = [](const char* name, const char* field, const QString& text, const char* named,
                        const char* range) { QTest::newRow(name) << field << text << named << range; };
    row("DPI 9", "ScannerDPI", "9", "Scanner Horizontal DPI", "10 1000");
    row("DPI 1001", "ScannerDPI", "1001", "Scanner Horizontal DPI", "10 1000");
    row("DPI not a number", "ScannerDPI", "300 dpi", "Scanner Horizontal DPI", "10 1000");
    row("offset 20.5", "ScannerOffset", "20.5", "+/- Horiz Offset (in Inches)", "-20 20");
    row("offset empty", "ScannerOffset", "", "+/- Horiz Offset (in Inches)", "-20 20");
    row("stretch 0.4", "ScannerAlignStretch", "0.4", "Stretch Factor (1.0 typical)", "0.5 2");
    row("take-up 5.5", "TakeupAccelPct", "5.5", "% per Foot", "-5 5");
    row("overlap 101", "TwinArrayOverlap", "101", "Overlap Width (in Inches)", "0 100");
    row("vertical offset 6", "TwinArrayVertOffset", "6", "Sensor Vert. Offset (in Inches)", "0 5");
    row("mode of 33", "ScannerModeType", QString(33, QLatin1Char('m')), "Scanner Mode", "32");
    row("name of 129", "PresetName", QString(129, QLatin1Char('n')), "Rename", "128");
  }
  void refusesOutOfRangeFields() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(QString, range);
    CountingProfile profile;
    ScannerPresets presets(profile);
    ScannerSettingsDialog dialog(presets, profile);
    ShowDialog(dialog);

    QLineEdit* edit = FieldOf(dialog, field);
    QVERIFY(edit);
    TypeInto(edit, text);
    const QString message = ClickAnsweringMessage(AcceptButton(dialog));

    QVERIFY2(NamesFieldAndRange(message, named, range), qPrintable(message));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.Outcome().ReprocessPending, false);
    QCOMPARE(profile.writes, 0);
    QCOMPARE(presets.Live().ScannerDPI, 300LL);
    QCOMPARE(presets.Preset(0).ScannerOffset, std::string("1.00"));
    QCOMPARE(edit->text(), text);  // the entry stays for the user to correct
    if (!text.isEmpty()) QVERIFY(HasFocusAndSelection(dialog, edit));
  }

  void applyStoresTheCurrentPreset() {
    CountingProfile profile;
    ScannerPresets presets(profile);
    ScannerSettingsDialog dialog(presets, profile);
    ShowDialog(dialog);

    TypeInto(FieldOf(dialog, "PresetName"), "Studio scanner");
    TypeInto(FieldOf(dialog, "ScannerDPI"), "400");
    TypeInto(FieldOf(dialog, "ScannerOffset"), " 0.525 ");
    TypeInto(FieldOf(dialog, "ScannerAlignStretch"), "1");
    TypeInto(FieldOf(dialog, "ScannerModeType"), "Home-made encoder, 32 characters");
    ClickBox(dialog.findChild<QCheckBox*>("RemoveTakeupAccel"));
    TypeInto(FieldOf(dialog, "TakeupAccelPct"), "-0.3");
    ClickBox(dialog.findChild<QRadioButton*>("ScanLightingMethod2"));
    TypeInto(FieldOf(dialog, "TwinArrayOverlap"), "0.8");
    ClickBox(dialog.findChild<QCheckBox*>("ForceOldCisFormat"));
    // Auto-Tweak is on by default; the user turns it off for this preset.
    QCheckBox* auto_tweak = dialog.findChild<QCheckBox*>("AutoTweakSettings");
    QVERIFY(auto_tweak->isEnabled());
    QVERIFY(auto_tweak->isChecked());
    ClickBox(auto_tweak);
    QVERIFY(AcceptButton(dialog)->isDefault());
    QCOMPARE(AcceptButton(dialog)->text(), QString("Apply"));
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Outcome().ReprocessPending && dialog.Outcome().ScannerDisplayChanged && dialog.Outcome().Repaint);
    // Stretch 1 is written as its 8-digit text and reads back as 1.0.
    QCOMPARE(profile.GetProfileString(kSection, "ScannerAlignStretch0", ""), std::string("1."));
    QCOMPARE(profile.GetProfileString(kSection, "ScannerOffset0", ""), std::string("0.525"));
    QCOMPARE(profile.GetProfileInt(kSection, "AutoTweakSettings0", -1), 0);
    QCOMPARE(profile.GetProfileInt(kSection, "CurrentPreset", -1), 0);
    const ScannerPresets reread(profile);
    QCOMPARE(reread.Live().ScannerAlignStretch, 1.0);
    QCOMPARE(reread.Live().ScannerDPI, 400LL);
    QCOMPARE(reread.Live().ScannerModeType, std::string("Home-made encoder, 32 characters"));
    QCOMPARE(reread.Live().TakeupAccelCorrection(), -0.3);
    QCOMPARE(reread.Live().ScanLightingMethod, 2);
    QCOMPARE(reread.Live().TwinArrayOverlap, 0.8);
    QVERIFY(reread.Live().ForceOldCisFormat);
    QCOMPARE(reread.CurrentPreset().PresetName, std::string("Studio scanner"));
    // The live record of the session follows at once.
    QCOMPARE(presets.Live().ScannerOffset, 0.525);
  }

  void listsTheSixteenPresetsAndTheSortedModes() {
    CountingProfile profile;
    ScannerPresets presets(profile);
    ScannerSettingsDialog dialog(presets, profile);
    auto* list = dialog.findChild<QComboBox*>("PresetList");
    QCOMPARE(list->count(), 16);
    QCOMPARE(list->itemText(0), QString("My Scanner"));
    QCOMPARE(list->itemText(15), QString("Alternate15"));
    QVERIFY(!list->isEditable());
    auto* modes = dialog.findChild<QComboBox*>("ScannerModeType");
    QVERIFY(modes->isEditable());
    QStringList names;
    for (int index = 0; index < modes->count(); ++index) names << modes->itemText(index);
    QCOMPARE(names, QStringList({"Mode1 - no encoding", "Mode4 encoder : count down", "Mode4 encoder : count up",
                                 "Shaft Encoder"}));
    QCOMPARE(modes->currentText(), QString("Mode1 - no encoding"));
  }

  void switchingThenCancelKeepsTheLiveRecord() {
    CountingProfile profile;
    profile.WriteProfileInt(kSection, "ScannerDPI3", 600).Ignore();
    profile.WriteProfileString(kSection, "TakeupAccelPct0", "0.20").Ignore();
    profile.ForgetWrites();
    ScannerPresets presets(profile);
    {
      ScannerSettingsDialog dialog(presets, profile);
      ShowDialog(dialog);
      auto* list = dialog.findChild<QComboBox*>("PresetList");
      list->setCurrentIndex(3);  // as choosing it in the drop-down does
      QCOMPARE(FieldOf(dialog, "ScannerDPI")->text(), QString("600"));
      QCOMPARE(FieldOf(dialog, "PresetName")->text(), QString("Alternate3"));
      QCOMPARE(FieldOf(dialog, "TakeupAccelPct")->text(), QString("0.23"));
      QTest::mouseClick(CancelButton(dialog), Qt::LeftButton);
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      QCOMPARE(dialog.Outcome().ReprocessPending, false);
    }
    QCOMPARE(profile.writes, 0);
    QCOMPARE(presets.Live().ScannerDPI, 300LL);
    QCOMPARE(presets.Live().PresetName, std::string("My Scanner"));
    QCOMPARE(presets.CurrentIndex(), 3);

    ScannerSettingsDialog again(presets, profile);
    QCOMPARE(again.findChild<QComboBox*>("PresetList")->currentIndex(), 3);
    QCOMPARE(FieldOf(again, "ScannerDPI")->text(), QString("600"));
    QCOMPARE(FieldOf(again, "PresetName")->text(), QString("Alternate3"));
  }

  void aNudgeSurvivesCancelButNotApply() {
    CountingProfile profile;
    ScannerPresets presets(profile);
    presets.NudgeOffset(0.025);
    {
      ScannerSettingsDialog dialog(presets, profile);
      ShowDialog(dialog);
      QCOMPARE(FieldOf(dialog, "ScannerOffset")->text(), QString("1.00"));  // the preset's, not the nudged
      QTest::mouseClick(CancelButton(dialog), Qt::LeftButton);
    }
    QCOMPARE(presets.Live().ScannerOffset, 1.025);
    ScannerSettingsDialog dialog(presets, profile);
    ShowDialog(dialog);
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(presets.Live().ScannerOffset, 1.0);
  }

  void handEditedValuesAreShownAsHeldAndRefusedOnlyUnchanged() {
    CountingProfile profile;
    profile.WriteProfileInt(kSection, "ScannerDPI0", 5000).Ignore();
    profile.WriteProfileString(kSection, "ScannerAlignStretch0", "1.0 (checked)").Ignore();
    profile.ForgetWrites();
    ScannerPresets presets(profile);
    ScannerSettingsDialog dialog(presets, profile);
    ShowDialog(dialog);
    QCOMPARE(FieldOf(dialog, "ScannerDPI")->text(), QString("5000"));
    QCOMPARE(FieldOf(dialog, "ScannerAlignStretch")->text(), QString("1.0 (checked)"));

    QVERIFY(ClickAnsweringMessage(AcceptButton(dialog)).startsWith("Scanner Horizontal DPI"));
    QVERIFY(HasFocusAndSelection(dialog, FieldOf(dialog, "ScannerDPI")));
    TypeInto(FieldOf(dialog, "ScannerDPI"), "500");
    QVERIFY(ClickAnsweringMessage(AcceptButton(dialog)).startsWith("Stretch Factor (1.0 typical)"));
    TypeInto(FieldOf(dialog, "ScannerAlignStretch"), "1.0");
    QCOMPARE(profile.writes, 0);
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(profile.GetProfileInt(kSection, "ScannerDPI0", 0), 500);
  }

  void aProfileThatCannotBeWrittenIsReported() {
    CountingProfile profile;
    profile.fail_writes = true;
    ScannerPresets presets(profile);
    ScannerSettingsDialog dialog(presets, profile);
    ShowDialog(dialog);
    TypeInto(FieldOf(dialog, "ScannerOffset"), "0.75");
    const QString message = ClickAnsweringMessage(AcceptButton(dialog));
    QVERIFY2(message.contains("could not be saved") && message.contains("disk full"), qPrintable(message));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(presets.Live().ScannerOffset, 0.75);
  }
};

QTEST_MAIN(ScannerSettingsDialogTest)
#include "ScannerSettingsDialog_test.moc"

// The five settings group dialogs driven through their controls: the refusals of their checks
// with nothing written, Cancel, OK writing the section, and values a hand-edited profile holds.

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "app/dialogs/ActiveTrackingSettingsDialog.h"
#include "app/dialogs/DiagnosticSettingsDialog.h"
#include "app/dialogs/ERollSettingsDialog.h"
#include "app/dialogs/GeneralSettingsDialog.h"
#include "app/dialogs/TwinArraySettingsDialog.h"
#include "dialogs/DialogTestKit.h"

using namespace tarvelo;
using tarvelo::app::CheckedDialog;
using namespace tarvelo::testing;

namespace {

// The five groups as the main window holds them, loaded from one profile.
struct Groups {
  explicit Groups(const ProfileStore& store)
      : general(store), eroll(store), diagnostic(store), tracking(store), twin_array(store) {}
  GeneralSettings general;
  ERollSettings eroll;
  DiagnosticSettings diagnostic;
  ActiveTrackingSettings tracking;
  TwinArraySettings twin_array;
};

std::unique_ptr<CheckedDialog> OpenDialog(const QString& which, Groups& groups, ProfileStore& store) {
  if (which == "general") return std::make_unique<app::GeneralSettingsDialog>(groups.general, store);
  if (which == "eroll") return std::make_unique<app::ERollSettingsDialog>(groups.eroll, store);
  if (which == "diagnostic") return std::make_unique<app::DiagnosticSettingsDialog>(groups.diagnostic, store);
  if (which == "tracking") return std::make_unique<app::ActiveTrackingSettingsDialog>(groups.tracking, store);
  return std::make_unique<app::TwinArraySettingsDialog>(groups.twin_array, store);
}

}  // namespace

class SettingsDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void refusesOutOfRangeFields_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("range");
    const auto row = [](const char* name, const char* dialog, const char* field, const QString& text, const char* named,
                        const char* range) { QTest::newRow(name) << dialog << field << text << named << range; };
    const QString long65(65, QLatin1Char('p'));
    const QString long33(33, QLatin1Char('p'));
    row("lead-in 11", "general", "ScanMidiLeadInTime", "11", "Lead - In time in seconds", "0 10");
    row("speck width 0", "general", "SpeckThresholdWidthPct", "0",
        "Remove as speck if width less than (percent of track)", "1 100");
    row("speck width 101", "general", "SpeckThresholdWidthPct", "101",
        "Remove as speck if width less than (percent of track)", "1 100");
    row("speck length 1.5", "general", "SpeckThresholdLength", "1.5", "Remove as speck if length less than (inches)",
        "0 1");
    row("glitch not a number", "general", "GlitchThresholdDistance", "0,01",
        "Merge holes if separated by less than (inches)", "0 1");
    row("prefix of 65", "general", "ScanMidiFilePrefix", long65, "Prefix", "64");
    row("copyright of 128", "general", "MidiCopyrightInfoString", QString(128, QLatin1Char('c')),
        "Default Copyright Text For MIDI files", "127");
    row("eRoll prefix of 33", "eroll", "eRollMidiFilePrefix", long33, "Prefix", "32");
    row("eRoll suffix of 33", "eroll", "eRollMidiFileSuffix", long33, "Suffix", "32");
    row("eRoll trailer 11", "eroll", "eRollMidiTrailerTime", "11", "Trailer time in seconds", "0 10");
    row("encoder ticks 0", "diagnostic", "EncoderTicksToAverage", "0",
        "Number of Encoder Ticks to average for Shaft Encoder Scanners", "1 20");
    row("encoder ticks 21", "diagnostic", "EncoderTicksToAverage", "21",
        "Number of Encoder Ticks to average for Shaft Encoder Scanners", "1 20");
    row("histogram 101", "diagnostic", "HistogramMinDisplayDistance", "101",
        "Suppress Histogram Data Below This Threshold Spacing", "0 100");
    row("events 0", "tracking", "EventsBetweenUpdates", "0", "Min number of events between updates", "1 1000");
    row("update distance 0.05", "tracking", "TrackingUpdateDistance", "0.05", "Distance Between Tracking Updates",
        "0.1 10");
    row("capture distance 0.6", "tracking", "RollEdgeCaptureDistance", "0.6", "Roll Edge Capture Distance", "0 0.5");
    row("loop gain 1.01", "tracking", "TrackingLoopGain", "1.01", "Tracking Loop Gain ( less than 1.0 )", "0 1");
  }
  void refusesOutOfRangeFields() {
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    QFETCH(QString, range);
    CountingProfile profile;
    Groups groups(profile);
    const auto shown = OpenDialog(dialog, groups, profile);
    ShowDialog(*shown);
    auto* edit = shown->findChild<QLineEdit*>(field);
    QVERIFY(edit);
    TypeInto(edit, text);

    const QString message = ClickAnsweringMessage(AcceptButton(*shown));
    QVERIFY2(NamesFieldAndRange(message, named, range), qPrintable(message));
    QVERIFY(shown->isVisible());
    QVERIFY(HasFocusAndSelection(*shown, edit));
    QCOMPARE(profile.writes, 0);
    QCOMPARE(shown->Outcome().ReprocessPending, false);
  }

  void cancelWritesNothing_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("field");
    QTest::newRow("general") << "general"
                             << "ScanMidiLeadInTime";
    QTest::newRow("eroll") << "eroll"
                           << "eRollMidiLeadInTime";
    QTest::newRow("diagnostic") << "diagnostic"
                                << "EncoderTicksToAverage";
    QTest::newRow("tracking") << "tracking"
                              << "EventsBetweenUpdates";
    QTest::newRow("twin array") << "twin"
                                << "ShowCrossoverLine";
  }
  void cancelWritesNothing() {
    QFETCH(QString, dialog);
    QFETCH(QString, field);
    CountingProfile profile;
    Groups groups(profile);
    const auto shown = OpenDialog(dialog, groups, profile);
    ShowDialog(*shown);
    if (auto* edit = shown->findChild<QLineEdit*>(field)) TypeInto(edit, "5");
    if (auto* box = shown->findChild<QCheckBox*>(field)) ClickBox(box);
    QTest::mouseClick(CancelButton(*shown), Qt::LeftButton);

    QCOMPARE(shown->result(), int(QDialog::Rejected));
    QCOMPARE(profile.writes, 0);
    QCOMPARE(shown->Outcome().ReprocessPending, false);
    QCOMPARE(groups.general.ScanMidiLeadInTime, 2);
    QCOMPARE(groups.eroll.eRollMidiLeadInTime, 2);
    QCOMPARE(groups.diagnostic.EncoderTicksToAverage, 2);
    QCOMPARE(groups.tracking.EventsBetweenUpdates, 25);
    QCOMPARE(groups.twin_array.ShowCrossoverLine, true);
  }

  void generalOkWritesTheSectionInOrder() {
    CountingProfile profile;
    Groups groups(profile);
    app::GeneralSettingsDialog dialog(groups.general, profile);
    ShowDialog(dialog);
    // The defaults are shown as the profile would hold them.
    QCOMPARE(dialog.findChild<QLineEdit*>("SpeckThresholdLength")->text(), QString("0.020"));
    QCOMPARE(dialog.findChild<QLineEdit*>("ScanMidiFileSuffix")->text(), QString("_ScanImageMIDI"));
    TypeInto(dialog.findChild<QLineEdit*>("ScanMidiFilePrefix"), QString(64, QLatin1Char('p')));
    TypeInto(dialog.findChild<QLineEdit*>("SpeckThresholdLength"), "0.02");
    TypeInto(dialog.findChild<QLineEdit*>("ScanMidiLeadInTime"), "10");
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Outcome().ReprocessPending);
    QVERIFY(!dialog.Outcome().Repaint);
    QCOMPARE(profile.written_keys,
             (std::vector<std::string>{"ScanMidiFilePrefix", "ScanMidiFileSuffix", "ScanMidiLeadInTime",
                                       "SpeckThresholdLength", "SpeckThresholdWidthPct", "MidiCopyrightInfoString",
                                       "GlitchThresholdDistance"}));
    QCOMPARE(profile.GetProfileString(GeneralSettings::kSection, "SpeckThresholdLength", ""), std::string("2.e-002"));
    QCOMPARE(GeneralSettings(profile).SpeckThresholdLength, 0.02);
    QCOMPARE(groups.general.ScanMidiLeadInTime, 10);
    QCOMPARE(groups.general.ScanMidiFilePrefix, std::string(64, 'p'));
  }

  void diagnosticOkWritesTheEmbedSwitchIntoOutputFiles() {
    CountingProfile profile;
    Groups groups(profile);
    app::DiagnosticSettingsDialog dialog(groups.diagnostic, profile);
    ShowDialog(dialog);
    ClickBox(dialog.findChild<QCheckBox*>("EmbedRollKeywordData"));
    ClickBox(dialog.findChild<QRadioButton*>("OverrideImageReversal2"));
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(profile.GetProfileInt("OutputFiles", "EmbedRollKeywordData", -1), 0);
    QCOMPARE(profile.GetProfileInt(DiagnosticSettings::kSection, "OverrideImageReversal", -1), 2);
    QVERIFY(!groups.diagnostic.EmbedRollKeywordData);
  }

  void handEditedValuesAreShownAsHeldAndRefusedOnlyUnchanged() {
    CountingProfile profile;
    profile.WriteProfileString(ActiveTrackingSettings::kSection, "TrackingLoopGain", "abc").Ignore();
    profile.ForgetWrites();
    Groups groups(profile);
    app::ActiveTrackingSettingsDialog dialog(groups.tracking, profile);
    ShowDialog(dialog);
    auto* gain = dialog.findChild<QLineEdit*>("TrackingLoopGain");
    QCOMPARE(gain->text(), QString("abc"));
    QVERIFY(ClickAnsweringMessage(AcceptButton(dialog)).startsWith("Tracking Loop Gain ( less than 1.0 )"));
    QVERIFY(HasFocusAndSelection(dialog, gain));
    QCOMPARE(profile.writes, 0);
    TypeInto(gain, "0.6");
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QCOMPARE(profile.GetProfileString(ActiveTrackingSettings::kSection, "TrackingLoopGain", ""), std::string("0.6"));

    // An integer the profile holds as text that is no integer is in force as its default, but
    // shown as it stands.
    profile.WriteProfileString(ERollSettings::kSection, "eRollMidiTrailerTime", "two").Ignore();
    profile.ForgetWrites();
    ERollSettings eroll(profile);
    QCOMPARE(eroll.eRollMidiTrailerTime, 2);
    app::ERollSettingsDialog eroll_dialog(eroll, profile);
    ShowDialog(eroll_dialog);
    QCOMPARE(eroll_dialog.findChild<QLineEdit*>("eRollMidiTrailerTime")->text(), QString("two"));
    QVERIFY(ClickAnsweringMessage(AcceptButton(eroll_dialog)).startsWith("Trailer time in seconds"));
    QCOMPARE(profile.writes, 0);
  }

  // The labels come from the settings table and read as they always did.
  void labelsReadAsBefore() {
    CountingProfile profile;
    Groups groups(profile);
    app::ActiveTrackingSettingsDialog tracking(groups.tracking, profile);
    auto* form = tracking.findChild<QFormLayout*>();
    QVERIFY(form);
    const auto label_of = [form](QWidget* field) {
      auto* label = qobject_cast<QLabel*>(form->labelForField(field));
      return label ? label->text() : QString();
    };
    QCOMPARE(label_of(tracking.findChild<QLineEdit*>("EdgeErrorWeightingFactor")),
             QString("Edge Error Weighting Factor ( less than 1.0 )"));
    QCOMPARE(tracking.findChild<QLineEdit*>("RollEdgeCaptureDistance")->text(), QString("0.1"));
    app::ERollSettingsDialog eroll(groups.eroll, profile);
    QCOMPARE(eroll.findChild<QCheckBox*>("IncludeTrack18SustainPedal")->text(),
             QString("Include Simple Track 18 Sustain Pedal Controller Events In eRoll MIDI file"));
    app::DiagnosticSettingsDialog diagnostic(groups.diagnostic, profile);
    QCOMPARE(diagnostic.findChild<QCheckBox*>("EmbedRollKeywordData")->text(),
             QString("Embed Roll Info During Conversion"));
  }

  void twinArrayBlendWidthOutOfRangeCanBeCorrected() {
    CountingProfile profile;
    profile.WriteProfileInt(TwinArraySettings::kSection, "BlendWidthInThousandths", 500).Ignore();
    profile.ForgetWrites();
    Groups groups(profile);
    app::TwinArraySettingsDialog dialog(groups.twin_array, profile);
    ShowDialog(dialog);
    auto* blend = dialog.findChild<QLineEdit*>("BlendWidthInThousandths");
    QCOMPARE(blend->text(), QString("500"));
    QVERIFY(!blend->isEnabled());

    const QString message = ClickAnsweringMessage(AcceptButton(dialog));
    QVERIFY2(NamesFieldAndRange(message, "Blending Seam Width in Thousandths of an Inch", "0 100"),
             qPrintable(message));
    QCOMPARE(profile.writes, 0);
    // Refused, the field is opened so that the refusal can be answered.
    QVERIFY(blend->isEnabled());
    QVERIFY(HasFocusAndSelection(dialog, blend));
    TypeInto(blend, "60");
    QCOMPARE(ClickAnsweringMessage(AcceptButton(dialog)), QString());
    QVERIFY(dialog.Outcome().ReprocessPending && dialog.Outcome().Repaint);
    QCOMPARE(profile.written_keys, (std::vector<std::string>{"OverrideCISvalues", "BlendWidthInThousandths",
                                                             "ShowCrossoverLine", "DisableTwinArrayProcessing"}));
    QCOMPARE(groups.twin_array.BlendWidthInThousandths, 60);
  }
};

QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogs_test.moc"

// Play and Stop in the window, without a sound device: the instrument is a recorder and the
// clock moves only when the test moves it. What is heard (the expression file for a roll type
// with an expression system, the eRoll notes otherwise), where it starts, the play line and
// the view following the roll, the instrument left silent on every way of stopping, and the
// "Audio Settings" dialog's check of the SoundFont.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "DesktopTestSupport.h"
#include "app/ControlBar.h"
#include "app/RollViewWidget.h"
#include "app/dialogs/AudioSettingsDialog.h"
#include "helpers/AlignmentRolls.h"
#include "settings/IniProfile.h"

using namespace tarvelo;
using namespace tarvelo::app;
using tarvelo::testing::RecordingPresenter;

namespace {

// What the window's instrument was sent, and the test's clock, shared with the player's thread.
struct Studio {
  std::mutex lock;
  std::vector<MidiMessage> sent;
  std::atomic<double> now{1000};
  std::atomic<int> waits{0};  // the player waits only once it has taken its start time
  int opened = 0;

  std::vector<MidiMessage> Sent() {
    const std::lock_guard<std::mutex> hold(lock);
    return sent;
  }
};

class RecorderSink : public MidiSink {
 public:
  explicit RecorderSink(std::shared_ptr<Studio> studio) : studio_(std::move(studio)) {}
  void Send(const MidiMessage& message) override {
    const std::lock_guard<std::mutex> hold(studio_->lock);
    studio_->sent.push_back(message);
  }

 private:
  std::shared_ptr<Studio> studio_;
};

// Time stands still until the test moves it; a wait only lets the window's thread run.
class TestClock : public PlaybackClock {
 public:
  explicit TestClock(std::shared_ptr<Studio> studio) : studio_(std::move(studio)) {}
  double Now() override { return studio_->now.load(); }
  void WaitUntil(double /*seconds*/) override {
    ++studio_->waits;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

 private:
  std::shared_ptr<Studio> studio_;
};

MainWindowOptions PlayOptions(RecordingPresenter& presenter, const std::shared_ptr<Studio>& studio,
                              const std::string& profile = "") {
  MainWindowOptions options = testing::TestWindowOptions(presenter, profile);
  options.OpenInstrument = [studio](const AudioSettings&, PlaybackInstrument& instrument) {
    ++studio->opened;
    instrument.Sink = std::make_unique<RecorderSink>(studio);
    instrument.Description = "the test's recorder";
    return Result::Ok();
  };
  options.MakeClock = [studio] { return std::make_unique<TestClock>(studio); };
  return options;
}

QString WriteSystemRoll(const testing::TempDir& dir, const char* name, synth::RollSystem system) {
  synth::SyntheticRollSpec plan = testing::SystemRoll(system, 1.0, 1.0, 300);
  plan.length_inch = 40;
  plan.holes = synth::SystemRollHoles(system, 40, 5);
  testing::WriteBytes(dir.File(name), synth::RenderSyntheticCis(plan));
  return QString::fromStdString(dir.File(name));
}

std::string ProfileWith(const testing::TempDir& dir, const char* roll_type, const char* key = nullptr, int value = 0) {
  const std::string path = dir.File("Tarvelo.ini");
  IniProfile profile(path);
  if (!profile.WriteProfileString("Roll Settings", "ActiveRollTypeName", roll_type).ok()) return "";
  if (key && !profile.WriteProfileInt("OutputFiles", key, value).ok()) return "";
  return path;
}

// The instrument is silent with its pedals up: the last messages are, on each channel used, all
// notes off and both pedals up.
bool EndsSilent(const std::vector<MidiMessage>& sent) {
  if (sent.size() < 3) return false;
  const MidiMessage& last = sent.back();
  const auto& before = sent[sent.size() - 2];
  const auto& all_off = sent[sent.size() - 3];
  return all_off.IsController(kAllNotesOffController) && before.IsController(kSustainPedalController) &&
         before.Data2 == 0 && last.IsController(kSoftPedalController) && last.Data2 == 0;
}

int NoteOns(const std::vector<MidiMessage>& sent, std::set<int>* velocities = nullptr) {
  int count = 0;
  for (const MidiMessage& message : sent) {
    if (!message.IsNoteOn()) continue;
    ++count;
    if (velocities) velocities->insert(message.Data2);
  }
  return count;
}

}  // namespace

class DesktopPlayTest : public QObject {
  Q_OBJECT

 private slots:
  void AReproducingRollIsHeardByItsExpressionAndTheViewFollowsIt() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    auto studio = std::make_shared<Studio>();
    MainWindow window(PlayOptions(presenter, studio, ProfileWith(dir, "Duo-Art")));
    window.show();
    ControlBar& bar = *window.Bar();
    QVERIFY(!bar.PlayButton()->isEnabled());  // no roll yet
    QVERIFY(!bar.StopButton()->isEnabled());
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "DuoArt.cis", synth::RollSystem::kDuoArt)));
    QVERIFY(bar.PlayButton()->isEnabled());

    // The expression file is off in the profile: it is made for listening, not beside the roll.
    QTest::mouseClick(bar.PlayButton(), Qt::LeftButton);
    QVERIFY(window.IsPlaying());
    QCOMPARE(window.Heard().Source, std::string("expression MIDI"));
    QVERIFY(!std::filesystem::exists(dir.File("DuoArt_ExpressionMIDI.mid")));
    QVERIFY(!bar.PlayButton()->isEnabled());
    QVERIFY(bar.StopButton()->isEnabled());
    QVERIFY(window.View()->PlayLineRow().has_value());
    QTRY_VERIFY(studio->waits > 0);  // the player's thread is under way, its start time taken

    // Ten seconds on: the roll under the tracker bar is at the top of the view, the line on it.
    studio->now = 1010;
    const double expected = window.Heard().Timing.RollInchesAtSeconds(10);
    QVERIFY(expected > 5);
    QTRY_VERIFY2(std::abs(window.View()->InchAtTop() - expected) < 0.5,
                 qPrintable(QStringLiteral("%1 at the top, %2 played").arg(window.View()->InchAtTop()).arg(expected)));
    const std::optional<int> row = window.View()->PlayLineRow();
    QVERIFY(row && *row >= kRollImageTop && *row < kRollImageTop + 40);
    // The dynamics of the two halves: the notes do not all play at one velocity.
    std::set<int> velocities;
    QVERIFY(NoteOns(studio->Sent(), &velocities) > 10);
    QVERIFY(velocities.size() > 3);

    // Space stops (the click left the focus on the view, not on a button, which would take the
    // space bar for itself); the instrument is left silent with its pedals up and the line goes.
    QVERIFY(window.View()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(!window.IsPlaying());
    QVERIFY(EndsSilent(studio->Sent()));
    QVERIFY(!window.View()->PlayLineRow().has_value());
    QVERIFY(bar.PlayButton()->isEnabled());
    QVERIFY(!bar.StopButton()->isEnabled());
    // From the reference line when one is drawn: the right button 155 rows below the roll's top.
    RollViewWidget& view = *window.View();
    const double reference = view.InchAtTop() + 155.0 / RowsPerInch(view.ViewSettings().ZoomFactor);
    QTest::mouseClick(view.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(300, kRollImageTop + 155));
    QVERIFY(view.ReferenceInch() && std::abs(*view.ReferenceInch() - reference) < 0.05);
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.IsPlaying());
    QTRY_VERIFY2(std::abs(view.InchAtTop() - reference) < 0.3, qPrintable(QString::number(view.InchAtTop())));
    QTRY_VERIFY(!view.ReferenceInch());  // the line goes with the next repaint
    // Re-Process stops it cleanly.
    const size_t before = studio->Sent().size();
    window.OnReprocess();
    QVERIFY(!window.IsPlaying());
    QVERIFY(studio->Sent().size() > before && EndsSilent(studio->Sent()));
    // So does quitting.
    QTest::keyClick(&window, Qt::Key_Space);
    QVERIFY(window.IsPlaying());
    const size_t playing = studio->Sent().size();
    QVERIFY(window.close());
    QVERIFY(!window.IsPlaying());
    QVERIFY(studio->Sent().size() > playing && EndsSilent(studio->Sent()));
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void ARollWithoutAnExpressionSystemPlaysItsERollNotesFromTheViewToTheEnd() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    auto studio = std::make_shared<Studio>();
    MainWindow window(PlayOptions(presenter, studio, ProfileWith(dir, "65-Note")));
    window.show();
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "Plain.cis", synth::RollSystem::kPlain88)));
    window.View()->ScrollToInch(20);
    const double inch = window.View()->InchAtTop();
    QTest::mouseClick(window.Bar()->PlayButton(), Qt::LeftButton);
    QVERIFY(window.IsPlaying());
    QCOMPARE(window.Heard().Source, std::string("eRoll MIDI"));
    QCOMPARE(window.statusBar()->currentMessage(),
             QStringLiteral("Playing the eRoll MIDI file from inch %1 on the test's recorder").arg(inch, 0, 'f', 1));
    QTRY_VERIFY(studio->waits > 0);
    // It starts where the view is: the notes of the next second lie just below the top.
    studio->now = 1001;
    QTRY_VERIFY(NoteOns(studio->Sent()) > 0);
    const RollTiming& timing = window.Heard().Timing;
    const double a_second_on = timing.RollInchesAtSeconds(SecondsAtRollInch(timing, inch) + 1);
    QVERIFY(a_second_on > inch + 1);
    QTRY_VERIFY2(std::abs(window.View()->InchAtTop() - a_second_on) < 0.3,
                 qPrintable(QString::number(window.View()->InchAtTop())));
    const std::set<int> velocities = [&] {
      std::set<int> found;
      NoteOns(studio->Sent(), &found);
      return found;
    }();
    QCOMPARE(velocities.size(), size_t{1});  // the eRoll file's one velocity

    // Past the end it stops by itself, silent, and says so.
    studio->now = 1000 + window.Heard().Schedule.EndSeconds() + 1;
    QTRY_VERIFY(!window.IsPlaying());
    QVERIFY(EndsSilent(studio->Sent()));
    QVERIFY(window.Bar()->PlayButton()->isEnabled());

    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Played to the end of the roll."));

    // Opening another file while playing stops the playing first. With settings changed since
    // the conversion, the status bar says that what plays is the roll as last converted.
    QTest::mouseClick(window.Bar()->NudgeRightButton(), Qt::LeftButton);
    QTest::mouseClick(window.Bar()->PlayButton(), Qt::LeftButton);
    QVERIFY(window.IsPlaying());
    QVERIFY(window.statusBar()->currentMessage().endsWith(
        QStringLiteral("as last converted (Re-Process to hear the changed settings)")));
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "Other.cis", synth::RollSystem::kPlain88)));
    QVERIFY(!window.IsPlaying());
    QVERIFY(EndsSilent(studio->Sent()));
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void TheExpressionMadeForListeningIsTheOneTheConversionWrites() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    auto studio = std::make_shared<Studio>();
    MainWindow window(PlayOptions(presenter, studio, ProfileWith(dir, "Duo-Art")));
    window.show();
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "DuoArt.cis", synth::RollSystem::kDuoArt)));
    window.OnPlay();
    window.OnStop();
    const PlaybackSchedule made_now = window.Heard().Schedule;
    // The same roll with its expression file written beside it: that file is heard, as made.
    QTest::mouseClick(window.Bar()->ExpressionMidiBox(), Qt::LeftButton);
    window.OnReprocess();
    QVERIFY(std::filesystem::exists(dir.File("DuoArt_ExpressionMIDI.mid")));
    window.OnPlay();
    window.OnStop();
    const PlaybackSchedule& written = window.Heard().Schedule;
    QCOMPARE(written.Messages().size(), made_now.Messages().size());
    QVERIFY(written.Messages().size() > 100);
    for (size_t index = 0; index < written.Messages().size(); ++index) {
      QCOMPARE(written.Messages()[index].Seconds, made_now.Messages()[index].Seconds);
      QVERIFY(written.Messages()[index].Message == made_now.Messages()[index].Message);
    }
    QCOMPARE(written.EndSeconds(), made_now.EndSeconds());
    QVERIFY2(presenter.texts.empty(), presenter.texts.empty() ? "" : presenter.texts.front().c_str());
  }

  void WhatCannotBePlayedIsSaidAndNothingStarts() {
    testing::TempDir dir;
    RecordingPresenter presenter;
    auto studio = std::make_shared<Studio>();
    // No eRoll and no expression file: no notes to hear.
    MainWindow window(PlayOptions(presenter, studio, ProfileWith(dir, "65-Note", "eRollMidi", 0)));
    window.show();
    QVERIFY(window.OpenFile(WriteSystemRoll(dir, "Plain.cis", synth::RollSystem::kPlain88)));
    presenter.Clear();
    QTest::mouseClick(window.Bar()->PlayButton(), Qt::LeftButton);
    QVERIFY(!window.IsPlaying());
    QVERIFY2(presenter.Saw("Nothing can be played: The last conversion made no eRoll notes to play: check eRollMIDI"),
             presenter.texts.empty() ? "" : presenter.texts.front().c_str());
    QCOMPARE(studio->opened, 0);

    // An instrument that cannot be opened (no audio output here) is named with its reason.
    RecordingPresenter second_presenter;
    MainWindowOptions options = testing::TestWindowOptions(second_presenter, "");
    options.OpenInstrument = [](const AudioSettings&, PlaybackInstrument&) {
      return Result::IoError("no audio output can be opened on this machine (alsa: no device)");
    };
    MainWindow second(options);
    QVERIFY(second.OpenFile(testing::CopySampleRoll(dir)));
    second_presenter.Clear();
    QTest::mouseClick(second.Bar()->PlayButton(), Qt::LeftButton);
    QVERIFY(!second.IsPlaying());
    QVERIFY(second_presenter.Saw("The roll cannot be played: no audio output can be opened on this machine"));
    QCOMPARE(second_presenter.kinds.back(), MessageKind::kError);
  }

  void TheSystemsInstrumentIsOpenedOrSaysWhyNot() {
    if (!CanPlay()) QSKIP("this build cannot play");
    PlaybackInstrument instrument;
    AudioSettings audio;
    audio.SoundFont = "/no/such.sf2";
    Result opened = OpenPlaybackInstrument(audio, instrument);
    QVERIFY(!opened.ok() && opened.message().find("/no/such.sf2") != std::string::npos);
    QVERIFY(!CheckSoundFontChoice("/no/such.sf2").ok());
    QVERIFY(!instrument.Sink);
    audio = AudioSettings();
    audio.MidiOutput = "no port is called this";
    QVERIFY(!OpenPlaybackInstrument(audio, instrument).ok());
    QVERIFY(!instrument.Sink);
    // The installed SoundFont on the audio output: played where there is one; this machine may
    // have no sound device, and then says so.
    if (!CheckSoundFontChoice("").ok()) QSKIP("the installed SoundFont is not here");
    opened = OpenPlaybackInstrument(AudioSettings(), instrument);
    if (opened.ok()) {
      QVERIFY(instrument.Sink && instrument.Description.starts_with("the software synthesizer ("));
      QVERIFY(!instrument.HasSoftPedal);
    } else {
      QVERIFY2(opened.message().starts_with("no audio output can be opened on this machine"), opened.message().c_str());
      qInfo("no sound device here: %s", opened.message().c_str());
    }
  }

  void AudioSettingsRefuseASoundFontThatCannotBeLoaded() {
    testing::TempDir dir;
    IniProfile profile(dir.File("Tarvelo.ini"));
    AudioSettings settings;
    AudioChoices choices;
    choices.Ports = {{"128:0", "Player Piano:Port 1"}};
    choices.CheckSoundFont = [](const std::string& path) {
      return path == "/no/such.sf2" ? Result::NotFound("there is no SoundFont file /no/such.sf2") : Result::Ok();
    };
    {
      AudioSettingsDialog dialog(settings, profile, choices);
      dialog.findChild<QLineEdit*>("SoundFont")->setText(QStringLiteral("/no/such.sf2"));
      QString refusal;
      QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
          refusal = box->text();
          box->accept();
        }
      });
      QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
      QCOMPARE(refusal, QStringLiteral("SoundFont: there is no SoundFont file /no/such.sf2"));
      QCOMPARE(dialog.result(), int(QDialog::Rejected));  // still open
      QVERIFY(!std::filesystem::exists(dir.File("Tarvelo.ini")));
    }
    {
      // A port needs no SoundFont, but one named is checked all the same (rendering uses it).
      AudioSettingsDialog dialog(settings, profile, choices);
      dialog.findChild<QLineEdit*>("SoundFont")->setText(QStringLiteral("/no/such.sf2"));
      auto* output = dialog.findChild<QComboBox*>("MidiOutput");
      output->setCurrentIndex(1);
      testing::AnswerNextModal([](QDialog*) {});
      QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
      QCOMPARE(dialog.result(), int(QDialog::Rejected));
      dialog.findChild<QLineEdit*>("SoundFont")->setText(QString());
      QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
      QCOMPARE(dialog.result(), int(QDialog::Accepted));
      QCOMPARE(settings.MidiOutput, std::string("128:0"));
      QCOMPARE(AudioSettings(IniProfile(dir.File("Tarvelo.ini"))).MidiOutput, std::string("128:0"));
      QCOMPARE(AudioSettings(IniProfile(dir.File("Tarvelo.ini"))).SoundFont, std::string());
    }
    {
      // A stored port that is not there now stays chosen.
      choices.Ports.clear();
      AudioSettingsDialog dialog(settings, profile, choices);
      auto* output = dialog.findChild<QComboBox*>("MidiOutput");
      QCOMPARE(output->currentData().toString(), QStringLiteral("128:0"));
      QVERIFY(output->currentText().contains(QStringLiteral("not found now")));
    }
  }
};

QTEST_MAIN(DesktopPlayTest)
#include "DesktopPlay_test.moc"

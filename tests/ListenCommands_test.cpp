#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "audio/SoundFontFile.h"
#include "helpers/RunCommand.h"
#include "helpers/SoundFile.h"
#include "helpers/TestPaths.h"
#include "midi/MidiFileReader.h"

namespace tarvelo {
namespace {

using testing::CliPath;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

const std::string kSampleRoll = std::string(TARVELO_SOURCE_DIR) + "/data/sample/SampleRoll.cis";

class ListenCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!CheckSoundFont(kInstalledSoundFont).ok()) GTEST_SKIP() << "no " << kInstalledSoundFont;
  }
  std::string Profile() const { return " --profile " + ShellQuote(dir_.File("profile.ini")); }
  // The playing time of the MIDI file convert writes for `roll` with `options`.
  double MidiSeconds(const std::string& roll, const std::string& options, const std::string& suffix) {
    const std::string folder = dir_.File("midi");
    const auto run = RunCommand(CliPath() + " convert -q" + Profile() + options + " --output-dir " +
                                ShellQuote(folder) + " " + ShellQuote(roll));
    EXPECT_TRUE(run.status == 0 || run.status == 3) << run.err;
    const std::string stem = std::filesystem::path(roll).stem().string();
    MidiFileContents file;
    EXPECT_TRUE(ReadMidiFile(testing::ReadBytes(folder + "/" + stem + suffix + ".mid"), file).ok());
    return PlayingSeconds(file);
  }
  TempDir dir_;
};

double Loudest(const testing::WaveFacts& wave) {
  double loudest = 0;
  for (const double rms : wave.WindowRms) loudest = std::max(loudest, rms);
  return loudest;
}

TEST_F(ListenCommands, RenderAudioOfTheSampleRollLastsAsLongAsItsMidiFileAndLeavesNothingBesideIt) {
  const std::string roll = dir_.File("roll.cis");
  testing::WriteBytes(roll, testing::ReadBytes(kSampleRoll));
  const std::string sound = dir_.File("roll.wav");
  const auto run =
      RunCommand(CliPath() + " render-audio" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(sound));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("wrote " + sound + ": 0:13 of the eRoll MIDI file, 44.1 kHz 16-bit stereo WAV"),
            std::string::npos)
      << run.err;
  // Only the roll and its sound: the MIDI file heard was made elsewhere and is gone.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"roll.cis", "roll.wav"}));

  testing::WaveFacts wave;
  std::string error;
  ASSERT_TRUE(testing::ReadWaveFile(sound, 0.5, wave, error)) << error;
  EXPECT_EQ(wave.Channels, 2);
  EXPECT_EQ(wave.SampleBytes, 2);
  EXPECT_EQ(wave.FrameRate, 44100);
  EXPECT_NEAR(wave.Seconds(), MidiSeconds(roll, "", "_eRollMIDI"), 1.0);
  EXPECT_GT(Loudest(wave), 0.01);
  EXPECT_LT(wave.WindowRms.front(), 0.001) << "the lead-in is silent";

  // A piece of it as FLAC.
  const std::string flac = dir_.File("piece.flac");
  ASSERT_EQ(RunCommand(CliPath() + " render-audio -q" + Profile() + " " + ShellQuote(roll) + " -o " + ShellQuote(flac) +
                       " --from 2 --length 3")
                .status,
            0);
  ASSERT_TRUE(testing::ReadSoundFileWithSox(flac, wave, error)) << error;
  EXPECT_NEAR(wave.Seconds(), 3.0, 0.01);
  EXPECT_EQ(wave.Channels, 2);
  EXPECT_EQ(wave.SampleBytes, 2);
}

TEST_F(ListenCommands, RenderAudioOfARealScanIsTheSameTwiceAndPlaysAsLongAsItsMidiFile) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string roll = (testing::RealCisDir() / "stepper_single.CIS").string();
  for (const char* name : {"one.wav", "two.wav"}) {
    const auto run = RunCommand(CliPath() + " render-audio -q --roll-type auto" + Profile() + " " + ShellQuote(roll) +
                                " -o " + ShellQuote(dir_.File(name)));
    ASSERT_EQ(run.status, 0) << run.err;
  }
  EXPECT_TRUE(testing::ReadBytes(dir_.File("one.wav")) == testing::ReadBytes(dir_.File("two.wav")));
  testing::WaveFacts wave;
  std::string error;
  ASSERT_TRUE(testing::ReadWaveFile(dir_.File("one.wav"), 1.0, wave, error)) << error;
  EXPECT_NEAR(wave.Seconds(), MidiSeconds(roll, " --roll-type auto", "_eRollMIDI"), 1.0);
  EXPECT_GT(wave.Seconds(), 170);
  // Sound throughout the roll: no ten seconds of silence between the lead-in and the trailer.
  int quiet_run = 0, longest_quiet = 0;
  for (size_t i = 3; i + 3 < wave.WindowRms.size(); ++i) {
    quiet_run = wave.WindowRms[i] < 0.002 ? quiet_run + 1 : 0;
    longest_quiet = std::max(longest_quiet, quiet_run);
  }
  EXPECT_LT(longest_quiet, 10);
}

// The seconds of each note-on of `file` (by the file's own tempo changes) with its velocity.
std::vector<std::pair<double, int>> NoteOnSeconds(const MidiFileContents& file) {
  std::vector<MidiFileEvent> events = file.Events;
  std::stable_sort(events.begin(), events.end(),
                   [](const MidiFileEvent& a, const MidiFileEvent& b) { return a.Tick < b.Tick; });
  std::vector<std::pair<double, int>> notes;
  double seconds = 0, seconds_per_tick = 0.5 / file.Division;
  int64_t tick = 0;
  for (const MidiFileEvent& event : events) {
    seconds += static_cast<double>(event.Tick - tick) * seconds_per_tick;
    tick = event.Tick;
    if (event.IsTempo()) seconds_per_tick = event.MicrosecondsPerQuarter / 1e6 / file.Division;
    if (event.IsNoteOn()) notes.emplace_back(seconds, event.Data2);
  }
  return notes;
}

TEST_F(ListenCommands, AReproducingRollIsHeardByItsExpressionFileAndIsLouderWhereItsVelocitiesAreHigher) {
  TARVELO_REQUIRE_REAL_CIS();
  const std::string roll = (testing::RealCisDir() / "stepper_single.CIS").string();
  const std::string sound = dir_.File("duo-art.wav");
  const auto run = RunCommand(CliPath() + " render-audio --roll-type auto" + Profile() + " " + ShellQuote(roll) +
                              " -o " + ShellQuote(sound));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("of the expression MIDI file"), std::string::npos) << run.err;

  // The velocities the expression file gives, per second of the roll, against the loudness of
  // the same second: the seconds whose notes are loudest in the file are the loudest heard.
  const std::string folder = dir_.File("midi");
  ASSERT_EQ(RunCommand(CliPath() + " convert -q --roll-type auto --expression-midi" + Profile() + " --output-dir " +
                       ShellQuote(folder) + " " + ShellQuote(roll))
                .status,
            0);
  MidiFileContents file;
  ASSERT_TRUE(ReadMidiFile(testing::ReadBytes(folder + "/stepper_single_ExpressionMIDI.mid"), file).ok());
  testing::WaveFacts wave;
  std::string error;
  ASSERT_TRUE(testing::ReadWaveFile(sound, 1.0, wave, error)) << error;
  std::vector<double> velocity_sum(wave.WindowRms.size()), notes(wave.WindowRms.size());
  for (const auto& [seconds, velocity] : NoteOnSeconds(file)) {
    const auto window = static_cast<size_t>(seconds);
    if (window >= velocity_sum.size()) continue;
    velocity_sum[window] += velocity;
    notes[window] += 1;
  }
  std::vector<std::pair<double, double>> seconds;  // mean velocity, loudness
  for (size_t i = 0; i < notes.size(); ++i)
    if (notes[i] >= 3) seconds.emplace_back(velocity_sum[i] / notes[i], wave.WindowRms[i]);
  ASSERT_GT(seconds.size(), 60u);
  std::sort(seconds.begin(), seconds.end());
  const size_t quarter = seconds.size() / 4;
  double soft = 0, loud = 0;
  for (size_t i = 0; i < quarter; ++i) {
    soft += seconds[i].second;
    loud += seconds[seconds.size() - 1 - i].second;
  }
  EXPECT_GT(loud, 1.5 * soft) << "loudness of the softest quarter " << soft / quarter << ", of the loudest "
                              << loud / quarter;
}

TEST_F(ListenCommands, WhatCannotBeHeardIsRefusedBeforeAnyWork) {
  const std::string sound = dir_.File("roll.wav");
  const std::string common = Profile() + " " + ShellQuote(kSampleRoll) + " -o " + ShellQuote(sound);
  // A SoundFont that is not there, named by the option or by the setting: exit 2, the file
  // named, nothing converted (no conversion message) and nothing written.
  auto run = RunCommand(CliPath() + " render-audio --soundfont " + ShellQuote(dir_.File("none.sf2")) + common);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no SoundFont file " + dir_.File("none.sf2")), std::string::npos) << run.err;
  run = RunCommand(CliPath() + " render-audio --set " + ShellQuote("Audio Settings/SoundFont=" + kSampleRoll) + common);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("is not a SoundFont"), std::string::npos) << run.err;
  // Starting after the end, an unknown format or source, an output folder that is not there.
  run = RunCommand(CliPath() + " render-audio --from 60" + common);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--from 60: the eRoll MIDI file of"), std::string::npos) << run.err;
  EXPECT_EQ(RunCommand(CliPath() + " render-audio --format mp3" + common).status, 2);
  EXPECT_EQ(RunCommand(CliPath() + " render-audio --source piano" + common).status, 2);
  EXPECT_EQ(RunCommand(CliPath() + " render-audio" + Profile() + " " + ShellQuote(kSampleRoll) + " -o " +
                       ShellQuote(dir_.File("no/folder.wav")))
                .status,
            2);
  EXPECT_FALSE(std::filesystem::exists(sound));
  // A file that is not a scan fails as convert fails it.
  run = RunCommand(CliPath() + " render-audio" + Profile() + " " + ShellQuote(dir_.File("missing.cis")) + " -o " +
                   ShellQuote(sound));
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_FALSE(std::filesystem::exists(sound));
}

TEST_F(ListenCommands, PlaySaysWhatItCannotReach) {
  // This machine may have no sequencer and no sound: each is said, never passed over.
  auto run = RunCommand(CliPath() + " play --list-ports");
  if (run.status != 0) {
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the ALSA sequencer cannot be opened"), std::string::npos) << run.err;
  }
  run = RunCommand(CliPath() + " play" + Profile() + " --port " + ShellQuote("no such piano anywhere") + " " +
                   ShellQuote(kSampleRoll));
  EXPECT_TRUE(run.status == 1 || run.status == 2) << run.status;
  EXPECT_TRUE(run.err.find("no MIDI port \"no such piano anywhere\"") != std::string::npos ||
              run.err.find("the ALSA sequencer cannot be opened") != std::string::npos)
      << run.err;
  // The software synthesizer: the last half second of the sample roll where there is sound,
  // a message that says there is none where there is not.
  run = RunCommand(CliPath() + " play -q" + Profile() + " --from 12.2 " + ShellQuote(kSampleRoll));
  if (run.status != 0) {
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no audio output can be opened on this machine"), std::string::npos) << run.err;
  }
  EXPECT_EQ(RunCommand(CliPath() + " play" + Profile()).status, 2) << "neither a file nor --list-ports";
}

}  // namespace
}  // namespace tarvelo

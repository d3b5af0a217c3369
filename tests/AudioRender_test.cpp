#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "audio/AudioFileRenderer.h"
#include "audio/SoundFontFile.h"
#include "audio/Synthesizer.h"
#include "helpers/SoundFile.h"
#include "helpers/TestPaths.h"

namespace tarvelo {
namespace {

using testing::TempDir;

#define TARVELO_REQUIRE_SOUNDFONT()                                                              \
  do {                                                                                           \
    if (!CheckSoundFont(kInstalledSoundFont).ok()) GTEST_SKIP() << "no " << kInstalledSoundFont; \
  } while (0)

std::unique_ptr<Synthesizer> MakeSynthesizer() {
  std::unique_ptr<Synthesizer> synthesizer;
  const Result made = Synthesizer::Create(kInstalledSoundFont, synthesizer);
  EXPECT_TRUE(made.ok()) << made.message();
  return synthesizer;
}

// A C major chord of one second at each velocity, one after the other; the soft pedal down
// through the chords `soft` lists.
PlaybackSchedule Chords(const std::vector<int>& velocities, const std::vector<size_t>& soft = {}) {
  PlaybackSchedule schedule;
  auto& messages = schedule.Messages();
  messages.push_back({0, {0xC0, 0, 0}});
  for (size_t i = 0; i < velocities.size(); ++i) {
    const double at = static_cast<double>(i);
    const bool down = std::find(soft.begin(), soft.end(), i) != soft.end();
    messages.push_back({at, {0xB0, 67, static_cast<uint8_t>(down ? 127 : 0)}});
    for (const uint8_t note : {48, 52, 55, 60})
      messages.push_back({at, {0x90, note, static_cast<uint8_t>(velocities[i])}});
    for (const uint8_t note : {48, 52, 55, 60}) messages.push_back({at + 0.8, {0x90, note, 0}});
  }
  schedule.SetEndSeconds(static_cast<double>(velocities.size()));
  return schedule;
}

// The loudness of the first 0.6 s of every chord.
std::vector<double> ChordLoudness(const testing::WaveFacts& wave, size_t chords) {
  std::vector<double> loudness;
  for (size_t i = 0; i < chords; ++i) {
    double sum = 0;
    for (size_t w = i * 10; w < i * 10 + 6 && w < wave.WindowRms.size(); ++w) sum += wave.WindowRms[w];
    loudness.push_back(sum / 6);
  }
  return loudness;
}

TEST(SoundFont, MissingUnreadableAndForeignFilesAreRefusedByName) {
  TempDir dir;
  const Result missing = CheckSoundFont(dir.File("none.sf2"));
  EXPECT_EQ(missing.kind(), Result::Kind::kNotFound);
  EXPECT_NE(missing.message().find("none.sf2"), std::string::npos);
  testing::WriteBytes(dir.File("text.sf2"), "RIFF0000WAVEfmt ");
  EXPECT_EQ(CheckSoundFont(dir.File("text.sf2")).kind(), Result::Kind::kInvalid);
  EXPECT_EQ(CheckSoundFont(dir.Path().string()).kind(), Result::Kind::kInvalid) << "a folder";
  // A file that begins like a SoundFont but holds nothing FluidSynth can load.
  testing::WriteBytes(dir.File("broken.sf2"), std::string("RIFF\x04\0\0\0sfbk", 12));
  std::unique_ptr<Synthesizer> synthesizer;
  const Result loaded = Synthesizer::Create(dir.File("broken.sf2"), synthesizer);
  EXPECT_EQ(loaded.kind(), Result::Kind::kInvalid);
  EXPECT_NE(loaded.message().find("cannot be loaded"), std::string::npos) << loaded.message();
  EXPECT_EQ(synthesizer, nullptr);
  EXPECT_EQ(ChooseSoundFont("a.sf2", "b.sf2"), "a.sf2");
  EXPECT_EQ(ChooseSoundFont("", "b.sf2"), "b.sf2");
  EXPECT_EQ(ChooseSoundFont("", ""), kInstalledSoundFont);
  const Result installed = CheckSoundFont("/nonexistent/TimGM6mb.sf2");
  EXPECT_EQ(installed.message().find("timgm6mb-soundfont"), std::string::npos) << "the hint is for the installed one";
}

TEST(AudioRender, LouderWhereTheVelocitiesAreHigherAndSofterUnderTheSoftPedal) {
  TARVELO_REQUIRE_SOUNDFONT();
  TempDir dir;
  const std::vector<int> velocities = {40, 100, 20, 70, 120, 55, 85, 30, 110, 64};
  auto synthesizer = MakeSynthesizer();
  AudioRenderRequest request;
  request.Path = dir.File("chords.wav");
  ASSERT_TRUE(RenderAudioFile(*synthesizer, Chords(velocities), request).ok());
  testing::WaveFacts wave;
  std::string error;
  ASSERT_TRUE(testing::ReadWaveFile(request.Path, 0.1, wave, error)) << error;
  EXPECT_EQ(wave.Channels, 2);
  EXPECT_EQ(wave.SampleBytes, 2);
  EXPECT_EQ(wave.FrameRate, 44100);
  EXPECT_NEAR(wave.Seconds(), 10.0, 0.01);
  const std::vector<double> loudness = ChordLoudness(wave, velocities.size());
  const std::vector<double> as_numbers(velocities.begin(), velocities.end());
  EXPECT_GT(testing::Correlation(loudness, as_numbers), 0.9);

  // The same chord at 80, then at 80 under the soft pedal: the second is 8 steps softer.
  PlaybackSchedule soft = Chords({80, 80, 72}, {1});
  LowerVelocitiesUnderSoftPedal(soft);
  request.Path = dir.File("soft.wav");
  ASSERT_TRUE(RenderAudioFile(*MakeSynthesizer(), soft, request).ok());
  ASSERT_TRUE(testing::ReadWaveFile(request.Path, 0.1, wave, error)) << error;
  const std::vector<double> pedal = ChordLoudness(wave, 3);
  EXPECT_LT(pedal[1], pedal[0] * 0.95);
  EXPECT_NEAR(pedal[1], pedal[2], pedal[2] * 0.02) << "as loud as the chord played at 72";
}

TEST(AudioRender, TheSameScheduleGivesTheSameBytesAndFlacHoldsTheSameSound) {
  TARVELO_REQUIRE_SOUNDFONT();
  TempDir dir;
  const PlaybackSchedule schedule = Chords({60, 90, 40});
  AudioRenderRequest request;
  request.FromSeconds = 0.5;
  request.LengthSeconds = 2;
  for (const char* name : {"one.wav", "two.wav"}) {
    request.Path = dir.File(name);
    ASSERT_TRUE(RenderAudioFile(*MakeSynthesizer(), schedule, request).ok());
  }
  EXPECT_EQ(testing::ReadBytes(dir.File("one.wav")), testing::ReadBytes(dir.File("two.wav")));
  request.Path = dir.File("three.flac");
  request.Format = AudioFileFormat::kFlac;
  ASSERT_TRUE(RenderAudioFile(*MakeSynthesizer(), schedule, request).ok());
  testing::WaveFacts wav, flac;
  std::string error;
  ASSERT_TRUE(testing::ReadWaveFile(dir.File("one.wav"), 0.1, wav, error)) << error;
  ASSERT_TRUE(testing::ReadSoundFileWithSox(request.Path, flac, error)) << error;
  EXPECT_EQ(flac.Frames, wav.Frames);
  EXPECT_EQ(flac.Channels, 2);
  EXPECT_EQ(flac.FrameRate, 44100);
  EXPECT_EQ(flac.SampleBytes, 2);
  EXPECT_NEAR(wav.Seconds(), 2.0, 0.01);
  // Starting at 0.5 s the first chord's notes are not sounded again: the first half second is
  // quiet, the chord at 1 s is not.
  EXPECT_LT(wav.WindowRms[2], 0.001);
  EXPECT_GT(wav.WindowRms[6], 0.01);
}

TEST(AudioRender, AStoppedRenderLeavesNoFile) {
  TARVELO_REQUIRE_SOUNDFONT();
  TempDir dir;
  AudioRenderRequest request;
  request.Path = dir.File("stopped.wav");
  int calls = 0;
  const Result stopped =
      RenderAudioFile(*MakeSynthesizer(), Chords({60, 60, 60}), request, [&](double, double) { return ++calls < 2; });
  EXPECT_EQ(stopped.kind(), Result::Kind::kCancelled);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  // A folder that does not exist: a write error naming the file, and nothing left either.
  request.Path = dir.File("none/there.wav");
  const Result failed = RenderAudioFile(*MakeSynthesizer(), Chords({60}), request);
  EXPECT_EQ(failed.kind(), Result::Kind::kIoError);
  EXPECT_NE(failed.message().find("there.wav"), std::string::npos) << failed.message();
}

}  // namespace
}  // namespace tarvelo

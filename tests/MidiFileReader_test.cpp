#include <gtest/gtest.h>

#include <string>

#include "midi/MidiFileReader.h"
#include "midi/MidiFileWriter.h"

namespace tarvelo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (const int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// A file of one track chunk holding `track` (end of track not added).
std::string OneTrackFile(const std::string& track, int division = 480) {
  return "MThd" + Bytes({0, 0, 0, 6, 0, 0, 0, 1, division >> 8, division & 0xFF}) + "MTrk" +
         Bytes({0, 0, 0, static_cast<int>(track.size())}) + track;
}

TEST(MidiFileReader, ReadsBackWhatTheWriterWroteOnOneTimeLine) {
  MidiFileWriter writer;
  writer.AddTempo(0, 750000);
  writer.AddText(0, MetaText::kText, "/title: left out");
  writer.AddProgramChange(0, 0, 0);
  writer.AddNoteOn(100, 0, 60, 85);
  writer.AddController(100, 0, 64, 127);
  writer.AddNoteOff(480, 0, 60);
  writer.AddTempo(480, 500000);
  writer.AddAllSoundOff(490);
  MidiFileContents file;
  ASSERT_TRUE(ReadMidiFile(writer.FileBytes(), file).ok());
  EXPECT_EQ(file.Division, 480);
  EXPECT_EQ(file.TrackCount, 1);
  ASSERT_EQ(file.Events.size(), 7u);
  EXPECT_TRUE(file.Events[0].IsTempo());
  EXPECT_EQ(file.Events[0].MicrosecondsPerQuarter, 750000u);
  EXPECT_EQ(file.Events[1].Status, 0xC0);
  EXPECT_TRUE(file.Events[2].IsNoteOn());
  EXPECT_EQ(file.Events[2].Tick, 100);
  EXPECT_EQ(file.Events[3].Data1, 64);
  EXPECT_EQ(file.Events[3].Data2, 127);
  EXPECT_EQ(file.Events[4].Tick, 480);
  EXPECT_FALSE(file.Events[4].IsNoteOn()) << "a note-on of velocity 0 ends the note";
  EXPECT_TRUE(file.Events[5].IsTempo());
  EXPECT_EQ(file.Events[6].Data1, 120);
  EXPECT_EQ(file.EndTick, 490);
  EXPECT_DOUBLE_EQ(PlayingSeconds(file), 0.75 + 10 * 0.5 / 480) << "each tempo for its ticks";
}

TEST(MidiFileReader, RunningStatusOtherChunksAndTracksMergeAsAPlayerHearsThem) {
  // Running status: one status byte for two notes; bytes after the end of track are ignored.
  const std::string track = Bytes({0, 0x90, 60, 90, 10, 62, 90, 0, 0xFF, 0x2F, 0, 0x42});
  MidiFileContents file;
  ASSERT_TRUE(ReadMidiFile(OneTrackFile(track), file).ok());
  ASSERT_EQ(file.Events.size(), 2u);
  EXPECT_EQ(file.Events[1].Status, 0x90);
  EXPECT_EQ(file.Events[1].Data1, 62);
  EXPECT_EQ(file.Events[1].Tick, 10);
  // Format 1: a chunk of another kind between two tracks is passed over; events on one tick
  // keep the order of their tracks.
  const std::string first = Bytes({5, 0x91, 40, 70, 0, 0xFF, 0x2F, 0});
  const std::string second = Bytes({5, 0x92, 41, 71, 0, 0xFF, 0x2F, 0});
  const std::string two_tracks =
      "MThd" + Bytes({0, 0, 0, 6, 0, 1, 0, 2, 0, 96}) + "MTrk" + Bytes({0, 0, 0, static_cast<int>(first.size())}) +
      first + "XYZW" + Bytes({0, 0, 0, 2, 1, 2}) + "MTrk" + Bytes({0, 0, 0, static_cast<int>(second.size())}) + second;
  ASSERT_TRUE(ReadMidiFile(two_tracks, file).ok());
  ASSERT_EQ(file.Events.size(), 2u);
  EXPECT_EQ(file.Events[0].Status, 0x91);
  EXPECT_EQ(file.Events[1].Status, 0x92);
  EXPECT_EQ(file.Division, 96);
}

TEST(MidiFileReader, DamagedFilesAreRefusedAndLeaveNothing) {
  MidiFileContents file;
  file.Events.resize(3);
  const std::string good = OneTrackFile(Bytes({0, 0x90, 60, 90, 0, 0xFF, 0x2F, 0}));
  struct Case {
    std::string bytes;
    const char* why;
  } cases[] = {
      {"", "empty"},
      {"RIFF" + good.substr(4), "no header chunk"},
      {good.substr(0, 12), "header cut short"},
      {OneTrackFile(Bytes({0, 0x90, 60, 90}), 0xE250), "an SMPTE division"},
      {good.substr(0, good.size() - 3), "a track chunk longer than the file"},
      {OneTrackFile(Bytes({0, 0x90, 60})), "a note cut short"},
      {OneTrackFile(Bytes({0, 60, 90})), "running status with no status before"},
      {OneTrackFile(Bytes({0, 0x90, 200, 90})), "a data byte with its top bit set"},
      {OneTrackFile(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 90})), "a delta longer than four bytes"},
  };
  for (const Case& c : cases) {
    const Result read = ReadMidiFile(c.bytes, file);
    EXPECT_EQ(read.kind(), Result::Kind::kCorrupt) << c.why;
    EXPECT_TRUE(file.Events.empty()) << c.why;
  }
}

}  // namespace
}  // namespace tarvelo

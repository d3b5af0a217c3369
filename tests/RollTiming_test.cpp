#include "midi/RollTiming.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "events/TrackEvent.h"
#include "helpers/Environment.h"
#include "helpers/MidiCsv.h"
#include "helpers/RecordingFrontEnd.h"
#include "helpers/TestPaths.h"
#include "midi/ERollMidi.h"
#include "midi/MidiFileReader.h"
#include "midi/ScanImageMidi.h"

namespace tarvelo {
namespace {

using testing::ExpectSoundMidiFile;
using testing::RecordingFrontEnd;
using testing::TempDir;

TEST(RollTiming, OneTempoFromTheStart) {
  const RollTiming timing(80);  // 750000 microseconds per quarter note, 1.6 inches per second
  EXPECT_EQ(timing.TickOfPosition(1200), 480);
  EXPECT_EQ(timing.TickOfPosition(1203), 481);  // truncated, as the files do
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(480), 0.75);
  EXPECT_DOUBLE_EQ(timing.TickAtSeconds(0.75), 480);
  EXPECT_DOUBLE_EQ(timing.InchesPerSecondAt(3.0), 1.6);
  EXPECT_DOUBLE_EQ(timing.SecondsAtInches(1.6), 1.0);
  EXPECT_DOUBLE_EQ(timing.InchesAtSeconds(2.5), 4.0);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(-10), 0.0);

  // Tempo 70 plays trunc(60000000 / 70) = 857142 microseconds per quarter note.
  const RollTiming seventy(70);
  EXPECT_EQ(seventy.InitialMicrosecondsPerQuarter(), 857142u);
  EXPECT_DOUBLE_EQ(seventy.SecondsAtTick(480), 0.857142);
  // A tempo no file can hold is played at 100, as the outputs write it.
  EXPECT_EQ(RollTiming(0).Tempo(), 100);
}

TEST(RollTiming, LeadInFirstEventAndTempoChanges) {
  // The roll's first playable event at 2.000 in sounds after a lead-in of 1380 ticks; tempo
  // changes at 1.500 in (before it: from tick 0) and at 3.200 in (1.2 in later: tick 1860).
  const RollTiming timing(80, 1380, 2000, {{3200, 600000}, {1500, 700000}});
  EXPECT_EQ(timing.TickOfPosition(2000), 1380);
  EXPECT_EQ(timing.TickOfPosition(3200), 1380 + 480);
  EXPECT_EQ(timing.TickOfPosition(0), 580);  // earlier positions keep their distance
  // 700000 from tick 0 to 1860, 600000 after.
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(1380), 1380 * 0.7 / 480);
  EXPECT_DOUBLE_EQ(timing.SecondsAtTick(2340), 1860 * 0.7 / 480 + 480 * 0.6 / 480);
  EXPECT_NEAR(timing.TickAtSeconds(timing.SecondsAtTick(2100.25)), 2100.25, 1e-9);
  EXPECT_DOUBLE_EQ(timing.InchesPerSecondAt(0.1), 480 / 0.7 / 400);
  EXPECT_DOUBLE_EQ(timing.InchesPerSecondAt(10.0), 2.0);
  // The roll under the tracker bar: 2.000 in when the first event sounds, the lead-in before it.
  EXPECT_NEAR(timing.RollInchesAtSeconds(timing.SecondsAtTick(1380)), 2.0, 1e-12);
  EXPECT_NEAR(timing.RollInchesAtSeconds(0), 2.0 - 1380 / 400.0, 1e-12);
}

// The speed cursor a model walks millisecond by millisecond answers exactly as the search does,
// at rising times across many tempo changes (boundaries included) and when times go back.
TEST(RollTiming, TheSpeedCursorAnswersAsTheSearch) {
  std::vector<RollTiming::TempoChange> changes;
  for (uint32_t i = 1; i <= 200; ++i) changes.push_back({1000 + 37 * i, 600000 - 900 * i});
  const RollTiming timing(72, 1380, 1000, changes);
  RollTiming::SpeedCursor cursor(timing);
  for (long long k = 0; k <= 40000; ++k) {
    const double seconds = static_cast<double>(k) * 0.001;
    ASSERT_EQ(cursor.InchesPerSecondAt(seconds), timing.InchesPerSecondAt(seconds)) << k;
  }
  for (const double seconds : {3.0, 0.0, -1.0, 25.5, 25.5, 1e6, 0.5})
    EXPECT_EQ(cursor.InchesPerSecondAt(seconds), timing.InchesPerSecondAt(seconds)) << seconds;
}

// The tick and the time of every note of an eRoll file as an independent reader (midicsv) finds
// them, against RollTiming's account of the event positions.
void ExpectTimingOfWrittenFile(bool power_roll) {
  TempDir dir;
  RecordingFrontEnd ui;
  testing::ScopedEnvironment date("SOURCE_DATE_EPOCH", "1182556800");
  ui.Store().WriteProfileInt("Midi eRoll Settings", "IncludePowerRollEvents", power_roll ? 1 : 0).Ignore();
  ui.Store().WriteProfileInt("Midi eRoll Settings", "eRollMidiLeadInTime", 3).Ignore();
  ui.ReloadSettings();
  RollTypeDefinition roll;
  roll.ApplyAccelerationToTempo = true;
  roll.TakeupSpoolAccelerationPctPerFoot = 1;  // a tempo event every 0.75 in at tempo 80
  EventList events = {TrackEvent::TextOf(EventKind::kText, 0, "/CIS_embedded_title: Roll")};
  std::vector<uint32_t> onsets;
  for (uint32_t y = 1100; y < 40000; y += 1733) onsets.push_back(y);
  for (const uint32_t y : onsets) {
    events.push_back(TrackEvent::NoteOn(60, y, 85));
    events.push_back(TrackEvent::NoteOff(60, y + 300));
  }
  SortEventsByPosition(events);
  RollInfo info;
  KeywordList keywords;
  const std::string folder = dir.Path().string() + "/";
  const MidiOutputSource source{
      folder, "roll", 80, roll, info, ui.settings.General, ui.settings.ERoll, ui.settings.Outputs};
  ASSERT_TRUE(WriteERollMidi(source, events, keywords, ui).Outcome.ok());
  const RollTiming timing = ERollFileTiming(events, ui.settings.ERoll, 80);

  // The file's own tempo map and note onsets, in its order.
  std::vector<std::pair<long, long>> tempos;  // tick, microseconds per quarter
  std::vector<long> note_ticks;
  for (const std::string& line : ExpectSoundMidiFile(folder + "roll_eRollMIDI.mid").lines) {
    long track = 0, tick = 0, channel = 0, note = 0, value = 0;
    if (std::sscanf(line.c_str(), "%ld, %ld, Tempo, %ld", &track, &tick, &value) == 3) tempos.emplace_back(tick, value);
    if (std::sscanf(line.c_str(), "%ld, %ld, Note_on_c, %ld, %ld, %ld", &track, &tick, &channel, &note, &value) == 5 &&
        note == 60 && value > 0)
      note_ticks.push_back(tick);
  }
  ASSERT_EQ(note_ticks.size(), onsets.size());
  ASSERT_GT(tempos.size(), 30u);
  const auto seconds_at = [&](long tick) {
    double seconds = 0;
    for (size_t i = 0; i < tempos.size(); ++i) {
      const long from = tempos[i].first;
      const long to = i + 1 < tempos.size() ? std::min(tempos[i + 1].first, tick) : tick;
      if (to > from) seconds += (to - from) * tempos[i].second / 480e6;
    }
    return seconds;
  };
  for (size_t i = 0; i < onsets.size(); ++i) {
    EXPECT_EQ(timing.TickOfPosition(onsets[i]), note_ticks[i]) << onsets[i];
    EXPECT_NEAR(timing.SecondsAtTick(static_cast<double>(note_ticks[i])), seconds_at(note_ticks[i]), 1e-9);
  }
}

TEST(RollTiming, AgreesWithTheERollFileAsWritten) {
  TARVELO_REQUIRE_MIDICSV();
  ExpectTimingOfWrittenFile(true);
  ExpectTimingOfWrittenFile(false);
}

// The ScanImage file keeps its own lead-in and has no tempo changes: every note where its
// clock says, read back by the players' MIDI file reader.
TEST(RollTiming, AgreesWithTheScanImageFileAsWritten) {
  TempDir dir;
  RecordingFrontEnd ui;
  ui.Store().WriteProfileInt("Midi Gen Settings", "ScanMidiLeadInTime", 4).Ignore();
  ui.ReloadSettings();
  RollTypeDefinition roll;
  EventList events = {TrackEvent::TextOf(EventKind::kText, 0, "/CIS_embedded_title: Roll")};
  const std::vector<uint32_t> onsets = {2500, 2501, 9000, 120003};
  for (const uint32_t y : onsets) {
    events.push_back(TrackEvent::NoteOn(50, y, 85));
    events.push_back(TrackEvent::NoteOff(50, y + 200));
  }
  SortEventsByPosition(events);
  RollInfo info;
  KeywordList keywords;
  const std::string folder = dir.Path().string() + "/";
  const MidiOutputSource source{
      folder, "roll", 90, roll, info, ui.settings.General, ui.settings.ERoll, ui.settings.Outputs};
  ASSERT_TRUE(WriteScanImageMidi(source, events, keywords, ui).Outcome.ok());
  const RollTiming timing = ScanImageFileTiming(events, ui.settings.General, 90);
  MidiFileContents file;
  ASSERT_TRUE(ReadMidiFile(testing::ReadBytes(folder + "roll_ScanImageMIDI.mid"), file).ok());
  std::vector<int64_t> note_ticks;
  for (const MidiFileEvent& event : file.Events)
    if (event.IsNoteOn()) note_ticks.push_back(event.Tick);
  ASSERT_EQ(note_ticks.size(), onsets.size());
  for (size_t i = 0; i < onsets.size(); ++i) EXPECT_EQ(timing.TickOfPosition(onsets[i]), note_ticks[i]) << onsets[i];
  EXPECT_NEAR(timing.SecondsAtTick(static_cast<double>(note_ticks[0])), 4.0, 1e-5) << "666666 microseconds a quarter";
  EXPECT_NEAR(timing.RollInchesAtSeconds(4.0), 2.5, 1.0 / 400);
}

}  // namespace
}  // namespace tarvelo

#include <gtest/gtest.h>

#include <vector>

#include "events/EventBuilding.h"
#include "helpers/RecordingFrontEnd.h"

namespace tarvelo {
namespace {

using testing::RecordingFrontEnd;

PunchedHole Hole(int track, double start, double end, double width = 20) {
  PunchedHole hole;
  hole.Track = track;
  hole.StartPosition = start;
  hole.EndPosition = end;
  hole.Length = end - start;
  hole.MaxWidth = width;
  return hole;
}

// "kind track@position" for every event, for readable expectations.
std::vector<std::string> Listed(const EventList& events) {
  std::vector<std::string> listed;
  for (const TrackEvent& e : events) {
    listed.push_back(std::to_string(EventKindCode(e.Kind)) + " " + std::to_string(e.Track) + "@" +
                     std::to_string(e.YPosition));
  }
  return listed;
}

TEST(EventBuilding, GlitchesShorterThanTheThresholdAreMergedInChains) {
  // Track 40: gaps of about 0.005 and 0.004 collapse three holes into one; the last gap, about
  // 0.01, is the threshold itself and stays. Track 41's hole between them is another track.
  HoleList holes = HoleList({Hole(40, 0.10, 0.20, 18), Hole(41, 0.10, 0.30), Hole(40, 0.205, 0.25, 25),
                             Hole(40, 0.254, 0.29, 22), Hole(40, 0.30, 0.40)});
  const double threshold = 0.30 - 0.29;
  EXPECT_EQ(MergeScanGlitches(holes, threshold), 2);
  EXPECT_TRUE(holes[0].Removed);
  EXPECT_FALSE(holes[1].Removed);
  EXPECT_TRUE(holes[2].Removed);
  const PunchedHole& merged = holes[3];
  EXPECT_FALSE(merged.Removed);
  EXPECT_DOUBLE_EQ(merged.StartPosition, 0.10);
  EXPECT_DOUBLE_EQ(merged.Length, 0.29 - 0.10);
  EXPECT_EQ(merged.MaxWidth, 25);  // the widest of the chain
  EXPECT_FALSE(holes[4].Removed);
}

TEST(EventBuilding, SpeckTestsCountEveryFailedTest) {
  // Width threshold: 300 dpi * (0.1 inch * (15 * 0.01)) = 4.5 pixels.
  RollTypeDefinition roll;
  roll.DefaultTrackCenterSpacing = 0.1;
  HoleList holes = HoleList({
      Hole(10, 1.0, 1.02, 20),   // length exactly the threshold: kept
      Hole(11, 1.0, 1.019, 20),  // too short
      Hole(12, 1.0, 1.5, 4.4),   // too narrow
      Hole(13, 1.0, 1.01, 4),    // both: counts twice
      Hole(14, 1.0, 1.5, 4.5),   // exactly the width: kept
  });
  holes[0].Length = 0.020;  // as the settings text "0.020" reads
  EXPECT_EQ(RemoveSpecks(holes, roll, 0.020, 15, 300), 4);
  const std::vector<bool> removed = {false, true, true, true, false};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(holes[i].Removed, removed[static_cast<size_t>(i)]) << i;

  // A hole already removed (the earlier half of a merged glitch) is tested and counted too.
  HoleList again = HoleList({Hole(20, 1.0, 1.005, 20)});
  again[0].Removed = true;
  EXPECT_EQ(RemoveSpecks(again, roll, 0.020, 15, 300), 1);
}

TEST(EventBuilding, ScanImageEventsStartWithTheTitleAndTruncatePositions) {
  RecordingFrontEnd ui;
  RollTypeDefinition roll;
  roll.TrackMidiVelocity[30] = 100;
  HoleList holes = HoleList({Hole(30, -0.2, 0.0305), Hole(31, 0.5, 0.6), Hole(30, 0.0305, 0.5)});
  holes[1].Removed = true;
  const EventList events = BuildScanImageEvents(holes, roll, "My Roll", ui);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{"Building Event Track Array"});
  EXPECT_EQ(events[0].Text, "/CIS_embedded_title: My Roll");
  EXPECT_EQ(holes[0].StartPosition, 0);  // clamped in the hole itself
  // Equal positions keep the order of addition: the first hole's note off before the second's note on.
  EXPECT_EQ(Listed(events), (std::vector<std::string>{"3841 0@0", "1 30@0", "0 30@30", "1 30@30", "0 30@500"}));
  EXPECT_EQ(events[1].Value, 100);
  EXPECT_EQ(events[2].Value, 0);
}

TEST(EventBuilding, ERollEdgeShiftsApplyOnlyAfterTheRollStart) {
  RecordingFrontEnd ui;
  RollTypeDefinition roll;
  roll.TrackLeadingEdgeShift[5] = -0.05;    // 0.03 - 0.05 is not above 0: the note on stays at 30
  roll.TrackTrailingEdgeShift[5] = 0.0125;  // trunc(12.5) = 12 added
  roll.TrackLeadingEdgeShift[6] = 0.02;
  roll.TrackTrailingEdgeShift[6] = 0.03;  // widens the first note of track 6 over the second
  HoleList holes = HoleList({Hole(5, 0.03, 0.2), Hole(6, 1.0, 1.1), Hole(6, 1.1, 1.3), Hole(7, -0.2, 0.1)});
  const EventList events = BuildERollEvents(holes, roll, "T", ui);
  EXPECT_EQ(ui.statuses, std::vector<std::string>{"Building ERoll Event Track Array"});
  EXPECT_EQ(Listed(events),
            (std::vector<std::string>{"3841 0@0", "1 7@0", "1 5@30", "0 7@100", "0 5@212", "1 6@1020", "0 6@1330"}));
}

TEST(EventBuilding, WebbingJoinsShortGapsOfOneTrack) {
  RecordingFrontEnd ui;
  RollTypeDefinition roll;  // webbing limit 0.065 inch on every track, holes on tracks 0..119
  HoleList holes = HoleList({Hole(50, 1.0, 1.1), Hole(50, 1.15, 1.3),      // gap 50: joined
                             Hole(51, 1.0, 1.1), Hole(51, 1.17, 1.3),      // gap 70: kept
                             Hole(120, 1.0, 1.1), Hole(120, 1.11, 1.3)});  // outside the hole tracks
  EventList events = BuildERollEvents(holes, roll, "T", ui);
  RemoveWebbing(events, roll, 80);
  EXPECT_EQ(Listed(events),
            (std::vector<std::string>{"3841 0@0", "1 50@1000", "1 51@1000", "1 120@1000", "0 51@1100", "0 120@1100",
                                      "1 120@1110", "1 51@1170", "0 50@1300", "0 51@1300", "0 120@1300"}));
}

TEST(EventBuilding, WebbingLimitInSecondsAndWithAcceleration) {
  RecordingFrontEnd ui;
  RollTypeDefinition roll;
  roll.InterpretWebbingLimitAsSeconds = true;
  roll.TrackRemoveWebbingSmallerThan.fill(0.1);                         // 100 * 80 * 0.02 = 160 thousandths at tempo 80
  HoleList holes = HoleList({Hole(40, 1.0, 1.1), Hole(40, 1.259, 1.3),  // gap 159: joined
                             Hole(41, 1.0, 1.1), Hole(41, 1.26, 1.3)});  // gap 160: kept
  EventList events = BuildERollEvents(holes, roll, "T", ui);
  RemoveWebbing(events, roll, 80);
  EXPECT_EQ(Listed(events), (std::vector<std::string>{"3841 0@0", "1 40@1000", "1 41@1000", "0 41@1100", "1 41@1260",
                                                      "0 40@1300", "0 41@1300"}));

  // 10 percent per foot: one foot (12000 thousandths) down the roll the limit is 10 % larger.
  RollTypeDefinition accel;
  accel.ApplyAccelerationToWebbing = true;
  accel.TakeupSpoolAccelerationPctPerFoot = 10;
  accel.TrackRemoveWebbingSmallerThan.fill(0.060);                          // 60, times 1.1 = 66 at 12000
  HoleList far = HoleList({Hole(40, 11.9, 11.935), Hole(40, 12.0, 12.1)});  // gap 65
  EventList far_events = BuildERollEvents(far, accel, "T", ui);
  RemoveWebbing(far_events, accel, 80);
  EXPECT_EQ(Listed(far_events), (std::vector<std::string>{"3841 0@0", "1 40@11900", "0 40@12100"}));
  accel.ApplyAccelerationToWebbing = false;
  far_events = BuildERollEvents(far, accel, "T", ui);
  RemoveWebbing(far_events, accel, 80);
  EXPECT_EQ(Listed(far_events).size(), 5u);
}

TEST(EventBuilding, TempoAccelerationEventsRiseEveryInterval) {
  RecordingFrontEnd ui;
  RollTypeDefinition roll;
  roll.TakeupSpoolAccelerationPctPerFoot = 1;  // interval 60000 / 80 = 750 thousandths
  HoleList holes = HoleList({Hole(40, 0.1, 2.3)});
  EventList events = BuildERollEvents(holes, roll, "T", ui);
  AddTempoAccelerationEvents(events, roll, 80);
  std::vector<std::pair<uint32_t, int32_t>> tempos;
  for (const TrackEvent& e : events)
    if (e.Kind == EventKind::kTempo) tempos.emplace_back(e.YPosition, e.TempoValue);
  EXPECT_EQ(tempos, (std::vector<std::pair<uint32_t, int32_t>>{{750, 749531}, {1500, 749063}, {2250, 748596}}));
  EXPECT_EQ(events.back().Kind, EventKind::kNoteOff);  // sorted in by position

  roll.TakeupSpoolAccelerationPctPerFoot = 0;
  events = BuildERollEvents(holes, roll, "T", ui);
  AddTempoAccelerationEvents(events, roll, 80);
  EXPECT_EQ(events.size(), 3u);

  // An absurd acceleration cannot flood the list: at most one event per thousandth.
  roll.TakeupSpoolAccelerationPctPerFoot = 1e9;
  events = BuildERollEvents(holes, roll, "T", ui);
  AddTempoAccelerationEvents(events, roll, 80);
  EXPECT_EQ(events.size(), 3u + 2300u);
}

}  // namespace
}  // namespace tarvelo

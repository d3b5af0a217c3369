#include <gtest/gtest.h>

#include <random>

#include "events/TrackEventArrays.h"

namespace tarvelo {
namespace {

TrackEvent Note(int32_t type, int32_t track, uint32_t y) {
  TrackEvent event;
  event.Type = type;
  event.Track = track;
  event.YPosition = y;
  return event;
}

TEST(TrackEventArrays, NewStoreHoldsOneEmptyEventAndNoHoles) {
  TrackEventArrays store;
  ASSERT_EQ(store.EventCount(), 1);
  EXPECT_EQ(store.Event(0).Type, kEventEmpty);
  EXPECT_EQ(store.HoleCount(), 0);
}

TEST(TrackEventArrays, SortKeepsTheOrderOfAdditionAtEqualPositions) {
  TrackEventArrays store;
  store.ClearEvents();
  store.AddEvent(Note(kEventNoteOn, 5, 300));
  store.AddEvent(Note(kEventNoteOn, 1, 100));
  store.AddEvent(Note(kEventNoteOff, 1, 100));
  store.AddEvent(Note(kEventNoteOn, 2, 100));
  store.AddEvent(Note(kEventNoteOff, 5, 0xFFFFFFF0u));  // unsigned comparison
  store.AddEvent(Note(kEventNoteOff, 2, 200));
  store.SortEventsByYPosition();
  const std::vector<std::pair<int32_t, int32_t>> expected = {{kEventNoteOn, 1}, {kEventNoteOff, 1},
                                                             {kEventNoteOn, 2}, {kEventNoteOff, 2},
                                                             {kEventNoteOn, 5}, {kEventNoteOff, 5}};
  ASSERT_EQ(store.EventCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(store.Event(i).Type, expected[static_cast<size_t>(i)].first) << i;
    EXPECT_EQ(store.Event(i).Track, expected[static_cast<size_t>(i)].second) << i;
  }
}

TEST(TrackEventArrays, NestedNotesBecomeOneNoteAndStrayNoteOffsAreDropped) {
  TrackEventArrays store;
  store.ClearEvents();
  store.AddEvent(Note(kEventNoteOff, 7, 50));  // no note on before it
  store.AddEvent(Note(kEventNoteOn, 3, 100));
  TrackEvent text;
  text.Type = kEventText;
  text.YPosition = 120;
  text.Text = "between";
  store.AddEvent(text);
  store.AddEvent(Note(kEventNoteOn, 3, 150));
  TrackEvent tempo;
  tempo.Type = kEventTempo;
  tempo.TempoValue = 500000;
  tempo.YPosition = 170;
  store.AddEvent(tempo);
  store.AddEvent(Note(kEventNoteOff, 3, 200));
  store.AddEvent(Note(kEventNoteOff, 3, 300));
  store.AddEvent(Note(kEventNoteOn, 4, 310));  // another track is independent
  store.AddEvent(Note(kEventNoteOff, 4, 320));
  store.AddEvent(Note(kEventNoteOn, 600, 330));  // beyond the tracked range: passed over
  store.AddEvent(Note(kEventNoteOn, 600, 340));
  store.RemoveNestedNotes();
  const std::vector<int32_t> types = {kEventEmpty,   kEventNoteOn, kEventText,    kEventEmpty,
                                      kEventTempo,   kEventEmpty,  kEventNoteOff, kEventNoteOn,
                                      kEventNoteOff, kEventNoteOn, kEventNoteOn};
  ASSERT_EQ(store.EventCount(), static_cast<int>(types.size()));
  for (int i = 0; i < store.EventCount(); ++i) EXPECT_EQ(store.Event(i).Type, types[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(store.Event(2).Text, "between");
  EXPECT_EQ(store.Event(4).TempoValue, 500000);
}

TEST(TrackEventArrays, HoleClosesAtTheFirstLineWithoutASampleInSlotOrder) {
  TrackEventArrays store;
  store.ClearHoles();
  // Line at 1.0: tracks 200 and 3 hit; line at 1.1: only 200 (wider); line at 1.2: none.
  store.AddHoleSample(200, 1.0, 20);
  store.AddHoleSample(3, 1.0, 18);
  store.EndScanLine(1.0);
  EXPECT_TRUE(store.IsTrackOpen(3));
  store.AddHoleSample(200, 1.1, 25);
  store.AddHoleSample(200, 1.1, 22);
  store.EndScanLine(1.1);
  ASSERT_EQ(store.HoleCount(), 1);
  EXPECT_EQ(store.Hole(0).Track, 3);
  EXPECT_EQ(store.Hole(0).StartPosition, 1.0);
  EXPECT_EQ(store.Hole(0).EndPosition, 1.1);
  EXPECT_EQ(store.Hole(0).Length, 1.1 - 1.0);
  EXPECT_EQ(store.Hole(0).MaxWidth, 18);
  EXPECT_FALSE(store.Hole(0).Removed);

  // Track 3 opens again and 64 (another word of the state) too; all three close together.
  store.AddHoleSample(3, 1.2, 10);
  store.AddHoleSample(64, 1.2, 11);
  store.EndScanLine(1.2);
  store.EndScanLine(1.3);
  ASSERT_EQ(store.HoleCount(), 4);
  EXPECT_EQ(store.Hole(1).Track, 200);  // closed at 1.2, when it was not hit
  EXPECT_EQ(store.Hole(1).StartPosition, 1.0);
  EXPECT_EQ(store.Hole(1).MaxWidth, 25);
  EXPECT_EQ(store.Hole(2).Track, 3);
  EXPECT_EQ(store.Hole(2).MaxWidth, 10);  // the widest run was cleared when the first hole closed
  EXPECT_EQ(store.Hole(3).Track, 64);
  EXPECT_EQ(store.Hole(3).EndPosition, 1.3);

  // A hole still open after the last line is never appended; out-of-range tracks are ignored.
  store.AddHoleSample(9, 2.0, 10);
  store.AddHoleSample(256, 2.0, 10);
  store.AddHoleSample(-1, 2.0, 10);
  store.EndScanLine(2.0);
  EXPECT_EQ(store.HoleCount(), 4);
  store.ClearHoles();
  EXPECT_EQ(store.HoleCount(), 0);
  EXPECT_FALSE(store.IsTrackOpen(9));
}

}  // namespace
}  // namespace tarvelo

namespace tarvelo {
namespace {

TEST(TrackEventArrays, LineOfCollectedHitsEqualsSampleBySample) {
  std::mt19937 random(5);
  TrackEventArrays one, batch;
  for (int line = 0; line < 400; ++line) {
    const double position = line * 0.01;
    std::array<uint64_t, 4> hits{};
    const int samples = static_cast<int>(random() % 6);
    for (int k = 0; k < samples; ++k) {
      // Few tracks, so that holes open, continue and close.
      const int track = static_cast<int>(random() % 8) * 37 % 256;
      const double width = static_cast<double>(random() % 50);
      one.AddHoleSample(track, position, width);
      batch.RaiseWidestRun(track, width);
      hits[static_cast<size_t>(track) / 64] |= uint64_t{1} << (track % 64);
    }
    one.EndScanLine(position);
    batch.EndLineWithHits(position, hits);
  }
  ASSERT_GT(one.HoleCount(), 50);
  ASSERT_EQ(batch.HoleCount(), one.HoleCount());
  for (int k = 0; k < one.HoleCount(); ++k) {
    EXPECT_EQ(batch.Hole(k).Track, one.Hole(k).Track);
    EXPECT_EQ(batch.Hole(k).StartPosition, one.Hole(k).StartPosition);
    EXPECT_EQ(batch.Hole(k).EndPosition, one.Hole(k).EndPosition);
    EXPECT_EQ(batch.Hole(k).MaxWidth, one.Hole(k).MaxWidth);
  }
}

}  // namespace
}  // namespace tarvelo

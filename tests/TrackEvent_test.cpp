#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "events/TrackEvent.h"

namespace tarvelo {
namespace {

TrackEvent Note(EventKind kind, int32_t track, uint32_t y) {
  return kind == EventKind::kNoteOn ? TrackEvent::NoteOn(track, y, 64) : TrackEvent::NoteOff(track, y);
}

// "kind track@position" for each event, for readable expectations.
std::vector<std::string> Listed(const EventList& events) {
  std::vector<std::string> listed;
  for (const TrackEvent& e : events)
    listed.push_back(std::to_string(EventKindCode(e.Kind)) + " " + std::to_string(e.Track) + "@" +
                     std::to_string(e.YPosition));
  return listed;
}

TEST(EventList, SortKeepsTheOrderOfAdditionAtEqualPositions) {
  EventList events = {Note(EventKind::kNoteOn, 5, 300),          Note(EventKind::kNoteOn, 1, 100),
                      Note(EventKind::kNoteOff, 1, 100),         Note(EventKind::kNoteOn, 2, 100),
                      Note(EventKind::kNoteOff, 5, 0xFFFFFFF0u),  // unsigned comparison
                      Note(EventKind::kNoteOff, 2, 200)};
  SortEventsByPosition(events);
  EXPECT_EQ(Listed(events),
            (std::vector<std::string>{"1 1@100", "0 1@100", "1 2@100", "0 2@200", "1 5@300", "0 5@4294967280"}));
}

TEST(EventList, NestedNotesBecomeOneNoteAndStrayNoteOffsAreErased) {
  EventList events = {
      Note(EventKind::kNoteOff, 7, 50),  // no note on before it
      Note(EventKind::kNoteOn, 3, 100),  TrackEvent::TextOf(EventKind::kText, 120, "between"),
      Note(EventKind::kNoteOn, 3, 150),  TrackEvent::Tempo(170, 500000),
      Note(EventKind::kNoteOff, 3, 200), Note(EventKind::kNoteOff, 3, 300),
      Note(EventKind::kNoteOn, 4, 310),                                       // another track is independent
      Note(EventKind::kNoteOff, 4, 320), Note(EventKind::kNoteOn, 600, 330),  // beyond the tracked range: passed over
      Note(EventKind::kNoteOn, 600, 340)};
  RemoveNestedNotes(events);
  EXPECT_EQ(Listed(events), (std::vector<std::string>{"1 3@100", "3841 0@120", "3921 0@170", "0 3@300", "1 4@310",
                                                      "0 4@320", "1 600@330", "1 600@340"}));
  EXPECT_EQ(events[1].Text, "between");
  EXPECT_EQ(events[2].TempoValue, 500000);
  EXPECT_EQ(events[4].Value, 64);
}

TEST(EventList, ErasingMarkedEventsKeepsTheOrderOfTheRest) {
  EventList events = {TrackEvent::TextOf(EventKind::kText, 0, "title"), Note(EventKind::kNoteOn, 1, 10),
                      Note(EventKind::kNoteOff, 1, 20), Note(EventKind::kNoteOn, 1, 25),
                      Note(EventKind::kNoteOff, 1, 40)};
  EraseMarkedEvents(events, {false, false, true, true, false});
  EXPECT_EQ(Listed(events), (std::vector<std::string>{"3841 0@0", "1 1@10", "0 1@40"}));
  EXPECT_EQ(events[0].Text, "title");
  EraseMarkedEvents(events, {true, true, true});
  EXPECT_TRUE(events.empty());
}

}  // namespace
}  // namespace tarvelo

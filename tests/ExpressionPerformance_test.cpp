// The expression stage as the expression file gets it: notes of the note tracks with their
// velocities, control holes left out, pedals as controllers on every channel with notes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expression/PerformExpression.h"
#include "midi/RollTiming.h"

namespace tarvelo {
namespace {

using Kind = PerformedEvent::Kind;

// A roll at tempo 80 (640 ticks a second) whose notes are given in seconds.
struct Roll {
  explicit Roll(ExpressionSystem system) { roll.Expression = DefaultExpressionModel(system); }
  Roll& Note(int track, double from, double to = -1, int velocity = 85) {
    notes.push_back({track, Tick(from), Tick(to < 0 ? from + 0.03 : to), velocity});
    return *this;
  }
  Roll& Chain(int track, double from, double to, double length, double every) {
    for (int k = 0; from + k * every + length <= to + 1e-9; ++k)
      Note(track, from + k * every, from + k * every + length);
    return *this;
  }
  static int64_t Tick(double seconds) { return static_cast<int64_t>(seconds * 640 + 0.5); }
  ExpressionPerformance Perform(bool note18_sustain = false) const {
    return PerformExpression(roll, notes, RollTiming(80), note18_sustain);
  }
  RollTypeDefinition roll;
  std::vector<ERollNote> notes;
};

// "tick channel controller value" of every controller event.
std::vector<std::string> Controllers(const ExpressionPerformance& performance) {
  std::vector<std::string> found;
  for (const PerformedEvent& event : performance.Events)
    if (event.Type == Kind::kController)
      found.push_back(std::to_string(event.Tick) + " " + std::to_string(event.Channel) + " " +
                      std::to_string(event.Data1) + " " + std::to_string(event.Data2));
  return found;
}

std::vector<int> NotePitches(const ExpressionPerformance& performance) {
  std::vector<int> pitches;
  for (const PerformedEvent& event : performance.Events)
    if (event.Type == Kind::kNoteOn) pitches.push_back(event.Data1);
  return pitches;
}

using S = std::vector<std::string>;

TEST(ExpressionPedals, LockAndCancelPedalsIgnoreRepeats) {
  // Licensee: sustain on 106 / off 107; soft on 23 / off 22; 18 is the bass crescendo off.
  Roll licensee(ExpressionSystem::kWelteLicensee);
  licensee.Note(60, 0.5, 3.0).Note(106, 1.0).Note(106, 1.5).Note(107, 2.0).Note(18, 2.2).Note(18, 2.6);
  EXPECT_EQ(Controllers(licensee.Perform(true)), (S{"640 0 64 127", "1280 0 64 0"}));

  // T-100: soft on hole 8 / off hole 7; the motor holes 9 and 10 do nothing.
  Roll red(ExpressionSystem::kWelteRed);
  red.Note(50, 0.5, 3.0).Note(8, 1.0).Note(9, 1.2).Note(10, 1.4).Note(7, 2.0).Note(7, 2.5);
  EXPECT_EQ(Controllers(red.Perform()), (S{"640 0 67 127", "1280 0 67 0"}));

  // An "off" and an "on" on one tick: up, then down again.
  Roll both(ExpressionSystem::kWelteLicensee);
  both.Note(60, 0.5, 3.0).Note(106, 1.0).Note(107, 2.0).Note(106, 2.0);
  EXPECT_EQ(Controllers(both.Perform()), (S{"640 0 64 127", "1280 0 64 0", "1280 0 64 127"}));
}

TEST(ExpressionPedals, HeldPedalsFollowTheirJoinedHolesOnEveryChannelWithNotes) {
  // A sustain chain from 2.00 to 3.50 s (gaps of 0.08 in) is one press, released 0.042 in
  // (17 ticks) after the last hole.
  for (const auto& [system, soft] : {std::pair{ExpressionSystem::kDuoArt, 113},
                                     {ExpressionSystem::kAmpicoA, 111},
                                     {ExpressionSystem::kAmpicoB, 111},
                                     {ExpressionSystem::kThemodist, 113}}) {
    Roll roll(system);
    roll.roll.TrackMidiChannel[70] = 2;
    roll.Note(60, 0.5, 4.0).Note(70, 0.5, 4.0).Chain(18, 2.0, 3.45, 0.05, 0.1).Note(18, 3.47, 3.5).Note(soft, 5.0, 6.0);
    EXPECT_EQ(Controllers(roll.Perform()), (S{"1280 0 64 127", "1280 2 64 127", "2257 0 64 0", "2257 2 64 0",
                                              "3200 0 67 127", "3200 2 67 127", "3857 0 67 0", "3857 2 67 0"}))
        << ExpressionSystemName(system);
  }
}

TEST(ExpressionPerformance, ControlTracksAreNeverNotes) {
  Roll duo_art(ExpressionSystem::kDuoArt);
  duo_art.Note(21, 0.0, 9.0)
      .Note(109, 1.0, 1.1)
      .Note(16, 8.0)
      .Note(70, 1.05)
      .Note(30, 2.0)
      .Note(104, 3.0)
      .Note(105, 0, 9);
  const ExpressionPerformance performance = duo_art.Perform();
  EXPECT_EQ(NotePitches(performance), (std::vector<int>{70, 30, 104}));
  EXPECT_EQ(performance.Channels, std::vector<int>{0});
  // Each note keeps its ticks; its note off follows on the same pitch.
  ASSERT_EQ(performance.Events.size(), 6u);
  EXPECT_EQ(performance.Events[0].Tick, Roll::Tick(1.05));
  EXPECT_EQ(performance.Events[1].Type, Kind::kNoteOff);
  EXPECT_EQ(performance.Events[1].Data1, 70);
  // The treble note in the snakebite takes the theme (step 8), the others the accompaniment (1).
  EXPECT_EQ(performance.Events[0].Data2, 74);
  EXPECT_EQ(performance.Events[2].Data2, 45);
  EXPECT_NE(performance.Model.find("Duo-Art ExpressionBridgeGap=0.1 "), std::string::npos) << performance.Model;
}

TEST(ExpressionPerformance, WithoutASystemTheERollVelocitiesPlay) {
  Roll plain(ExpressionSystem::kNone);
  plain.Note(18, 1.0, 2.0, 85).Note(60, 1.0, 1.5, 64);
  const ExpressionPerformance performance = plain.Perform(true);
  EXPECT_EQ(NotePitches(performance), (std::vector<int>{18, 60}));
  EXPECT_EQ(Controllers(performance), (S{"640 0 64 127", "1280 0 64 0"}));
  EXPECT_EQ(performance.Model, "none");
  EXPECT_TRUE(Controllers(plain.Perform(false)).empty());
}

TEST(ExpressionPerformance, VelocitiesAreRoundedHalfUpOffsetAndHeldInRange) {
  ExpressionModel welte = DefaultExpressionModel(ExpressionSystem::kWelteRed);
  EXPECT_EQ(NoteVelocity(59.5, false, welte), 60);
  EXPECT_EQ(NoteVelocity(59.4999, false, welte), 59);
  EXPECT_EQ(NoteVelocity(59.5, true, welte), 55);
  welte.BassOffset = -40;
  EXPECT_EQ(NoteVelocity(35, true, welte), 1);
  EXPECT_EQ(NoteVelocity(200, false, welte), 127);
}

}  // namespace
}  // namespace tarvelo

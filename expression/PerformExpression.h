#pragma once
// The expression stage: the eRoll file's notes played as the roll type's reproducing system
// plays them. It sorts the tracks by the system's functions, joins and extends the control
// holes, runs the system's model over each half of the stack, gives every note of the note
// tracks the velocity of its half at its onset and turns the pedal tracks into controllers.
// It reads no profile and no file: the roll type, the notes and the file's clock come in, the
// performance for the expression file goes out.
//
// Velocity of a note: the model's value rounded half up, plus the bass offset for the bass
// half, held within 1..127. A roll type without a system plays every note of the eRoll file
// with its eRoll velocity (and, with `note18_sustain`, sustain from note 18 as the eRoll file
// has it).

#include <cstdint>
#include <vector>

#include "expression/ControlHoles.h"
#include "midi/ExpressionMidi.h"
#include "midi/RollTiming.h"
#include "rolltypes/RollTypeDefinition.h"

namespace tarvelo {

// One note of the eRoll file: its track, its ticks in the file, its eRoll velocity.
struct ERollNote {
  int Track = 0;
  int64_t OnTick = 0;
  int64_t OffTick = 0;
  int Velocity = 0;
};

// The model of `model`'s system over `holes` (joined and extended for it): a value per onset.
LevelsByHalf ModelLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                         const RollTiming& timing);
// A note's velocity from its model value: rounded half up, the bass offset added in the bass
// half, held within 1..127.
int NoteVelocity(double level, bool bass, const ExpressionModel& model);

ExpressionPerformance PerformExpression(const RollTypeDefinition& roll, const std::vector<ERollNote>& notes,
                                        const RollTiming& timing, bool note18_sustain);

}  // namespace tarvelo

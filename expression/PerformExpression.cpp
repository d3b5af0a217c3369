#include "expression/PerformExpression.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

#include "expression/AmpicoModel.h"
#include "expression/ArtechoModel.h"
#include "expression/ControlHoles.h"
#include "expression/DuoArtModel.h"
#include "expression/Pedals.h"
#include "expression/RecordoModel.h"
#include "expression/ThemodistModel.h"
#include "expression/TrackFunctions.h"
#include "expression/WelteModel.h"
#include "rolltypes/ExpressionParameters.h"

namespace tarvelo {

namespace {

using Kind = PerformedEvent::Kind;

// The order of events on one tick: notes off, pedals up, notes on, pedals down (a pedal that goes
// down with a note catches it; one that comes up with a note's release does not hold it).
int OrderOnTick(const PerformedEvent& event) {
  switch (event.Type) {
    case Kind::kNoteOff:
      return 0;
    case Kind::kNoteOn:
      return 2;
    case Kind::kController:
      return event.Data2 == 0 ? 1 : 3;
  }
  return 0;
}

void SortForTheFile(std::vector<PerformedEvent>& events) {
  std::stable_sort(events.begin(), events.end(), [](const PerformedEvent& a, const PerformedEvent& b) {
    return a.Tick != b.Tick ? a.Tick < b.Tick : OrderOnTick(a) < OrderOnTick(b);
  });
}

uint8_t Byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }

void AddNote(std::vector<PerformedEvent>& events, const ERollNote& note, const RollTypeDefinition& roll, int velocity) {
  const auto track = static_cast<size_t>(note.Track);
  const int channel = roll.TrackMidiChannel[track];
  const int pitch = roll.TrackMidiPitch[track];
  // What the MIDI format cannot hold the writer leaves out, as in the eRoll file.
  const auto channel_byte = static_cast<uint8_t>(channel >= 0 && channel <= 15 ? channel : 255);
  const auto pitch_byte = static_cast<uint8_t>(pitch >= 0 && pitch <= 127 ? pitch : 255);
  events.push_back({note.OnTick, Kind::kNoteOn, channel_byte, pitch_byte, Byte(velocity)});
  events.push_back({note.OffTick, Kind::kNoteOff, channel_byte, pitch_byte, 0});
}

// The eRoll file's own music: every note with its velocity, sustain from note 18 if asked.
ExpressionPerformance WithoutSystem(const RollTypeDefinition& roll, const std::vector<ERollNote>& notes,
                                    bool note18_sustain) {
  ExpressionPerformance performance;
  performance.Model = DescribeExpressionModel(roll.Expression);
  std::set<int> channels;
  for (const ERollNote& note : notes) {
    AddNote(performance.Events, note, roll, note.Velocity);
    const int channel = roll.TrackMidiChannel[static_cast<size_t>(note.Track)];
    if (channel >= 0 && channel <= 15) channels.insert(channel);
    if (note18_sustain && roll.TrackMidiPitch[static_cast<size_t>(note.Track)] == 18) {
      performance.Events.push_back({note.OnTick, Kind::kController, Byte(channel), 64, 127});
      performance.Events.push_back({note.OffTick, Kind::kController, Byte(channel), 64, 0});
    }
  }
  SortForTheFile(performance.Events);
  performance.Channels.assign(channels.begin(), channels.end());
  return performance;
}

}  // namespace

LevelsByHalf ModelLevels(const ControlHoles& holes, const OnsetsByHalf& onsets, const ExpressionModel& model,
                         const RollTiming& timing) {
  switch (model.System) {
    case ExpressionSystem::kWelteRed:
    case ExpressionSystem::kWelteGreen:
    case ExpressionSystem::kWelteLicensee:
      return WelteLevels(holes, onsets, model, timing);
    case ExpressionSystem::kAmpicoA:
      return AmpicoALevels(holes, onsets, model, timing);
    case ExpressionSystem::kAmpicoB:
      return AmpicoBLevels(holes, onsets, model, timing);
    case ExpressionSystem::kDuoArt:
      return DuoArtLevels(holes, onsets, model);
    case ExpressionSystem::kThemodist:
      return ThemodistLevels(holes, onsets, model);
    case ExpressionSystem::kRecordoA:
    case ExpressionSystem::kRecordoB:
      return RecordoLevels(holes, onsets, model);
    case ExpressionSystem::kArtecho:
      return ArtechoLevels(holes, onsets, model, timing);
    case ExpressionSystem::kNone:
      break;
  }
  return {};
}

int NoteVelocity(double level, bool bass, const ExpressionModel& model) {
  const double rounded = std::floor(level + 0.5) + (bass ? model.BassOffset : 0);
  return static_cast<int>(std::clamp(rounded, 1.0, 127.0));
}

ExpressionPerformance PerformExpression(const RollTypeDefinition& roll, const std::vector<ERollNote>& notes,
                                        const RollTiming& timing, bool note18_sustain) {
  const ExpressionModel& model = roll.Expression;
  if (model.System == ExpressionSystem::kNone) return WithoutSystem(roll, notes, note18_sustain);

  const TrackRoles roles = RolesOfSystem(model.System, model.FirstTreble());
  const auto role_of = [&](int track) {
    return track >= 0 && track < kFunctionTracks ? roles[static_cast<size_t>(track)] : TrackRole{};
  };
  std::vector<TrackHole> holes;
  // The notes of the note tracks of each half, in the order of their onsets.
  std::array<std::vector<size_t>, 2> played;
  for (size_t i = 0; i < notes.size(); ++i) {
    const ERollNote& note = notes[i];
    const TrackRole role = role_of(note.Track);
    if (role.Function == TrackFunction::kNote)
      played[role.Half == Side::kBass ? 0 : 1].push_back(i);
    else if (role.Function != TrackFunction::kUnused)
      holes.push_back({note.Track, RollTiming::InchesAtTick(static_cast<double>(note.OnTick)),
                       RollTiming::InchesAtTick(static_cast<double>(note.OffTick))});
  }
  OnsetsByHalf onsets;
  for (size_t half = 0; half < 2; ++half) {
    std::stable_sort(played[half].begin(), played[half].end(),
                     [&](size_t a, size_t b) { return notes[a].OnTick < notes[b].OnTick; });
    for (const size_t i : played[half])
      onsets[half].push_back(RollTiming::InchesAtTick(static_cast<double>(notes[i].OnTick)));
  }
  const ControlHoles control(holes, roles, model);
  const LevelsByHalf levels = ModelLevels(control, onsets, model, timing);

  ExpressionPerformance performance;
  performance.Model = DescribeExpressionModel(model);
  std::set<int> channels;
  for (size_t half = 0; half < 2; ++half) {
    for (size_t n = 0; n < played[half].size(); ++n) {
      const ERollNote& note = notes[played[half][n]];
      const double level = n < levels[half].size() ? levels[half][n] : 0;
      AddNote(performance.Events, note, roll, NoteVelocity(level, half == 0, model));
      const int channel = roll.TrackMidiChannel[static_cast<size_t>(note.Track)];
      if (channel >= 0 && channel <= 15) channels.insert(channel);
    }
  }
  if (channels.empty()) channels.insert(0);
  performance.Channels.assign(channels.begin(), channels.end());
  for (const PedalMove& move : PedalMoves(control)) {
    const auto tick = static_cast<int64_t>(std::llround(move.At * RollTiming::kTicksPerInch));
    for (const int channel : performance.Channels)
      performance.Events.push_back({tick, Kind::kController, static_cast<uint8_t>(channel),
                                    static_cast<uint8_t>(move.Controller), static_cast<uint8_t>(move.Down ? 127 : 0)});
  }
  SortForTheFile(performance.Events);
  return performance;
}

}  // namespace tarvelo

#include "rolltypes/ExpressionModel.h"

#include <utility>

namespace tarvelo {

namespace {

constexpr std::pair<ExpressionSystem, std::string_view> kNames[] = {
    {ExpressionSystem::kNone, "none"},
    {ExpressionSystem::kWelteRed, "Welte red"},
    {ExpressionSystem::kWelteGreen, "Welte green"},
    {ExpressionSystem::kWelteLicensee, "Welte Licensee"},
    {ExpressionSystem::kAmpicoA, "Ampico A"},
    {ExpressionSystem::kAmpicoB, "Ampico B"},
    {ExpressionSystem::kDuoArt, "Duo-Art"},
    {ExpressionSystem::kThemodist, "Themodist"},
    {ExpressionSystem::kRecordoA, "Recordo A"},
    {ExpressionSystem::kRecordoB, "Recordo B"},
    {ExpressionSystem::kArtecho, "Artecho"},
};

}  // namespace

std::string_view ExpressionSystemName(ExpressionSystem system) {
  for (const auto& [known, name] : kNames)
    if (known == system) return name;
  return "none";
}

bool FindExpressionSystem(std::string_view name, ExpressionSystem& system) {
  for (const auto& [known, known_name] : kNames) {
    if (known_name != name) continue;
    system = known;
    return true;
  }
  return false;
}

std::string ExpressionSystemNames() {
  std::string names;
  for (const auto& [known, name] : kNames) {
    if (!names.empty()) names += ", ";
    names += name;
  }
  return names;
}

double ExpressionModel::BridgeGapOf(int track) const {
  if (track < 0 || track >= static_cast<int>(TrackBridgeGap.size())) return BridgeGap;
  const double own = TrackBridgeGap[static_cast<size_t>(track)];
  return own >= 0 ? own : BridgeGap;
}

ExpressionModel DefaultExpressionModel(ExpressionSystem system) {
  ExpressionModel model;
  model.System = system;
  switch (system) {
    case ExpressionSystem::kNone:
      break;
    case ExpressionSystem::kWelteRed:
      model.FirstTrebleTrack = 54;  // hole 54, G4
      model.BassOffset = -5;
      break;
    case ExpressionSystem::kWelteGreen:
      model.FirstTrebleTrack = 67;
      model.BassOffset = -5;
      model.WelteTimes = {2455, 245, 269};
      break;
    case ExpressionSystem::kWelteLicensee:
      model.FirstTrebleTrack = 67;
      model.BassOffset = -5;
      model.WelteTimes = {2163, 220, 186};
      model.WelteDecrescendoSpan = 25;  // mezzoforte to piano in 186 ms
      break;
    case ExpressionSystem::kAmpicoA:
      model.FirstTrebleTrack = 65;
      model.Lag = 0.016;
      model.IntensityVacuum = {6.0, 7.0, 6.7, 8.0, 8.0, 9.5, 9.5, 11.5, 10.5, 13.0, 13.0, 16.5, 16.5, 22.0, 20.0, 30.0};
      break;
    case ExpressionSystem::kAmpicoB:
      model.FirstTrebleTrack = 65;
      model.Lag = 0.016;
      model.IntensityVacuum = {5.6, 11.35, 6.6,  13.1, 7.9,  15.8, 9.0,  16.8,
                               9.8, 19.5,  12.4, 24.6, 15.6, 31.7, 19.6, 40};
      model.SubIntensityVacuum = {5.0, 10.0, 5.6,   11.6, 6.25, 13.8, 7.75, 15.7,
                                  8.7, 16.5, 10.65, 21,   13.8, 28,   18.6, 36};
      break;
    case ExpressionSystem::kDuoArt:
      model.FirstTrebleTrack = 64;
      model.Lag = 0.050;
      model.Delay = 0.143;
      break;
    case ExpressionSystem::kThemodist:
      model.FirstTrebleTrack = 64;
      break;
    case ExpressionSystem::kRecordoA:
      model.FirstTrebleTrack = 62;
      model.Lag = 0.088;
      model.HammerRailFloor = 7;
      break;
    case ExpressionSystem::kRecordoB:
      model.FirstTrebleTrack = 62;
      model.Lag = 0.088;
      break;
    case ExpressionSystem::kArtecho:
      model.FirstTrebleTrack = 65;
      model.Lag = 0.028;
      model.IntensityVacuum = {5.5, 11, 6.5, 13, 8, 16, 10, 20, 12.5, 25, 13, 26, 14, 28, 15, 30};
      break;
  }
  return model;
}

}  // namespace tarvelo

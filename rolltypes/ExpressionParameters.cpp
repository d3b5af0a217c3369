#include "rolltypes/ExpressionParameters.h"

#include <cmath>

#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

using enum ExpressionSystem;

constexpr uint32_t Bit(ExpressionSystem system) { return 1u << static_cast<unsigned>(system); }

constexpr uint32_t kWelte = Bit(kWelteRed) | Bit(kWelteGreen) | Bit(kWelteLicensee);
constexpr uint32_t kRecordo = Bit(kRecordoA) | Bit(kRecordoB);
constexpr uint32_t kLagged = Bit(kAmpicoA) | Bit(kAmpicoB) | Bit(kDuoArt) | kRecordo | Bit(kArtecho);
constexpr uint32_t kAccents = Bit(kDuoArt) | Bit(kThemodist);
constexpr uint32_t kEvery = kWelte | kLagged | Bit(kThemodist);

std::span<double> One(double& figure) { return {&figure, 1}; }

const ExpressionParameter kParameters[] = {
    {"ExpressionBridgeGap", kBridgeGapLow, kBridgeGapHigh, false, kEvery,
     [](ExpressionModel& m) { return One(m.BridgeGap); }},
    {"ExpressionTrackerExtension", 0, 0.5, false, kEvery, [](ExpressionModel& m) { return One(m.TrackerExtension); }},
    {"ExpressionFirstTrebleTrack", 0, 255, true, kEvery, [](ExpressionModel& m) { return One(m.FirstTrebleTrack); }},
    {"ExpressionBassOffset", -40, 40, false, kEvery, [](ExpressionModel& m) { return One(m.BassOffset); }},
    {"ExpressionLag", 0, 1, false, kLagged, [](ExpressionModel& m) { return One(m.Lag); }},
    {"ExpressionDelay", 0, 2, false, Bit(kDuoArt), [](ExpressionModel& m) { return One(m.Delay); }},
    {"ExpressionSnakebiteLead", 0, 0.5, false, kAccents, [](ExpressionModel& m) { return One(m.SnakebiteLead); }},
    {"ExpressionWelteLevels", 1, 127, false, kWelte,
     [](ExpressionModel& m) { return std::span<double>(m.WelteLevels); }},
    {"ExpressionWelteTimes", 1, 100000, false, kWelte,
     [](ExpressionModel& m) { return std::span<double>(m.WelteTimes); }},
    {"ExpressionWelteDecrescendoSpan", 0, 126, false, kWelte,
     [](ExpressionModel& m) { return One(m.WelteDecrescendoSpan); }},
    {"ExpressionAccompanimentVacuum", 0, 60, false, Bit(kDuoArt),
     [](ExpressionModel& m) { return std::span<double>(m.AccompanimentVacuum); }},
    {"ExpressionThemeVacuum", 0, 60, false, Bit(kDuoArt),
     [](ExpressionModel& m) { return std::span<double>(m.ThemeVacuum); }},
    {"ExpressionCrashVacuum", 0, 60, false, Bit(kDuoArt), [](ExpressionModel& m) { return One(m.CrashVacuum); }},
    {"ExpressionThemeFloor", 0, 10, false, Bit(kDuoArt), [](ExpressionModel& m) { return One(m.ThemeFloor); }},
    {"ExpressionIntensityVacuum", 0, 60, false, Bit(kAmpicoA) | Bit(kAmpicoB) | Bit(kArtecho),
     [](ExpressionModel& m) { return std::span<double>(m.IntensityVacuum); }},
    {"ExpressionSubIntensityVacuum", 0, 60, false, Bit(kAmpicoB),
     [](ExpressionModel& m) { return std::span<double>(m.SubIntensityVacuum); }},
    {"ExpressionCrescendoRates", 0, 100, false, Bit(kAmpicoA),
     [](ExpressionModel& m) { return std::span<double>(m.CrescendoRates); }},
    {"ExpressionFastCrescendoRate", 0, 100, false, Bit(kAmpicoA),
     [](ExpressionModel& m) { return One(m.FastCrescendoRate); }},
    {"ExpressionCrescendoVacuum", 0, 60, false, Bit(kAmpicoA),
     [](ExpressionModel& m) { return std::span<double>(m.CrescendoVacuum); }},
    {"ExpressionAmplifierRate", 0, 100, false, Bit(kAmpicoA), [](ExpressionModel& m) { return One(m.AmplifierRate); }},
    {"ExpressionAmplifierTargets", 0, 1, false, Bit(kAmpicoA),
     [](ExpressionModel& m) { return std::span<double>(m.AmplifierTargets); }},
    {"ExpressionCrescendoTimes", 0.01, 100, false, Bit(kAmpicoB),
     [](ExpressionModel& m) { return std::span<double>(m.CrescendoTimes); }},
    {"ExpressionAmplifierBounds", 0, 1, false, Bit(kAmpicoB),
     [](ExpressionModel& m) { return std::span<double>(m.AmplifierBounds); }},
    {"ExpressionCrescendoTime", 0.01, 100, false, Bit(kArtecho),
     [](ExpressionModel& m) { return One(m.CrescendoTime); }},
    {"ExpressionPianissimoDrop", 0, 20, false, Bit(kArtecho), [](ExpressionModel& m) { return One(m.PianissimoDrop); }},
    {"ExpressionHammerRailFactor", 0, 1, false, Bit(kArtecho),
     [](ExpressionModel& m) { return One(m.HammerRailFactor); }},
    {"ExpressionThemodistVelocities", 1, 127, false, Bit(kThemodist),
     [](ExpressionModel& m) { return std::span<double>(m.ThemodistVelocities); }},
    {"ExpressionRecordoLevels", 0, 60, false, Bit(kRecordoB),
     [](ExpressionModel& m) { return std::span<double>(m.RecordoLevels); }},
    {"ExpressionRecordoBinaryLevels", 0, 60, false, Bit(kRecordoA),
     [](ExpressionModel& m) { return std::span<double>(m.RecordoBinaryLevels); }},
    {"ExpressionHammerRailFloor", 0, 60, false, kRecordo, [](ExpressionModel& m) { return One(m.HammerRailFloor); }},
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Plain decimals (never an exponent), without trailing zeros: 0.042, 5, -5, 11.35.
std::string Figure(double value) {
  std::string text = FormatFixed(value, 8);
  if (text.find('.') == std::string::npos) return text;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

}  // namespace

std::span<const ExpressionParameter> ExpressionParameters() { return kParameters; }

bool ParseExpressionFigures(const ExpressionParameter& parameter, std::string_view text, std::span<double> figures) {
  std::vector<double> read;
  size_t at = 0;
  while (at < text.size()) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at == text.size()) break;
    size_t end = at;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    double value = 0;
    if (!ParseStrictDouble(text.substr(at, end - at), value) || !std::isfinite(value)) return false;
    if (value < parameter.Low || value > parameter.High) return false;
    if (parameter.Integral && value != std::floor(value)) return false;
    read.push_back(value);
    at = end;
  }
  if (read.size() != figures.size()) return false;
  for (size_t i = 0; i < read.size(); ++i) figures[i] = read[i];
  return true;
}

std::string FormatExpressionFigures(std::span<const double> figures, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < figures.size(); ++i) {
    if (i > 0) text += separator;
    text += Figure(figures[i]);
  }
  return text;
}

std::string ExpressionModelProblem(const ExpressionModel& model) {
  const auto belongs = [&](std::string_view element) {
    for (const ExpressionParameter& parameter : kParameters)
      if (parameter.Element == element) return parameter.BelongsTo(model.System);
    return false;
  };
  const auto& levels = model.WelteLevels;
  if (belongs("ExpressionWelteLevels") && !(levels[0] < levels[1] && levels[1] < levels[2] && levels[2] <= levels[3]))
    return "ExpressionWelteLevels must rise: piano < mezzoforte < loud <= forte";
  if (belongs("ExpressionCrescendoVacuum") && !(model.CrescendoVacuum[0] < model.CrescendoVacuum[1]))
    return "ExpressionCrescendoVacuum must end above where it starts";
  if (belongs("ExpressionAmplifierBounds") && !(model.AmplifierBounds[0] < model.AmplifierBounds[1]))
    return "ExpressionAmplifierBounds must end above where they start";
  return "";
}

std::string DescribeExpressionModel(const ExpressionModel& model) {
  std::string text(ExpressionSystemName(model.System));
  if (model.System == ExpressionSystem::kNone) return text;
  ExpressionModel figures = model;  // the table reaches the figures through a changeable model
  for (const ExpressionParameter& parameter : kParameters) {
    if (!parameter.BelongsTo(model.System)) continue;
    text += ' ';
    text += parameter.Element;
    text += '=';
    text += FormatExpressionFigures(parameter.Figures(figures), ",");
  }
  for (size_t track = 0; track < model.TrackBridgeGap.size(); ++track) {
    if (model.TrackBridgeGap[track] < 0) continue;
    text += " " + std::string(kTrackBridgeGapElement) + "[" + std::to_string(track) +
            "]=" + Figure(model.TrackBridgeGap[track]);
  }
  return text;
}

}  // namespace tarvelo

#include "rolltypes/DescribeRollType.h"

#include <algorithm>

#include "rolltypes/ExpressionParameters.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

std::string Real(double value) { return FormatGcvt(value, 8); }
std::string Switch(bool value) { return value ? "true" : "false"; }

// `text` right-aligned in `width` characters.
std::string Pad(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

}  // namespace

std::string DescribeRollType(const RollTypeDefinition& r) {
  std::string out;
  const auto line = [&out](const char* field, const std::string& value) {
    out += field;
    out += ": ";
    out += value;
    out += '\n';
  };
  line("Name", r.Name);
  line("LowestTrackHoleNumber", std::to_string(r.LowestTrackHoleNumber));
  line("HighestTrackHoleNumber", std::to_string(r.HighestTrackHoleNumber));
  line("LowestTrackUsedForRestoration", std::to_string(r.LowestTrackUsedForRestoration));
  line("HighestTrackUsedForRestoration", std::to_string(r.HighestTrackUsedForRestoration));
  line("RollPunchStepRangeMin", std::to_string(r.RollPunchStepRangeMin));
  line("RollPunchStepRangeMax", std::to_string(r.RollPunchStepRangeMax));
  line("LowerRollEdgeExpectedLocation", Real(r.LowerRollEdgeExpectedLocation));
  line("UpperRollEdgeExpectedLocation", Real(r.UpperRollEdgeExpectedLocation));
  line("DefaultTrackCenterSpacing", Real(r.DefaultTrackCenterSpacing));
  line("DefaultTrackToMidiPitchTranspose", std::to_string(r.DefaultTrackToMidiPitchTranspose));
  line("TakeupSpoolAccelerationPctPerFoot", Real(r.TakeupSpoolAccelerationPctPerFoot));
  line("InterpretWebbingLimitAsSeconds", Switch(r.InterpretWebbingLimitAsSeconds));
  line("ApplyAccelerationToWebbing", Switch(r.ApplyAccelerationToWebbing));
  line("ApplyAccelerationToTempo", Switch(r.ApplyAccelerationToTempo));
  std::string instruments;
  for (int channel = 0; channel < kMidiChannels; ++channel) {
    if (channel > 0) instruments += ' ';
    instruments += std::to_string(r.ChannelInstrument[channel]);
  }
  line("ChannelInstrument", instruments);
  line("ExpressionSystem", std::string(ExpressionSystemName(r.Expression.System)));
  ExpressionModel model = r.Expression;  // the table reaches the figures through a changeable model
  for (const ExpressionParameter& parameter : ExpressionParameters())
    if (parameter.BelongsTo(model.System))
      line(parameter.Element.data(), FormatExpressionFigures(parameter.Figures(model)));
  std::string gaps;
  for (size_t track = 0; track < model.TrackBridgeGap.size(); ++track) {
    if (model.TrackBridgeGap[track] < 0) continue;
    if (!gaps.empty()) gaps += ' ';
    gaps +=
        std::to_string(track) + ":" + FormatExpressionFigures(std::span<const double>(&model.TrackBridgeGap[track], 1));
  }
  if (!gaps.empty()) line("ExpressionBridgeGap of tracks", gaps);

  out += "Tracks:\n";
  out += "track      lower     centre      upper channel pitch velocity\n";
  const int first = std::max(r.LowestTrackHoleNumber, 0);
  const int last = std::min(r.HighestTrackHoleNumber, kTrackSlots - 1);
  for (int n = first; n <= last; ++n) {
    out += Pad(std::to_string(n), 5);
    out += ' ' + Pad(Real(r.TrackLowerBoundary[n]), 10);
    out += ' ' + Pad(Real(r.TrackCenter[n]), 10);
    out += ' ' + Pad(Real(r.TrackUpperBoundary[n]), 10);
    out += ' ' + Pad(std::to_string(r.TrackMidiChannel[n]), 7);
    out += ' ' + Pad(std::to_string(r.TrackMidiPitch[n]), 5);
    out += ' ' + Pad(std::to_string(r.TrackMidiVelocity[n]), 8);
    out += '\n';
  }
  return out;
}

}  // namespace tarvelo

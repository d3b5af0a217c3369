#include "rolltypes/ApplyRollType.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "rolltypes/ExpressionParameters.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/LenientNumber.h"
#include "support/TextTrim.h"

namespace tarvelo {

namespace {

bool IsWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Reads the elements of one RollType (the navigator is inside it) into the record.
class RollTypeReader {
 public:
  RollTypeReader(RollTypeDefinition& record, XmlDocument& document, Reporter& reporter)
      : r_(record), doc_(document), reporter_(reporter) {}

  void Apply() {
    ReadInt("LowestTrackHoleNumber", r_.LowestTrackHoleNumber);
    ReadInt("HighestTrackHoleNumber", r_.HighestTrackHoleNumber);
    ReadInt("RollPunchStepRangeMin", r_.RollPunchStepRangeMin);
    ReadInt("RollPunchStepRangeMax", r_.RollPunchStepRangeMax);
    // Each end of the restoration range refills the range with the values in force, so the
    // lower end alone works with the Fail-Safe upper end.
    if (ReadInt("LowestTrackUsedForRestoration", r_.LowestTrackUsedForRestoration)) r_.FillRestorationRange();
    if (ReadInt("HighestTrackUsedForRestoration", r_.HighestTrackUsedForRestoration)) r_.FillRestorationRange();
    ReadReal("LowerRollEdgeExpectedLocation", r_.LowerRollEdgeExpectedLocation);
    ReadReal("UpperRollEdgeExpectedLocation", r_.UpperRollEdgeExpectedLocation);
    if (ReadReal("DefaultTrackCenterSpacing", r_.DefaultTrackCenterSpacing)) {
      const double spacing = r_.DefaultTrackCenterSpacing;
      for (int n = 0; n < kTrackSlots; ++n) {
        const double lower = n * spacing;
        const double upper = (n + 1) * spacing;
        r_.TrackLowerBoundary[n] = lower;
        r_.TrackUpperBoundary[n] = upper;
        r_.TrackCenter[n] = lower + (upper - lower) * 0.5;
      }
    }
    if (ReadInt("DefaultTrackToMidiPitchTranspose", r_.DefaultTrackToMidiPitchTranspose)) {
      const long long transpose = r_.DefaultTrackToMidiPitchTranspose;
      ForHoleRange([&](int n) {
        r_.TrackMidiPitch[n] = static_cast<int32_t>(std::clamp<long long>(n + transpose, INT32_MIN, INT32_MAX));
      });
    }
    FillInt("DefaultMapToMidiChannel", r_.TrackMidiChannel);
    FillInt("DefaultTrackNoteVelocity", r_.TrackMidiVelocity);
    FillReal("DefaultRemoveWebbingSmallerThan", r_.TrackRemoveWebbingSmallerThan);
    ReadSwitch("InterpretWebbingLimitAsSeconds", r_.InterpretWebbingLimitAsSeconds);
    ReadReal("TakeupSpoolAccelerationPctPerFoot", r_.TakeupSpoolAccelerationPctPerFoot);
    ReadSwitch("ApplyAccelerationToWebbing", r_.ApplyAccelerationToWebbing);
    ReadSwitch("ApplyAccelerationToTempo", r_.ApplyAccelerationToTempo);
    FillReal("DefaultLeadingEdgeShift", r_.TrackLeadingEdgeShift);
    FillReal("DefaultTrailingEdgeShift", r_.TrackTrailingEdgeShift);
    FillReal("DefaultTrackHolePunchDiameter", r_.TrackHolePunchDiameter);

    doc_.ResetMainPosition();
    while (doc_.FindElement("SetChannelToInstrument")) {
      const int channel = LenientToInt(doc_.Attribute("Channel"));
      if (channel >= 0 && channel < kMidiChannels) r_.ChannelInstrument[channel] = LenientToInt(doc_.Data());
    }

    ReadExpressionModel();

    doc_.ResetMainPosition();
    while (doc_.FindElement("track")) {
      const int n = LenientToInt(doc_.Attribute("number"));
      if (n < 0 || n >= kTrackSlots) continue;
      if (!doc_.IntoElement()) continue;
      ApplyTrack(n);
      doc_.OutOfElement();
    }
  }

 private:
  void ApplyTrack(int n) {
    ReadInt("MapToMidiChannel", r_.TrackMidiChannel[n]);
    ReadInt("MapToMidiNotePitch", r_.TrackMidiPitch[n]);
    ReadInt("MapToMidiVelocity", r_.TrackMidiVelocity[n]);
    ReadReal("RemoveWebbingSmallerThan", r_.TrackRemoveWebbingSmallerThan[n]);
    ReadReal("LeadingEdgeShift", r_.TrackLeadingEdgeShift[n]);
    ReadReal("TrailingEdgeShift", r_.TrackTrailingEdgeShift[n]);
    ReadReal("TrackHolePunchDiameter", r_.TrackHolePunchDiameter[n]);
    std::string text;
    if (Find("BackgroundColor", text)) r_.TrackBackgroundColor[n] = ParseColour(text);
    if (ReadReal("center", r_.TrackCenter[n])) r_.SetTrackBoundsFromCentre(n);
    if (ReadReal("width", r_.TrackWidth[n])) r_.SetTrackBoundsFromCentre(n);
    if (Find(std::string(kTrackBridgeGapElement).c_str(), text)) {
      double gap = 0;
      if (ParseStrictDouble(TrimWhiteSpace(text), gap) && gap >= kBridgeGapLow && gap <= kBridgeGapHigh) {
        r_.Expression.TrackBridgeGap[static_cast<size_t>(n)] = gap;
      } else {
        Warn(std::string(kTrackBridgeGapElement) + " \"" + text + "\" of track " + std::to_string(n) +
             " is not a number from 0 to 1; the roll type's gap is used.");
      }
    }
  }

  // The expression system first (it brings the system's own figures), then every figure of it
  // the roll type gives. A figure the library gets wrong keeps its value from before, and the
  // user is told which and why.
  // Without ExpressionSystem the figures apply to the system already in force (that of an
  // earlier roll type of the same name).
  void ReadExpressionModel() {
    std::string text;
    ExpressionModel model = r_.Expression;
    ExpressionSystem system = model.System;
    if (Find("ExpressionSystem", text)) {
      system = ExpressionSystem::kNone;
      if (!FindExpressionSystem(TrimWhiteSpace(text), system)) {
        Warn("ExpressionSystem \"" + text + "\" is not an expression system (" + ExpressionSystemNames() +
             "); the roll type plays without one.");
      }
      model = DefaultExpressionModel(system);
      model.TrackBridgeGap = r_.Expression.TrackBridgeGap;
    }
    for (const ExpressionParameter& parameter : ExpressionParameters()) {
      if (!parameter.BelongsTo(system) || !Find(std::string(parameter.Element).c_str(), text)) continue;
      const std::span<double> figures = parameter.Figures(model);
      if (ParseExpressionFigures(parameter, text, figures)) continue;
      const std::string count = figures.size() == 1 ? "a number" : std::to_string(figures.size()) + " numbers";
      Warn(std::string(parameter.Element) + " \"" + text + "\" is not " + count + " from " + Limit(parameter.Low) +
           " to " + Limit(parameter.High) + (parameter.Integral ? " (whole numbers)" : "") + "; " +
           FormatExpressionFigures(figures) + " is used.");
    }
    if (const std::string problem = ExpressionModelProblem(model); !problem.empty()) {
      const ExpressionModel defaults = DefaultExpressionModel(system);
      Warn(problem + "; the " + std::string(ExpressionSystemName(system)) + " figures the program knows are used.");
      model = defaults;
      model.TrackBridgeGap = r_.Expression.TrackBridgeGap;
    }
    r_.Expression = model;
  }

  void Warn(const std::string& text) {
    reporter_.ShowMessage(MessageKind::kWarning, "Roll type \"" + r_.Name + "\": " + text);
  }
  static std::string Limit(double value) { return FormatExpressionFigures(std::span<const double>(&value, 1)); }

  // The text of the first child element called `name` of the current parent.
  bool Find(const char* name, std::string& text) {
    doc_.ResetMainPosition();
    if (!doc_.FindElement(name)) return false;
    text = doc_.Data();
    return true;
  }
  bool ReadInt(const char* name, int32_t& field) {
    std::string text;
    if (!Find(name, text)) return false;
    field = LenientToInt(text);
    return true;
  }
  bool ReadReal(const char* name, double& field) {
    std::string text;
    if (!Find(name, text)) return false;
    field = LenientToDouble(text);
    return true;
  }
  void ReadSwitch(const char* name, bool& field) {
    std::string text;
    if (Find(name, text)) field = ParseRollTypeSwitch(text);
  }
  // The hole range with the values in force, clipped to the slots.
  template <typename F>
  void ForHoleRange(F&& f) {
    const int first = std::max(r_.LowestTrackHoleNumber, 0);
    const int last = std::min(r_.HighestTrackHoleNumber, kTrackSlots - 1);
    for (int n = first; n <= last; ++n) f(n);
  }
  void FillInt(const char* name, std::array<int32_t, kTrackSlots>& array) {
    int32_t value = 0;
    if (ReadInt(name, value)) ForHoleRange([&](int n) { array[n] = value; });
  }
  void FillReal(const char* name, std::array<double, kTrackSlots>& array) {
    double value = 0;
    if (ReadReal(name, value)) ForHoleRange([&](int n) { array[n] = value; });
  }

  RollTypeDefinition& r_;
  XmlDocument& doc_;
  Reporter& reporter_;
};

}  // namespace

uint32_t ParseColour(std::string_view text) {
  while (!text.empty() && IsWhite(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsWhite(text.back())) text.remove_suffix(1);
  std::string digits(6, '0');
  const size_t take = std::min<size_t>(text.size(), 6);
  for (size_t i = 0; i < take; ++i) {
    char c = text[text.size() - take + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    digits[6 - take + i] = c;
  }
  const int red = HexDigit(digits[0]) * 16 + HexDigit(digits[1]);
  const int green = HexDigit(digits[2]) * 16 + HexDigit(digits[3]);
  const int blue = HexDigit(digits[4]) * 16 + HexDigit(digits[5]);
  return MakeColour(red, green, blue);
}

bool ParseRollTypeSwitch(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower.find("true") != std::string::npos;
}

bool ApplyActiveRollType(RollTypeDefinition& record, std::string_view name, XmlDocument& document, Reporter& reporter) {
  record.SetFailSafeDefaults();
  record.Name = std::string(name);
  const bool fail_safe = name == kFailSafeRollTypeName;
  bool matched = false;
  if (!fail_safe) {
    // The steps run whether or not the top element is RollTypeDefinitions: when it is not,
    // the RollType search looks at the top level, so a file that is one bare RollType
    // element still names and defines that roll type.
    document.ResetPosition();
    document.FindElement("RollTypeDefinitions");
    document.IntoElement();
    while (document.FindElement("RollType")) {
      if (document.Attribute("Name") != name) continue;
      matched = true;
      if (document.IntoElement()) {
        RollTypeReader(record, document, reporter).Apply();
        document.OutOfElement();
      }
    }
    document.OutOfElement();
  }
  if (!fail_safe && !matched) {
    reporter.ShowMessage(MessageKind::kError, "ERROR - Requested Roll Type Not Found : " + std::string(name));
    return false;
  }
  return true;
}

}  // namespace tarvelo

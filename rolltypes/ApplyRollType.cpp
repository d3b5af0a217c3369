#include "rolltypes/ApplyRollType.h"

#include <algorithm>
#include <cmath>
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

// The numbers an element can mean. Positions, widths and shifts are inches across a roll (or
// seconds of webbing), a few at most; the bounds leave room for any roll while keeping out
// what no roll has.
struct Span {
  double Low;
  double High;
  bool Holds(double value) const { return std::isfinite(value) && value >= Low && value <= High; }
};
// Hole numbers beyond the slots are clipped to them where they are used.
constexpr Span kHoles{INT32_MIN, INT32_MAX};
constexpr Span kChannel{0, kMidiChannels - 1};
constexpr Span kMidiByte{0, 127};
constexpr Span kTranspose{-127, 127};
constexpr Span kCount{0, 1e9};
constexpr Span kInches{-1000, 1000};
constexpr Span kPercent{-100, 100};

// Whether `text` spells a number that is not finite ("nan", "-inf", "Infinity").
bool NamesNonFinite(std::string_view text) {
  std::string lower(TrimWhiteSpace(text));
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (!lower.empty() && (lower.front() == '+' || lower.front() == '-')) lower.erase(0, 1);
  return lower.starts_with("nan") || lower.starts_with("inf");
}

// Reads the elements of one RollType (the navigator is inside it) into the record.
class RollTypeReader {
 public:
  RollTypeReader(RollTypeDefinition& record, XmlDocument& document, Reporter& reporter)
      : r_(record), doc_(document), reporter_(reporter) {}

  void Apply() {
    ReadInt("LowestTrackHoleNumber", r_.LowestTrackHoleNumber, kHoles);
    ReadInt("HighestTrackHoleNumber", r_.HighestTrackHoleNumber, kHoles);
    ReadInt("RollPunchStepRangeMin", r_.RollPunchStepRangeMin, kCount);
    ReadInt("RollPunchStepRangeMax", r_.RollPunchStepRangeMax, kCount);
    // Each end of the restoration range refills the range with the values in force, so the
    // lower end alone works with the Fail-Safe upper end.
    if (ReadInt("LowestTrackUsedForRestoration", r_.LowestTrackUsedForRestoration, kHoles)) r_.FillRestorationRange();
    if (ReadInt("HighestTrackUsedForRestoration", r_.HighestTrackUsedForRestoration, kHoles)) r_.FillRestorationRange();
    ReadReal("LowerRollEdgeExpectedLocation", r_.LowerRollEdgeExpectedLocation, kInches);
    ReadReal("UpperRollEdgeExpectedLocation", r_.UpperRollEdgeExpectedLocation, kInches);
    if (ReadReal("DefaultTrackCenterSpacing", r_.DefaultTrackCenterSpacing, kInches)) {
      const double spacing = r_.DefaultTrackCenterSpacing;
      for (int n = 0; n < kTrackSlots; ++n) {
        const double lower = n * spacing;
        const double upper = (n + 1) * spacing;
        r_.TrackLowerBoundary[n] = lower;
        r_.TrackUpperBoundary[n] = upper;
        r_.TrackCenter[n] = lower + (upper - lower) * 0.5;
      }
    }
    if (ReadInt("DefaultTrackToMidiPitchTranspose", r_.DefaultTrackToMidiPitchTranspose, kTranspose)) {
      const long long transpose = r_.DefaultTrackToMidiPitchTranspose;
      ForHoleRange([&](int n) {
        r_.TrackMidiPitch[n] = static_cast<int32_t>(std::clamp<long long>(n + transpose, INT32_MIN, INT32_MAX));
      });
    }
    FillInt("DefaultMapToMidiChannel", r_.TrackMidiChannel, kChannel);
    FillInt("DefaultTrackNoteVelocity", r_.TrackMidiVelocity, kMidiByte);
    FillReal("DefaultRemoveWebbingSmallerThan", r_.TrackRemoveWebbingSmallerThan, kInches);
    ReadSwitch("InterpretWebbingLimitAsSeconds", r_.InterpretWebbingLimitAsSeconds);
    ReadReal("TakeupSpoolAccelerationPctPerFoot", r_.TakeupSpoolAccelerationPctPerFoot, kPercent);
    ReadSwitch("ApplyAccelerationToWebbing", r_.ApplyAccelerationToWebbing);
    ReadSwitch("ApplyAccelerationToTempo", r_.ApplyAccelerationToTempo);
    FillReal("DefaultLeadingEdgeShift", r_.TrackLeadingEdgeShift, kInches);
    FillReal("DefaultTrailingEdgeShift", r_.TrackTrailingEdgeShift, kInches);
    FillReal("DefaultTrackHolePunchDiameter", r_.TrackHolePunchDiameter, kInches);

    doc_.ResetMainPosition();
    while (doc_.FindElement("SetChannelToInstrument")) {
      const int channel = LenientToInt(doc_.Attribute("Channel"));
      const int instrument = LenientToInt(doc_.Data());
      if (channel < 0 || channel >= kMidiChannels || !kMidiByte.Holds(instrument)) {
        Warn("SetChannelToInstrument of channel \"" + doc_.Attribute("Channel") + "\" to \"" + doc_.Data() +
             "\" is not a channel from 0 to 15 and an instrument from 0 to 127; it is not used.");
        continue;
      }
      r_.ChannelInstrument[channel] = instrument;
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
    track_ = n;
    ReadInt("MapToMidiChannel", r_.TrackMidiChannel[n], kChannel);
    ReadInt("MapToMidiNotePitch", r_.TrackMidiPitch[n], kMidiByte);
    ReadInt("MapToMidiVelocity", r_.TrackMidiVelocity[n], kMidiByte);
    ReadReal("RemoveWebbingSmallerThan", r_.TrackRemoveWebbingSmallerThan[n], kInches);
    ReadReal("LeadingEdgeShift", r_.TrackLeadingEdgeShift[n], kInches);
    ReadReal("TrailingEdgeShift", r_.TrackTrailingEdgeShift[n], kInches);
    ReadReal("TrackHolePunchDiameter", r_.TrackHolePunchDiameter[n], kInches);
    std::string text;
    if (Find("BackgroundColor", text)) r_.TrackBackgroundColor[n] = ParseColour(text);
    if (ReadReal("center", r_.TrackCenter[n], kInches)) r_.SetTrackBoundsFromCentre(n);
    if (ReadReal("width", r_.TrackWidth[n], kInches)) r_.SetTrackBoundsFromCentre(n);
    track_ = -1;
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
  // A number outside what the element can mean (nan, inf, a velocity of 1000) is not used:
  // the value in force stays, and the user is told.
  bool ReadInt(const char* name, int32_t& field, const Span& span) {
    std::string text;
    if (!Find(name, text)) return false;
    const int value = LenientToInt(text);
    if (!span.Holds(value)) return Refuse(name, text, span, std::to_string(field));
    field = value;
    return true;
  }
  bool ReadReal(const char* name, double& field, const Span& span) {
    std::string text;
    if (!Find(name, text)) return false;
    // The lenient reading takes "nan" and "inf" as no number (0); they are refused instead.
    const double value = NamesNonFinite(text) ? std::nan("") : LenientToDouble(text);
    if (!span.Holds(value)) return Refuse(name, text, span, Limit(field));
    field = value;
    return true;
  }
  bool Refuse(const char* name, const std::string& text, const Span& span, const std::string& kept) {
    const std::string where = track_ >= 0 ? " of track " + std::to_string(track_) : "";
    Warn(std::string(name) + " \"" + text + "\"" + where + " is not a number from " + Limit(span.Low) + " to " +
         Limit(span.High) + "; " + kept + " is used.");
    return false;
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
  void FillInt(const char* name, std::array<int32_t, kTrackSlots>& array, const Span& span) {
    int32_t value = 0;
    if (ReadInt(name, value, span)) ForHoleRange([&](int n) { array[n] = value; });
  }
  void FillReal(const char* name, std::array<double, kTrackSlots>& array, const Span& span) {
    double value = 0;
    if (ReadReal(name, value, span)) ForHoleRange([&](int n) { array[n] = value; });
  }

  RollTypeDefinition& r_;
  XmlDocument& doc_;
  Reporter& reporter_;
  int track_ = -1;  // the track being read, -1 outside the track elements
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

Result ApplyActiveRollType(RollTypeDefinition& record, std::string_view name, XmlDocument& document,
                           Reporter& reporter) {
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
  if (!fail_safe && !matched) return Result::NotFound("ERROR - Requested Roll Type Not Found : " + std::string(name));
  return Result::Ok();
}

}  // namespace tarvelo

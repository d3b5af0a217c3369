// The placement check every conversion makes: the scan's holes measured against the tracks of
// the roll type in force, a warning when the settings put the notes on wrong tracks, and
// Auto-Tweak, which converts with the measured DPI, offset and stretch when the measurement
// reads the roll; and the scanner mode the scan's own encoder data asks for.
#include <cmath>
#include <string>

#include "align/PlacementVerdict.h"
#include "align/PrepareScan.h"
#include "document/TarveloDoc.h"
#include "geometry/EncoderSignal.h"
#include "geometry/ScannerGeometry.h"
#include "rolltypes/RollTypeLibrary.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

constexpr double kSameShare = 0.005;

std::string Percent(double share) { return FormatFixed(100 * share, 1) + " %"; }

std::string Values(const ScannerSetting& setting) {
  return "DPI " + std::to_string(setting.Dpi) + ", offset " + FormatFixed(setting.Offset, 4) + " inch, stretch " +
         FormatFixed(setting.Stretch, 4);
}

}  // namespace

namespace {

// Takes in the messages of a trial preparation and says nothing.
class QuietReporter : public Reporter {
 public:
  void SetStatusText(std::string_view /*text*/) override {}
  void SetProgress(int /*colour_type*/, int /*position*/) override {}
  void ShowMessage(MessageKind /*kind*/, std::string_view /*text*/) override {}
};

// A join closer than this (pixels) by the other values is worth taking.
constexpr double kBetterJoin = 2;

}  // namespace

RunSettings TarveloDoc::TwinValuesForScan(const RunSettings& settings) {
  const bool may_tweak =
      alignment_options_.Align || (settings.Scanner.AutoTweakSettings && !alignment_options_.KeepPreset);
  if (!scan_.Run.TwinArray || !may_tweak || scan_.LinesAsRead.Empty()) return settings;
  RunSettings other = settings;
  other.TwinArray.OverrideCISvalues = !settings.TwinArray.OverrideCISvalues;
  QuietReporter quiet;
  // The measurement of the lines as a run with `trial` prepares them, against the roll type in
  // force; and how far apart the halves lie at its best fit (-1: not measured).
  const auto measure = [&](const RunSettings& trial) {
    PreparedScan prepared;
    PrepareOpenedScan(scan_, trial, quiet, prepared);
    AlignRequest request;
    request.Scan = AlignmentView(prepared.Data, trial.Scanner.ScanLightingMethod);
    request.InForce = prepared.Preset;
    request.RollType = &roll_type_;
    return AlignScan(request);
  };
  const auto join = [](const AlignmentReport& report) {
    return report.TwinArray.Measured ? std::abs(report.TwinArray.Step) : -1.0;
  };
  twin_trial_ = measure(settings);
  const double now = join(*twin_trial_);
  if (now >= 0 && now < kBetterJoin) return settings;
  AlignmentReport other_trial = measure(other);
  const double then = join(other_trial);
  if (then < 0 || (now >= 0 && then + kBetterJoin >= now)) return settings;
  twin_trial_ = std::move(other_trial);
  const auto pixels = [](double step) {
    const std::string n = FormatFixed(step, 0);
    return n + (n == "1" ? " pixel" : " pixels");
  };
  const char* chosen = other.TwinArray.OverrideCISvalues ? "the override's" : "the header's";
  const char* left = other.TwinArray.OverrideCISvalues ? "the header's" : "the override's";
  const std::string text = std::string("Auto-Tweak: the twin arrays are joined with ") + chosen +
                           " values (their halves " + pixels(then) + " apart; with " + left + ", " +
                           (now >= 0 ? pixels(now) : std::string("not measured")) + ").";
  reporter_.Notice(hooks_.ShowAutoTweak(text), MessageKind::kInformation, text);
  return other;
}

AlignRequest TarveloDoc::AlignmentRequest(const RunSettings& settings) const {
  AlignRequest request;
  request.Scan = AlignmentView(scan_, settings.Scanner.ScanLightingMethod);
  // The values the per-line pass places the pixels with (it reports unusable ones itself).
  const ScannerGeometry used = UsableScannerGeometry(settings.Scanner);
  request.InForce.Dpi = used.Dpi;
  request.InForce.Offset = used.Offset;
  request.InForce.Stretch = used.Stretch;
  request.RollType = &roll_type_;
  return request;
}

AlignmentReport TarveloDoc::TrialOrAlign(AlignRequest& request) {
  if (!twin_trial_) return AlignScan(request);
  AlignmentReport trial = std::move(*twin_trial_);
  twin_trial_.reset();
  // The trial asked for the fit of the roll type in force alone, with the preset's values.
  const ScannerSetting& asked = trial.InForce;
  const bool same = !request.Recognise && request.Library.empty() && request.RollType == &roll_type_ &&
                    request.InForce.Dpi == asked.Dpi && request.InForce.Offset == asked.Offset &&
                    request.InForce.Stretch == asked.Stretch;
  if (same) return trial;
  request.Measured = &trial.Measurement;
  return AlignScan(request);
}

ScannerSettings TarveloDoc::ScannerForScan(const RunSettings& settings) {
  ScannerSettings scanner = settings.Scanner;
  if (scanner.ScannerModeType == kModeShaftEncoder) return scanner;  // its own checks warn of missing encoder data
  const EncoderSignal signal = ReadEncoderSignal(scan_);
  if (!signal.Working()) return scanner;
  const std::string found = "The scan was made with a working shaft encoder (header scanner type 2, " +
                            std::to_string(signal.Ticks) + " encoder ticks over " + std::to_string(signal.Lines) +
                            " lines)";
  const bool tweak = alignment_options_.Align || (settings.Scanner.AutoTweakSettings && !alignment_options_.KeepPreset);
  if (!tweak) {
    reporter_.ShowMessage(MessageKind::kWarning, found + ", but the scanner mode is \"" + scanner.ScannerModeType +
                                                     "\": the lines are placed by lines per inch, not by the "
                                                     "encoder, so the roll's length and tempo may be far off. Choose "
                                                     "the scanner mode \"" +
                                                     kModeShaftEncoder + "\".");
    return scanner;
  }
  reporter_.ShowMessage(MessageKind::kInformation, found + ": its lines are placed by the encoder (scanner mode \"" +
                                                       kModeShaftEncoder + "\"), not by the preset's mode \"" +
                                                       scanner.ScannerModeType + "\".");
  scanner.ScannerModeType = kModeShaftEncoder;
  return scanner;
}

std::optional<RunSettings> TarveloDoc::CheckPlacement(const RunSettings& settings) {
  if (scan_.Lines.Empty()) return std::nullopt;
  AlignRequest request = AlignmentRequest(settings);
  const bool name_recognised = alignment_options_.NameRecognised && roll_type_.Name == kFailSafeRollTypeName;
  if (name_recognised) {
    request.Recognise = true;
    request.SuggestRecognised = false;  // the run keeps its roll type
    for (const RollTypeDefinition& type : alignment_options_.Library) request.Library.push_back(&type);
  }
  alignment_ = TrialOrAlign(request);
  if (name_recognised && !WarnUndecided()) ReportRecognised(settings.Outputs.WriteExpressionMidi);
  PlacementVerdict& verdict = summary_.Placement;
  verdict = JudgePlacement(alignment_, settings.Scanner.ActiveTracking);
  summary_.PlacementChecked = true;
  const bool wanted = settings.Scanner.AutoTweakSettings && !alignment_options_.KeepPreset;
  // Never a fit that puts fewer holes on their tracks than the preset's values do (counts within
  // half a per cent are as good: a preset a whole track off counts its holes on the neighbouring
  // tracks).
  const bool tweak = wanted && verdict.Confident && verdict.FittedShare >= verdict.InForceShare - kSameShare;
  if (!tweak) {
    if (verdict.Wrong()) {
      std::string text = DescribePlacement(verdict) + ". ";
      text += verdict.Finding == PlacementFinding::kNoHoles      ? std::string(hooks_.NoHolesAdvice())
              : verdict.Finding == PlacementFinding::kUnreadable ? std::string(hooks_.UnreadableAdvice())
                                                                 : std::string(hooks_.AlignAdvice());
      summary_.PlacementWarned = true;
      reporter_.Notice(hooks_.ShowPlacementNotice(text), MessageKind::kWarning, text);
    }
    return std::nullopt;
  }
  summary_.AlignedWith = verdict.Fitted;
  KeepMeasuredPaper();
  RunSettings tweaked = settings;
  tweaked.Scanner.ScannerDPI = verdict.Fitted.Dpi;
  tweaked.Scanner.ScannerOffset = verdict.Fitted.Offset;
  tweaked.Scanner.ScannerAlignStretch = verdict.Fitted.Stretch;
  RecordScannerKeywords(tweaked.Scanner);  // in place of the preset's values
  keywords_.AddKeyValue("/auto_alignment: ", "Auto-Tweak: " + Values(verdict.Fitted) + " | roll type " +
                                                 roll_type_.Name + " | on track " + Percent(verdict.FittedShare) +
                                                 " (preset " + Percent(verdict.InForceShare) + ")");
  std::string text = "Auto-Tweak: converted with " + Values(verdict.Fitted) +
                     " (the preset's: " + Values(verdict.InForce) + "); on track " + Percent(verdict.FittedShare) +
                     " (the preset's " + Percent(verdict.InForceShare) + ").";
  if (verdict.Wrong()) text += " With the preset's values " + DescribePlacement(verdict, false) + ".";
  summary_.AutoTweak = text;
  // What the measurement doubts about the values it found (a twin array join that does not
  // meet, no paper edge, a stretch at the end of its range) holds for this run.
  for (const AlignmentNote& note : alignment_.Notes) {
    if (note.AboutSettingsInForce || note.Kind != MessageKind::kWarning) continue;
    summary_.AutoTweakDoubts.push_back(note.Text);
    reporter_.Notice(hooks_.ShowPlacementNotice(note.Text), note.Kind, note.Text);
  }
  // A tweak within a track of the preset's placement is recorded (keyword item, summary) but
  // not reported: only one that mends wrong notes, or takes another DPI, is news.
  const bool news = verdict.Wrong() || verdict.Fitted.Dpi != verdict.InForce.Dpi;
  if (!hooks_.ShowAutoTweak(text) && news) reporter_.ShowMessage(MessageKind::kInformation, text);
  return tweaked;
}

bool TarveloDoc::IsReproducingType(const std::string& name) const {
  for (const RollTypeDefinition& type : alignment_options_.Library)
    if (type.Name == name) return type.Expression.System != ExpressionSystem::kNone;
  return false;
}

namespace {

std::string ScoreOf(const RollTypeRanking& ranking, const std::string& name) {
  for (const RollTypeFit& fit : ranking.Ranked)
    if (fit.Name == name) return FormatFixed(fit.Score, 3);
  return "?";
}

}  // namespace

void TarveloDoc::ReportRecognised(bool writes_expression) {
  const RollTypeRanking& ranking = alignment_.Ranking;
  const auto score = [&ranking](const std::string& name) { return ScoreOf(ranking, name); };
  {
    if (!ranking.Decided || ranking.Recognised == roll_type_.Name) return;
    std::string next;
    for (const RollTypeFit& fit : ranking.Ranked) {
      if (fit.Name == ranking.Recognised) continue;
      next = "; next " + fit.Name + " " + score(fit.Name);
      break;
    }
    // A reproducing roll's expression file made with the built-in type plays none of its
    // dynamics: a doubtful output, so a warning rather than news.
    expression_doubted_ = writes_expression && IsReproducingType(ranking.Recognised);
    const std::string doubt = expression_doubted_ ? ", which plays no expression: its expression MIDI file cannot be "
                                                    "right (it plays the eRoll velocities)"
                                                  : "";
    reporter_.ShowMessage(expression_doubted_ ? MessageKind::kWarning : MessageKind::kInformation,
                          "The holes show a " + ranking.Recognised + " roll (score " + score(ranking.Recognised) +
                              next + "); it was converted as the built-in roll type \"" + roll_type_.Name + "\"" +
                              doubt + ". " + std::string(hooks_.RecogniseAdvice()));
  }
}

bool TarveloDoc::WarnUndecided() {
  // Converted as the built-in type, a reproducing roll loses its expression: a doubtful result,
  // not a clean one.
  const RollTypeRanking& ranking = alignment_.Ranking;
  const auto score = [&ranking](const std::string& name) { return ScoreOf(ranking, name); };
  if (ranking.Decided || roll_type_.Name != kFailSafeRollTypeName || ranking.Candidates.empty()) return false;
  bool reproducing = false;
  std::string names;
  for (size_t i = 0; i < ranking.Candidates.size(); ++i) {
    const std::string& name = ranking.Candidates[i];
    reproducing = reproducing || IsReproducingType(name);
    names += (i == 0 ? "" : i + 1 == ranking.Candidates.size() ? " and " : ", ") + name + " " + score(name);
  }
  if (!reproducing) return false;
  reporter_.ShowMessage(MessageKind::kWarning,
                        "The roll type is undecided: the holes fit " + names +
                            " nearly equally well; it was converted as the built-in roll type \"" + roll_type_.Name +
                            "\", which plays no expression. Convert it as the roll type its label names.");
  return true;
}

}  // namespace tarvelo

#include "settings/SettingsTable.h"

#include <algorithm>

#include <array>
#include <cctype>
#include <cmath>

#include "settings/ProfileStore.h"
#include "settings/SettingsIo.h"
#include "support/LenientNumber.h"
#include "support/NumberFormat.h"

namespace tarvelo {

namespace {

using enum SettingKind;
using enum OutOfRangeUse;

constexpr std::string_view kScanner = "Scanner Settings";
constexpr std::string_view kGeneral = "Midi Gen Settings";
constexpr std::string_view kERoll = "Midi eRoll Settings";
constexpr std::string_view kDiagnostic = "Diagnostic Settings";
constexpr std::string_view kTracking = "ActiveTrackingParameters";
constexpr std::string_view kTwinArray = "Twin Array Settings";
constexpr std::string_view kOutputs = "OutputFiles";
constexpr std::string_view kRoll = "Roll Settings";
constexpr std::string_view kAudio = "Audio Settings";
constexpr std::string_view kPicture = "Picture Settings";

// A run replaces with the default what cannot give a sensible conversion: the scanner geometry
// outside its range (where the roll lies across and along the sensor), clean-up thresholds
// above their maximum (they would remove or merge every hole), and tracking thresholds above
// theirs; the loop's gain and edge weighting also below zero, where the loop drives the
// correction away from the roll instead of towards it.
constexpr std::array kTable = {
    SettingRule{kScanner, "CurrentPreset", "Scanner Setting Presets", kInteger, "0", 0, 15, kDefault},
    SettingRule{kScanner, "PresetName", "Rename : ", kText, "", 0, 128, kValue, true},
    SettingRule{kScanner, "ScannerDPI", "Scanner Horizontal DPI", kInteger, "300", 10, 1000, kDefault, true},
    SettingRule{kScanner, "ScannerOffset", "+/- Horiz Offset (in Inches)", kReal, "1.00", -20, 20, kDefault, true},
    SettingRule{kScanner, "ScannerAlignStretch", "Stretch Factor (1.0 typical)", kReal, "1.00", 0.5, 2, kDefault, true},
    SettingRule{kScanner, "ScannerModeType", "Scanner Mode : ", kText, "Mode1 - no encoding", 0, 32, kValue, true},
    SettingRule{kScanner, "RemoveTakeupAccel", "Remove Acceleration", kSwitch, "0", 0, 0, kValue, true},
    SettingRule{kScanner, "TakeupAccelPct", "% per Foot", kReal, "", -5, 5, kDefault, true},
    SettingRule{kScanner, "ActiveTracking", "Tracking ON", kSwitch, "1", 0, 0, kValue, true},
    SettingRule{kScanner, "AutoTweakSettings", "Auto-Tweak Offset and Stretch", kSwitch, "1", 0, 0, kValue, true},
    SettingRule{kScanner, "ScanLightingMethod", "Scan Illumination Method", kInteger, "0", 0, 2, kValue, true},
    SettingRule{kScanner, "TwinArrayOverlap", "Overlap Width (in Inches)", kReal, "0.750", 0, 100, kDefault, true},
    SettingRule{kScanner, "TwinArrayVertOffset", "Sensor Vert. Offset (in Inches)", kReal, "0.600", 0, 5, kDefault,
                true},
    SettingRule{kScanner, "ForceOldCisFormat", "Use Old CIS Format", kSwitch, "0", 0, 0, kValue, true},

    SettingRule{kGeneral, "ScanMidiFilePrefix", "Prefix", kText, "", 0, 64},
    SettingRule{kGeneral, "ScanMidiFileSuffix", "Suffix", kText, "_ScanImageMIDI", 0, 64},
    SettingRule{kGeneral, "ScanMidiLeadInTime", "Lead - In time in seconds", kInteger, "2", 0, 10},
    SettingRule{kGeneral, "SpeckThresholdLength", "Remove as speck if length less than (inches)", kReal, "0.020", 0, 1,
                kDefaultAbove},
    SettingRule{kGeneral, "MidiCopyrightInfoString", "Default Copyright Text For MIDI files", kText,
                "copyright info here", 0, 127},
    SettingRule{kGeneral, "SpeckThresholdWidthPct", "Remove as speck if width less than (percent of track)", kInteger,
                "15", 1, 100, kDefaultAbove},
    SettingRule{kGeneral, "GlitchThresholdDistance", "Merge holes if separated by less than (inches)", kReal, "0.01", 0,
                1, kDefaultAbove},

    SettingRule{kERoll, "eRollMidiFilePrefix", "Prefix", kText, "", 0, 32},
    SettingRule{kERoll, "eRollMidiFileSuffix", "Suffix", kText, "_eRollMIDI", 0, 32},
    SettingRule{kERoll, "eRollMidiLeadInTime", "Lead - In time in seconds", kInteger, "2", 0, 10},
    SettingRule{kERoll, "eRollMidiTrailerTime", "Trailer time in seconds", kInteger, "2", 0, 10},
    SettingRule{kERoll, "IncludePowerRollEvents", "Include PowerRoll On/Off Events", kSwitch, "1"},
    SettingRule{kERoll, "IncludeTrack18SustainPedal",
                "Include Simple Track 18 Sustain Pedal Controller Events In eRoll MIDI file", kSwitch, "1"},

    SettingRule{kDiagnostic, "WriteCISrawTransitionFile", "Write CIS Raw Transition List File", kSwitch, "0"},
    SettingRule{kDiagnostic, "WriteTrackLookUpMapFile", "Write Track LookUp Map File", kSwitch, "0"},
    // A radio group: only its three choices can be picked.
    SettingRule{kDiagnostic, "OverrideImageReversal", "Left/Right Image Reversal Override", kInteger, "0", 0, 2},
    SettingRule{kDiagnostic, "HistogramMinDisplayDistance",
                "Suppress Histogram Data Below This Threshold Spacing (in thousandths of an inch)", kInteger, "13", 0,
                100},
    // Below 1 the encoder positions would divide by nothing: the stage itself then uses 2, the
    // default; a larger count is used as it stands.
    SettingRule{kDiagnostic, "EncoderTicksToAverage", "Number of Encoder Ticks to average for Shaft Encoder Scanners",
                kInteger, "2", 1, 20, kDefaultBelow},
    SettingRule{kDiagnostic, "ShowShaftEncoderStatistics", "Show Pop-Up Window With Shaft Encoder Statistics", kSwitch,
                "0"},
    SettingRule{kDiagnostic, "HistogramSameTrackOnly", "Histograms from same track events only", kSwitch, "0"},
    SettingRule{kOutputs, "EmbedRollKeywordData", "Embed Roll Info During Conversion", kSwitch, "1"},
    SettingRule{kDiagnostic, "UseAnnFile", "Pre-populate some entries using ANN file data if found", kSwitch, "0"},
    // Above 100 never warns, below 0 always: either is what it says.
    SettingRule{kDiagnostic, "OffTrackWarningPercent",
                "Warn When More Than This Percent of the Holes Lie Off Their Tracks", kInteger, "10", 0, 100},

    SettingRule{kTracking, "EventsBetweenUpdates", "Min number of events between updates", kInteger, "25", 1, 1000},
    SettingRule{kTracking, "RollEdgeCaptureDistance", "Roll Edge Capture Distance", kReal, "0.1", 0, 0.5,
                kDefaultAbove},
    SettingRule{kTracking, "TrackingUpdateDistance", "Distance Between Tracking Updates", kReal, "0.5", 0.1, 10,
                kDefaultAbove},
    SettingRule{kTracking, "EdgeErrorWeightingFactor", "Edge Error Weighting Factor ( less than 1.0 )", kReal, "0.20",
                0, 1, kDefault},
    SettingRule{kTracking, "TrackingLoopGain", "Tracking Loop Gain ( less than 1.0 )", kReal, "0.60", 0, 1, kDefault},

    SettingRule{kTwinArray, "OverrideCISvalues", "Override CIS File Embedded Values", kSwitch, "1"},
    SettingRule{kTwinArray, "ShowCrossoverLine", "Show Line At Crossover In View Window", kSwitch, "1"},
    SettingRule{kTwinArray, "DisableTwinArrayProcessing",
                "Disable Merging of Twin Array Data ( Allows viewing of raw input scan )", kSwitch, "0"},
    SettingRule{kTwinArray, "BlendWidthInThousandths", "Blending Seam Width in Thousandths of an Inch", kInteger, "60",
                0, 100},

    SettingRule{kOutputs, "ScanMidi", "ScanMIDI", kSwitch, "1"},
    SettingRule{kOutputs, "eRollMidi", "eRollMIDI", kSwitch, "1"},
    SettingRule{kOutputs, "PunchMidi", "PunchMidi", kSwitch, "1"},
    // Off: the MIDI files leave out roll information the user never gave (the shipped
    // template's texts), name the program's release and cite the scan, the settings and the
    // roll type they were made from. On: the texts exactly as the converter always wrote them.
    SettingRule{kOutputs, "LiteralRollInfo", "Write Roll Info, Credit and Version Texts Literally", kSwitch, "0"},
    // The web address the credit text ends with; empty: the credit names none.
    SettingRule{kOutputs, "CreditWebAddress", "Web Address Named in the Credit Text", kText, "", 0, 128},
    SettingRule{kOutputs, "WriteExpressionMidi", "ExpressionMIDI", kSwitch, "0"},
    SettingRule{kOutputs, "ExpressionMidiFilePrefix", "Expression MIDI File Prefix", kText, "", 0, 32},
    SettingRule{kOutputs, "ExpressionMidiFileSuffix", "Expression MIDI File Suffix", kText, "_ExpressionMIDI", 0, 32},

    SettingRule{kRoll, "ActiveRollTypeName", "Roll Type", kText, "Fail-Safe"},

    // Listening: empty names the installed General MIDI soundfont and the software synthesizer.
    SettingRule{kAudio, "SoundFont", "SoundFont", kText, "", 0, 4096},
    SettingRule{kAudio, "MidiOutput", "MIDI Output", kText, "", 0, 256},

    // Pictures of rolls: 0 finds from the picture whether its holes are light or dark (1 light,
    // 2 dark); 0 plays the bottom row first (1 the top row); rows per inch, 0 for the DPI.
    SettingRule{kPicture, "PictureHoles", "Holes in Pictures (0 found, 1 light, 2 dark)", kInteger, "0", 0, 2,
                kDefault},
    SettingRule{kPicture, "PictureStart", "Picture Row Played First (0 bottom, 1 top)", kInteger, "0", 0, 1, kDefault},
    SettingRule{kPicture, "PictureLinesPerInch", "Picture Rows Per Inch (0: its DPI)", kInteger, "0", 0, 10000,
                kDefault},
};

// The key without a trailing preset index.
std::string_view KeyStem(std::string_view key) {
  while (!key.empty() && std::isdigit(static_cast<unsigned char>(key.back()))) key.remove_suffix(1);
  return key;
}

// The field's label without the blanks and colon that stand before its edit box.
std::string FieldName(const SettingRule& rule) {
  std::string_view label = rule.Label;
  while (!label.empty() && (label.back() == ' ' || label.back() == ':')) label.remove_suffix(1);
  return std::string(label);
}

}  // namespace

std::span<const SettingRule> SettingsTable() { return kTable; }

std::string FormatRangeLimit(double value) {
  std::string text = FormatGcvt(value, 8);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

const SettingRule* FindSettingRule(std::string_view section, std::string_view key) {
  const std::string_view stem = KeyStem(key);
  for (const SettingRule& rule : kTable) {
    if (!SameProfileName(rule.Section, section)) continue;
    if (SameProfileName(rule.Key, key)) return &rule;
    if (rule.PerPreset && SameProfileName(rule.Key, stem)) {
      const int index = PresetIndexOfKey(key);
      return index >= 0 && index <= 15 ? &rule : nullptr;
    }
  }
  return nullptr;
}

int PresetIndexOfKey(std::string_view key) {
  const std::string_view digits = key.substr(KeyStem(key).size());
  if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0')) return -1;
  return LenientToInt(digits);
}

std::string DefaultValue(const SettingRule& rule, int preset_index) {
  if (rule.PerPreset && rule.Key == "PresetName")
    return preset_index == 0 ? "My Scanner" : "Alternate" + std::to_string(preset_index);
  if (rule.PerPreset && rule.Key == "TakeupAccelPct") {
    static constexpr std::array<std::string_view, 7> kFirstPresets = {"0.20", "0.21", "0.22", "0.23",
                                                                      "0.24", "0.25", "0.26"};
    return std::string(preset_index >= 0 && preset_index <= 6 ? kFirstPresets[static_cast<size_t>(preset_index)]
                                                              : "0.27");
  }
  return std::string(rule.Default);
}

bool IsInRange(const SettingRule& rule, double value) {
  if (!std::isfinite(value)) return false;
  if (rule.Kind == SettingKind::kSwitch) return true;
  return value >= rule.Low && value <= rule.High;
}

std::string DescribeRange(const SettingRule& rule) {
  switch (rule.Kind) {
    case SettingKind::kSwitch:
      return "any integer";
    case SettingKind::kText:
      return rule.High > 0 ? "at most " + FormatRangeLimit(rule.High) + " characters" : "any text";
    default:
      return FormatRangeLimit(rule.Low) + " to " + FormatRangeLimit(rule.High);
  }
}

Result CheckField(const SettingRule& rule, double value) {
  SettingsCheck check;
  if (rule.Kind != SettingKind::kSwitch) check.Range(FieldName(rule), value, rule.Low, rule.High);
  return check.Outcome();
}

Result CheckField(const SettingRule& rule, std::string_view text) {
  SettingsCheck check;
  if (rule.Kind == SettingKind::kText && rule.High > 0)
    check.Length(FieldName(rule), text, static_cast<size_t>(rule.High));
  if (check.Outcome().ok()) return CheckFileNamePart(rule, text);
  return check.Outcome();
}

bool IsFileNamePart(const SettingRule& rule) {
  return rule.Kind == SettingKind::kText && (rule.Key.ends_with("Prefix") || rule.Key.ends_with("Suffix"));
}

Result CheckFileNamePart(const SettingRule& rule, std::string_view text) {
  if (!IsFileNamePart(rule)) return Result::Ok();
  const bool control = std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
  });
  SettingsCheck check;
  check.Require(
      text.find_first_of("/\\") == std::string_view::npos && text.find("..") == std::string_view::npos && !control,
      FieldName(rule) + " must not hold '/', '\\', \"..\" or a control character: it is part of a file name.");
  return check.Outcome();
}

Result CheckEntry(const SettingRule& rule, std::string_view text, std::string& stored) {
  switch (rule.Kind) {
    case SettingKind::kText:
      if (Result checked = CheckField(rule, text); !checked.ok()) return checked;
      stored = std::string(text);
      return Result::Ok();
    case SettingKind::kSwitch:
    case SettingKind::kInteger: {
      int number = 0;
      if (!ParseStrictInt(text, number)) {
        return Result::Invalid(FieldName(rule) + (rule.Kind == SettingKind::kSwitch
                                                      ? std::string(" must be an integer.")
                                                      : " must be an integer between " + FormatRangeLimit(rule.Low) +
                                                            " and " + FormatRangeLimit(rule.High) + "."));
      }
      if (Result checked = CheckField(rule, number); !checked.ok()) return checked;
      stored = std::to_string(number);
      return Result::Ok();
    }
    case SettingKind::kReal: {
      double number = 0;
      if (!ParseStrictDouble(text, number)) {
        return Result::Invalid(FieldName(rule) + " must be a number between " + FormatRangeLimit(rule.Low) + " and " +
                               FormatRangeLimit(rule.High) + ".");
      }
      if (Result checked = CheckField(rule, number); !checked.ok()) return checked;
      stored = FormatGcvt(number, rule.PerPreset ? 8 : 10);
      return Result::Ok();
    }
  }
  return Result::Ok();
}

}  // namespace tarvelo

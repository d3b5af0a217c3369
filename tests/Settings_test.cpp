#include <gtest/gtest.h>

#include "settings/IniProfile.h"
#include "settings/SessionSettings.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo {
namespace {

// Records the order of writes.
class RecordingStore : public IniProfile {
 public:
  Result WriteProfileInt(std::string_view section, std::string_view key, int value) override {
    writes.push_back(std::string(section) + "/" + std::string(key));
    return IniProfile::WriteProfileInt(section, key, value);
  }
  Result WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override {
    writes.push_back(std::string(section) + "/" + std::string(key));
    return IniProfile::WriteProfileString(section, key, value);
  }
  std::vector<std::string> writes;
};

TEST(ScannerPresets, EmptyProfileGivesTheDefaults) {
  IniProfile empty;
  ScannerPresets presets(empty);
  const ScannerSettings& live = presets.Live();
  EXPECT_EQ(live.ScannerDPI, 300);
  EXPECT_EQ(live.ScannerOffset, 1.0);
  EXPECT_EQ(live.ScannerAlignStretch, 1.0);
  EXPECT_EQ(live.ScannerModeType, "Mode1 - no encoding");
  EXPECT_FALSE(live.RemoveTakeupAccel);
  EXPECT_EQ(live.TakeupAccelPct, 0.20);
  EXPECT_TRUE(live.ActiveTracking);
  EXPECT_EQ(live.ScanLightingMethod, 0);
  EXPECT_EQ(live.TwinArrayOverlap, 0.75);
  EXPECT_EQ(live.TwinArrayVertOffset, 0.6);
  EXPECT_FALSE(live.ForceOldCisFormat);
  EXPECT_EQ(presets.WorkingName(), "My Scanner");
  EXPECT_EQ(presets.Preset(9).TakeupAccelPct, "0.27");
  EXPECT_EQ(presets.Preset(6).TakeupAccelPct, "0.26");
  EXPECT_EQ(presets.Preset(15).PresetName, "Alternate15");
}

TEST(ScannerPresets, CurrentPresetOutsideRangeSelectsPresetZero) {
  IniProfile profile;
  profile.WriteProfileInt("Scanner Settings", "CurrentPreset", 16).Ignore();
  EXPECT_EQ(ScannerPresets(profile).CurrentIndex(), 0);
  profile.WriteProfileInt("Scanner Settings", "CurrentPreset", -1).Ignore();
  EXPECT_EQ(ScannerPresets(profile).CurrentIndex(), 0);
}

TEST(ScannerPresets, MalformedStoredNumbersBecomeZero) {
  IniProfile profile;
  profile.WriteProfileString("Scanner Settings", "ScannerOffset0", "left edge").Ignore();
  profile.WriteProfileString("Scanner Settings", "ScannerAlignStretch0", "1e999").Ignore();
  ScannerPresets presets(profile);
  EXPECT_EQ(presets.Live().ScannerOffset, 0.0);
  EXPECT_EQ(presets.Live().ScannerAlignStretch, 0.0);  // never an infinity
}

TEST(ScannerPresets, ApplyStoresGcvtTextSavesInOrderAndApplies) {
  RecordingStore store;
  ScannerPresets presets(store);
  ScannerSettings edit;
  presets.SelectPreset(3, edit);
  EXPECT_EQ(edit.PresetName, "Alternate3");
  edit.ScannerAlignStretch = 1;
  edit.ScannerOffset = 0.5;
  edit.RemoveTakeupAccel = true;
  edit.TakeupAccelPct = 0.3;
  ASSERT_TRUE(ValidatePresetEdit(edit).ok());
  ASSERT_TRUE(presets.StorePreset(edit, store).ok());
  EXPECT_EQ(store.GetProfileString("Scanner Settings", "ScannerAlignStretch3", ""), "1.");
  EXPECT_EQ(store.GetProfileString("Scanner Settings", "ScannerOffset3", ""), "0.5");
  EXPECT_EQ(store.GetProfileInt("Scanner Settings", "CurrentPreset", -1), 3);
  const std::vector<std::string> order = {
      "CurrentPreset",       "PresetName3",        "ScannerDPI3",          "ScannerOffset3",    "ScannerAlignStretch3",
      "ScannerModeType3",    "RemoveTakeupAccel3", "TakeupAccelPct3",      "ActiveTracking3",   "AutoTweakSettings3",
      "ScanLightingMethod3", "TwinArrayOverlap3",  "TwinArrayVertOffset3", "ForceOldCisFormat3"};
  ASSERT_EQ(store.writes.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(store.writes[i], "Scanner Settings/" + order[i]);
  EXPECT_EQ(presets.Live().ScannerAlignStretch, 1.0);
  EXPECT_EQ(presets.Live().TakeupAccelPct, 0.3);
  EXPECT_EQ(ScannerPresets(store).Live().ScannerOffset, 0.5);
}

TEST(ScannerPresets, ApplyRefusesValuesOutOfRange) {
  auto refused = [](auto change) {
    ScannerSettings edit;
    edit.PresetName = "name";
    edit.ScannerDPI = 300;
    edit.ScannerOffset = 1;
    edit.ScannerAlignStretch = 1;
    edit.ScannerModeType = "Mode1 - no encoding";
    edit.TakeupAccelPct = 0.2;
    edit.ActiveTracking = true;
    edit.AutoTweakSettings = true;
    edit.TwinArrayOverlap = 0.75;
    edit.TwinArrayVertOffset = 0.6;
    EXPECT_TRUE(ValidatePresetEdit(edit).ok());
    change(edit);
    const Result checked = ValidatePresetEdit(edit);
    EXPECT_TRUE(checked.ok() || checked.kind() == Result::Kind::kInvalid);
    return !checked.ok();
  };
  EXPECT_TRUE(refused([](auto& e) { e.ScannerDPI = 9; }));
  EXPECT_TRUE(refused([](auto& e) { e.ScannerDPI = 1001; }));
  EXPECT_TRUE(refused([](auto& e) { e.ScannerOffset = 20.5; }));
  EXPECT_TRUE(refused([](auto& e) { e.ScannerAlignStretch = 0.4; }));
  EXPECT_TRUE(refused([](auto& e) { e.TakeupAccelPct = 5.5; }));
  EXPECT_TRUE(refused([](auto& e) { e.TwinArrayOverlap = 101; }));
  EXPECT_TRUE(refused([](auto& e) { e.TwinArrayVertOffset = 6; }));
  EXPECT_TRUE(refused([](auto& e) { e.PresetName = std::string(129, 'x'); }));
  EXPECT_TRUE(refused([](auto& e) { e.ScannerModeType = std::string(33, 'x'); }));
  EXPECT_FALSE(refused([](auto& e) { e.ScannerDPI = 10; }));
}

TEST(ScannerPresets, SelectingThenCancellingKeepsTheLiveRecordAndNudges) {
  IniProfile profile;
  profile.WriteProfileString("Scanner Settings", "ScannerOffset3", "2.5").Ignore();
  ScannerPresets presets(profile);
  presets.NudgeOffset(0.025);
  ScannerSettings edit;
  presets.SelectPreset(3, edit);  // then Cancel: nothing stored or applied
  EXPECT_EQ(presets.CurrentIndex(), 3);
  EXPECT_DOUBLE_EQ(presets.Live().ScannerOffset, 1.025);
  EXPECT_EQ(edit.ScannerOffset, 2.5);
  presets.SelectPreset(16, edit);  // never made current
  EXPECT_EQ(presets.CurrentIndex(), 3);
}

TEST(SettingsGroups, EmptyProfileGivesDefaults) {
  IniProfile empty;
  const SessionSettings s(empty);
  EXPECT_EQ(s.General.ScanMidiFilePrefix, "");
  EXPECT_EQ(s.General.ScanMidiFileSuffix, "_ScanImageMIDI");
  EXPECT_EQ(s.General.ScanMidiLeadInTime, 2);
  EXPECT_EQ(s.General.SpeckThresholdLength, 0.02);
  EXPECT_EQ(s.General.SpeckThresholdWidthPct, 15);
  EXPECT_EQ(s.General.MidiCopyrightInfoString, "copyright info here");
  EXPECT_EQ(s.General.GlitchThresholdDistance, 0.01);
  EXPECT_EQ(s.ERoll.eRollMidiFileSuffix, "_eRollMIDI");
  EXPECT_EQ(s.ERoll.eRollMidiTrailerTime, 2);
  EXPECT_TRUE(s.ERoll.IncludePowerRollEvents);
  EXPECT_TRUE(s.ERoll.IncludeTrack18SustainPedal);
  EXPECT_EQ(s.Diagnostic.HistogramMinDisplayDistance, 13);
  EXPECT_EQ(s.Diagnostic.EncoderTicksToAverage, 2);
  EXPECT_TRUE(s.Diagnostic.EmbedRollKeywordData);
  EXPECT_FALSE(s.Diagnostic.UseAnnFile);
  EXPECT_EQ(s.Tracking.EventsBetweenUpdates, 25);
  EXPECT_EQ(s.Tracking.RollEdgeCaptureDistance, 0.1);
  EXPECT_EQ(s.Tracking.TrackingUpdateDistance, 0.5);
  EXPECT_EQ(s.Tracking.EdgeErrorWeightingFactor, 0.2);
  EXPECT_EQ(s.Tracking.TrackingLoopGain, 0.6);
  EXPECT_TRUE(s.TwinArray.OverrideCISvalues);
  EXPECT_EQ(s.TwinArray.BlendWidthInThousandths, 60);
  EXPECT_TRUE(s.Outputs.ScanMidi && s.Outputs.eRollMidi && s.Outputs.PunchMidi);
  EXPECT_EQ(s.Roll.ActiveRollTypeName, "Fail-Safe");
}

TEST(SettingsGroups, ARunGetsTheLiveScannerRecordAndEveryGroupAsHeld) {
  IniProfile profile;
  profile.WriteProfileString("Midi Gen Settings", "ScanMidiFilePrefix", "p_").Ignore();
  SessionSettings session(profile);
  session.Presets.NudgeOffset(0.25);
  session.Tracking.TrackingLoopGain = 0.3;  // changed in a dialog, not yet saved
  const RunSettings run = session.ForRun();
  EXPECT_EQ(run.Scanner.ScannerOffset, 1.25);
  EXPECT_EQ(run.Tracking.TrackingLoopGain, 0.3);
  EXPECT_EQ(run.General.ScanMidiFilePrefix, "p_");
  // From the profile alone: the stored values, without the session's changes.
  const RunSettings stored = RunSettings::FromProfile(profile);
  EXPECT_EQ(stored.Scanner.ScannerOffset, 1.0);
  EXPECT_EQ(stored.Tracking.TrackingLoopGain, 0.6);
  EXPECT_EQ(stored.Roll.ActiveRollTypeName, "Fail-Safe");
}

TEST(SettingsGroups, SavedRealsUseTenDigitGcvtAndReadBack) {
  RecordingStore store;
  GeneralSettings general(store);
  general.SpeckThresholdLength = 0.02;
  ASSERT_TRUE(general.Save(store).ok());
  EXPECT_EQ(store.GetProfileString("Midi Gen Settings", "SpeckThresholdLength", ""), "2.e-002");
  EXPECT_EQ(GeneralSettings(store).SpeckThresholdLength, 0.02);
  const std::vector<std::string> order = {"ScanMidiFilePrefix",     "ScanMidiFileSuffix",     "ScanMidiLeadInTime",
                                          "SpeckThresholdLength",   "SpeckThresholdWidthPct", "MidiCopyrightInfoString",
                                          "GlitchThresholdDistance"};
  ASSERT_EQ(store.writes.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(store.writes[i], "Midi Gen Settings/" + order[i]);
  store.writes.clear();
  ASSERT_TRUE(DiagnosticSettings(store).Save(store).ok());
  EXPECT_EQ(store.writes[7], "OutputFiles/EmbedRollKeywordData");
  store.writes.clear();
  ASSERT_TRUE(TwinArraySettings(store).Save(store).ok());
  EXPECT_EQ(store.writes[1], "Twin Array Settings/BlendWidthInThousandths");
}

TEST(SettingsGroups, DialogChecksRefuseOutOfRange) {
  IniProfile empty;
  GeneralSettings general(empty);
  EXPECT_TRUE(general.Validate().ok());
  general.ScanMidiLeadInTime = 11;
  EXPECT_EQ(general.Validate().kind(), Result::Kind::kInvalid);
  general = GeneralSettings(empty);
  general.SpeckThresholdWidthPct = 0;
  EXPECT_FALSE(general.Validate().ok());
  general.SpeckThresholdWidthPct = 101;
  EXPECT_FALSE(general.Validate().ok());
  general = GeneralSettings(empty);
  general.ScanMidiFilePrefix = std::string(65, 'p');
  EXPECT_FALSE(general.Validate().ok());
  general.ScanMidiFilePrefix = std::string(64, 'p');
  EXPECT_TRUE(general.Validate().ok());

  ERollSettings eroll(empty);
  eroll.eRollMidiFilePrefix = std::string(33, 'p');
  EXPECT_FALSE(eroll.Validate().ok());

  DiagnosticSettings diagnostic(empty);
  diagnostic.EncoderTicksToAverage = 0;
  EXPECT_FALSE(diagnostic.Validate().ok());
  diagnostic.EncoderTicksToAverage = 21;
  EXPECT_FALSE(diagnostic.Validate().ok());
  diagnostic = DiagnosticSettings(empty);
  diagnostic.HistogramMinDisplayDistance = 101;
  EXPECT_FALSE(diagnostic.Validate().ok());

  ActiveTrackingSettings tracking(empty);
  tracking.EventsBetweenUpdates = 0;
  EXPECT_FALSE(tracking.Validate().ok());
  tracking = ActiveTrackingSettings(empty);
  tracking.TrackingUpdateDistance = 0.05;
  EXPECT_FALSE(tracking.Validate().ok());
  tracking = ActiveTrackingSettings(empty);
  tracking.RollEdgeCaptureDistance = 0.6;
  EXPECT_FALSE(tracking.Validate().ok());

  IniProfile stored;
  stored.WriteProfileInt("Twin Array Settings", "BlendWidthInThousandths", 150).Ignore();
  EXPECT_FALSE(TwinArraySettings(stored).Validate().ok());
}

TEST(SettingsCatalog, ListsEveryKeyAndChangesOneAfterItsChecks) {
  IniProfile profile;
  const auto all = EffectiveSettings(profile);
  EXPECT_EQ(all.front().key, "CurrentPreset");
  ASSERT_NE(FindSetting(all, "scanner settings", "ScannerDPI15"), nullptr);
  EXPECT_EQ(FindSetting(all, "Midi Gen Settings", "SpeckThresholdLength")->kind, SettingValue::kReal);
  EXPECT_EQ(FindSetting(all, "Midi Gen Settings", "SpeckThresholdLength")->value, "2.e-002");
  EXPECT_EQ(FindSetting(all, "OutputFiles", "PunchMidi")->kind, SettingValue::kInteger);

  EXPECT_TRUE(SetSetting(profile, "Scanner Settings", "ScannerOffset2", "1.250").ok());
  EXPECT_EQ(profile.GetProfileString("Scanner Settings", "ScannerOffset2", ""), "1.25");
  EXPECT_EQ(SetSetting(profile, "Scanner Settings", "ScannerDPI2", "1001").kind(), Result::Kind::kInvalid);
  EXPECT_FALSE(SetSetting(profile, "Scanner Settings", "ScannerDPI2", "abc").ok());
  EXPECT_FALSE(SetSetting(profile, "Scanner Settings", "CurrentPreset", "16").ok());
  EXPECT_FALSE(SetSetting(profile, "Midi Gen Settings", "ScanMidiLeadInTime", "11").ok());
  EXPECT_EQ(SetSetting(profile, "Nowhere", "Nothing", "1").kind(), Result::Kind::kNotFound);
  EXPECT_EQ(profile.GetProfileInt("Scanner Settings", "ScannerDPI2", 300), 300);
  EXPECT_TRUE(SetSetting(profile, "Midi Gen Settings", "MidiCopyrightInfoString", "  (c) 1925 = ; #").ok());
  EXPECT_EQ(GeneralSettings(profile).MidiCopyrightInfoString, "  (c) 1925 = ; #");
}

}  // namespace
}  // namespace tarvelo

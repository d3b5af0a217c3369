#include <gtest/gtest.h>

#include "settings/IniProfile.h"
#include "settings/SessionSettings.h"
#include "settings/SettingsCatalog.h"

namespace tarvelo {
namespace {

// Records the order of writes.
class RecordingStore : public IniProfile {
 public:
  bool WriteProfileInt(std::string_view section, std::string_view key, int value) override {
    writes.push_back(std::string(section) + "/" + std::string(key));
    return IniProfile::WriteProfileInt(section, key, value);
  }
  bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override {
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
  profile.WriteProfileInt("Scanner Settings", "CurrentPreset", 16);
  EXPECT_EQ(ScannerPresets(profile).CurrentIndex(), 0);
  profile.WriteProfileInt("Scanner Settings", "CurrentPreset", -1);
  EXPECT_EQ(ScannerPresets(profile).CurrentIndex(), 0);
}

TEST(ScannerPresets, MalformedStoredNumbersBecomeZero) {
  IniProfile profile;
  profile.WriteProfileString("Scanner Settings", "ScannerOffset0", "left edge");
  profile.WriteProfileString("Scanner Settings", "ScannerAlignStretch0", "1e999");
  ScannerPresets presets(profile);
  EXPECT_EQ(presets.Live().ScannerOffset, 0.0);
  EXPECT_EQ(presets.Live().ScannerAlignStretch, 0.0);  // never an infinity
}

TEST(ScannerPresets, ApplyStoresGcvtTextSavesInOrderAndApplies) {
  RecordingStore store;
  ScannerPresets presets(store);
  ScannerPresetEdit edit;
  presets.SelectPreset(3, edit);
  edit.Stretch = 1;
  edit.Offset = 0.5;
  edit.RemoveTakeupAccel = true;
  edit.TakeupAccelPct = 0.3;
  ASSERT_TRUE(ValidatePresetEdit(edit).empty());
  presets.StorePreset(edit, store);
  EXPECT_EQ(store.GetProfileString("Scanner Settings", "ScannerAlignStretch3", ""), "1.");
  EXPECT_EQ(store.GetProfileString("Scanner Settings", "ScannerOffset3", ""), "0.5");
  EXPECT_EQ(store.GetProfileInt("Scanner Settings", "CurrentPreset", -1), 3);
  const std::vector<std::string> order = {
      "CurrentPreset",      "PresetName3",     "ScannerDPI3",        "ScannerOffset3",     "ScannerAlignStretch3",
      "ScannerModeType3",   "RemoveTakeupAccel3", "TakeupAccelPct3", "ActiveTracking3",    "AutoTweakSettings3",
      "ScanLightingMethod3", "TwinArrayOverlap3", "TwinArrayVertOffset3", "ForceOldCisFormat3"};
  ASSERT_EQ(store.writes.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(store.writes[i], "Scanner Settings/" + order[i]);
  EXPECT_EQ(presets.Live().ScannerAlignStretch, 1.0);
  EXPECT_EQ(presets.Live().TakeupAccelPct, 0.3);
  EXPECT_EQ(ScannerPresets(store).Live().ScannerOffset, 0.5);
}

TEST(ScannerPresets, ApplyRefusesValuesOutOfRange) {
  auto refused = [](auto change) {
    ScannerPresetEdit edit{"name", 300, 1, 1, "Mode1 - no encoding", false, 0.2, true, true, 0, 0.75, 0.6, false};
    EXPECT_TRUE(ValidatePresetEdit(edit).empty());
    change(edit);
    return !ValidatePresetEdit(edit).empty();
  };
  EXPECT_TRUE(refused([](auto& e) { e.DPI = 9; }));
  EXPECT_TRUE(refused([](auto& e) { e.DPI = 1001; }));
  EXPECT_TRUE(refused([](auto& e) { e.Offset = 20.5; }));
  EXPECT_TRUE(refused([](auto& e) { e.Stretch = 0.4; }));
  EXPECT_TRUE(refused([](auto& e) { e.TakeupAccelPct = 5.5; }));
  EXPECT_TRUE(refused([](auto& e) { e.Overlap = 101; }));
  EXPECT_TRUE(refused([](auto& e) { e.VertOffset = 6; }));
  EXPECT_TRUE(refused([](auto& e) { e.Name = std::string(129, 'x'); }));
  EXPECT_TRUE(refused([](auto& e) { e.ModeType = std::string(33, 'x'); }));
  EXPECT_FALSE(refused([](auto& e) { e.DPI = 10; }));
}

TEST(ScannerPresets, SelectingThenCancellingKeepsTheLiveRecordAndNudges) {
  IniProfile profile;
  profile.WriteProfileString("Scanner Settings", "ScannerOffset3", "2.5");
  ScannerPresets presets(profile);
  presets.NudgeOffset(0.025);
  ScannerPresetEdit edit;
  presets.SelectPreset(3, edit);  // then Cancel: nothing stored or applied
  EXPECT_EQ(presets.CurrentIndex(), 3);
  EXPECT_DOUBLE_EQ(presets.Live().ScannerOffset, 1.025);
  EXPECT_EQ(edit.Offset, 2.5);
  presets.SelectPreset(16, edit);  // never made current
  EXPECT_EQ(presets.CurrentIndex(), 3);
}

TEST(SettingsGroups, EmptyProfileGivesDefaults) {
  IniProfile empty;
  const SessionSettings s(empty);
  EXPECT_EQ(s.general.ScanMidiFilePrefix, "");
  EXPECT_EQ(s.general.ScanMidiFileSuffix, "_ScanImageMIDI");
  EXPECT_EQ(s.general.ScanMidiLeadInTime, 2);
  EXPECT_EQ(s.general.SpeckThresholdLength, 0.02);
  EXPECT_EQ(s.general.SpeckThresholdWidthPct, 15);
  EXPECT_EQ(s.general.MidiCopyrightInfoString, "copyright info here");
  EXPECT_EQ(s.general.GlitchThresholdDistance, 0.01);
  EXPECT_EQ(s.eroll.eRollMidiFileSuffix, "_eRollMIDI");
  EXPECT_EQ(s.eroll.eRollMidiTrailerTime, 2);
  EXPECT_TRUE(s.eroll.IncludePowerRollEvents);
  EXPECT_TRUE(s.eroll.IncludeTrack18SustainPedal);
  EXPECT_EQ(s.diagnostic.HistogramMinDisplayDistance, 13);
  EXPECT_EQ(s.diagnostic.EncoderTicksToAverage, 2);
  EXPECT_TRUE(s.diagnostic.EmbedRollKeywordData);
  EXPECT_FALSE(s.diagnostic.UseAnnFile);
  EXPECT_EQ(s.tracking.EventsBetweenUpdates, 25);
  EXPECT_EQ(s.tracking.RollEdgeCaptureDistance, 0.1);
  EXPECT_EQ(s.tracking.TrackingUpdateDistance, 0.5);
  EXPECT_EQ(s.tracking.EdgeErrorWeightingFactor, 0.2);
  EXPECT_EQ(s.tracking.TrackingLoopGain, 0.6);
  EXPECT_TRUE(s.twin_array.OverrideCISvalues);
  EXPECT_EQ(s.twin_array.BlendWidthInThousandths, 60);
  EXPECT_TRUE(s.outputs.ScanMidi && s.outputs.eRollMidi && s.outputs.PunchMidi);
  EXPECT_EQ(s.roll.ActiveRollTypeName, "Fail-Safe");
}

TEST(SettingsGroups, SavedRealsUseTenDigitGcvtAndReadBack) {
  RecordingStore store;
  GeneralSettings general(store);
  general.SpeckThresholdLength = 0.02;
  general.Save(store);
  EXPECT_EQ(store.GetProfileString("Midi Gen Settings", "SpeckThresholdLength", ""), "2.e-002");
  EXPECT_EQ(GeneralSettings(store).SpeckThresholdLength, 0.02);
  const std::vector<std::string> order = {"ScanMidiFilePrefix",   "ScanMidiFileSuffix",     "ScanMidiLeadInTime",
                                          "SpeckThresholdLength", "SpeckThresholdWidthPct", "MidiCopyrightInfoString",
                                          "GlitchThresholdDistance"};
  ASSERT_EQ(store.writes.size(), order.size());
  for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(store.writes[i], "Midi Gen Settings/" + order[i]);
  store.writes.clear();
  DiagnosticSettings(store).Save(store);
  EXPECT_EQ(store.writes[7], "OutputFiles/EmbedRollKeywordData");
  store.writes.clear();
  TwinArraySettings(store).Save(store);
  EXPECT_EQ(store.writes[1], "Twin Array Settings/BlendWidthInThousandths");
}

TEST(SettingsGroups, DialogChecksRefuseOutOfRange) {
  IniProfile empty;
  GeneralSettings general(empty);
  EXPECT_TRUE(general.Validate().empty());
  general.ScanMidiLeadInTime = 11;
  EXPECT_EQ(general.Validate().size(), 1u);
  general = GeneralSettings(empty);
  general.SpeckThresholdWidthPct = 0;
  EXPECT_FALSE(general.Validate().empty());
  general.SpeckThresholdWidthPct = 101;
  EXPECT_FALSE(general.Validate().empty());
  general = GeneralSettings(empty);
  general.ScanMidiFilePrefix = std::string(65, 'p');
  EXPECT_FALSE(general.Validate().empty());
  general.ScanMidiFilePrefix = std::string(64, 'p');
  EXPECT_TRUE(general.Validate().empty());

  ERollSettings eroll(empty);
  eroll.eRollMidiFilePrefix = std::string(33, 'p');
  EXPECT_FALSE(eroll.Validate().empty());

  DiagnosticSettings diagnostic(empty);
  diagnostic.EncoderTicksToAverage = 0;
  EXPECT_FALSE(diagnostic.Validate().empty());
  diagnostic.EncoderTicksToAverage = 21;
  EXPECT_FALSE(diagnostic.Validate().empty());
  diagnostic = DiagnosticSettings(empty);
  diagnostic.HistogramMinDisplayDistance = 101;
  EXPECT_FALSE(diagnostic.Validate().empty());

  ActiveTrackingSettings tracking(empty);
  tracking.EventsBetweenUpdates = 0;
  EXPECT_FALSE(tracking.Validate().empty());
  tracking = ActiveTrackingSettings(empty);
  tracking.TrackingUpdateDistance = 0.05;
  EXPECT_FALSE(tracking.Validate().empty());
  tracking = ActiveTrackingSettings(empty);
  tracking.RollEdgeCaptureDistance = 0.6;
  EXPECT_FALSE(tracking.Validate().empty());

  IniProfile stored;
  stored.WriteProfileInt("Twin Array Settings", "BlendWidthInThousandths", 150);
  EXPECT_FALSE(TwinArraySettings(stored).Validate().empty());
}

TEST(SettingsCatalog, ListsEveryKeyAndChangesOneAfterItsChecks) {
  IniProfile profile;
  const auto all = EffectiveSettings(profile);
  EXPECT_EQ(all.front().key, "CurrentPreset");
  ASSERT_NE(FindSetting(all, "scanner settings", "ScannerDPI15"), nullptr);
  EXPECT_EQ(FindSetting(all, "Midi Gen Settings", "SpeckThresholdLength")->kind, SettingValue::kReal);
  EXPECT_EQ(FindSetting(all, "Midi Gen Settings", "SpeckThresholdLength")->value, "2.e-002");
  EXPECT_EQ(FindSetting(all, "OutputFiles", "PunchMidi")->kind, SettingValue::kInteger);

  EXPECT_TRUE(SetSetting(profile, "Scanner Settings", "ScannerOffset2", "1.250").empty());
  EXPECT_EQ(profile.GetProfileString("Scanner Settings", "ScannerOffset2", ""), "1.25");
  EXPECT_FALSE(SetSetting(profile, "Scanner Settings", "ScannerDPI2", "1001").empty());
  EXPECT_FALSE(SetSetting(profile, "Scanner Settings", "ScannerDPI2", "abc").empty());
  EXPECT_FALSE(SetSetting(profile, "Scanner Settings", "CurrentPreset", "16").empty());
  EXPECT_FALSE(SetSetting(profile, "Midi Gen Settings", "ScanMidiLeadInTime", "11").empty());
  EXPECT_FALSE(SetSetting(profile, "Nowhere", "Nothing", "1").empty());
  EXPECT_EQ(profile.GetProfileInt("Scanner Settings", "ScannerDPI2", 300), 300);
  EXPECT_TRUE(SetSetting(profile, "Midi Gen Settings", "MidiCopyrightInfoString", "  (c) 1925 = ; #").empty());
  EXPECT_EQ(GeneralSettings(profile).MidiCopyrightInfoString, "  (c) 1925 = ; #");
}

}  // namespace
}  // namespace tarvelo

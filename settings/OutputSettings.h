#pragma once
// "OutputFiles" switches of the control bar (with the expression file's name parts) and the
// active roll type of "Roll Settings".

#include <string>

#include "settings/SettingsIo.h"

namespace tarvelo {

struct OutputSettings {
  static constexpr const char* kSection = "OutputFiles";

  OutputSettings() = default;
  explicit OutputSettings(const ProfileStore& store)
      : ScanMidi(ReadSettingSwitch(store, kSection, "ScanMidi")),
        eRollMidi(ReadSettingSwitch(store, kSection, "eRollMidi")),
        PunchMidi(ReadSettingSwitch(store, kSection, "PunchMidi")),
        WriteExpressionMidi(ReadSettingSwitch(store, kSection, "WriteExpressionMidi")),
        ExpressionMidiFilePrefix(ReadSettingText(store, kSection, "ExpressionMidiFilePrefix")),
        ExpressionMidiFileSuffix(ReadSettingText(store, kSection, "ExpressionMidiFileSuffix")) {}

  // The check boxes store their state at once when clicked.
  Result SaveScanMidi(ProfileStore& store) const { return store.WriteProfileInt(kSection, "ScanMidi", ScanMidi); }
  Result SaveERollMidi(ProfileStore& store) const { return store.WriteProfileInt(kSection, "eRollMidi", eRollMidi); }
  Result SaveWriteExpressionMidi(ProfileStore& store) const {
    return store.WriteProfileInt(kSection, "WriteExpressionMidi", WriteExpressionMidi);
  }

  bool ScanMidi = true;
  bool eRollMidi = true;
  bool PunchMidi = true;  // read only
  // The expression MIDI file: off unless asked for, so that the other outputs stay as they are.
  bool WriteExpressionMidi = false;
  std::string ExpressionMidiFilePrefix;
  std::string ExpressionMidiFileSuffix = "_ExpressionMIDI";
};

struct RollSettings {
  static constexpr const char* kSection = "Roll Settings";

  RollSettings() = default;
  explicit RollSettings(const ProfileStore& store)
      : ActiveRollTypeName(ReadSettingText(store, kSection, "ActiveRollTypeName")) {}

  Result Save(ProfileStore& store) const {
    return store.WriteProfileString(kSection, "ActiveRollTypeName", ActiveRollTypeName);
  }

  std::string ActiveRollTypeName = "Fail-Safe";
};

}  // namespace tarvelo

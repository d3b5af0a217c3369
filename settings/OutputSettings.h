#pragma once
// "OutputFiles": the switches of the control bar (the expression file's name parts among them)
// and how the MIDI files describe themselves; the active roll type of "Roll Settings".

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
        LiteralRollInfo(ReadSettingSwitch(store, kSection, "LiteralRollInfo")),
        CreditWebAddress(ReadSettingText(store, kSection, "CreditWebAddress")),
        WriteExpressionMidi(ReadSettingSwitch(store, kSection, "WriteExpressionMidi")),
        ExpressionMidiFilePrefix(ReadSettingText(store, kSection, "ExpressionMidiFilePrefix")),
        ExpressionMidiFileSuffix(ReadSettingText(store, kSection, "ExpressionMidiFileSuffix")) {}

  // The check boxes store their state at once when clicked.
  Result SaveScanMidi(ProfileStore& store) const { return store.WriteProfileInt(kSection, "ScanMidi", ScanMidi); }
  Result SaveERollMidi(ProfileStore& store) const { return store.WriteProfileInt(kSection, "eRollMidi", eRollMidi); }
  Result SaveWriteExpressionMidi(ProfileStore& store) const {
    return store.WriteProfileInt(kSection, "WriteExpressionMidi", WriteExpressionMidi);
  }
  // Every value of the section, in table order (the settings list and the settings digest).
  Result SaveAll(ProfileStore& store) const {
    ProfileWriter writer(store, kSection);
    writer.Switch("ScanMidi", ScanMidi);
    writer.Switch("eRollMidi", eRollMidi);
    writer.Switch("PunchMidi", PunchMidi);
    writer.Switch("LiteralRollInfo", LiteralRollInfo);
    writer.String("CreditWebAddress", CreditWebAddress);
    writer.Switch("WriteExpressionMidi", WriteExpressionMidi);
    writer.String("ExpressionMidiFilePrefix", ExpressionMidiFilePrefix);
    writer.String("ExpressionMidiFileSuffix", ExpressionMidiFileSuffix);
    return writer.Outcome();
  }

  bool ScanMidi = true;
  bool eRollMidi = true;
  bool PunchMidi = true;  // read only
  // The roll information, credit and version texts as the converter always wrote them, and no
  // provenance items (see MidiOutputSource).
  bool LiteralRollInfo = false;
  std::string CreditWebAddress;  // ends the credit text; "" names none
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

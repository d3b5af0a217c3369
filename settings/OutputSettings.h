#pragma once
// "OutputFiles": the switches of the control bar (the expression file's name parts among them)
// and how the MIDI files describe themselves; the active roll type of "Roll Settings".

#include <string>

#include "settings/SettingsFields.h"

namespace tarvelo {

struct OutputSettings {
  static constexpr const char* kSection = "OutputFiles";

  // Every setting of the section, bound to its member, in table order.
  static std::span<const SettingField<OutputSettings>> Fields();

  OutputSettings() = default;
  explicit OutputSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

  // The check boxes store their state at once when clicked.
  Result SaveScanMidi(ProfileStore& store) const {
    return SaveField(store, Fields(), *this, &OutputSettings::ScanMidi);
  }
  Result SaveERollMidi(ProfileStore& store) const {
    return SaveField(store, Fields(), *this, &OutputSettings::eRollMidi);
  }
  Result SaveWriteExpressionMidi(ProfileStore& store) const {
    return SaveField(store, Fields(), *this, &OutputSettings::WriteExpressionMidi);
  }
  // Every value of the section, in table order (the settings list and the settings digest).
  Result SaveAll(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

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

  static std::span<const SettingField<RollSettings>> Fields();

  RollSettings() = default;
  explicit RollSettings(const ProfileStore& store) { LoadFields(store, Fields(), *this); }

  Result Save(ProfileStore& store) const { return SaveFields(store, Fields(), *this); }

  std::string ActiveRollTypeName = "Fail-Safe";
};

}  // namespace tarvelo

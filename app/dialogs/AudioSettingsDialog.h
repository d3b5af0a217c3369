#pragma once
// "Audio Settings" (profile section "Audio Settings"): what Play plays the roll to. The MIDI
// output is the software synthesizer (with the SoundFont named here, or the installed General
// MIDI one when the field is empty) or an instrument on one of the sequencer's ports. OK checks
// the SoundFont named (rendering into sound files uses it too), or the installed one when the
// synthesizer would load it: a missing or unreadable file, or one that is not a SoundFont, is
// refused with the reason and nothing is stored. Then it writes the section. A
// conversion reads neither value, so nothing needs converting again.

#include <functional>
#include <string>
#include <vector>

#include "app/dialogs/CheckedDialog.h"
#include "settings/AudioSettings.h"

class QComboBox;
class QLineEdit;

namespace tarvelo::app {

// What the dialog offers besides the stored values (the listening module knows them).
struct AudioChoices {
  // The ports to play to: address ("128:0") and name.
  std::vector<std::pair<std::string, std::string>> Ports;
  // Ok when a SoundFont path ("" for the installed one) can be loaded.
  std::function<Result(const std::string&)> CheckSoundFont;
  std::string InstalledSoundFont;  // shown as the empty field's placeholder
};

class AudioSettingsDialog : public CheckedDialog {
  Q_OBJECT

 public:
  AudioSettingsDialog(AudioSettings& settings, ProfileStore& store, AudioChoices choices, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  void ChooseSoundFontFile();

  AudioSettings& settings_;
  ProfileStore& store_;
  AudioChoices choices_;
  QLineEdit* soundfont_ = nullptr;
  QComboBox* output_ = nullptr;
};

}  // namespace tarvelo::app

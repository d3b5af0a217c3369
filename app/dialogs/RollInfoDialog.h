#pragma once
// "Embed Keyword Data Text Items Into MIDI file": the roll information entries embedded into
// both MIDI files. The six template entries are marked "(*)"; with "Save (*) Entry Values As
// New Default Template" checked, OK also writes them to the profile as the defaults for the
// next start. OK checks every entry's length and keeps the entries in `info`; Cancel leaves
// `info` as it was.

#include <vector>

#include "app/dialogs/CheckedDialog.h"
#include "cis/RollInfo.h"
#include "settings/ProfileStore.h"

class QCheckBox;
class QLineEdit;

namespace tarvelo::app {

class RollInfoDialog : public CheckedDialog {
  Q_OBJECT

 public:
  RollInfoDialog(RollInfo& info, ProfileStore& store, QWidget* parent = nullptr);

 protected:
  Result KeepEdits() override;

 private:
  RollInfo& info_;
  ProfileStore& store_;
  std::vector<QLineEdit*> entries_;  // one per RollInfo::Fields(), in that order
  QCheckBox* save_template_ = nullptr;
};

}  // namespace tarvelo::app

#pragma once
// Storing an alignment's DPI, offset and stretch into a scanner preset, as the preset dialog's
// Apply stores an edit: through the dialog's checks, the preset becoming the current one.

#include "align/AlignmentInput.h"
#include "settings/ProfileStore.h"
#include "support/Result.h"

namespace tarvelo {

// Fails (kInvalid, nothing stored) when `index` is not 0..15 or the dialog's checks refuse the
// values; a failed write is the store's failure. The preset's other values, its name and its
// auto-tweak flag are kept.
Result StoreInPreset(ProfileStore& store, int index, const ScannerSetting& setting);

}  // namespace tarvelo

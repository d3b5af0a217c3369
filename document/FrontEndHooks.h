#pragma once
// The few state changes of a conversion that a front end shows beyond status, progress and
// messages (those go through the Reporter). Only the document calls these; every hook has a
// do-nothing default, so a front end overrides what it displays.

#include <string_view>

#include "cis/HeaderSummary.h"
#include "cis/RollInfo.h"

namespace tarvelo {

class FrontEndHooks {
 public:
  virtual ~FrontEndHooks() = default;

  // Settings changed since the last run (true: "Re-Process" enabled, the window shows its
  // settings-changed state) or a run finished (false: idle).
  virtual void SetReprocessPending(bool /*pending*/) {}
  // An output was written by the run that is going on (the lamps of the control bar).
  virtual void MarkScanImageWritten() {}
  virtual void MarkERollWritten() {}
  virtual void MarkExpressionWritten() {}
  // The "File : " field and the title field of the control bar.
  virtual void RefreshControlBar(std::string_view /*file_name_with_extension*/, std::string_view /*title*/) {}
  // The header values of the file just read (for the "CIS File Embedded Data" display).
  virtual void SetHeaderSummary(const CisHeaderSummary& /*summary*/) {}
  // The roll information dialog: the user completes the entries of `info` (a working copy).
  // Returns true on OK, false on Cancel. A front end without a dialog accepts them unchanged.
  // On OK the front end stores the template entries when `info.SaveAsTemplate` is set.
  virtual bool EditRollInfo(RollInfo& /*info*/) { return true; }
  // Too many holes of the run lie off their tracks (`text` says how many and what to do). A
  // front end with a status bar shows it there and returns true; otherwise (the default) the
  // document reports it as a warning message.
  virtual bool ShowOffTrackNotice(std::string_view /*text*/) { return false; }
};

// Hooks that show nothing: for documents run without a window (batches, benchmarks).
inline FrontEndHooks& NoFrontEndHooks() {
  static FrontEndHooks hooks;  // stateless, so one instance may serve every thread
  return hooks;
}

}  // namespace tarvelo

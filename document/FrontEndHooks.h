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
  // The settings put the notes on wrong tracks, or the placement cannot be checked (`text`
  // says so in numbers and ends with one of the advices below). As ShowOffTrackNotice.
  virtual bool ShowPlacementNotice(std::string_view /*text*/) { return false; }
  // The run converts with Auto-Tweak's measured values (`text` names them and the preset's). A
  // front end that shows the values in use returns true; otherwise it is reported as information.
  virtual bool ShowAutoTweak(std::string_view /*text*/) { return false; }
  // What to do, in the front end's own words: about notes whole tracks off or a DPI that does not
  // fit; about a roll whose placement cannot be checked; about a scan without holes.
  virtual std::string_view AlignAdvice() const {
    return "Convert with Auto-Tweak or the alignment on to use settings that fit.";
  }
  virtual std::string_view UnreadableAdvice() const {
    return "Check that the roll type and the scanner preset are the roll's.";
  }
  // How to convert a roll as the roll type its holes show.
  virtual std::string_view RecogniseAdvice() const {
    return "Convert it with the roll type recognised to map its expression and control tracks.";
  }
  virtual std::string_view NoHolesAdvice() const { return "Check the scan and the preset's lighting method."; }
};

// Hooks that show nothing: for documents run without a window (batches, benchmarks).
inline FrontEndHooks& NoFrontEndHooks() {
  static FrontEndHooks hooks;  // stateless, so one instance may serve every thread
  return hooks;
}

}  // namespace tarvelo

#pragma once
// One scan as the document holds it: what its opening found (Header, read-only to every stage
// of a run), its lines as read and as a run works on them, and what the run works out beside
// them (Run). The document owns one.

#include "cis/CisHeader.h"
#include "cis/ScanLineArray.h"
#include "cis/ScanRunState.h"

namespace tarvelo {

struct CisScanData {
  // Before an opening: a fresh header, no lines and a fresh run state.
  void Reset() {
    Header = CisHeader{};
    Lines.Clear();
    LinesAsRead.Clear();
    Run = ScanRunState{};
  }

  // After reading: the lines as read become the pristine copy every run starts from (Lines
  // keeps its contents, sharing them).
  void KeepAsRead() { LinesAsRead = Lines; }

  // Before a run, and by the opening once it has the header: the run's flags and width as the
  // header gives them and no paper measured yet (the lines are the caller's to restore).
  // Reading in the old format, forced, knows none of the type bits.
  void StartRun(bool old_format_forced) {
    Run.PaperOnLines.clear();
    Run.ImageMirrored = false;
    Run.ReverseImage = Header.ReverseImage;
    Run.ScanWidth = Header.ScanWidth;
    Run.TwinArray = Header.TwinArray;
    Run.MirrorImage = Header.MirrorImage;
    if (old_format_forced) {
      Run.TwinArray = false;
      Run.ReverseImage = false;
      Run.MirrorImage = false;
    }
  }

  CisHeader Header;
  // The lines every stage of a run reads and changes; a run starts from a copy of LinesAsRead
  // (they share the transitions until one writes).
  ScanLineArray Lines;
  ScanLineArray LinesAsRead;
  ScanRunState Run;
};

}  // namespace tarvelo

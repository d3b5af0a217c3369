#pragma once
// What a dialog closed with OK (or "Apply") changed, so that the main window only has to act
// on it: enable "Re-Process", refresh parts of the control bar, repaint. A dialog closed with
// Cancel changes nothing and its outcome stays all false.

namespace tarvelo::app {

struct DialogOutcome {
  // Settings the next conversion reads have changed: the window enters its settings-changed
  // state ("Re-Process" enabled, output lamps cleared).
  bool ReprocessPending = false;
  // The live scanner record changed: refresh the control bar's scanner display.
  bool ScannerDisplayChanged = false;
  // The document's title changed: refresh the control bar's title field.
  bool TitleChanged = false;
  // Something the roll view draws may have changed: repaint the main window.
  bool Repaint = false;
};

}  // namespace tarvelo::app

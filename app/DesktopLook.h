#pragma once
// The look the control bar and the dialogs were made for: the Fusion style with the dialog
// background RGB(230,230,210) and black texts. Greyed controls keep the style's greyed text
// colours, so a command that cannot be used looks it.

class QApplication;

namespace tarvelo::app {

void ApplyDesktopLook(QApplication& application);

}  // namespace tarvelo::app

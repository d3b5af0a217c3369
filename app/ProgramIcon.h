#pragma once
// The program's icon: a strip of roll paper with punched holes, drawn at the sizes the window
// system asks for.

#include <QIcon>

namespace tarvelo::app {

QIcon ProgramIcon();

}  // namespace tarvelo::app

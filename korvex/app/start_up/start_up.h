#pragma once

#include <QString>
#include <QStringList>

#include "korvex/app/app_export.h"

namespace korvex::app {

// Why no window can be opened here, in one line, when that is plain before Qt tries: X is
// the platform and no display is named. Empty otherwise. `arguments` are the program's,
// with Qt's own -platform and -display among them.
KORVEX_APP_EXPORT QString display_shortfall(const QStringList& arguments);

// Readies the graphical start; call it before the QApplication exists. Makes the 3D
// views' OpenGL format the default, and has a display that Qt cannot reach end the
// process with a one-line message and exit code 1, where Qt would abort it. Returns
// display_shortfall(arguments).
KORVEX_APP_EXPORT QString prepare_graphics(const QStringList& arguments);

}  // namespace korvex::app

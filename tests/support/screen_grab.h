#pragma once

#include <QImage>

class QWidget;

namespace korvex::testing {

// What the screen shows of `widget`, as the window system composed it: what a user sees,
// which a widget's own grab does not tell. The screen holds every window on the display,
// so a test file calling this is listed under OWN_DISPLAY in its korvex_test.
QImage on_screen(const QWidget& widget);

}  // namespace korvex::testing

#pragma once

#include <QImage>

class QWidget;

namespace korvex::testing {

// What the screen shows of `widget`, as the window system composed it: what a user sees,
// which a widget's own grab does not tell.
QImage on_screen(const QWidget& widget);

}  // namespace korvex::testing

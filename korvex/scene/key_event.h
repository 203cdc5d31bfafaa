#pragma once

// A key press on a scene canvas, as handed to the visual that takes the canvas's keys.

#include <Qt>

namespace korvex::scene {

struct KeyEvent {
    int key = 0;  // a Qt::Key
    Qt::KeyboardModifiers modifiers;
};

}  // namespace korvex::scene

#pragma once

// A mouse press on a scene canvas, as handed to SceneCanvas::on_mouse_press and to a
// visual's query_in_3d: where (Qt pixels of the canvas's native widget, origin top
// left) and which button (1 left, 2 right, 3 middle).

#include <QPoint>
#include <Qt>

namespace korvex::scene {

struct MouseEvent {
    static constexpr int LEFT = 1;
    static constexpr int RIGHT = 2;
    static constexpr int MIDDLE = 3;

    QPoint pos;
    int button = 0;
    Qt::KeyboardModifiers modifiers;
};

}  // namespace korvex::scene

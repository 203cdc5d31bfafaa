#pragma once

#include <QVBoxLayout>

#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "tests/support/fake_host.h"
#include "tests/support/fake_panel.h"
#include "tests/support/scene_window.h"

namespace korvex::testing {

// A canvas widget named "viewer" in a panel mounted in a fake host. show() puts it
// in a window of the given size and waits until it has been drawn.
struct ViewerFixture {
    FakeHost host;
    FakePanel panel{&host};
    widgets::CanvasWidget widget{&panel, "viewer"};

    ViewerFixture() {
        auto* layout = new QVBoxLayout(&panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(&widget);
        widget.canvas().show();  // as the viewer panel does
    }

    bool show(int width = 200, int height = 200) {
        panel.setParent(nullptr);
        panel.resize(width, height);
        return wait_until_drawn(panel);
    }

    FakeDataTree& tree() { return host.tree(); }
};

}  // namespace korvex::testing

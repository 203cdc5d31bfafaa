#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "bench/figures.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/xyz_axis.h"

namespace korvex::bench {

// A shown canvas in a window of the given size with the axis and three orthogonal
// sections of a synthetic cube (n x n samples each, amplitudes in -1..1), seen from
// the default turntable angles and fitted to the view.
class SectionScene {
public:
    SectionScene(int width, int height, int samples);

    scene::SceneCanvas& canvas() { return canvas_; }
    QWidget& window() { return window_; }

private:
    QWidget window_;
    scene::SceneCanvas canvas_;
    scene::XYZAxis axis_;
    std::vector<std::unique_ptr<scene::ImageSection>> sections_;
};

// Sets the OpenGL format VTK needs; call before the QApplication exists.
void prepare_opengl();

}  // namespace korvex::bench

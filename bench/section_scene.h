#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "bench/figures.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/orientation_marker.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/xyz_axis.h"

namespace korvex::bench {

// The samples of three orthogonal sections of a synthetic cube, n x n each, amplitudes in
// -1..1: x, y and z.
std::vector<std::vector<float>> synthetic_sections(int samples);

// A shown canvas in a window of the given size with the axis, the compass and three orthogonal
// sections of a synthetic cube (n x n samples each), seen from the default turntable
// angles, fitted to the view and drawn once.
class SectionScene {
public:
    // The axis alone, shown and drawn: a viewer open before any data.
    SectionScene(int width, int height);
    SectionScene(int width, int height, int samples);

    // Adds the x, y and z sections of n x n samples, fits the view to them and draws it.
    void add_sections(int samples, std::vector<std::vector<float>> sections);

    scene::SceneCanvas& canvas() { return canvas_; }
    QWidget& window() { return window_; }
    // The x, y and z sections.
    scene::ImageSection& section(int index) { return *sections_.at(index); }

private:
    QWidget window_;
    scene::SceneCanvas canvas_;
    scene::XYZAxis axis_;
    // Made with the view, as a viewer's canvas makes it.
    std::unique_ptr<scene::OrientationMarker> compass_;
    std::vector<std::unique_ptr<scene::ImageSection>> sections_;
};

// Sets the OpenGL format VTK needs; call before the QApplication exists.
void prepare_opengl();

}  // namespace korvex::bench

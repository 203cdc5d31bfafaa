#pragma once

#include "korvex/widgets/cube_viewer/cube_viewer_export.h"

namespace korvex::scene {
class TurntableCamera;
}

namespace korvex::widgets {

// The named camera actions of a viewer: the six directions it looks from, the two
// projections, and fitting everything in view. Holds no state: every value lives in the
// camera, so the view state reads and writes the camera directly.
class KORVEX_CUBE_VIEWER_EXPORT ViewCamera {
public:
    explicit ViewCamera(scene::TurntableCamera& camera) : camera_(camera) {}

    scene::TurntableCamera& camera() const { return camera_; }

    // Elevation first, then azimuth; centre, field of view and zoom stay.
    void look_from(double elevation, double azimuth);
    void look_from_top() { look_from(90, 0); }
    void look_from_bottom() { look_from(-90, 0); }
    void look_from_north() { look_from(0, 180); }
    void look_from_south() { look_from(0, 0); }
    void look_from_west() { look_from(0, -90); }
    void look_from_east() { look_from(0, 90); }

    void orthogonal();
    // A fixed 90 degrees, not the field of view the camera started with.
    void perspective();

    // Fits the range to what the view shows, then looks from the top.
    void fit_from_top();

private:
    scene::TurntableCamera& camera_;
};

}  // namespace korvex::widgets

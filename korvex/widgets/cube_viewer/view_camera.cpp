#include "korvex/widgets/cube_viewer/view_camera.h"

#include "korvex/scene/turntable_camera.h"

namespace korvex::widgets {

void ViewCamera::look_from(double elevation, double azimuth) {
    camera_.set_elevation(elevation);
    camera_.set_azimuth(azimuth);
}

void ViewCamera::orthogonal() { camera_.set_fov(0); }

void ViewCamera::perspective() { camera_.set_fov(90); }

void ViewCamera::fit_from_top() {
    camera_.set_range();
    look_from_top();
}

}  // namespace korvex::widgets

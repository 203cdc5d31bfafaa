#include "korvex/widgets/cube_viewer/view_state_binding.h"

#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/widgets/cube_viewer/view_aspect.h"

namespace korvex::widgets {

ViewState ViewStateBinding::state() const {
    const scene::TurntableCamera& camera = view_.camera();
    const auto center = camera.center();
    QVariantList bgcolor;
    for (double component : view_.bgcolor().rgba()) bgcolor << component;
    return ViewState{
        {"distance", camera.scale_factor()},
        {"elevation", camera.elevation()},
        {"azimuth", camera.azimuth()},
        {"fov", camera.fov()},
        {"center", QVariantList{center[0], center[1], center[2]}},
        {"bgcolor", bgcolor},
        {"aspect_method", aspect_.method()},
        {"aspect_ratio", aspect_.ratio() ? QVariant(*aspect_.ratio()) : QVariant()},
    };
}

void ViewStateBinding::apply(const ViewState& state) const {
    const ViewStateValues values = read_view_state(state);
    scene::TurntableCamera& camera = view_.camera();
    if (values.distance) camera.set_scale_factor(*values.distance);
    if (values.elevation) camera.set_elevation(*values.elevation);
    if (values.azimuth) camera.set_azimuth(*values.azimuth);
    if (values.fov) camera.set_fov(*values.fov);
    if (values.center) camera.set_center(*values.center);
    if (values.bgcolor) view_.set_bgcolor(*values.bgcolor);
}

}  // namespace korvex::widgets

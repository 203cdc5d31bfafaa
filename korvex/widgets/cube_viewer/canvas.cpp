#include "korvex/widgets/cube_viewer/canvas.h"

#include <algorithm>

#include "korvex/host/data_object.h"
#include "korvex/host/data_registry.h"
#include "korvex/scene/mouse_event.h"
#include "korvex/scene/orientation_marker.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/sample_query.h"

namespace korvex::widgets {

using utils::format;
using utils::logger;

Canvas::Canvas(CanvasWidget& parent)
    : scene::SceneCanvas(scene::Color("white")),
      owner_(parent),
      axis_(std::make_unique<scene::XYZAxis>()) {
    add_view()->add(*axis_);
    // The axis is one map unit long at the origin: at survey scale the compass tells the way.
    compass_ = std::make_unique<scene::OrientationMarker>(*view());
}

Canvas::~Canvas() = default;

void Canvas::register_item(const scene::Item& item) {
    visuals_.push_back(item);
    if (map_grid_) map_grid_->fit();
}

void Canvas::unregister_item(const scene::Item& item) {
    const auto found = std::find(visuals_.begin(), visuals_.end(), item);
    if (found != visuals_.end()) visuals_.erase(found);
    if (map_grid_) map_grid_->fit();
}

void Canvas::show_map_grid(scene::MapGrid::Origin origin) {
    map_grid_ = std::make_unique<scene::MapGrid>(*view(), std::move(origin));
    map_grid_->fit();
}

void Canvas::hide_map_grid() { map_grid_.reset(); }

void Canvas::on_mouse_press(const scene::MouseEvent& event) {
    if (!pick_mode_ || visuals_.empty()) return;
    scene::PickResult pick = pick_deaf(event.pos);
    scene::Visual* visual = pick.visual;
    if (!visual) {
        logger().warning("No visual is picked");
        return;
    }
    if (!visual->queryable_in_3d.has_value()) {
        logger().warning("Visual has no queryable in 3D");
        return;
    }
    if (!*visual->queryable_in_3d) {
        logger().warning("Visual is not queryable in 3D");
        return;
    }
    logger().info(format("Query visual: {}", visual->text()));
    if (event.button == scene::MouseEvent::LEFT) select_host(*visual);
    if (event.button == scene::MouseEvent::RIGHT) query(pick, event);
}

void Canvas::query(const scene::PickResult& pick, const scene::MouseEvent& event) {
    auto* sampled = dynamic_cast<SampleQuery*>(pick.visual);
    if (!sampled) {
        utils::call_guarded("Query in 3D", [&] { pick.visual->query_in_3d(*this, event); });
        return;
    }
    std::optional<PickedSample> sample;
    const bool answered =
        utils::call_guarded("Query in 3D", [&] { sample = sampled->query_sample(pick); });
    if (!answered || !sample) return;
    // The keys then act on what the user last asked about (a section steps through the volume).
    view()->set_key_target(pick.visual);
    emit sig_picked_sample(*sample);
}

scene::PickResult Canvas::pick_deaf(const QPoint& pos) const {
    struct Deaf {
        scene::ViewBox& view;
        explicit Deaf(scene::ViewBox& v) : view(v) { view.set_interactive(false); }
        ~Deaf() { view.set_interactive(true); }
    } deaf(*view());
    return pick(pos);
}

void Canvas::select_host(const scene::Visual& visual) const {
    if (!visual.host_dob) throw utils::AttributeError("the picked visual names no data object");
    const QString name = visual.host_dob->name();
    logger().info(format("Visual host name: {}", name));
    host::DataRegistry* tree = owner_.treebase();
    const auto items = tree->object_items();
    const auto found = items.find(name);
    if (found == items.end()) {
        // The object may have been taken out of the tree while its visual is still shown.
        logger().warning(format("{} is not in the data tree; nothing is selected", name));
        return;
    }
    tree->setCurrentItem(found->second);
}

}  // namespace korvex::widgets

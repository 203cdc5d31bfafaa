#include "korvex/app/viewers/canvas_display_target.h"

#include "korvex/host/data_object.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "korvex/widgets/cube_viewer/viewer_model.h"

namespace korvex::app {

namespace {
const QString Z_SCALE = QStringLiteral("z_scale");
}

QString CanvasDisplayTarget::viewer_name() const { return canvas_.name(); }

void CanvasDisplayTarget::add_item_agent(host::DataObject& dob) {
    const bool first = canvas_.nothing_shown();
    canvas_.add_item_agent(dob);
    const auto item = dob.visuals_in_volume.find(canvas_.name());
    if (item != dob.visuals_in_volume.end() && !canvas_.nothing_shown())
        canvas_.frame_new(item->second, first);
}

void CanvasDisplayTarget::remove_item_agent(host::DataObject& dob) {
    canvas_.remove_item_agent(dob);
}

void CanvasDisplayTarget::add_item_prop(host::DataObject& dob, const QString& prop) {
    canvas_.add_item_prop(dob, prop);
}

void CanvasDisplayTarget::remove_item_prop(host::DataObject& dob, const QString& prop) {
    canvas_.remove_item_prop(dob, prop);
}

void CanvasDisplayTarget::add_cube_section(host::DataObject& dob, const QString& section) {
    const bool first = canvas_.nothing_shown();
    canvas_.add_cube_section(dob, section);
    const auto type = widgets::ViewerModel::section_type(section);
    if (!type || canvas_.nothing_shown()) return;
    const auto images = dob.section_image3d.find(*type);
    if (images == dob.section_image3d.end()) return;
    const auto item = images->second.find(canvas_.name());
    if (item != images->second.end()) canvas_.frame_new(item->second, first);
}

void CanvasDisplayTarget::remove_cube_section(host::DataObject& dob, const QString& section) {
    canvas_.remove_cube_section(dob, section);
}

const utils::DisplayState& CanvasDisplayTarget::display_state() const { return canvas_.dpState(); }

void CanvasDisplayTarget::clear_all() { canvas_.clear_all(); }

QByteArray CanvasDisplayTarget::view_state() const {
    return widgets::view_state_to_json(canvas_.state());
}

void CanvasDisplayTarget::set_view_state(const QByteArray& state) {
    const widgets::ViewState values = widgets::view_state_from_json(state);
    // A stored view is restored whole or not at all: every part is checked before any
    // is applied, the aspect pair included.
    widgets::read_view_state(values);
    widgets::read_aspect(values);
    canvas_.set_state(values);
    canvas_.set_aspect(values);
}

void CanvasDisplayTarget::view_all() { canvas_.set_view_all(); }

QVariantMap CanvasDisplayTarget::viewer_settings() const {
    if (!canvas_.z_scale_chosen()) return {};
    return {{Z_SCALE, canvas_.z_scale()}};
}

void CanvasDisplayTarget::set_viewer_settings(const QVariantMap& settings) {
    if (!settings.contains(Z_SCALE)) return;
    bool is_number = false;
    const double factor = settings.value(Z_SCALE).toDouble(&is_number);
    if (!is_number) throw utils::ValueError("the saved vertical scale is not a number");
    canvas_.set_z_scale(factor);
}

}  // namespace korvex::app

#include "korvex/widgets/cube_viewer/canvas_widget.h"

#include <QColorDialog>
#include <QVBoxLayout>
#include <iostream>

#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/host/main_holder.h"
#include "korvex/host/panel_host.h"
#include "korvex/host/window_host.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/visual.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/aspect_ratio_dialog/aspect_ratio_dialog.h"
#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_export.h"
#include "korvex/widgets/cube_viewer/vertical_scale.h"
#include "korvex/widgets/cube_viewer/view_state_binding.h"

namespace korvex::widgets {

using config::_;
using utils::format;
using utils::logger;

namespace {

template <typename T>
T* require(T* link, const char* what) {
    if (!link) throw utils::AttributeError(what);
    return link;
}

host::WindowHost* main_of(host::HostedPanel* panel) {
    require(panel, "a cube viewer's canvas needs its panel as parent");
    host::PanelHost* host = require(panel->owner(), "the cube viewer panel has no owner");
    host::MainHolder* holder = require(host->owner(), "the cube viewer panel's owner has no owner");
    return require(holder->main(), "the owner of the cube viewer's host has no main window");
}

// A number as Python writes it in a tuple: 1.0, 2.5, 1e-07.
QString number_text(double value) {
    std::string text = fmt::format("{}", value);
    if (text.find_first_of(".eni") == std::string::npos) text += ".0";
    return QString::fromStdString(text);
}

}  // namespace

QString CanvasWidget::NAME() {
    static const QString name = _("cube viewer");
    return name;
}

QString CanvasWidget::HELP() {
    static const QString help = _(
        "<b>Interaction</b> <br>* LMB: orbits the view around its center point. <br>* RMB or "
        "scroll: "
        "change scale_factor (i.e. zoom level) <br>* SHIFT + LMB: translate the center point <br>* "
        "SHIFT + RMB: change FOV <br>");
    return help;
}

CanvasWidget::CanvasWidget(host::HostedPanel* parent, const QString& name)
    : QWidget(parent ? parent->widget() : nullptr), owner_(parent) {
    main_ = main_of(parent);
    treebase_ = require(main_->treebase(), "the main window has no data tree");
    database_ = main_->database();
    name_ = name;
    canvas_ = std::make_unique<Canvas>(*this);
    view_camera_ = std::make_unique<ViewCamera>(camera());
    QWidget* native = canvas_->create_native();
    // Moved in hidden, and left for the panel to show once its row is built: an OpenGL
    // widget that changes windows in sight is set up and drawn on the spot, one frame for
    // each of a project's viewers, most of them never in front.
    native->hide();
    native->setParent(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(native);
    toggle_pick_mode(false);
    connect(this, &CanvasWidget::sigPickedPoint, this, [](const QVector<double>& point) {
        utils::call_guarded("Picked point", [&] { print_coord(point); });
    });
    connect(canvas_.get(), &Canvas::sig_picked_sample, this, &CanvasWidget::sig_picked_sample);
}

CanvasWidget::~CanvasWidget() = default;

scene::ViewBox& CanvasWidget::view() const { return *canvas_->view(); }

scene::TurntableCamera& CanvasWidget::camera() const { return view().camera(); }

// ---- picking

void CanvasWidget::toggle_pick_mode(bool checked) {
    canvas_->set_pick_mode(checked);
    setCursor(checked ? Qt::ArrowCursor : Qt::OpenHandCursor);
}

void CanvasWidget::print_coord(const QVector<double>& point) {
    QStringList numbers;
    for (double value : point) numbers << number_text(value);
    const QString tuple =
        point.size() == 1 ? "(" + numbers.front() + ",)" : "(" + numbers.join(", ") + ")";
    logger().info(format("Mouse pressed at coordinate {}", tuple));
}

// ---- items and data objects

void CanvasWidget::add_item(const scene::Item& item) {
    // An item with nothing to draw (an empty list, an object that made no visuals yet) is
    // still registered, so that its removal finds it.
    for (const auto& visual : item.visuals()) view().add(*visual);
    canvas_->register_item(item);
}

void CanvasWidget::remove_item(const scene::Item& item) {
    for (const auto& visual : item.visuals()) visual->set_parent(nullptr);
    canvas_->unregister_item(item);
}

scene::Item CanvasWidget::item_for_viewer(const std::map<QString, scene::Item>& items,
                                          const QString& what) const {
    const auto found = items.find(name_);
    if (found == items.end()) {
        throw utils::LookupError(
            format("{} has nothing made for viewer {}", what, name_).toStdString());
    }
    return found->second;
}

void CanvasWidget::add_item_agent(host::DataObject& dob) {
    if (!dob.viewable_in_volume()) {
        logger().warning(format("{} cannot display {}", name_, dob.name()));
        return;
    }
    logger().info(format("{} is adding {}", name_, dob.name()));
    if (dob.visuals_in_volume.count(name_) == 0) dob.make_visuals_in_volume(name_);
    add_item(item_for_viewer(dob.visuals_in_volume, dob.name()));
    save_display_state(dob.name(), "object", "self", true);
}

void CanvasWidget::remove_item_agent(host::DataObject& dob) {
    const QString name = dob.name();
    if (!model_.object_shown(name)) return;
    logger().info(format("{} is removing {}", name_, name));
    try {
        remove_item(item_for_viewer(dob.visuals_in_volume, name));
    } catch (const utils::ValueError& e) {
        std::cout << "Ignore " << e.what() << std::endl;
    }
    save_display_state(name, "object", "self", false);
}

void CanvasWidget::add_item_prop(host::DataObject& dob, const QString& prop) {
    save_display_state(dob.name(), "properties", prop, true);
}

void CanvasWidget::remove_item_prop(host::DataObject& dob, const QString& prop) {
    save_display_state(dob.name(), "properties", prop, false);
}

void CanvasWidget::save_display_state(const QString& object, const QString& section,
                                      const QString& entry, bool value) {
    model_.record(object, section, entry, value);
}

void CanvasWidget::hide_all() { emit sig_hide_all(); }

void CanvasWidget::clear() {}

void CanvasWidget::clear_all() {
    clear();
    model_.clear();
}

// ---- sections

void CanvasWidget::add_cube_section(host::DataObject& dob, const QString& section_name) {
    const auto section_type = ViewerModel::section_type(section_name);
    if (!section_type) {
        logger().warning("It is arb-line section. Use image view.");
        return;
    }
    const QString type = *section_type;
    const auto images = dob.section_image3d.find(type);
    if (images == dob.section_image3d.end()) {
        throw utils::LookupError(format("{} has no {} sections", dob.name(), type).toStdString());
    }
    if (images->second.count(name_) == 0) dob.make_image_3d(type, name_);
    add_item(item_for_viewer(images->second, format("the {} section of {}", type, dob.name())));
    save_display_state(dob.name(), "sections", type, true);
}

void CanvasWidget::remove_cube_section(host::DataObject& dob, const QString& section_name) {
    const auto section_type = ViewerModel::section_type(section_name);
    if (!section_type || !model_.is_shown(dob.name(), "sections", *section_type)) return;
    const QString type = *section_type;
    const auto images = dob.section_image3d.find(type);
    if (images == dob.section_image3d.end()) {
        throw utils::LookupError(format("{} has no {} sections", dob.name(), type).toStdString());
    }
    remove_item(item_for_viewer(images->second, format("the {} section of {}", type, dob.name())));
    save_display_state(dob.name(), "sections", type, false);
}

// ---- camera

double CanvasWidget::azimuth() const { return camera().azimuth(); }
void CanvasWidget::set_azimuth(double degrees) { camera().set_azimuth(degrees); }
double CanvasWidget::elevation() const { return camera().elevation(); }
void CanvasWidget::set_elevation(double degrees) { camera().set_elevation(degrees); }
std::array<double, 3> CanvasWidget::center() const { return camera().center(); }
void CanvasWidget::set_center(const std::array<double, 3>& center) { camera().set_center(center); }
double CanvasWidget::fov() const { return camera().fov(); }
void CanvasWidget::set_fov(double degrees) { camera().set_fov(degrees); }
double CanvasWidget::scale_factor() const { return camera().scale_factor(); }
void CanvasWidget::set_scale_factor(double value) { camera().set_scale_factor(value); }
double CanvasWidget::distance() const { return scale_factor(); }
void CanvasWidget::set_distance(double value) { set_scale_factor(value); }

void CanvasWidget::set_view_top() { view_camera_->look_from_top(); }
void CanvasWidget::set_view_bot() { view_camera_->look_from_bottom(); }
void CanvasWidget::set_view_north() { view_camera_->look_from_north(); }
void CanvasWidget::set_view_south() { view_camera_->look_from_south(); }
void CanvasWidget::set_view_west() { view_camera_->look_from_west(); }
void CanvasWidget::set_view_east() { view_camera_->look_from_east(); }
void CanvasWidget::set_view_orthogonal() { view_camera_->orthogonal(); }
void CanvasWidget::set_view_perspective() { view_camera_->perspective(); }

void CanvasWidget::set_view_all() {
    // Whether anything was ever shown, not whether something is shown now.
    if (model_.empty()) {
        logger().warning("No item is displayed.");
        return;
    }
    view_camera_->fit_from_top();
}

void CanvasWidget::set_view_restrictive_on() {
    throw utils::NotImplementedError("restrictive view is not implemented");
}

void CanvasWidget::set_view_restrictive_off() {
    throw utils::NotImplementedError("restrictive view is not implemented");
}

// ---- vertical scale

double CanvasWidget::z_scale() const { return view().z_scale(); }

void CanvasWidget::set_z_scale(double factor) {
    const double before = z_scale();
    view().set_z_scale(factor);
    z_scale_chosen_ = true;
    auto centre = center();
    centre[2] *= factor / before;
    set_center(centre);
}

bool CanvasWidget::nothing_shown() const { return model_.nothing_shown(); }

void CanvasWidget::frame_new(const scene::Item& item, bool first) {
    if (!z_scale_chosen_) {
        if (const auto factor = fitting_z_scale(item, z_scale())) set_z_scale(*factor);
    }
    if (first) camera().set_range();
}

// ---- view state

ViewState CanvasWidget::state() const { return ViewStateBinding(view(), aspect_).state(); }

void CanvasWidget::set_state(const ViewState& state) {
    ViewStateBinding(view(), aspect_).apply(state);
}

// ---- aspect

void CanvasWidget::set_aspect() {
    auto* dialog = new AspectRatioDialog(this);
    dialog->load_state(state());
    dialog->show();
    connect(dialog, &AspectRatioDialog::sigApply, this,
            [this](const QString& method, double ratio) {
                utils::call_guarded("Aspect ratio", [&] { apply_aspect(method, ratio); });
            });
}

void CanvasWidget::set_aspect(const ViewState& state) { aspect_.apply(state); }

void CanvasWidget::apply_aspect(const QString& method, std::optional<double> ratio) {
    aspect_.apply(method, ratio);
}

// ---- background

scene::Color CanvasWidget::bgcolor() const { return view().bgcolor(); }

void CanvasWidget::set_bgcolor(const scene::Color& color) { view().set_bgcolor(color); }

void CanvasWidget::set_background_color() {
    const auto rgba = bgcolor().RGBA();
    const QColor chosen = QColorDialog::getColor(QColor(rgba[0], rgba[1], rgba[2], rgba[3]));
    // Qt answers a cancel with an invalid colour that reads as black: applying it would
    // lose the user's background for a click on Cancel.
    if (!chosen.isValid()) return;
    set_bgcolor(scene::Color::from_qcolor(chosen));
}

// ---- export

void CanvasWidget::export_canvas() {
    auto* dialog = new CanvasExportDialog(this);
    connect(dialog, &CanvasExportDialog::sig_start, this, [this](const QString& fn, bool copy) {
        utils::call_guarded("Export canvas", [&] { export_canvas_worker(fn, copy); });
    });
    dialog->show();
}

void CanvasWidget::export_canvas_worker(const QString& fn, bool copy2clipboard) {
    CanvasExport(*canvas_).save(fn, copy2clipboard);
}

}  // namespace korvex::widgets

#pragma once

#include <QString>
#include <QVector>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "korvex/scene/color.h"
#include "korvex/scene/item.h"
#include "korvex/utils/functions.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"
#include "korvex/widgets/cube_viewer/view_aspect.h"
#include "korvex/widgets/cube_viewer/view_camera.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "korvex/widgets/cube_viewer/viewer_model.h"

namespace korvex::host {
class DataObject;
class DataRegistry;
class HostedPanel;
class WindowHost;
class ProjectHandle;
}  // namespace korvex::host

namespace korvex::scene {
class TurntableCamera;
class ViewBox;
}  // namespace korvex::scene

namespace korvex::widgets {

class Canvas;

// The widget at the centre of the 3D viewer, the facade the host and the modules know:
// it owns the scene canvas and wires its parts to it, to the host and to the dialogs.
// The host shows and hides data objects through the agents; data objects keep one set
// of visuals per viewer name. What is shown is the viewer model's (ViewerModel), the
// named camera actions are ViewCamera's, the view state is read and written by
// ViewStateBinding, the aspect pair is ViewAspect's and pictures are CanvasExport's.
class KORVEX_CUBE_VIEWER_EXPORT CanvasWidget final : public QWidget {
    Q_OBJECT

    ViewerModel model_;
    ViewAspect aspect_;

public:
    static QString NAME();
    static QString HELP();

    // `parent` must reach the main window: parent->owner()->owner()->main(); a missing
    // link throws utils::AttributeError. A null `name` is the absent name.
    explicit CanvasWidget(host::HostedPanel* parent = nullptr, const QString& name = QString());
    ~CanvasWidget() override;

    host::HostedPanel* owner() const { return owner_; }
    host::WindowHost* main() const { return main_; }
    host::DataRegistry* treebase() const { return treebase_; }
    host::ProjectHandle* database() const { return database_; }

    QString name() const { return name_; }
    void set_name(const QString& name) { name_ = name; }

    Canvas& canvas() const { return *canvas_; }
    scene::ViewBox& view() const;
    scene::TurntableCamera& camera() const;

    // What is shown: object name -> "object" / "properties" / "sections" -> entry -> shown.
    // Written only through the agents and save_display_state.
    const utils::DisplayState& dpState() const { return model_.dpState(); }
    // The widget offers a view state for the host to save.
    bool hasState() const { return true; }
    // The aspect pair in force; apply_aspect and set_aspect change it.
    QString aspect_method() const { return aspect_.method(); }
    std::optional<double> aspect_ratio() const { return aspect_.ratio(); }

    // Picking
    void toggle_pick_mode(bool checked);
    static void print_coord(const QVector<double>& point);

    // Items and data objects
    void add_item(const scene::Item& item);
    void remove_item(const scene::Item& item);
    void add_item_agent(host::DataObject& dob);
    void remove_item_agent(host::DataObject& dob);
    void add_item_prop(host::DataObject& dob, const QString& prop);
    void remove_item_prop(host::DataObject& dob, const QString& prop);
    void save_display_state(const QString& object, const QString& section, const QString& entry,
                            bool value);
    void hide_all();
    void clear();
    void clear_all();

    // Sections of volumes: "iline...", "xline...", "depth..."
    void add_cube_section(host::DataObject& dob, const QString& section_name);
    void remove_cube_section(host::DataObject& dob, const QString& section_name);

    // Camera
    double azimuth() const;
    void set_azimuth(double degrees);
    double elevation() const;
    void set_elevation(double degrees);
    std::array<double, 3> center() const;
    void set_center(const std::array<double, 3>& center);
    double fov() const;
    void set_fov(double degrees);
    double scale_factor() const;
    void set_scale_factor(double value);
    // The zoom level again, under the name the view state uses.
    double distance() const;
    void set_distance(double value);

    void set_view_top();
    void set_view_bot();
    void set_view_north();
    void set_view_south();
    void set_view_west();
    void set_view_east();
    void set_view_orthogonal();
    void set_view_perspective();
    void set_view_all();
    // Not implemented: both throw utils::NotImplementedError.
    void set_view_restrictive_on();
    void set_view_restrictive_off();

    // Vertical exaggeration of the scene: z is drawn times this factor. Until the user or
    // a project sets it, frame_new gives the first item with a height a factor that makes
    // that height half its larger horizontal side.
    double z_scale() const;
    // Keeps the camera's centre on the same scene point. Throws utils::ValueError unless
    // positive and finite.
    void set_z_scale(double factor);
    bool z_scale_chosen() const { return z_scale_chosen_; }

    // Whether no entry of dpState is true.
    bool nothing_shown() const;
    // What the host does after showing an item: chooses the vertical scale for it unless
    // one is chosen, and fits the camera to it when it is the first thing shown (data far
    // from the origin would otherwise be out of sight until "View all").
    void frame_new(const scene::Item& item, bool first);

    // View state: camera, background and aspect, for the project file. Assigning checks
    // the whole map first (utils::ValueError naming the bad key, nothing changed), then
    // applies the camera and background keys it holds; the aspect pair goes through
    // set_aspect.
    ViewState state() const;
    void set_state(const ViewState& state);

    // Aspect: without a state, opens the aspect-ratio dialog; with one, applies its
    // "aspect_method" and "aspect_ratio" as read_aspect reads them (nothing changes when
    // it throws).
    void set_aspect();
    void set_aspect(const ViewState& state);
    void apply_aspect(const QString& method, std::optional<double> ratio = 1.0);

    // Background of the view
    scene::Color bgcolor() const;
    void set_bgcolor(const scene::Color& color);
    // Lets the user pick the colour; cancelling keeps the current one.
    void set_background_color();

    // Picture of the canvas: the dialog, and the export it starts. A picture that
    // cannot be written is logged, and the clipboard is then left alone.
    void export_canvas();
    void export_canvas_worker(const QString& fn, bool copy2clipboard);

signals:
    void sig_hide_all();
    void sigPickedPoint(const QVector<double>& point);
    // A volume's section answered a right-button pick in this viewer with this sample.
    void sig_picked_sample(const korvex::widgets::PickedSample& pick);

private:
    // The item stored under this viewer's name; utils::LookupError when there is none.
    scene::Item item_for_viewer(const std::map<QString, scene::Item>& items,
                                const QString& what) const;

    host::HostedPanel* owner_ = nullptr;
    host::WindowHost* main_ = nullptr;
    host::DataRegistry* treebase_ = nullptr;
    host::ProjectHandle* database_ = nullptr;
    QString name_;
    std::unique_ptr<Canvas> canvas_;
    std::unique_ptr<ViewCamera> view_camera_;
    bool z_scale_chosen_ = false;
};

}  // namespace korvex::widgets

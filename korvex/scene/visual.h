#pragma once

// Base of everything drawn in a scene: one VTK prop, attached to at most one view.
// Data objects own their visuals (through shared_ptr) and attach them with
// `view.add(visual)` / detach them with `set_parent(nullptr)`; a destroyed visual
// detaches itself, and a destroyed view detaches its visuals.
//
// Picking: a visual that wants mouse queries sets `queryable_in_3d` and `host_dob`
// and overrides `query_in_3d`, which a canvas calls for a right-button pick. The visual a view
// names its key target gets the canvas's key presses through `on_key_press`. Which visual is under
// a pixel, and where, each visual answers from its own geometry (`hit`), so a pick costs no
// drawing.

#include <QString>
#include <array>
#include <optional>

#include "korvex/scene/color.h"
#include "korvex/scene/pick_ray.h"
#include "korvex/scene/placement.h"
#include "korvex/scene/scene_export.h"

class vtkProp;

namespace korvex::host {
class DataObject;
}

namespace korvex::scene {

class SceneCanvas;
class ViewBox;
struct KeyEvent;
struct MouseEvent;

class KORVEX_SCENE_EXPORT Visual {
public:
    virtual ~Visual();
    Visual(const Visual&) = delete;
    Visual& operator=(const Visual&) = delete;

    // Attaches to `view` (leaving any previous one); nullptr detaches.
    void set_parent(ViewBox* view);
    ViewBox* parent() const { return parent_; }

    bool visible() const;
    void set_visible(bool visible);
    // An unpickable visual is looked through by visual_at and pick_point.
    void set_pickable(bool pickable);
    bool pickable() const;

    // Where `ray` meets what this visual draws at the ray's pixel, if it draws there; the
    // canvas asks only visible, pickable visuals. What is drawn on the screen rather than
    // in the scene (labels, a colour bar) is never picked: it answers nothing.
    virtual std::optional<RayHit> hit(const PickRay& /*ray*/) const { return std::nullopt; }
    // hit() for a ray in scene coordinates: asked in the visual's own coordinates, the
    // point answered in the scene's.
    std::optional<RayHit> hit_in_scene(const PickRay& ray) const;

    // Where the visual's own coordinates lie in the scene (identity until set).
    void set_placement(const Placement& placement);
    const Placement& placement() const { return placement_; }

    // World bounds (xmin, xmax, ymin, ymax, zmin, zmax), after the view's vertical scale;
    // min > max for a visual drawn on the screen rather than in the scene.
    std::array<double, 6> bounds() const;

    // Whether fitting the camera counts this visual. A visual that only marks the scene
    // (the XYZ axis at the origin) is fitted only when nothing else is shown, so that data
    // far from the origin fills the view.
    bool frames_view = true;

    // Draws z times `factor` (the view's vertical exaggeration); x and y are unchanged.
    virtual void apply_z_scale(double factor);

    // Annotation (outlines, labels, tick numbers) takes the colour that contrasts with
    // the view's background, and follows it when the background changes.
    bool contrasts_with_background = false;
    // The view's background as shown; visuals with a colour of their own override it.
    virtual void apply_background(const Color& /*shown*/) {}

    // Absent when the visual does not take part in 3D queries at all.
    std::optional<bool> queryable_in_3d;
    // The data object that made the visual; nullptr for the scene's own visuals.
    host::DataObject* host_dob = nullptr;
    // The visual's reaction to a right-button pick. Throws utils::NotImplementedError
    // unless overridden.
    virtual void query_in_3d(SceneCanvas& canvas, const MouseEvent& event);
    // A key pressed on the canvas while this visual is its view's key target; true when
    // the visual used it.
    virtual bool on_key_press(const KeyEvent& /*event*/) { return false; }

    // A name for logs, e.g. the section it draws.
    QString name;
    // Text form for logs: "ImageSection 'iline'", or the type alone without a name.
    QString text() const;

protected:
    // The visual keeps a reference to `prop` for its whole life.
    explicit Visual(vtkProp* prop);
    virtual const char* type_name() const = 0;
    // Asks the canvas showing this visual for a redraw.
    void update() const;

private:
    friend class ViewBox;
    friend struct VtkAccess;
    vtkProp* const prop_;
    ViewBox* parent_ = nullptr;
    Placement placement_;
};

}  // namespace korvex::scene

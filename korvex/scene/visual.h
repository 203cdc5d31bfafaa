#pragma once

// Base of everything drawn in a scene: one VTK prop, attached to at most one view.
// Data objects own their visuals (through shared_ptr) and attach them with
// `view.add(visual)` / detach them with `set_parent(nullptr)`; a destroyed visual
// detaches itself, and a destroyed view detaches its visuals.
//
// Picking: a visual that wants mouse queries sets `queryable_in_3d` and `host_dob`
// and overrides `query_in_3d`, which a canvas calls for a right-button pick.

#include <QString>
#include <array>
#include <optional>

#include <vtkSmartPointer.h>

class vtkProp;

namespace korvex::host {
class DataObject;
}

namespace korvex::scene {

class SceneCanvas;
class ViewBox;
struct MouseEvent;

class Visual {
public:
    virtual ~Visual();
    Visual(const Visual&) = delete;
    Visual& operator=(const Visual&) = delete;

    // Attaches to `view` (leaving any previous one); nullptr detaches.
    void set_parent(ViewBox* view);
    ViewBox* parent() const { return parent_; }

    bool visible() const;
    void set_visible(bool visible);

    // World bounds (xmin, xmax, ymin, ymax, zmin, zmax).
    std::array<double, 6> bounds() const;

    // Absent when the visual does not take part in 3D queries at all.
    std::optional<bool> queryable_in_3d;
    // The data object that made the visual; nullptr for the scene's own visuals.
    host::DataObject* host_dob = nullptr;
    // The visual's reaction to a right-button pick. Throws utils::NotImplementedError
    // unless overridden.
    virtual void query_in_3d(SceneCanvas& canvas, const MouseEvent& event);

    // A name for logs, e.g. the section it draws.
    QString name;
    // Text form for logs: "<ImageSection 'iline' at 0x...>".
    QString text() const;

    vtkProp* prop() const;

protected:
    explicit Visual(vtkSmartPointer<vtkProp> prop);
    virtual const char* type_name() const = 0;
    // Asks the canvas showing this visual for a redraw.
    void update() const;

private:
    friend class ViewBox;
    vtkSmartPointer<vtkProp> prop_;
    ViewBox* parent_ = nullptr;
};

}  // namespace korvex::scene

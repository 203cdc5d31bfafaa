#pragma once

// Tick marks and numbers along one edge of a box (a survey's outline) for each of its
// three directions, with a title for each. A frame seen from a new angle, or in a resized
// view, chooses the edges again from the camera (an unchanged one draws the labels as
// they are): for each direction, an edge on the box's outline as seen (so the numbers lie
// outside the box, never over what it holds), preferably below it for the horizontal
// directions and left of it for the vertical one (the colour bars take the right). Ticks
// and numbers are drawn over the scene. The step leaves room for a number between ticks,
// and a label is left out where it would touch another label or a colour bar, leave the
// view, or sit nearer another annotated edge than its own (an inline number by the time
// axis would read as a time).
//   BoxAxes axes({1000, 1200, 2000, 2250, -1200, 0}, {"Inline", "Crossline", "Time (ms)"},
//                {1.0, 1.0, -1.0});   // z is minus the time: the numbers show the time

#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "korvex/scene/color.h"
#include "korvex/scene/scene_export.h"
#include "korvex/scene/visual.h"

class vtkRenderer;
class vtkTextActor;

namespace korvex::scene {

class KORVEX_SCENE_EXPORT BoxAxes final : public Visual {
public:
    // A label drawn in the last frame, the screen rectangle it takes (display pixels,
    // origin bottom left) and the direction it annotates (0 x, 1 y, 2 z).
    struct Label {
        QString text;
        QRectF rect;
        int axis = 0;
    };

    // `bounds`: xmin, xmax, ymin, ymax, zmin, zmax in scene coordinates. `signs` turn a
    // coordinate into the number shown (-1 for z = -time).
    BoxAxes(const std::array<double, 6>& bounds, const std::array<QString, 3>& titles,
            const std::array<double, 3>& signs = {1.0, 1.0, 1.0},
            const Color& color = Color(0, 0, 0), int font_size = 12);
    ~BoxAxes() override;

    void set_color(const Color& color);
    // Another box (the survey's grid found larger): laid out again at the next frame.
    void set_bounds(const std::array<double, 6>& bounds);
    void apply_z_scale(double factor) override;
    void apply_background(const Color& shown) override;

    const std::vector<Label>& placed() const { return placed_; }
    // The edge each direction was annotated along in the last frame (display pixels);
    // absent for a direction seen end on.
    const std::array<std::optional<QLineF>, 3>& annotated_edges() const { return edges_; }

    // Lays the ticks and labels out for the renderer's current camera and size, unless
    // they are laid out for them already; called before each frame is drawn.
    void layout(vtkRenderer* renderer);

protected:
    const char* type_name() const override { return "BoxAxes"; }

private:
    class Assembly;
    struct Edge;
    using Point = std::array<double, 3>;

    // What a layout depends on besides the box: how the scene is projected into the view,
    // the view's rectangle, the font's size in pixels and the room the colour bars take.
    struct Sight {
        std::array<double, 16> projection{};
        QRectF view;
        double font_pixels = 12.0;
        std::vector<QRectF> occupied;
        bool operator==(const Sight& other) const;
    };
    static Sight sight_of(vtkRenderer* renderer, int font_size);

    Assembly* assembly() const;
    // Corners, edges and numbers are in the box's own coordinates (placement()).
    Point corner(int index) const;
    QPointF to_display(vtkRenderer* renderer, const Point& own) const;
    std::optional<Edge> outline_edge(vtkRenderer* renderer, int axis) const;
    QSizeF number_size(const Edge& edge) const;
    void lay_out_numbers(vtkRenderer* renderer, const Edge& edge, std::vector<QLineF>& ticks);
    bool place(const QString& text, int axis, const QPointF& anchor, const QPointF& outward,
               double extra_offset, bool upright);
    bool readable(const Label& label) const;
    vtkTextActor* label_actor(std::size_t index);

    std::array<double, 6> bounds_;
    std::array<QString, 3> titles_;
    std::array<double, 3> signs_;
    Color color_;
    int font_size_;
    double z_scale_ = 1.0;
    std::vector<Label> placed_;
    std::array<std::optional<QLineF>, 3> edges_;
    // What the labels are laid out for; absent until the first frame and after a change
    // of the box's scale.
    std::optional<Sight> sight_;
};

}  // namespace korvex::scene

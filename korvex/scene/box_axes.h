#pragma once

// Tick marks and numbers along three edges of a box (a survey's outline), with a title
// for each: x along the front top edge, y along the right top edge, z down the front
// left edge. The numbers are laid out again for every frame from where the edges fall
// on the screen: the step leaves room for a number between ticks, and a label that would
// touch one already placed (a title, a number of another edge) is left out, so none
// overprints at any size or angle.
//   BoxAxes axes({1000, 1200, 2000, 2250, -1200, 0}, {"Inline", "Crossline", "Time (ms)"},
//                {1.0, 1.0, -1.0});   // z is minus the time: the numbers show the time

#include <QRectF>
#include <QString>
#include <array>
#include <vector>

#include "korvex/scene/color.h"
#include "korvex/scene/visual.h"

class vtkBillboardTextActor3D;
class vtkRenderer;

namespace korvex::scene {

class BoxAxes final : public Visual {
public:
    // A label drawn in the last frame and the screen rectangle it takes (display pixels,
    // origin bottom left).
    struct Label {
        QString text;
        QRectF rect;
    };

    // `bounds`: xmin, xmax, ymin, ymax, zmin, zmax in scene coordinates. `signs` turn a
    // coordinate into the number shown (-1 for z = -time).
    BoxAxes(const std::array<double, 6>& bounds, const std::array<QString, 3>& titles,
            const std::array<double, 3>& signs = {1.0, 1.0, 1.0},
            const Color& color = Color(0, 0, 0), int font_size = 12);
    ~BoxAxes() override;

    void set_color(const Color& color);
    void apply_z_scale(double factor) override;
    void apply_background(const Color& shown) override;

    const std::vector<Label>& placed() const { return placed_; }

    // Lays the ticks and labels out for the renderer's current camera and size; called
    // before each frame is drawn.
    void layout(vtkRenderer* renderer);

protected:
    const char* type_name() const override { return "BoxAxes"; }

private:
    class Assembly;
    struct Edge;

    Assembly* assembly() const;
    Edge edge(int axis) const;
    void lay_out_edge(vtkRenderer* renderer, int axis, std::vector<std::array<double, 3>>& ticks);
    bool place(const QString& text, const std::array<double, 3>& world,
               const std::array<double, 2>& outward, double extra_offset, vtkRenderer* renderer);
    vtkBillboardTextActor3D* label_actor(std::size_t index);

    std::array<double, 6> bounds_;
    std::array<QString, 3> titles_;
    std::array<double, 3> signs_;
    Color color_;
    int font_size_;
    double font_pixels_ = 12.0;
    double z_scale_ = 1.0;
    std::vector<Label> placed_;
};

}  // namespace korvex::scene

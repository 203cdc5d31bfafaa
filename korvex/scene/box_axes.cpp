#include "korvex/scene/box_axes.h"

#include <algorithm>
#include <cmath>

#include <vtkActor.h>
#include <vtkBillboardTextActor3D.h>
#include <vtkCellArray.h>
#include <vtkObjectFactory.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkTextProperty.h>

namespace korvex::scene {

namespace {

// Room kept free around a label, in pixels.
constexpr double GAP = 6.0;
// A tick mark's length, as a share of the box's larger horizontal side.
constexpr double TICK_SHARE = 0.02;

using Point = std::array<double, 3>;
using Pixel = std::array<double, 2>;

Pixel project(vtkRenderer* renderer, const Point& world) {
    renderer->SetWorldPoint(world[0], world[1], world[2], 1.0);
    renderer->WorldToDisplay();
    const double* display = renderer->GetDisplayPoint();
    return {display[0], display[1]};
}

Pixel unit(const Pixel& v) {
    const double length = std::hypot(v[0], v[1]);
    return length > 1e-9 ? Pixel{v[0] / length, v[1] / length} : Pixel{0.0, 0.0};
}

// The smallest step of 1, 2 or 5 times a power of ten that is at least `raw`.
double nice_step(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw * (1.0 - 1e-9)) return factor * power;
    }
    return 10.0 * power;
}

QString number_text(double value, double step) {
    const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step))));
    return QString::number(value, 'f', decimals);
}

}  // namespace

// The ticks and labels as one prop. It draws its parts itself, as they are placed (an
// assembly would impose its own matrix on them), and lays them out before its first pass
// of every frame: the opaque pass comes first.
class BoxAxes::Assembly final : public vtkProp {
public:
    static Assembly* New();
    vtkTypeMacro(Assembly, vtkProp)

        BoxAxes* owner = nullptr;
    // Everything drawn, in drawing order: the ticks, then the labels.
    std::vector<vtkSmartPointer<vtkProp>> parts;
    vtkSmartPointer<vtkActor> ticks = vtkSmartPointer<vtkActor>::New();
    vtkSmartPointer<vtkPolyData> tick_lines = vtkSmartPointer<vtkPolyData>::New();
    std::vector<vtkSmartPointer<vtkBillboardTextActor3D>> labels;

    int RenderOpaqueGeometry(vtkViewport* viewport) override {
        if (auto* renderer = vtkRenderer::SafeDownCast(viewport); owner && renderer) {
            try {
                owner->layout(renderer);
            } catch (...) {
                // Inside VTK's render: the labels of the previous frame stay.
            }
        }
        return render_parts(viewport, &vtkProp::RenderOpaqueGeometry);
    }

    int RenderTranslucentPolygonalGeometry(vtkViewport* viewport) override {
        return render_parts(viewport, &vtkProp::RenderTranslucentPolygonalGeometry);
    }

    int RenderOverlay(vtkViewport* viewport) override {
        return render_parts(viewport, &vtkProp::RenderOverlay);
    }

    // One render pass over the visible parts; how many of them drew something.
    int render_parts(vtkViewport* viewport, int (vtkProp::*pass)(vtkViewport*)) {
        int drawn = 0;
        for (const auto& part : parts)
            if (part->GetVisibility()) {
                // The render passes mark what they draw through these keys.
                part->SetPropertyKeys(GetPropertyKeys());
                drawn += (part.Get()->*pass)(viewport);
            }
        return drawn;
    }

    vtkTypeBool HasTranslucentPolygonalGeometry() override {
        return std::any_of(parts.begin(), parts.end(), [](const auto& part) {
            return part->GetVisibility() && part->HasTranslucentPolygonalGeometry();
        });
    }

    void ReleaseGraphicsResources(vtkWindow* window) override {
        for (const auto& part : parts) part->ReleaseGraphicsResources(window);
    }

    // The box itself, known before the first frame: the renderer must not cull the
    // axes before they have been laid out once.
    double* GetBounds() override {
        if (!owner) return nullptr;
        std::copy(owner->bounds_.begin(), owner->bounds_.end(), bounds);
        bounds[4] *= owner->z_scale_;
        bounds[5] *= owner->z_scale_;
        return bounds;
    }

private:
    Assembly() = default;
    double bounds[6] = {};
};

vtkStandardNewMacro(BoxAxes::Assembly);

// One annotated edge: from `start` to `end` in scene coordinates, ticks pointing along
// `tick` (scene units), numbers for the coordinate `axis`.
struct BoxAxes::Edge {
    Point start;
    Point end;
    Point tick;
};

BoxAxes::BoxAxes(const std::array<double, 6>& bounds, const std::array<QString, 3>& titles,
                 const std::array<double, 3>& signs, const Color& color, int font_size)
    : Visual(vtkSmartPointer<Assembly>::New()),
      bounds_(bounds),
      titles_(titles),
      signs_(signs),
      color_(color),
      font_size_(font_size) {
    assembly()->owner = this;
    assembly()->PickableOff();
    // Its labels move with every frame; the box it annotates frames the view.
    frames_view = false;
    auto mapper = vtkSmartPointer<vtkPolyDataMapper>::New();
    vtkActor* ticks = assembly()->ticks;
    mapper->SetInputData(assembly()->tick_lines);
    ticks->SetMapper(mapper);
    ticks->GetProperty()->LightingOff();
    ticks->GetProperty()->SetLineWidth(1.5f);
    ticks->PickableOff();
    assembly()->parts.push_back(ticks);
    set_color(color);
}

BoxAxes::~BoxAxes() { assembly()->owner = nullptr; }

BoxAxes::Assembly* BoxAxes::assembly() const { return static_cast<Assembly*>(prop()); }

void BoxAxes::set_color(const Color& color) {
    color_ = color;
    const auto rgba = color.rgba();
    assembly()->ticks->GetProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    for (const auto& label : assembly()->labels)
        label->GetTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    update();
}

void BoxAxes::apply_z_scale(double factor) {
    z_scale_ = factor;
    update();
}

void BoxAxes::apply_background(const Color& shown) {
    if (contrasts_with_background) set_color(shown.contrasting());
}

BoxAxes::Edge BoxAxes::edge(int axis) const {
    const auto [x0, x1, y0, y1, z0, z1] = bounds_;
    const double tick = TICK_SHARE * std::max(x1 - x0, y1 - y0);
    switch (axis) {
        case 0:
            return {{x0, y0, z1}, {x1, y0, z1}, {0.0, -tick, 0.0}};
        case 1:
            return {{x1, y0, z1}, {x1, y1, z1}, {tick, 0.0, 0.0}};
        default:
            return {{x0, y0, z1}, {x0, y0, z0}, {-tick, 0.0, 0.0}};
    }
}

vtkBillboardTextActor3D* BoxAxes::label_actor(std::size_t index) {
    auto& labels = assembly()->labels;
    while (labels.size() <= index) {
        auto label = vtkSmartPointer<vtkBillboardTextActor3D>::New();
        vtkTextProperty* text = label->GetTextProperty();
        text->SetFontSize(font_size_);
        text->SetJustificationToCentered();
        text->SetVerticalJustificationToCentered();
        const auto rgba = color_.rgba();
        text->SetColor(rgba[0], rgba[1], rgba[2]);
        label->PickableOff();
        assembly()->parts.push_back(label);
        labels.push_back(label);
    }
    return labels[index];
}

void BoxAxes::layout(vtkRenderer* renderer) {
    // Font sizes are points; the window says how many pixels that makes.
    vtkRenderWindow* window = renderer->GetRenderWindow();
    font_pixels_ = font_size_ * (window ? window->GetDPI() : 72) / 72.0;
    placed_.clear();
    std::vector<Point> ticks;
    for (int axis = 0; axis < 3; ++axis) lay_out_edge(renderer, axis, ticks);
    const auto& labels = assembly()->labels;
    for (std::size_t i = placed_.size(); i < labels.size(); ++i) labels[i]->SetVisibility(false);

    auto points = vtkSmartPointer<vtkPoints>::New();
    auto lines = vtkSmartPointer<vtkCellArray>::New();
    for (const Point& point : ticks) {
        const vtkIdType id = points->InsertNextPoint(point[0], point[1], point[2] * z_scale_);
        if (id % 2 == 1) {
            const vtkIdType pair[2] = {id - 1, id};
            lines->InsertNextCell(2, pair);
        }
    }
    vtkPolyData* tick_lines = assembly()->tick_lines;
    tick_lines->SetPoints(points);
    tick_lines->SetLines(lines);
    tick_lines->Modified();
}

void BoxAxes::lay_out_edge(vtkRenderer* renderer, int axis, std::vector<Point>& ticks) {
    const Edge e = edge(axis);
    const auto scaled = [this](Point p) {
        p[2] *= z_scale_;
        return p;
    };
    const Pixel p0 = project(renderer, scaled(e.start));
    const Pixel p1 = project(renderer, scaled(e.end));
    const double length = std::hypot(p1[0] - p0[0], p1[1] - p0[1]);
    if (length < 1.0) return;  // seen end on
    const Pixel along = unit({p1[0] - p0[0], p1[1] - p0[1]});
    Point middle{};
    for (int i = 0; i < 3; ++i) middle[i] = 0.5 * (e.start[i] + e.end[i]);
    Point outside = middle;
    for (int i = 0; i < 3; ++i) outside[i] += e.tick[i];
    Pixel outward =
        unit({project(renderer, scaled(outside))[0] - project(renderer, scaled(middle))[0],
              project(renderer, scaled(outside))[1] - project(renderer, scaled(middle))[1]});
    if (outward == Pixel{0.0, 0.0}) outward = {-along[1], along[0]};

    const double first = signs_[axis] * e.start[axis];
    const double last = signs_[axis] * e.end[axis];
    const double span = std::abs(last - first);
    const int widest = std::max(number_text(first, 1.0).size(), number_text(last, 1.0).size()) + 1;
    const double width = 0.6 * font_pixels_ * widest + GAP;
    const double height = 1.3 * font_pixels_ + GAP;
    const double room = std::abs(along[0]) * width + std::abs(along[1]) * height;
    const int fits = static_cast<int>(length / room);

    // The title first, further out than the numbers: it names the edge.
    const double number_offset = std::abs(outward[0]) * width + std::abs(outward[1]) * height;
    place(titles_[axis], middle, outward, number_offset, renderer);
    if (fits < 1 || span <= 0.0) return;

    const double step = nice_step(span / fits);
    const double low = std::min(first, last);
    for (double value = std::ceil(low / step - 1e-9) * step; value <= low + span * (1.0 + 1e-9);
         value += step) {
        const double t = (value - first) / (last - first);
        Point at{};
        for (int i = 0; i < 3; ++i) at[i] = e.start[i] + t * (e.end[i] - e.start[i]);
        Point tip = at;
        for (int i = 0; i < 3; ++i) tip[i] += e.tick[i];
        ticks.push_back(at);
        ticks.push_back(tip);
        place(number_text(value, step), tip, outward, 0.0, renderer);
    }
}

bool BoxAxes::place(const QString& text, const Point& world, const Pixel& outward,
                    double extra_offset, vtkRenderer* renderer) {
    Point scaled = world;
    scaled[2] *= z_scale_;
    const Pixel anchor = project(renderer, scaled);
    const double width = 0.6 * font_pixels_ * text.size() + GAP;
    const double height = 1.3 * font_pixels_ + GAP;
    const double offset =
        0.5 * (std::abs(outward[0]) * width + std::abs(outward[1]) * height) + extra_offset;
    const QPointF centre(anchor[0] + outward[0] * offset, anchor[1] + outward[1] * offset);
    const QRectF rect(centre.x() - width / 2, centre.y() - height / 2, width, height);
    const bool clash = std::any_of(placed_.begin(), placed_.end(),
                                   [&](const Label& label) { return label.rect.intersects(rect); });
    if (clash) return false;
    vtkBillboardTextActor3D* actor = label_actor(placed_.size());
    actor->SetInput(text.toUtf8().constData());
    actor->SetPosition(scaled.data());
    actor->SetDisplayOffset(static_cast<int>(std::lround(centre.x() - anchor[0])),
                            static_cast<int>(std::lround(centre.y() - anchor[1])));
    actor->SetVisibility(true);
    placed_.push_back({text, rect});
    return true;
}

}  // namespace korvex::scene

#include "korvex/scene/box_axes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <vtkActor2D.h>
#include <vtkCamera.h>
#include <vtkCellArray.h>
#include <vtkCoordinate.h>
#include <vtkInformation.h>
#include <vtkMatrix4x4.h>
#include <vtkObjectFactory.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper2D.h>
#include <vtkProperty2D.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#include <vtkTextActor.h>
#include <vtkTextProperty.h>

#include "korvex/scene/private/color_bar_areas.h"
#include "korvex/scene/private/tick_steps.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/utils/nice_step.h"

namespace korvex::scene {

namespace {

// Room kept free around a label, in pixels.
constexpr double GAP = 6.0;
// A tick mark's length, in pixels.
constexpr double TICK = 6.0;
// How far inside the outline a corner may project and still leave an edge on it, pixels.
constexpr double OUTLINE_TOLERANCE = 0.5;
// Which way each direction's numbers should face on the screen: below the box for x and
// y, left of it for z; a little to the left throughout, away from the colour bars.
const std::array<QPointF, 3> FACING{QPointF(-0.3, -1.0), QPointF(-0.3, -1.0), QPointF(-1.0, -0.3)};

double dot(const QPointF& a, const QPointF& b) { return a.x() * b.x() + a.y() * b.y(); }

QPointF unit(const QPointF& v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 1e-9 ? v / length : QPointF();
}

double distance_to(const QLineF& segment, const QPointF& point) {
    const QPointF along = segment.p2() - segment.p1();
    const double squared = dot(along, along);
    const double t =
        squared > 0.0 ? std::clamp(dot(point - segment.p1(), along) / squared, 0.0, 1.0) : 0.0;
    const QPointF nearest = segment.p1() + t * along;
    return std::hypot(point.x() - nearest.x(), point.y() - nearest.y());
}

}  // namespace

// The ticks and labels as one prop. It draws its parts itself, as they are placed (an
// assembly would impose its own matrix on them), and lays them out before its first pass
// of every frame: the opaque pass comes first. Like an assembly, it is modified when a part
// is.
class BoxAxes::Assembly final : public vtkProp {
public:
    static Assembly* New();
    vtkTypeMacro(Assembly, vtkProp)

        BoxAxes* owner = nullptr;
    // Everything drawn, in drawing order: the ticks, then the labels.
    std::vector<vtkSmartPointer<vtkProp>> parts;
    vtkSmartPointer<vtkActor2D> ticks = vtkSmartPointer<vtkActor2D>::New();
    vtkSmartPointer<vtkPolyData> tick_lines = vtkSmartPointer<vtkPolyData>::New();
    std::vector<vtkSmartPointer<vtkTextActor>> labels;

    int RenderOpaqueGeometry(vtkViewport* viewport) override {
        if (auto* renderer = vtkRenderer::SafeDownCast(viewport); owner && renderer) {
            try {
                owner->layout(renderer);
            } catch (...) {
                // Inside VTK's render: the labels of the previous frame stay, and the next
                // frame lays them out again.
                owner->sight_.reset();
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
                pass_keys_on(*part);
                drawn += (part.Get()->*pass)(viewport);
            }
        return drawn;
    }

    // The render passes mark what they draw through these keys. Each part keeps one set,
    // refilled for every pass: a set of its own for each pass would modify the part, and
    // a modified text is rendered again into a new texture, frame after frame.
    void pass_keys_on(vtkProp& part) {
        vtkInformation* keys = part.GetPropertyKeys();
        if (!keys) {
            part.SetPropertyKeys(vtkSmartPointer<vtkInformation>::New());
            keys = part.GetPropertyKeys();
        }
        keys->Clear();
        if (GetPropertyKeys()) keys->Copy(GetPropertyKeys());
    }

    vtkTypeBool HasTranslucentPolygonalGeometry() override {
        return std::any_of(parts.begin(), parts.end(), [](const auto& part) {
            return part->GetVisibility() && part->HasTranslucentPolygonalGeometry();
        });
    }

    vtkMTimeType GetMTime() override {
        vtkMTimeType latest = std::max(vtkProp::GetMTime(), tick_lines->GetMTime());
        for (const auto& part : parts) latest = std::max(latest, part->GetMTime());
        return latest;
    }

    void ReleaseGraphicsResources(vtkWindow* window) override {
        for (const auto& part : parts) part->ReleaseGraphicsResources(window);
    }

    // The box itself, known before the first frame: the renderer must not cull the
    // axes before they have been laid out once.
    double* GetBounds() override {
        if (!owner) return nullptr;
        for (int axis = 0; axis < 3; ++axis) {
            bounds[2 * axis] = std::numeric_limits<double>::infinity();
            bounds[2 * axis + 1] = -std::numeric_limits<double>::infinity();
        }
        for (int i = 0; i < 8; ++i) {
            Point at = owner->placement().to_scene(owner->corner(i));
            at[2] *= owner->z_scale_;
            for (int axis = 0; axis < 3; ++axis) {
                bounds[2 * axis] = std::min(bounds[2 * axis], at[axis]);
                bounds[2 * axis + 1] = std::max(bounds[2 * axis + 1], at[axis]);
            }
        }
        return bounds;
    }

private:
    Assembly() = default;
    double bounds[6] = {};
};

vtkStandardNewMacro(BoxAxes::Assembly);

// One annotated edge: from `start` to `end` in scene coordinates (a change of `axis`
// alone), where it falls on the screen, and the screen direction away from the box.
struct BoxAxes::Edge {
    int axis;
    Point start;
    Point end;
    QLineF screen;
    QPointF outward;
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
    auto mapper = vtkSmartPointer<vtkPolyDataMapper2D>::New();
    auto display = vtkSmartPointer<vtkCoordinate>::New();
    display->SetCoordinateSystemToDisplay();
    mapper->SetTransformCoordinate(display);
    mapper->SetInputData(assembly()->tick_lines);
    vtkActor2D* ticks = assembly()->ticks;
    ticks->SetMapper(mapper);
    ticks->GetProperty()->SetLineWidth(1.5f);
    ticks->PickableOff();
    assembly()->parts.push_back(ticks);
    set_color(color);
}

BoxAxes::~BoxAxes() { assembly()->owner = nullptr; }

BoxAxes::Assembly* BoxAxes::assembly() const { return VtkAccess::prop_as<Assembly>(*this); }

void BoxAxes::set_color(const Color& color) {
    color_ = color;
    const auto rgba = color.rgba();
    assembly()->ticks->GetProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    for (const auto& label : assembly()->labels)
        label->GetTextProperty()->SetColor(rgba[0], rgba[1], rgba[2]);
    update();
}

void BoxAxes::set_bounds(const std::array<double, 6>& bounds) {
    bounds_ = bounds;
    sight_.reset();
    update();
}

void BoxAxes::apply_z_scale(double factor) {
    z_scale_ = factor;
    sight_.reset();
    update();
}

void BoxAxes::apply_background(const Color& shown) {
    if (contrasts_with_background) set_color(shown.contrasting());
}

// Corner `index` of the box: bit 0 picks the far x, bit 1 the far y, bit 2 the far z.
BoxAxes::Point BoxAxes::corner(int index) const {
    return {bounds_[(index & 1) ? 1 : 0], bounds_[(index & 2) ? 3 : 2],
            bounds_[(index & 4) ? 5 : 4]};
}

QPointF BoxAxes::to_display(vtkRenderer* renderer, const Point& own) const {
    Point world = placement().to_scene(own);
    world[2] *= z_scale_;
    renderer->SetWorldPoint(world[0], world[1], world[2], 1.0);
    renderer->WorldToDisplay();
    const double* display = renderer->GetDisplayPoint();
    return {display[0], display[1]};
}

std::optional<BoxAxes::Edge> BoxAxes::outline_edge(vtkRenderer* renderer, int axis) const {
    std::array<QPointF, 8> pixels;
    for (int i = 0; i < 8; ++i) pixels[i] = to_display(renderer, corner(i));

    std::optional<Edge> best;
    double best_score = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < 8; ++i) {
        if (i & (1 << axis)) continue;
        const int j = i | (1 << axis);
        const QLineF screen(pixels[i], pixels[j]);
        if (screen.length() < 1.0) continue;  // seen end on
        const QPointF normal = unit({-screen.dy(), screen.dx()});
        double low = 0.0;
        double high = 0.0;
        for (const QPointF& pixel : pixels) {
            const double side = dot(pixel - pixels[i], normal);
            low = std::min(low, side);
            high = std::max(high, side);
        }
        // On the outline, every corner lies on one side of the edge; the numbers go on
        // the other.
        for (const QPointF& outward : {normal, -normal}) {
            const bool clear =
                outward == normal ? high <= OUTLINE_TOLERANCE : low >= -OUTLINE_TOLERANCE;
            const double score = dot(outward, unit(FACING[axis]));
            if (clear && score > best_score + 1e-6) {
                best_score = score;
                best = Edge{axis, corner(i), corner(j), screen, outward};
            }
        }
    }
    return best;
}

vtkTextActor* BoxAxes::label_actor(std::size_t index) {
    auto& labels = assembly()->labels;
    while (labels.size() <= index) {
        auto label = vtkSmartPointer<vtkTextActor>::New();
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

bool BoxAxes::Sight::operator==(const Sight& other) const {
    return projection == other.projection && view == other.view &&
           font_pixels == other.font_pixels && occupied == other.occupied;
}

BoxAxes::Sight BoxAxes::sight_of(vtkRenderer* renderer, int font_size) {
    Sight sight;
    vtkMatrix4x4* projection = renderer->GetActiveCamera()->GetCompositeProjectionTransformMatrix(
        renderer->GetTiledAspectRatio(), 0.0, 1.0);
    std::copy_n(&projection->Element[0][0], 16, sight.projection.begin());
    const int* origin = renderer->GetOrigin();
    const int* size = renderer->GetSize();
    sight.view = QRectF(origin[0], origin[1], size[0], size[1]);
    // Font sizes are points; the window says how many pixels that makes.
    vtkRenderWindow* window = renderer->GetRenderWindow();
    sight.font_pixels = font_size * (window ? window->GetDPI() : 72) / 72.0;
    sight.occupied = color_bar_areas(renderer);
    return sight;
}

void BoxAxes::layout(vtkRenderer* renderer) {
    Sight now = sight_of(renderer, font_size_);
    // Laying the labels out again would draw their text again, though nothing moved.
    if (sight_ && *sight_ == now) return;
    sight_ = std::move(now);
    placed_.clear();

    std::vector<Edge> edges;
    for (int axis = 0; axis < 3; ++axis) {
        const auto edge = outline_edge(renderer, axis);
        edges_[axis] = edge ? std::optional<QLineF>(edge->screen) : std::nullopt;
        if (edge) edges.push_back(*edge);
    }
    // Titles first, further out than the numbers: they name the edges.
    for (const Edge& edge : edges) {
        const QSizeF number = number_size(edge);
        const double band = std::abs(edge.outward.x()) * number.width() +
                            std::abs(edge.outward.y()) * number.height();
        // Along a steep edge the title runs up it, taking little room across.
        const bool steep = std::abs(edge.screen.dy()) > std::abs(edge.screen.dx());
        place(titles_[edge.axis], edge.axis, edge.screen.center(), edge.outward, TICK + band,
              steep);
    }
    std::vector<QLineF> ticks;
    for (const Edge& edge : edges) lay_out_numbers(renderer, edge, ticks);
    const auto& labels = assembly()->labels;
    for (std::size_t i = placed_.size(); i < labels.size(); ++i) labels[i]->SetVisibility(false);

    auto points = vtkSmartPointer<vtkPoints>::New();
    auto lines = vtkSmartPointer<vtkCellArray>::New();
    for (const QLineF& tick : ticks) {
        const vtkIdType pair[2] = {points->InsertNextPoint(tick.x1(), tick.y1(), 0.0),
                                   points->InsertNextPoint(tick.x2(), tick.y2(), 0.0)};
        lines->InsertNextCell(2, pair);
    }
    vtkPolyData* tick_lines = assembly()->tick_lines;
    tick_lines->SetPoints(points);
    tick_lines->SetLines(lines);
    tick_lines->Modified();
}

// The room the widest number of an edge takes, gap included.
QSizeF BoxAxes::number_size(const Edge& edge) const {
    const double first = signs_[edge.axis] * edge.start[edge.axis];
    const double last = signs_[edge.axis] * edge.end[edge.axis];
    const int widest = std::max(number_text(first, 1.0).size(), number_text(last, 1.0).size()) + 1;
    return {0.6 * sight_->font_pixels * widest + GAP, 1.3 * sight_->font_pixels + GAP};
}

void BoxAxes::lay_out_numbers(vtkRenderer* renderer, const Edge& edge, std::vector<QLineF>& ticks) {
    const int axis = edge.axis;
    const double first = signs_[axis] * edge.start[axis];
    const double last = signs_[axis] * edge.end[axis];
    const double span = std::abs(last - first);
    const QPointF along = unit(edge.screen.p2() - edge.screen.p1());
    const QSizeF number = number_size(edge);
    const double room =
        std::abs(along.x()) * number.width() + std::abs(along.y()) * number.height();
    const int fits = static_cast<int>(edge.screen.length() / room);
    if (fits < 1 || span <= 0.0) return;

    const double step = utils::nice_step(span / fits);
    const double low = std::min(first, last);
    for (double value = std::ceil(low / step - 1e-9) * step; value <= low + span * (1.0 + 1e-9);
         value += step) {
        const double t = (value - first) / (last - first);
        Point at{};
        for (int i = 0; i < 3; ++i) at[i] = edge.start[i] + t * (edge.end[i] - edge.start[i]);
        const QPointF anchor = to_display(renderer, at);
        const QPointF tip = anchor + TICK * edge.outward;
        ticks.emplace_back(anchor, tip);
        place(number_text(value, step), axis, tip, edge.outward, 0.0, false);
    }
}

bool BoxAxes::place(const QString& text, int axis, const QPointF& anchor, const QPointF& outward,
                    double extra_offset, bool upright) {
    QSizeF size(0.6 * sight_->font_pixels * text.size() + GAP, 1.3 * sight_->font_pixels + GAP);
    if (upright) size.transpose();
    const double offset =
        0.5 * (std::abs(outward.x()) * size.width() + std::abs(outward.y()) * size.height()) +
        extra_offset;
    const QPointF centre = anchor + offset * outward;
    const Label label{text, QRectF(centre - QPointF(size.width(), size.height()) / 2, size), axis};
    if (!readable(label)) return false;
    vtkTextActor* actor = label_actor(placed_.size());
    actor->SetInput(text.toUtf8().constData());
    actor->GetTextProperty()->SetOrientation(upright ? 90.0 : 0.0);
    actor->SetDisplayPosition(static_cast<int>(std::lround(centre.x())),
                              static_cast<int>(std::lround(centre.y())));
    actor->SetVisibility(true);
    placed_.push_back(label);
    return true;
}

bool BoxAxes::readable(const Label& label) const {
    if (label.text.isEmpty() || !sight_->view.contains(label.rect)) return false;
    const auto touches = [&label](const QRectF& rect) { return rect.intersects(label.rect); };
    if (std::any_of(sight_->occupied.begin(), sight_->occupied.end(), touches)) return false;
    // Labels of different directions keep further apart, so that each reads with its own.
    const double clearance = sight_->font_pixels;
    const QRectF wide = label.rect.adjusted(-clearance, -clearance, clearance, clearance);
    for (const Label& other : placed_)
        if (other.rect.intersects(other.axis == label.axis ? label.rect : wide)) return false;
    // A title says what it names; a bare number must say it by where it stands.
    if (label.text.front().isLetter()) return true;
    const QPointF centre = label.rect.center();
    const double own = distance_to(*edges_[label.axis], centre);
    for (int axis = 0; axis < 3; ++axis)
        if (axis != label.axis && edges_[axis] &&
            distance_to(*edges_[axis], centre) < own + clearance)
            return false;
    return true;
}

}  // namespace korvex::scene

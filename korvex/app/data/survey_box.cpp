#include "korvex/app/data/survey_box.h"

#include <memory>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/scene/box_axes.h"
#include "korvex/scene/color_bar.h"
#include "korvex/scene/line_visual.h"
#include "korvex/utils/appconsts/appconsts.h"

namespace korvex::app::data {

using config::_;
using scene::Point3;

namespace {

const scene::Color OUTLINE_COLOR(0.15, 0.15, 0.15);
constexpr double OUTLINE_WIDTH = 1.5;
constexpr int LABEL_SIZE = 12;

// The twelve edges, two points each.
std::vector<Point3> edges_of(const std::array<double, 6>& bounds) {
    const auto [x0, x1, y0, y1, z0, z1] = bounds;
    const std::array<Point3, 4> top{{{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}};
    std::vector<Point3> edges;
    for (int i = 0; i < 4; ++i) {
        const Point3& a = top[i];
        const Point3& b = top[(i + 1) % 4];
        edges.insert(edges.end(), {a, b, {a[0], a[1], z0}, {b[0], b[1], z0}, a, {a[0], a[1], z0}});
    }
    return edges;
}

}  // namespace

scene::Item SurveyBox::make(host::DataObject& owner, const std::array<double, 6>& bounds,
                            const scene::Placement& placement, const QString& colormap,
                            double clip) {
    auto outline = std::make_shared<scene::LineVisual>(
        edges_of(bounds), scene::LineVisual::Connect::Segments, OUTLINE_COLOR, OUTLINE_WIDTH);
    outline->name = utils::appconsts::SURVEY_BOX_LINE;
    outline->host_dob = &owner;
    outline->contrasts_with_background = true;
    outline->set_placement(placement);

    // z is minus the time: the numbers show the time.
    auto axes = std::make_shared<scene::BoxAxes>(
        bounds, std::array<QString, 3>{_("Inline"), _("Crossline"), _("Time (ms)")},
        std::array<double, 3>{1.0, 1.0, -1.0}, OUTLINE_COLOR, LABEL_SIZE);
    axes->name = utils::appconsts::SURVEY_BOX_LABEL;
    axes->host_dob = &owner;
    axes->contrasts_with_background = true;
    axes->set_placement(placement);

    auto bar = std::make_shared<scene::ColorBar>(colormap, std::array<double, 2>{-clip, clip},
                                                 _("Amplitude"));
    bar->host_dob = &owner;
    return scene::Item(
        std::vector<scene::Item>{scene::Item(outline), scene::Item(axes), scene::Item(bar)});
}

void SurveyBox::reshape(const scene::Item& item, const std::array<double, 6>& bounds) {
    for (const auto& visual : item.visuals()) {
        if (auto outline = std::dynamic_pointer_cast<scene::LineVisual>(visual))
            outline->set_data(edges_of(bounds));
        else if (auto axes = std::dynamic_pointer_cast<scene::BoxAxes>(visual))
            axes->set_bounds(bounds);
    }
}

}  // namespace korvex::app::data

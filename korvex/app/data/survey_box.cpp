#include "korvex/app/data/survey_box.h"

#include <memory>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/text_visual.h"
#include "korvex/utils/appconsts/appconsts.h"

namespace korvex::app::data {

using config::_;
using scene::Point3;

namespace {

const scene::Color OUTLINE_COLOR(0.15, 0.15, 0.15);
constexpr double OUTLINE_WIDTH = 1.5;
constexpr int LABEL_SIZE = 12;

}  // namespace

scene::Item SurveyBox::make(host::DataObject& owner, const std::array<double, 6>& bounds) {
    const auto [x0, x1, y0, y1, z0, z1] = bounds;
    const std::array<Point3, 4> top{{{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}};
    std::vector<Point3> edges;
    for (int i = 0; i < 4; ++i) {
        const Point3& a = top[i];
        const Point3& b = top[(i + 1) % 4];
        edges.insert(edges.end(), {a, b, {a[0], a[1], z0}, {b[0], b[1], z0}, a, {a[0], a[1], z0}});
    }
    auto outline = std::make_shared<scene::LineVisual>(edges, scene::LineVisual::Connect::Segments,
                                                       OUTLINE_COLOR, OUTLINE_WIDTH);
    outline->name = utils::appconsts::SURVEY_BOX_LINE;
    outline->host_dob = &owner;

    std::vector<scene::Item> labels;
    const auto add_label = [&](const QString& text, const Point3& at) {
        auto label = std::make_shared<scene::TextVisual>(text, at, OUTLINE_COLOR, LABEL_SIZE);
        label->name = utils::appconsts::SURVEY_BOX_LABEL;
        label->host_dob = &owner;
        labels.emplace_back(label);
    };
    for (const Point3& corner : top)
        add_label(_("IL %1 XL %2").arg(corner[0]).arg(corner[1]), corner);
    add_label(_("%1 ms").arg(-z0), {x0, y0, z0});
    return scene::Item(std::vector<scene::Item>{scene::Item(outline), scene::Item(labels)});
}

}  // namespace korvex::app::data

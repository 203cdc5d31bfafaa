#include "korvex/scene/map_grid.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

#include "korvex/scene/line_visual.h"
#include "korvex/scene/private/tick_steps.h"
#include "korvex/scene/text_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/nice_step.h"

namespace korvex::scene {

namespace {

// About this many lines across the larger side of what is shown.
constexpr double LINES = 8.0;
// The frame's room around the data, as a share of its larger side.
constexpr double PAD = 0.02;
// How far outside the grid its numbers stand, as a share of its larger side: northings
// are wider than high.
constexpr double EASTING_GAP = 0.04;
constexpr double NORTHING_GAP = 0.1;
// Above the data's top by this share of the larger side (before the vertical scale), so
// that a slice at the top does not hide it.
constexpr double LIFT = 1e-3;
constexpr int FONT_SIZE = 11;

// x min, x max, y min, y max, z top of the visuals that frame the view, before its
// vertical scale; empty when none does.
std::optional<std::array<double, 5>> shown_extent(const ViewBox& view) {
    std::optional<std::array<double, 5>> extent;
    for (const Visual* visual : view.children()) {
        if (!visual->frames_view || !visual->visible()) continue;
        const auto b = visual->bounds();
        if (!(b[0] <= b[1] && b[2] <= b[3] && b[4] <= b[5])) continue;
        const double top = b[5] / view.z_scale();
        if (!extent) {
            extent = std::array<double, 5>{b[0], b[1], b[2], b[3], top};
            continue;
        }
        auto& e = *extent;
        e = {std::min(e[0], b[0]), std::max(e[1], b[1]), std::min(e[2], b[2]), std::max(e[3], b[3]),
             std::max(e[4], top)};
    }
    return extent;
}

}  // namespace

MapGrid::MapGrid(ViewBox& view, Origin origin)
    : view_(view),
      origin_(std::move(origin)),
      lines_(std::make_shared<LineVisual>(std::vector<Point3>{}, LineVisual::Connect::Segments,
                                          Color(0.55, 0.55, 0.55), 1.0)) {
    lines_->frames_view = false;
    lines_->set_pickable(false);
    lines_->name = QStringLiteral("map grid");
    view_.add(*lines_);
}

MapGrid::~MapGrid() {
    lines_->set_parent(nullptr);
    for (const auto& label : labels_) label->set_parent(nullptr);
}

void MapGrid::fit() {
    for (const auto& label : labels_) label->set_parent(nullptr);
    labels_.clear();
    const auto extent = shown_extent(view_);
    const double side =
        extent ? std::max((*extent)[1] - (*extent)[0], (*extent)[3] - (*extent)[2]) : 0.0;
    if (!extent || !(side > 0.0)) {
        step_ = 0.0;
        lines_->set_data({});
        return;
    }
    const auto origin = origin_();
    step_ = utils::nice_step(side / LINES);
    // A frame just around the data, lines at the round map numbers within it: the scene
    // holds them about its origin. A line a rounding error outside the frame counts.
    const double pad = PAD * side;
    const double west = (*extent)[0] - pad, east = (*extent)[1] + pad;
    const double south = (*extent)[2] - pad, north = (*extent)[3] + pad;
    const auto round_lines = [this](double low, double high, double offset) {
        constexpr double SLACK = 1e-6;
        std::vector<double> at;
        const long first = std::lround(std::ceil((low + offset) / step_ - SLACK));
        const long last = std::lround(std::floor((high + offset) / step_ + SLACK));
        for (long i = first; i <= last; ++i) at.push_back(double(i) * step_);
        return at;
    };
    const double z = (*extent)[4] + LIFT * side;

    std::vector<Point3> segments{{west, south, z}, {east, south, z}, {east, south, z},
                                 {east, north, z}, {east, north, z}, {west, north, z},
                                 {west, north, z}, {west, south, z}};
    const auto label = [this](const QString& text, const Point3& at) {
        auto number = std::make_shared<TextVisual>(text, at, Color(0, 0, 0), FONT_SIZE);
        number->frames_view = false;
        number->set_pickable(false);
        number->contrasts_with_background = true;
        view_.add(*number);
        labels_.push_back(std::move(number));
    };
    for (const double easting : round_lines(west, east, origin[0])) {
        const double x = easting - origin[0];
        segments.push_back({x, south, z});
        segments.push_back({x, north, z});
        label(number_text(easting, step_), {x, south - EASTING_GAP * side, z});
    }
    for (const double northing : round_lines(south, north, origin[1])) {
        const double y = northing - origin[1];
        segments.push_back({west, y, z});
        segments.push_back({east, y, z});
        label(number_text(northing, step_), {west - NORTHING_GAP * side, y, z});
    }
    lines_->set_data(std::move(segments));
}

QStringList MapGrid::numbers() const {
    QStringList texts;
    for (const auto& label : labels_) texts << label->label();
    return texts;
}

}  // namespace korvex::scene

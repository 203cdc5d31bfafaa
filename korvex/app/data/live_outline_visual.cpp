#include "korvex/app/data/live_outline_visual.h"

#include <algorithm>

namespace korvex::app::data {

namespace {

constexpr double WIDTH = 2.0;

// A line number at a fractional index of the grid, the index kept on the outermost lines.
double line_at(const std::vector<int>& lines, double index) {
    const double last = double(lines.size() - 1);
    const double step = lines.size() > 1 ? double(lines[1] - lines[0]) : 0.0;
    return lines.front() + std::clamp(index, 0.0, last) * step;
}

std::vector<std::array<double, 2>> ends_of(const seismic::SegyGeometry& g,
                                           const std::vector<seismic::OutlineSegment>& area) {
    std::vector<std::array<double, 2>> ends;
    for (const auto& s : area) {
        ends.push_back({line_at(g.ilines, s.iline0), line_at(g.xlines, s.xline0)});
        ends.push_back({line_at(g.ilines, s.iline1), line_at(g.xlines, s.xline1)});
    }
    return ends;
}

}  // namespace

LiveOutlineVisual::LiveOutlineVisual(const seismic::SegyGeometry& geometry,
                                     const std::vector<seismic::OutlineSegment>& live_area,
                                     double z)
    : scene::LineVisual({}, Connect::Segments, scene::Color("black"), WIDTH),
      ends_(ends_of(geometry, live_area)) {
    contrasts_with_background = true;
    set_pickable(false);
    set_z(z);
}

void LiveOutlineVisual::set_z(double z) {
    z_ = z;
    set_data(at(z));
}

void LiveOutlineVisual::set_area(const seismic::SegyGeometry& geometry,
                                 const std::vector<seismic::OutlineSegment>& live_area) {
    ends_ = ends_of(geometry, live_area);
    set_z(z_);
}

std::vector<scene::Point3> LiveOutlineVisual::at(double z) const {
    std::vector<scene::Point3> points;
    points.reserve(ends_.size());
    for (const auto& [iline, xline] : ends_) points.push_back({iline, xline, z});
    return points;
}

}  // namespace korvex::app::data

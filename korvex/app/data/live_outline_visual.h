#pragma once

#include <array>
#include <vector>

#include "korvex/scene/line_visual.h"
#include "korvex/seismic/live_outline.h"
#include "korvex/seismic/segy_geometry.h"

namespace korvex::app::data {

// A survey's live area drawn on its time slice: the boundary between the positions with a
// trace and those without, in the volume's own coordinates (inline, crossline, -time) and
// in the colour that contrasts with the background. Along the grid's edge it runs on the
// outermost traces, where the slice ends; about a hole, half-way to the traces around it,
// where the slice leaves the hole undrawn. It marks the slice and takes no picks: a pick
// there goes to the sample under it.
class LiveOutlineVisual final : public scene::LineVisual {
public:
    // `live_area` in grid indices (seismic::live_outline), on `geometry`'s grid.
    LiveOutlineVisual(const seismic::SegyGeometry& geometry,
                      const std::vector<seismic::OutlineSegment>& live_area, double z);

    // Moves the outline to the slice at `z` (minus the time).
    void set_z(double z);
    // Outlines the live area of traces placed anew, at the same z.
    void set_area(const seismic::SegyGeometry& geometry,
                  const std::vector<seismic::OutlineSegment>& live_area);

protected:
    const char* type_name() const override { return "LiveOutlineVisual"; }

private:
    std::vector<scene::Point3> at(double z) const;

    // Ends of the segments, in line numbers, two by two.
    std::vector<std::array<double, 2>> ends_;
    double z_ = 0.0;
};

}  // namespace korvex::app::data

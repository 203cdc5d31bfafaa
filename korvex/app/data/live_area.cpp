#include "korvex/app/data/live_area.h"

#include "korvex/widgets/map_view/map_painter.h"

namespace korvex::app::data {

LiveArea LiveArea::of(const seismic::SegyGeometry& g) {
    const auto has_trace = [&g](int i, int x) { return g.has_trace(i, x); };
    LiveArea area;
    // A pass over the whole grid: tens of milliseconds for millions of positions.
    area.outline = seismic::live_outline(g.iline_count(), g.xline_count(), has_trace);
    if (g.live_trace_count() < g.position_count())
        area.fill = widgets::MapPainter::live_bins(g.iline_count(), g.xline_count(), has_trace);
    return area;
}

}  // namespace korvex::app::data

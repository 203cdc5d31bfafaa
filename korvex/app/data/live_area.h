#pragma once

#include <QImage>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/live_outline.h"
#include "korvex/seismic/segy_geometry.h"

namespace korvex::app::data {

// The positions of a survey that hold a trace, as every view draws them: the boundary the
// 3D time slices and the section views outline, and the map's fill. Both grow with the
// grid (the fill is 16 MB for 2000 x 2000 positions), so they are found once per geometry,
// on the worker that places the traces, and shared by every view rather than made by each.
struct KORVEX_DATA_EXPORT LiveArea {
    std::vector<seismic::OutlineSegment> outline;
    // A pixel per position (x the inline index, y the crossline index), coloured where a
    // trace is and clear in the holes; null when every position holds a trace, as the map
    // then fills the grid itself.
    QImage fill;

    // Safe on any thread.
    static LiveArea of(const seismic::SegyGeometry& geometry);
};

}  // namespace korvex::app::data

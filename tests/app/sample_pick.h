#pragma once

#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::testing {

// A pick on `volume` at inline 1010, crossline 2020, 48 ms, without map coordinates.
inline widgets::PickedSample sample_pick(const QString& volume) {
    widgets::PickedSample pick;
    pick.volume = volume;
    pick.iline = 1010;
    pick.xline = 2020;
    pick.time = 48;
    pick.amplitude = -0.5;
    pick.position = {1010, 2020, -48};
    return pick;
}

}  // namespace korvex::testing

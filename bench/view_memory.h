#pragma once

#include <QString>

namespace korvex::bench {

// What a view opened in the window keeps: the growth of the process's private resident
// memory (RssAnon) per view, against what it must hold.
struct ViewMemory {
    // Per section view, each on an inline of its own of 1000 crosslines x 1000 samples;
    // what it must hold: the section's samples and its picture, four bytes each per sample.
    double section_view_mb = 0;
    double section_need_mb = 0;
    // Per map view of the same survey; what it must hold: a picture of the map's size.
    double map_view_mb = 0;
    double map_need_mb = 0;
};

// Writes the survey into `folder` and measures in a window of `width` x `height`.
ViewMemory measure_view_memory(const QString& folder, int width, int height);

}  // namespace korvex::bench

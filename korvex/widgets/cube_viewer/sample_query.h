#pragma once

#include <optional>

#include "korvex/scene/pick_result.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::widgets {

// A visual that answers a right-button pick with the sample under the mouse. The viewer
// hands it the pick it has made (the visual and the scene point, from one line of sight),
// so the visual casts no ray of its own; visuals without it get the plain query_in_3d.
class KORVEX_CUBE_VIEWER_EXPORT SampleQuery {
public:
    virtual ~SampleQuery();
    // The sample at the pick, or absent when there is none to report (the visual logs why).
    virtual std::optional<PickedSample> query_sample(const scene::PickResult& pick) = 0;
};

}  // namespace korvex::widgets

#pragma once

#include <vector>

#include "korvex/scene/image_section.h"
#include "korvex/scene/mouse_event.h"

namespace korvex::testing {

// A queryable section that records the queries it is handed, and fails on request.
class RecordingSection final : public scene::ImageSection {
public:
    struct Query {
        scene::SceneCanvas* canvas;
        scene::MouseEvent event;
    };

    // A flat 2 x 2 section across z at `z`, covering x and y from `low` to `high`.
    RecordingSection(host::DataObject* dob, double low, double high, double z = 0.0);

    void query_in_3d(scene::SceneCanvas& canvas, const scene::MouseEvent& event) override;

    std::vector<Query> queries;
    bool fail = false;
};

}  // namespace korvex::testing

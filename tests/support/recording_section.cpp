#include "tests/support/recording_section.h"

#include <stdexcept>

namespace korvex::testing {

RecordingSection::RecordingSection(host::DataObject* dob, double low, double high, double z)
    : scene::ImageSection({0.f, 0.5f, 0.5f, 1.f}, 2, 2, 'z', z, {low, high, low, high}, "seismic",
                          {0.0, 1.0}) {
    queryable_in_3d = true;
    host_dob = dob;
}

void RecordingSection::query_in_3d(scene::SceneCanvas& canvas, const scene::MouseEvent& event) {
    queries.push_back({&canvas, event});
    if (fail) throw std::runtime_error("the query failed");
}

}  // namespace korvex::testing

#pragma once

#include <vector>

namespace korvex::seismic {

// Amplitude figures of a volume, taken from all its samples or from evenly spread traces.
struct AmplitudeStats {
    float min = 0.0f;
    float max = 0.0f;
    // A symmetric colour clip: a high percentile of |amplitude|, so that a few
    // spikes do not wash the sections out. Never zero.
    float clip = 1.0f;
    // Whether the figures come from a subset of the traces.
    bool sampled = false;

    static AmplitudeStats of(std::vector<float> values, bool sampled);
};

}  // namespace korvex::seismic

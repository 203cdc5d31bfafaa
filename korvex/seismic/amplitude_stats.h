#pragma once

#include <cstdint>
#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Amplitude figures of a volume, taken from all its samples or from evenly spread traces.
struct KORVEX_SEISMIC_EXPORT AmplitudeStats {
    static constexpr int HISTOGRAM_BINS = 64;
    static constexpr double CLIP_PERCENTILE = 0.99;

    float min = 0.0f;
    float max = 0.0f;
    // A symmetric colour clip: a high percentile of |amplitude|, so that a few
    // spikes do not wash the sections out. Never zero.
    float clip = 1.0f;
    // Root mean square of the amplitudes.
    float rms = 0.0f;
    // Whether the figures come from a subset of the traces.
    bool sampled = false;
    // How many amplitudes fall in each of HISTOGRAM_BINS equal bins from min to max; empty
    // when the figures come from a subset of the traces.
    std::vector<uint64_t> histogram;

    static AmplitudeStats of(std::vector<float> values, bool sampled);
};

}  // namespace korvex::seismic

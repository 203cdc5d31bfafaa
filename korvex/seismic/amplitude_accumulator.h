#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Amplitude figures over every sample of a volume, gathered while a pass streams through
// it, in memory that does not grow with the file. The clip's percentile comes from
// counts of |amplitude| binned by the float's exponent and leading mantissa bits: bins
// under 1 % of their value wide, whatever the amplitudes' scale, which is exact enough
// for a colour clip and never misses a spike the way evenly spread traces do.
class KORVEX_SEISMIC_EXPORT AmplitudeAccumulator final {
public:
    // Samples that are not finite (broken traces) are left out.
    void add(const float* values, std::size_t count);
    AmplitudeStats stats() const;

private:
    static constexpr int DROPPED_BITS = 16;
    static constexpr std::size_t FINE_BINS = std::size_t(1) << (31 - DROPPED_BITS);

    // Positive amplitudes' bins, then negative ones': the float's sign bit picks the half.
    std::vector<uint64_t> bins_ = std::vector<uint64_t>(2 * FINE_BINS);
    uint64_t count_ = 0;
    double sum_of_squares_ = 0.0;
    float min_ = 0.0f;
    float max_ = 0.0f;
};

}  // namespace korvex::seismic

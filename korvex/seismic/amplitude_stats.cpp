#include "korvex/seismic/amplitude_stats.h"

#include <algorithm>
#include <cmath>

namespace korvex::seismic {

AmplitudeStats AmplitudeStats::of(std::vector<float> values, bool sampled) {
    AmplitudeStats stats;
    stats.sampled = sampled;
    // NaN or infinite samples (broken traces) would poison every figure.
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](float value) { return !std::isfinite(value); }),
                 values.end());
    if (values.empty()) return stats;

    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    stats.min = *low;
    stats.max = *high;
    double sum_of_squares = 0.0;
    for (const float value : values) sum_of_squares += double(value) * value;
    stats.rms = float(std::sqrt(sum_of_squares / double(values.size())));
    for (float& value : values) value = std::fabs(value);
    const auto rank = static_cast<std::size_t>(CLIP_PERCENTILE * (values.size() - 1));
    std::nth_element(values.begin(), values.begin() + rank, values.end());
    const float clip = values[rank];
    const float peak = std::max(std::fabs(stats.min), std::fabs(stats.max));
    stats.clip = clip > 0.0f ? clip : (peak > 0.0f ? peak : 1.0f);
    return stats;
}

}  // namespace korvex::seismic

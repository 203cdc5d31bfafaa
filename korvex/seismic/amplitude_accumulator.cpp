#include "korvex/seismic/amplitude_accumulator.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace korvex::seismic {

namespace {

uint32_t bits_of(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float from_bits(uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

void AmplitudeAccumulator::add(const float* values, std::size_t count) {
    // Kept in locals across the loop, where the compiler holds them in registers.
    float low = count_ == 0 ? std::numeric_limits<float>::infinity() : min_;
    float high = count_ == 0 ? -std::numeric_limits<float>::infinity() : max_;
    double squares = 0.0;
    uint64_t finite = 0;
    uint64_t* const bins = bins_.data();
    for (std::size_t i = 0; i < count; ++i) {
        const float value = values[i];
        if (!std::isfinite(value)) continue;
        low = std::min(low, value);
        high = std::max(high, value);
        squares += double(value) * value;
        ++finite;
        // A non-negative float's bits order as its value does, and its sign bit picks the
        // half of the bins without a branch, which on seismic amplitudes is a coin toss.
        // Adding +0 makes -0 a +0.
        ++bins[bits_of(value + 0.0f) >> DROPPED_BITS];
    }
    if (finite == 0) return;
    min_ = low;
    max_ = high;
    count_ += finite;
    sum_of_squares_ += squares;
}

AmplitudeStats AmplitudeAccumulator::stats() const {
    AmplitudeStats stats;
    if (count_ == 0) return stats;
    stats.min = min_;
    stats.max = max_;
    stats.rms = float(std::sqrt(sum_of_squares_ / double(count_)));
    stats.histogram.assign(AmplitudeStats::HISTOGRAM_BINS, 0);

    const uint64_t rank = uint64_t(AmplitudeStats::CLIP_PERCENTILE * double(count_ - 1));
    uint64_t below = 0;
    float clip = 0.0f;
    const double width = double(max_) - double(min_);
    for (std::size_t bin = 0; bin < FINE_BINS; ++bin) {
        const uint64_t positive = bins_[bin];
        const uint64_t negative = bins_[FINE_BINS + bin];
        const uint64_t here = positive + negative;
        if (here == 0) continue;
        // The middle of the fine bin stands for its samples.
        const float middle = from_bits(uint32_t(bin << DROPPED_BITS) | (1u << (DROPPED_BITS - 1)));
        if (below <= rank && rank < below + here) clip = bin == 0 ? 0.0f : middle;
        below += here;
        for (const float value : {middle, -middle}) {
            const uint64_t n = value < 0.0f ? negative : positive;
            if (n == 0) continue;
            const double at = width > 0.0 ? (std::clamp(value, min_, max_) - min_) / width : 0.0;
            const int coarse = std::min(int(at * AmplitudeStats::HISTOGRAM_BINS),
                                        AmplitudeStats::HISTOGRAM_BINS - 1);
            stats.histogram[std::size_t(coarse)] += n;
        }
    }
    const float peak = std::max(std::fabs(min_), std::fabs(max_));
    stats.clip = clip > 0.0f ? clip : (peak > 0.0f ? peak : 1.0f);
    return stats;
}

}  // namespace korvex::seismic

#include "korvex/seismic/plane_checksum.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace korvex::seismic {

void PlaneChecksum::add_one(uint32_t word) {
    const std::size_t lane = position_ % LANES;
    sums_[lane] += word;
    sums_of_sums_[lane] += sums_[lane];
    ++position_;
}

// Vector adds of eight lanes are what keeps it at memory speed.
__attribute__((target_clones("avx2", "default"))) void PlaneChecksum::add(const float* values,
                                                                          std::size_t count) {
    std::size_t i = 0;
    const auto word = [&](std::size_t at) {
        uint32_t bits;
        std::memcpy(&bits, values + at, sizeof bits);
        return bits;
    };
    for (; i < count && position_ % LANES != 0; ++i) add_one(word(i));
    // Local copies: the compiler keeps them in registers rather than storing every step.
    uint64_t sums[LANES];
    uint64_t sums_of_sums[LANES];
    std::copy(std::begin(sums_), std::end(sums_), sums);
    std::copy(std::begin(sums_of_sums_), std::end(sums_of_sums_), sums_of_sums);
    const std::size_t whole = (count - i) / LANES * LANES;
    for (const std::size_t end = i + whole; i < end; i += LANES) {
        for (std::size_t lane = 0; lane < LANES; ++lane) {
            sums[lane] += word(i + lane);
            sums_of_sums[lane] += sums[lane];
        }
    }
    position_ += whole;
    std::copy(std::begin(sums), std::end(sums), sums_);
    std::copy(std::begin(sums_of_sums), std::end(sums_of_sums), sums_of_sums_);
    for (; i < count; ++i) add_one(word(i));
}

uint64_t PlaneChecksum::value() const {
    uint64_t hash = position_;
    for (std::size_t lane = 0; lane < LANES; ++lane) {
        hash = (hash ^ sums_[lane]) * 0x100000001b3ULL;
        hash = (hash ^ sums_of_sums_[lane]) * 0x100000001b3ULL;
    }
    return hash;
}

}  // namespace korvex::seismic

#include "korvex/seismic/plane_checksum.h"

#include <cstring>

namespace korvex::seismic {

void PlaneChecksum::add_one(uint32_t word) {
    const std::size_t lane = position_ % LANES;
    sums_[lane] += word;
    sums_of_sums_[lane] += sums_[lane];
    ++position_;
}

void PlaneChecksum::add(const float* values, std::size_t count) {
    std::size_t i = 0;
    const auto word = [&](std::size_t at) {
        uint32_t bits;
        std::memcpy(&bits, values + at, sizeof bits);
        return bits;
    };
    for (; i < count && position_ % LANES != 0; ++i) add_one(word(i));
    for (; i + LANES <= count; i += LANES) {
        for (std::size_t lane = 0; lane < LANES; ++lane) {
            sums_[lane] += word(i + lane);
            sums_of_sums_[lane] += sums_[lane];
        }
        position_ += LANES;
    }
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

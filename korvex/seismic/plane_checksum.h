#pragma once

#include <cstddef>
#include <cstdint>

namespace korvex::seismic {

// A Fletcher-style checksum of a run of floats, fed in pieces in order. Eight
// interleaved lanes keep it at memory speed; the second sums make it depend on where
// each value sits, so swapped or shifted blocks are caught, not only flipped bits.
class PlaneChecksum final {
public:
    void add(const float* values, std::size_t count);
    uint64_t value() const;

private:
    static constexpr std::size_t LANES = 8;
    void add_one(uint32_t word);

    uint64_t sums_[LANES] = {};
    uint64_t sums_of_sums_[LANES] = {};
    uint64_t position_ = 0;
};

}  // namespace korvex::seismic

#include "korvex/seismic/sample_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace korvex::seismic::sample_format {

namespace {

// SEG-Y format codes.
constexpr int IBM_FLOAT = 1;
constexpr int INT32 = 2;
constexpr int INT16 = 3;
constexpr int IEEE_FLOAT = 5;
constexpr int INT8 = 8;

uint32_t load_be32(const char* source) {
    uint32_t word;
    std::memcpy(&word, source, sizeof word);
    return __builtin_bswap32(word);
}

float ibm_to_float(uint32_t ibm) {
    const uint32_t sign = ibm & 0x80000000u;
    const uint32_t fraction = ibm & 0x00ffffffu;
    if (fraction == 0) return sign ? -0.0f : 0.0f;
    // value = fraction * 2^-24 * 16^(exponent - 64); a 24-bit fraction fits a float exactly.
    const int exponent = static_cast<int>((ibm >> 24) & 0x7f);
    const int shift = __builtin_clz(fraction) - 8;
    const int biased = 4 * exponent - 130 - shift;
    if (biased >= 1 && biased <= 254) {
        const uint32_t bits =
            sign | static_cast<uint32_t>(biased) << 23 | ((fraction << shift) & 0x7fffffu);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // Beyond the normal float range: let ldexp round to a subnormal, zero or infinity.
    const float magnitude = std::ldexp(static_cast<float>(fraction), 4 * exponent - 280);
    return sign ? -magnitude : magnitude;
}

struct Ibm {
    static constexpr int size = 4;
    static float decode(const char* source) { return ibm_to_float(load_be32(source)); }
};
struct Ieee {
    static constexpr int size = 4;
    static float decode(const char* source) {
        const uint32_t bits = load_be32(source);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};
struct Int32 {
    static constexpr int size = 4;
    static float decode(const char* source) {
        return static_cast<float>(static_cast<int32_t>(load_be32(source)));
    }
};
struct Int16 {
    static constexpr int size = 2;
    static float decode(const char* source) {
        uint16_t half;
        std::memcpy(&half, source, sizeof half);
        return static_cast<float>(static_cast<int16_t>(__builtin_bswap16(half)));
    }
};
struct Int8 {
    static constexpr int size = 1;
    static float decode(const char* source) {
        return static_cast<float>(static_cast<int8_t>(*source));
    }
};

// How many samples ahead a gather asks for: each sits on its own cache line, often on its
// own page, where the hardware prefetcher does not follow, so the loop would otherwise wait
// for memory at every step.
constexpr std::size_t PREFETCH_AHEAD = 16;

template <typename Format>
void gather(const char* source, std::size_t stride, float* target, std::size_t target_stride,
            std::size_t count) {
    const std::size_t prefetched = count > PREFETCH_AHEAD ? count - PREFETCH_AHEAD : 0;
    std::size_t i = 0;
    for (; i < prefetched; ++i) {
        __builtin_prefetch(source + (i + PREFETCH_AHEAD) * stride);
        target[i * target_stride] = Format::decode(source + i * stride);
    }
    for (; i < count; ++i) target[i * target_stride] = Format::decode(source + i * stride);
}

// Calls `action` with the decoder of `format`; false for an unsupported format.
template <typename Action>
bool with_format(int format, Action&& action) {
    switch (format) {
        case IBM_FLOAT:
            action(Ibm{});
            return true;
        case INT32:
            action(Int32{});
            return true;
        case INT16:
            action(Int16{});
            return true;
        case IEEE_FLOAT:
            action(Ieee{});
            return true;
        case INT8:
            action(Int8{});
            return true;
        default:
            return false;
    }
}

}  // namespace

bool is_supported(int format) {
    return with_format(format, [](auto) {});
}

int size_of(int format) {
    int size = 0;
    with_format(format, [&](auto decoder) { size = decltype(decoder)::size; });
    return size;
}

// Byte swaps vectorise only with AVX2's shuffles; older processors take the plain loop.
__attribute__((target_clones("avx2", "default"))) void to_floats(int format, const char* source,
                                                                 float* target, std::size_t count) {
    with_format(format, [&](auto decoder) {
        using Format = decltype(decoder);
        // A constant stride lets the compiler turn the loop into vector byte swaps.
        for (std::size_t i = 0; i < count; ++i)
            target[i] = Format::decode(source + i * Format::size);
    });
}

void gather_to_floats(int format, const char* source, std::size_t stride, float* target,
                      std::size_t target_stride, std::size_t count) {
    with_format(format, [&](auto decoder) {
        gather<decltype(decoder)>(source, stride, target, target_stride, count);
    });
}

}  // namespace korvex::seismic::sample_format

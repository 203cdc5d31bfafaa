#include "korvex/seismic/sample_format.h"

#include <immintrin.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace korvex::seismic::sample_format {

namespace {

// SEG-Y format codes.
constexpr int IBM_FLOAT = 1;
constexpr int INT32 = 2;
constexpr int INT16 = 3;
constexpr int IEEE_FLOAT = 5;
constexpr int IEEE_DOUBLE = 6;
constexpr int INT8 = 8;
constexpr int UINT32 = 10;
constexpr int UINT16 = 11;
constexpr int UINT64 = 12;
constexpr int UINT8 = 16;

template <typename Word>
Word swapped(Word word) {
    if constexpr (sizeof(Word) == 8) return __builtin_bswap64(word);
    if constexpr (sizeof(Word) == 4) return __builtin_bswap32(word);
    if constexpr (sizeof(Word) == 2) return __builtin_bswap16(word);
    return word;
}

// The unsigned word at `source` in the file's byte order.
template <typename Word, bool Little>
Word load(const char* source) {
    Word word;
    std::memcpy(&word, source, sizeof word);
    return Little ? word : swapped(word);
}

template <typename To, typename From>
To bits_as(From bits) {
    To value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

float ibm_to_float(uint32_t ibm) {
    const uint32_t sign = ibm & 0x80000000u;
    const uint32_t fraction = ibm & 0x00ffffffu;
    if (fraction == 0) return sign ? -0.0f : 0.0f;
    // value = fraction * 2^-24 * 16^(exponent - 64); a 24-bit fraction fits a float exactly.
    const int exponent = static_cast<int>((ibm >> 24) & 0x7f);
    const int shift = __builtin_clz(fraction) - 8;
    const int biased = 4 * exponent - 130 - shift;
    if (biased >= 1 && biased <= 254)
        return bits_as<float>(sign | static_cast<uint32_t>(biased) << 23 |
                              ((fraction << shift) & 0x7fffffu));
    // Beyond the normal float range: let ldexp round to a subnormal, zero or infinity.
    const float magnitude = std::ldexp(static_cast<float>(fraction), 4 * exponent - 280);
    return sign ? -magnitude : magnitude;
}

template <bool Little>
struct Ibm {
    static constexpr bool little = Little;
    static constexpr int size = 4;
    static float decode(const char* source) { return ibm_to_float(load<uint32_t, Little>(source)); }
};
template <typename>
constexpr bool IS_IBM = false;
template <bool Little>
constexpr bool IS_IBM<Ibm<Little>> = true;

template <typename Real, bool Little>
struct Ieee {
    using Word = std::conditional_t<sizeof(Real) == 8, uint64_t, uint32_t>;
    static constexpr int size = sizeof(Real);
    static float decode(const char* source) {
        return static_cast<float>(bits_as<Real>(load<Word, Little>(source)));
    }
};
template <typename Integer, bool Little>
struct Fixed {
    using Word = std::make_unsigned_t<Integer>;
    static constexpr int size = sizeof(Integer);
    static float decode(const char* source) {
        return static_cast<float>(static_cast<Integer>(load<Word, Little>(source)));
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

// Inlined wherever it is called: a call would compile the conversion loops for the baseline
// processor, also from to_floats' AVX2 clone, which then converted big-endian samples (most
// files) with scalar byte swaps at half the speed of a plain copy.
template <typename Format>
[[gnu::always_inline]] inline void decode_all(const char* source, float* target,
                                              std::size_t count) {
    // A constant stride lets the compiler turn the loop into vector byte swaps.
    for (std::size_t i = 0; i < count; ++i) target[i] = Format::decode(source + i * Format::size);
}

[[gnu::always_inline]] inline void ibm_one_by_one(bool little, const char* source, float* target,
                                                  std::size_t count) {
    if (little)
        decode_all<Ibm<true>>(source, target, count);
    else
        decode_all<Ibm<false>>(source, target, count);
}

__attribute__((target("default"))) void ibm_to_floats(bool little, const char* source,
                                                      float* target, std::size_t count) {
    ibm_one_by_one(little, source, target, count);
}

// Eight at a time: the 24-bit fraction becomes a float exactly, and a power of two built in
// the exponent bits scales it exactly while the result stays a normal float, which it does
// for every fraction with exponents 39 to 96 (magnitudes 5e-38 to 3e+38, any real
// amplitude). A block with a sample outside them, zeros aside, goes one by one, where the
// rounding to subnormals and infinity is done: the same bits either way.
__attribute__((target("avx2"))) void ibm_to_floats(bool little, const char* source, float* target,
                                                   std::size_t count) {
    const __m256i byte_order =
        little ? _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3,
                                  4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15)
               : _mm256_setr_epi8(3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0,
                                  7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
    constexpr std::size_t WIDTH = 8;
    std::size_t i = 0;
    for (; i + WIDTH <= count; i += WIDTH) {
        const char* block = source + i * 4;
        const __m256i ibm = _mm256_shuffle_epi8(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block)), byte_order);
        const __m256i fraction = _mm256_and_si256(ibm, _mm256_set1_epi32(0x00ffffff));
        const __m256i exponent =
            _mm256_and_si256(_mm256_srli_epi32(ibm, 24), _mm256_set1_epi32(0x7f));
        const __m256i zero = _mm256_cmpeq_epi32(fraction, _mm256_setzero_si256());
        const __m256i in_range =
            _mm256_and_si256(_mm256_cmpgt_epi32(exponent, _mm256_set1_epi32(38)),
                             _mm256_cmpgt_epi32(_mm256_set1_epi32(97), exponent));
        if (_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_or_si256(in_range, zero))) != 0xff) {
            ibm_one_by_one(little, block, target + i, WIDTH);
            continue;
        }
        // 16^(exponent - 64) / 2^24 = 2^(4 * exponent - 280), biased by 127.
        const __m256i scale = _mm256_slli_epi32(
            _mm256_add_epi32(_mm256_slli_epi32(exponent, 2), _mm256_set1_epi32(127 - 280)), 23);
        const __m256 magnitude =
            _mm256_mul_ps(_mm256_cvtepi32_ps(fraction), _mm256_castsi256_ps(scale));
        // A zero's exponent may be any: its scale is not a float then, and is masked out.
        const __m256i sign = _mm256_and_si256(ibm, _mm256_set1_epi32(INT32_MIN));
        const __m256i bits =
            _mm256_or_si256(_mm256_andnot_si256(zero, _mm256_castps_si256(magnitude)), sign);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + i), bits);
    }
    ibm_one_by_one(little, source + i * 4, target + i, count - i);
}

template <typename Format>
[[gnu::always_inline]] inline void convert(const char* source, float* target, std::size_t count) {
    if constexpr (IS_IBM<Format>)
        ibm_to_floats(Format::little, source, target, count);
    else
        decode_all<Format>(source, target, count);
}

template <bool Little, typename Action>
[[gnu::always_inline]] inline bool with_order(int format, Action&& action) {
    switch (format) {
        case IBM_FLOAT:
            action(Ibm<Little>{});
            return true;
        case INT32:
            action(Fixed<int32_t, Little>{});
            return true;
        case INT16:
            action(Fixed<int16_t, Little>{});
            return true;
        case IEEE_FLOAT:
            action(Ieee<float, Little>{});
            return true;
        case IEEE_DOUBLE:
            action(Ieee<double, Little>{});
            return true;
        case INT8:
            action(Fixed<int8_t, Little>{});
            return true;
        case UINT32:
            action(Fixed<uint32_t, Little>{});
            return true;
        case UINT16:
            action(Fixed<uint16_t, Little>{});
            return true;
        case UINT64:
            action(Fixed<uint64_t, Little>{});
            return true;
        case UINT8:
            action(Fixed<uint8_t, Little>{});
            return true;
        default:
            return false;
    }
}

// Calls `action` with the decoder of `format`; false for an unsupported format.
template <typename Action>
[[gnu::always_inline]] inline bool with_format(int format, Action&& action) {
    const int code = format & ~LITTLE_ENDIAN_FLAG;
    return format & LITTLE_ENDIAN_FLAG ? with_order<true>(code, action)
                                       : with_order<false>(code, action);
}

}  // namespace

bool is_supported(int format) {
    return with_format(format, [](auto) {});
}

const char* supported_text() {
    return "1 IBM float, 2 3 8 10 11 12 16 integers, 5 and 6 IEEE floats";
}

int size_of(int format) {
    int size = 0;
    with_format(format, [&](auto decoder) { size = decltype(decoder)::size; });
    return size;
}

// Byte swaps vectorise only with AVX2's shuffles; older processors take the plain loop.
__attribute__((target_clones("avx2", "default"))) void to_floats(int format, const char* source,
                                                                 float* target, std::size_t count) {
    with_format(
        format, [&](auto decoder) __attribute__((always_inline)) {
            convert<decltype(decoder)>(source, target, count);
        });
}

__attribute__((target_clones("avx2", "default"))) void traces_to_floats(
    int format, const char* source, std::size_t stride, float* target, std::size_t samples,
    std::size_t count) {
    with_format(
        format, [&](auto decoder) __attribute__((always_inline)) {
            for (std::size_t trace = 0; trace < count; ++trace, source += stride, target += samples)
                convert<decltype(decoder)>(source, target, samples);
        });
}

void gather_to_floats(int format, const char* source, std::size_t stride, float* target,
                      std::size_t target_stride, std::size_t count) {
    with_format(format, [&](auto decoder) {
        gather<decltype(decoder)>(source, stride, target, target_stride, count);
    });
}

}  // namespace korvex::seismic::sample_format

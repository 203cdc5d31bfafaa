#pragma once

#include <cstddef>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// SEG-Y sample formats turned into native floats while copying, so that a section is
// converted in the same pass that gathers it. Samples are big-endian unless the format
// code carries LITTLE_ENDIAN.
namespace sample_format {

constexpr int LITTLE_ENDIAN_FLAG = 1 << 8;

// Whether these functions read the format: 1 IBM float, 2 int32, 3 int16, 5 IEEE float,
// 6 IEEE double, 8 int8, 10 uint32, 11 uint16, 12 uint64, 16 uint8.
bool is_supported(int format);
// The readable formats, for messages.
const char* supported_text();
// Bytes per sample; 0 for an unsupported format.
int size_of(int format);
// `count` samples starting at `source` into `target`.
KORVEX_SEISMIC_EXPORT void to_floats(int format, const char* source, float* target,
                                     std::size_t count);
// `count` samples `stride` bytes apart (one per trace, say) into floats `target_stride`
// floats apart.
void gather_to_floats(int format, const char* source, std::size_t stride, float* target,
                      std::size_t target_stride, std::size_t count);
// `count` traces of `samples` samples each, `stride` bytes apart, into rows of `samples`
// floats: neighbouring traces converted for the cost of one call.
void traces_to_floats(int format, const char* source, std::size_t stride, float* target,
                      std::size_t samples, std::size_t count);

}  // namespace sample_format

}  // namespace korvex::seismic

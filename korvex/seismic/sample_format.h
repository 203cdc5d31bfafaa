#pragma once

#include <cstddef>

namespace korvex::seismic {

// SEG-Y sample formats (big-endian on disk) turned into native floats while copying, so
// that a section is converted in the same pass that gathers it.
namespace sample_format {

// Whether these functions read the format: 1 IBM float, 2 int32, 3 int16, 5 IEEE float, 8 int8.
bool is_supported(int format);
// Bytes per sample; 0 for an unsupported format.
int size_of(int format);
// `count` samples starting at `source` into `target`.
void to_floats(int format, const char* source, float* target, std::size_t count);
// `count` samples `stride` bytes apart (one per trace, say) into floats `target_stride`
// floats apart.
void gather_to_floats(int format, const char* source, std::size_t stride, float* target,
                      std::size_t target_stride, std::size_t count);

}  // namespace sample_format

}  // namespace korvex::seismic

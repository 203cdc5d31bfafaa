#pragma once

#include <vector>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A named field of a SEG-Y header: its first byte (1-based, counted as the standard
// counts: the binary header's from the start of the file), its size, and what it holds.
struct SegyField {
    int byte;
    int size;
    const char* name;
    // An IEEE double rather than an integer.
    bool real = false;
};

// The fields of the standard 240-byte trace header, revision 1's names.
KORVEX_SEISMIC_EXPORT const std::vector<SegyField>& trace_header_fields();
// The fields of the 400-byte binary header, revision 2's extensions with them.
KORVEX_SEISMIC_EXPORT const std::vector<SegyField>& binary_header_fields();

}  // namespace korvex::seismic

#pragma once

#include <cstddef>
#include <vector>

#include "korvex/seismic/section_kind.h"

namespace korvex::seismic {

// One section cut from a volume: a 2-D array of amplitudes, stored row by row.
// An inline section has a row per crossline and a column per sample, a crossline
// section a row per inline, a depth section a row per inline and a column per crossline:
// rows follow the traces as the file orders its lines, columns run down the trace.
struct Section {
    int rows = 0;
    int columns = 0;
    std::vector<float> values;

    float at(int row, int column) const {
        return values[static_cast<std::size_t>(row) * columns + column];
    }

    // Rows become columns: the layout of an image whose rows run down the trace.
    Section transposed() const {
        Section result{columns, rows, std::vector<float>(values.size())};
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                result.values[static_cast<std::size_t>(column) * rows + row] = at(row, column);
        return result;
    }
};

}  // namespace korvex::seismic

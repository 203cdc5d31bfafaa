#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "korvex/seismic/segy_layout.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// The trace headers of a few traces spread evenly over a SEG-Y file, the first and the
// last among them: enough to tell which fields vary and how, without a pass over the file.
class KORVEX_SEISMIC_EXPORT TraceHeaderSample final {
public:
    static constexpr int DEFAULT_TRACES = 1024;

    // Throws utils::ValueError naming the file when its headers cannot be read, or when its
    // traces do not fit its size as `fit` asks.
    static TraceHeaderSample read(const QString& path, int max_traces = DEFAULT_TRACES,
                                  SegyLayout::Fit fit = SegyLayout::Fit::exact);
    // The headers of traces first .. first + count - 1 (clipped to the file's whole traces).
    static TraceHeaderSample read_range(const QString& path, long long first, long long count);

    const SegyLayout& layout() const { return layout_; }
    std::size_t size() const { return traces_.size(); }
    // The file's number of trace `n` of the sample, counting from 0.
    long long trace(std::size_t n) const { return traces_[n]; }
    // Field of `size` bytes at 1-based `byte` of sampled trace `n`.
    int32_t field(std::size_t n, int byte, int size = 4) const {
        return layout_.field(headers_.data() + n * SegyLayout::TRACE_HEADER_SIZE, byte, size);
    }

private:
    TraceHeaderSample(const QString& path, SegyLayout layout, std::vector<long long> traces);

    SegyLayout layout_;
    std::vector<long long> traces_;
    std::vector<char> headers_;
};

}  // namespace korvex::seismic

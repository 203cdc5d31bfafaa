#pragma once

#include <QString>
#include <vector>

#include "korvex/seismic/amplitude_stats.h"
#include "korvex/seismic/section.h"
#include "korvex/seismic/segy_geometry.h"

struct segy_file_handle;

namespace korvex::seismic {

// Trace-header byte positions of the line numbers.
struct SegyHeaderBytes {
    int iline = 189;
    int xline = 193;
};

// A post-stack SEG-Y volume on disk. Nothing is loaded whole: every section is read
// from the file when asked for. Reads go through buffered file I/O rather than a
// memory map, so a file truncated while open makes a read fail with an error instead
// of killing the process with SIGBUS.
//
// Every failure throws utils::ValueError with a message naming the file and what is wrong.
class SegyVolumeFile final {
public:
    explicit SegyVolumeFile(const QString& path, SegyHeaderBytes bytes = {});
    ~SegyVolumeFile();
    SegyVolumeFile(const SegyVolumeFile&) = delete;
    SegyVolumeFile& operator=(const SegyVolumeFile&) = delete;

    const QString& path() const { return path_; }
    const SegyGeometry& geometry() const { return geometry_; }
    const SegyHeaderBytes& header_bytes() const { return bytes_; }
    long long file_size() const { return file_size_; }

    // Sections by line or sample index (not line number); see Section for the layout.
    Section read_iline(int iline_index) const;
    Section read_xline(int xline_index) const;
    Section read_depth(int sample_index) const;
    std::vector<float> read_trace(int iline_index, int xline_index) const;

    // Statistics over every trace, or over `max_traces` evenly spread ones when the
    // volume has more, so that opening a large file stays quick.
    AmplitudeStats amplitude_stats(int max_traces = 2000) const;

private:
    void read_headers();
    void read_line_numbers();
    void check_trace_positions() const;
    int header_field(long long trace, int byte) const;
    Section read_line(long long first_trace, int length, int stride, const QString& what) const;
    std::vector<float> to_floats(std::vector<char>& raw, std::size_t count) const;
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void fail_read(int code, const QString& what) const;

    QString path_;
    SegyHeaderBytes bytes_;
    segy_file_handle* file_ = nullptr;
    long long file_size_ = 0;
    long trace0_ = 0;
    int trace_bytes_ = 0;
    int traces_ = 0;
    SegyGeometry geometry_;
};

}  // namespace korvex::seismic

// Sections read straight from a SEG-Y file by korvex_seismic, against segyio's C API on
// the same file in the same run: segy_read_line + segy_to_native for the lines, and the
// per-trace segy_readsubtr loop behind segyio's depth slice for time slices, both over
// segyio's memory map. Warm page cache, both maps holding every page, as korvex's does once
// the cache pass has read the file; medians over sections spread through the volume.
//
//   bench_seismic_reads FILE [runs]
#include <segyio/segy.h>

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <vector>

#include "bench/figures.h"
#include "korvex/seismic/segy_volume_file.h"

using korvex::bench::elapsed_ms;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyGeometry;
using korvex::seismic::SegyVolumeFile;

namespace {

// segyio's own way to the same sections.
class SegyioReader {
public:
    SegyioReader(const SegyVolumeFile& volume) : g_(volume.geometry()) {
        file_ = segy_open(QFile::encodeName(volume.path()).constData(), "rb");
        if (!file_ || segy_mmap(file_) != SEGY_OK)
            throw std::runtime_error("segyio cannot map the file");
        char binary[SEGY_BINARY_HEADER_SIZE];
        segy_binheader(file_, binary);
        trace0_ = segy_trace0(binary);
        trace_bytes_ = segy_trsize(g_.format, g_.samples);
        segy_set_format(file_, g_.format);
    }
    ~SegyioReader() { segy_close(file_); }

    void read(SectionKind kind, int index, float* out) const {
        const bool by_inline = g_.sorting == SegyGeometry::Sorting::inline_sorted;
        if (kind == SectionKind::depth) {
            const int traces = static_cast<int>(g_.live_trace_count());
            for (int t = 0; t < traces; ++t)
                segy_readsubtr(file_, t, index, index + 1, 1, out + t, nullptr, trace0_,
                               trace_bytes_);
            segy_to_native(g_.format, traces, out);
            return;
        }
        const bool iline = kind == SectionKind::iline;
        const int first =
            static_cast<int>(iline ? g_.trace_number(index, 0) : g_.trace_number(0, index));
        const int length = iline ? g_.xline_count() : g_.iline_count();
        const int stride =
            iline == by_inline ? 1 : (by_inline ? g_.xline_count() : g_.iline_count());
        segy_read_line(file_, first, length, stride, 1, out, trace0_, trace_bytes_);
        segy_to_native(g_.format, static_cast<long>(length) * g_.samples, out);
    }

private:
    const SegyGeometry& g_;
    segy_file* file_ = nullptr;
    long trace0_ = 0;
    int trace_bytes_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [runs]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(5, argc > 2 ? std::atoi(argv[2]) : 9);
    try {
        const SegyVolumeFile volume(QString::fromLocal8Bit(argv[1]));
        const SegyGeometry& g = volume.geometry();
        const SegyioReader segyio(volume);
        std::printf("%s: %d inlines x %d crosslines x %d samples, format %d\n", argv[1],
                    g.iline_count(), g.xline_count(), g.samples, g.format);

        const struct {
            SectionKind kind;
            const char* name;
        } kinds[] = {{SectionKind::depth, "time_slice"},
                     {SectionKind::iline, "inline"},
                     {SectionKind::xline, "crossline"}};
        // Both maps reach every page of the file before anything is timed; the time slices
        // bring a cold file into the page cache at disk speed, which mapping it would not.
        {
            std::vector<float> slice(g.section_size(SectionKind::depth));
            for (const int sample : {0, g.samples - 1}) {
                volume.read(SectionKind::depth, sample, slice.data());
                segyio.read(SectionKind::depth, sample, slice.data());
            }
        }
        volume.populate_map();
        for (const auto& [kind, name] : kinds) {
            std::vector<float> ours(g.section_size(kind));
            std::vector<float> theirs(g.section_size(kind));
            std::vector<double> our_ms;
            std::vector<double> their_ms;
            for (int run = 0; run < runs; ++run) {
                const int index = (run + 1) * g.section_count(kind) / (runs + 1);
                const auto time_ours = [&] {
                    our_ms.push_back(elapsed_ms([&] { volume.read(kind, index, ours.data()); }));
                };
                const auto time_theirs = [&] {
                    their_ms.push_back(
                        elapsed_ms([&] { segyio.read(kind, index, theirs.data()); }));
                };
                // Whoever reads second finds the section in the processor's caches: take turns.
                if (run % 2) {
                    time_ours();
                    time_theirs();
                } else {
                    time_theirs();
                    time_ours();
                }
                const bool same_layout =
                    kind != SectionKind::depth || g.sorting == SegyGeometry::Sorting::inline_sorted;
                if (same_layout && ours != theirs) {
                    std::fprintf(stderr, "%s %d differs from segyio's\n", name, index);
                    return 1;
                }
            }
            korvex::bench::figure_with_ratio(name, korvex::bench::median(our_ms),
                                             korvex::bench::median(their_ms));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

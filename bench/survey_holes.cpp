// A survey with holes against a regular one of the same live traces, as bench_make_survey_volume
// writes them (--holes 30 on a 2000 x 2000 grid against 2000 x 1400): opening (every header of the
// one with holes is read to place its traces), against the regular file and against reading the
// whole file once, the most memory opening takes and the trace index it keeps, and section reads,
// each direction at the same fractions of the volume, the files in turn. Warm page cache; medians.
//
//   bench_survey_holes HOLES_FILE REGULAR_FILE [runs]
#include <QCoreApplication>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "bench/figures.h"
#include "korvex/seismic/segy_volume_file.h"

using korvex::bench::elapsed_ms;
using korvex::bench::figure;
using korvex::bench::figure_with_ratio;
using korvex::bench::median;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyVolumeFile;

namespace {

// The most memory the process has had resident, in megabytes, since the last
// reset_peak_resident(): what opening takes at its height, the header scan's buffers included.
double peak_resident_mb() {
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
    return 0;
}

void reset_peak_resident() {
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

struct Opened {
    std::unique_ptr<SegyVolumeFile> volume;
    double open_ms = 0;
    double peak_mb = 0;
};

Opened open_median(const char* path, int runs) {
    std::vector<double> open_ms;
    std::vector<double> peak_mb;
    Opened opened;
    for (int run = 0; run < runs; ++run) {
        opened.volume.reset();
        reset_peak_resident();
        const double before = peak_resident_mb();
        open_ms.push_back(elapsed_ms([&] {
            opened.volume = std::make_unique<SegyVolumeFile>(QString::fromLocal8Bit(path));
        }));
        peak_mb.push_back(peak_resident_mb() - before);
    }
    opened.open_ms = median(open_ms);
    opened.peak_mb = peak_mb.front();
    return opened;
}

// Reads the whole file once, in large sequential reads.
void read_whole(const char* path) {
    std::vector<char> block(1 << 20);
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return;
    while (file.read(block.data(), qint64(block.size())) > 0) {
    }
}

// Into the page cache the same way for both files: pages that a sequential read brought in
// are mapped and gathered at another cost than pages that random reads brought in one by
// one, which made either file look faster than the other by whichever read it last.
void load_into_page_cache(const char* path) {
    korvex::bench::drop_from_page_cache(QString::fromLocal8Bit(path));
    read_whole(path);
}

// Reading the whole file once, warm: what a scan that must see every trace header cannot
// beat, since a header lies on every page of the file.
double file_read_ms(const char* path, int runs) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) ms.push_back(elapsed_ms([&] { read_whole(path); }));
    return median(ms);
}

// One sample of every trace taken straight from a populated map of the file, as a time slice
// takes them, without converting or writing them anywhere: what no time slice of this file can
// beat. Every page of the file holds traces, so this is about the time to stream the file
// through the processor whatever it takes from each page.
double slice_floor_ms(const SegyVolumeFile& volume, int runs) {
    QFile file(volume.path());
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const uchar* data = file.map(0, file.size());
    if (data == nullptr) return 0;
    const long long traces = volume.geometry().live_trace_count();
    const long long first = volume.first_trace_offset() + 240;  // the first sample
    const long long stride = volume.trace_stride();
    std::vector<double> ms;
    volatile uint32_t sink = 0;
    for (int run = 0; run < runs + 1; ++run) {
        const double took = elapsed_ms([&] {
            uint32_t sum = 0;
            for (long long n = 0; n < traces; ++n) {
                uint32_t sample;
                std::memcpy(&sample, data + first + n * stride, sizeof sample);
                sum += sample;
            }
            sink = sum;
        });
        if (run > 0) ms.push_back(took);  // the first maps the pages in
    }
    (void)sink;
    return median(ms);
}

struct PairedReads {
    double holes_ms = 0;
    double regular_ms = 0;
    double ratio = 0;
};

// The two files read in turn at the same fraction of each volume, the order swapped from one
// pair to the next: whatever the machine does meanwhile (another process, the clock, the
// caches) then weighs on both reads of a pair, and the ratio is the median of the pairs'.
PairedReads read_in_turn(const SegyVolumeFile& holes, const SegyVolumeFile& regular,
                         SectionKind kind, int pairs) {
    std::vector<float> out(
        std::max(holes.geometry().section_size(kind), regular.geometry().section_size(kind)));
    const auto read_ms = [&](const SegyVolumeFile& volume, int pair) {
        const int index = (pair % 9 + 1) * volume.geometry().section_count(kind) / 10;
        return elapsed_ms([&] { volume.read(kind, index, out.data()); });
    };
    std::vector<double> holes_ms, regular_ms, ratios;
    for (int pair = 0; pair < pairs; ++pair) {
        const bool holes_first = pair % 2 == 0;
        const double first = read_ms(holes_first ? holes : regular, pair);
        const double second = read_ms(holes_first ? regular : holes, pair);
        holes_ms.push_back(holes_first ? first : second);
        regular_ms.push_back(holes_first ? second : first);
        ratios.push_back(holes_ms.back() / regular_ms.back());
    }
    return {median(holes_ms), median(regular_ms), median(ratios)};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s HOLES_FILE REGULAR_FILE [runs]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(5, argc > 3 ? std::atoi(argv[3]) : 5);
    try {
        load_into_page_cache(argv[1]);
        load_into_page_cache(argv[2]);
        const Opened holes = open_median(argv[1], runs);
        const Opened regular = open_median(argv[2], runs);
        for (const Opened* opened : {&holes, &regular}) {
            const auto& g = opened->volume->geometry();
            std::printf("%s: %d x %d positions, %lld traces\n", qPrintable(opened->volume->path()),
                        g.iline_count(), g.xline_count(), g.live_trace_count());
        }
        figure_with_ratio("open", holes.open_ms, regular.open_ms);
        const double read_whole_ms = file_read_ms(argv[1], runs);
        figure("open_file_read", read_whole_ms, "ms");
        figure("open_file_read_ratio", holes.open_ms / read_whole_ms, "x");
        // The first opening only: later ones reuse the heap that the first left resident.
        figure("open_peak_memory", holes.peak_mb, "MB");
        const auto& index = holes.volume->geometry().trace_index;
        figure("trace_index", index ? index->size() * 4 / 1048576.0 : 0.0, "MB");
        const struct {
            SectionKind kind;
            const char* name;
        } kinds[] = {{SectionKind::depth, "holes_time_slice"},
                     {SectionKind::iline, "holes_inline"},
                     {SectionKind::xline, "holes_crossline"}};
        for (const auto& [kind, name] : kinds) {
            // Both files' pages into the page cache before anything is timed.
            read_in_turn(*holes.volume, *regular.volume, kind, 2);
            // A line takes tens of microseconds, where a scheduler's tick weighs: more of them.
            const int pairs = runs * (kind == SectionKind::depth ? 8 : 40);
            const PairedReads reads = read_in_turn(*holes.volume, *regular.volume, kind, pairs);
            figure(name, reads.holes_ms, "ms");
            figure((std::string(name) + "_regular").c_str(), reads.regular_ms, "ms");
            figure((std::string(name) + "_ratio").c_str(), reads.ratio, "x");
            if (kind == SectionKind::depth) {
                const double floor_ms = slice_floor_ms(*regular.volume, runs);
                figure("time_slice_floor", floor_ms, "ms");
                figure("holes_time_slice_floor_ratio", reads.holes_ms / floor_ms, "x");
                figure("regular_time_slice_floor_ratio", reads.regular_ms / floor_ms, "x");
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

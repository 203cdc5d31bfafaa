// Times section extraction from SEG-Y volumes of a few sizes, through the application's
// reader (buffered reads, safe against files truncated while open) and, for comparison,
// through a memory map of the same file (faster, but a truncated file kills the process).
//
//   bench_section_extraction [inlines crosslines samples]...
#include <segyio/segy.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/segy_writer.h"

using korvex::seismic::SegyVolumeFile;
using korvex::seismic::SegyWriter;

namespace {

constexpr int REPEATS = 5;

// Best of a few runs, in milliseconds: the page cache is warm after the first.
double best_ms(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < REPEATS; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

void write(const QString& path, int ils, int xls, int samples) {
    SegyWriter writer(path, samples, SEGY_IEEE_FLOAT_4_BYTE, 4000);
    std::vector<float> trace(samples);
    for (int il = 0; il < ils; ++il) {
        for (int xl = 0; xl < xls; ++xl) {
            for (int s = 0; s < samples; ++s) trace[s] = float((il + xl + s) % 17);
            writer.write_trace(1000 + il, 2000 + xl, trace);
        }
    }
    writer.close();
}

struct Mapped {
    segy_file* file;
    long trace0 = 3600;
    int bytes;
    int ils, xls, samples;

    void line(int first, int length, int stride) const {
        std::vector<float> buf(std::size_t(length) * samples);
        segy_read_line(file, first, length, stride, 1, buf.data(), trace0, bytes);
        segy_to_native(SEGY_IEEE_FLOAT_4_BYTE, long(buf.size()), buf.data());
    }
    void depth(int sample) const {
        std::vector<float> buf(std::size_t(ils) * xls);
        for (int t = 0; t < ils * xls; ++t)
            segy_readsubtr(file, t, sample, sample + 1, 1, &buf[t], nullptr, trace0, bytes);
        segy_to_native(SEGY_IEEE_FLOAT_4_BYTE, long(buf.size()), buf.data());
    }
};

void run(int ils, int xls, int samples) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.sgy");
    QElapsedTimer timer;
    timer.start();
    write(path, ils, xls, samples);
    const double write_ms = timer.nsecsElapsed() / 1e6;

    timer.restart();
    const SegyVolumeFile volume(path);
    const double open_ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    volume.amplitude_stats();
    const double stats_ms = timer.nsecsElapsed() / 1e6;

    std::printf("volume %d x %d x %d (%.0f MB): write %.0f ms, open %.1f ms, statistics %.1f ms\n",
                ils, xls, samples, volume.file_size() / 1e6, write_ms, open_ms, stats_ms);
    std::printf("  buffered reads: inline %.2f ms, crossline %.2f ms, time slice %.2f ms\n",
                best_ms([&] { volume.read_iline(ils / 2); }),
                best_ms([&] { volume.read_xline(xls / 2); }),
                best_ms([&] { volume.read_depth(samples / 2); }));

    Mapped mapped{segy_open(QFile::encodeName(path).constData(), "rb"), 3600,
                  segy_trsize(SEGY_IEEE_FLOAT_4_BYTE, samples), ils, xls, samples};
    segy_set_format(mapped.file, SEGY_IEEE_FLOAT_4_BYTE);
    if (segy_mmap(mapped.file) != SEGY_OK) std::printf("  (memory map unavailable)\n");
    std::printf("  memory map:     inline %.2f ms, crossline %.2f ms, time slice %.2f ms\n",
                best_ms([&] { mapped.line((ils / 2) * xls, xls, 1); }),
                best_ms([&] { mapped.line(xls / 2, ils, xls); }),
                best_ms([&] { mapped.depth(samples / 2); }));
    segy_close(mapped.file);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.size() < 3) sizes = {240, 300, 200, 500, 500, 400};
    for (std::size_t i = 0; i + 2 < sizes.size(); i += 3) run(sizes[i], sizes[i + 1], sizes[i + 2]);
    return 0;
}

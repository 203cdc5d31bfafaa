// Writes a survey-size post-stack volume for the seismic benchmarks: IEEE floats,
// inline-sorted, with reflector-like amplitudes.
//
//   bench_make_survey_volume FOLDER [inlines crosslines samples]
//
// Default size 651 x 951 x 462 (1.29 GB), written to FOLDER/survey.sgy unless present.
#include <segyio/segy.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <exception>
#include <vector>

#include "korvex/seismic/segy_writer.h"

namespace {

constexpr int FIRST_ILINE = 100;
constexpr int FIRST_XLINE = 300;

// Dipping layers with a lateral fade: smooth enough to look seismic, cheap to compute.
void fill_trace(int il, int xl, std::vector<float>& trace) {
    const float dip = 0.02f * il + 0.015f * xl;
    const float fade = 0.5f + 0.5f * std::cos(0.01f * il) * std::cos(0.007f * xl);
    for (std::size_t s = 0; s < trace.size(); ++s)
        trace[s] = fade * std::sin(0.11f * s + dip) * std::sin(0.023f * s + 0.3f * dip);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 5) {
        std::fprintf(stderr, "usage: %s FOLDER [inlines crosslines samples]\n", argv[0]);
        return 2;
    }
    const int ilines = args.size() == 5 ? args[2].toInt() : 651;
    const int xlines = args.size() == 5 ? args[3].toInt() : 951;
    const int samples = args.size() == 5 ? args[4].toInt() : 462;
    const QString path = QDir(args[1]).filePath(
        args.size() == 5 ? QString("survey_%1x%2x%3.sgy").arg(ilines).arg(xlines).arg(samples)
                         : QString("survey.sgy"));
    if (QFileInfo::exists(path)) {
        std::printf("%s exists\n", qPrintable(path));
        return 0;
    }
    const QString part = path + ".part";
    try {
        korvex::seismic::SegyWriter writer(part, samples, SEGY_IEEE_FLOAT_4_BYTE, 4000);
        std::vector<float> trace(samples);
        for (int il = 0; il < ilines; ++il) {
            for (int xl = 0; xl < xlines; ++xl) {
                fill_trace(il, xl, trace);
                writer.write_trace(FIRST_ILINE + il, FIRST_XLINE + xl, trace);
            }
        }
        writer.close();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (!QDir().rename(part, path)) {
        std::fprintf(stderr, "cannot rename %s\n", qPrintable(part));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}

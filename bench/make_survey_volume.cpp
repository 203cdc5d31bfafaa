// Writes a survey-size post-stack volume for the seismic benchmarks: inline-sorted, with
// reflector-like amplitudes.
//
//   bench_make_survey_volume [--ibm] [--inline-step N] [--holes P] FOLDER
//                            [inlines crosslines samples]
//
// Default size 651 x 951 x 462 (1.29 GB) of IEEE floats, inline numbers one apart, written
// to FOLDER/survey.sgy unless present. --ibm writes IBM floats (format 1, as most field data
// comes), --inline-step numbers the inlines N apart (a survey decimated in the inline direction),
// --holes leaves P percent of the grid without traces: every inline starts and ends at its own
// crossline, as a land survey's do.
#include <segyio/segy.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>
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

// The crosslines an inline holds: `percent` of them missing, split unevenly between its ends.
std::pair<int, int> shot_crosslines(int il, int xlines, int percent) {
    const int missing = xlines * percent / 100;
    const int before = int(missing * (0.5 + 0.45 * std::sin(0.05 * il)));
    return {before, xlines - (missing - before)};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption ibm("ibm", "IBM floats instead of IEEE floats");
    const QCommandLineOption step("inline-step", "inline numbers N apart", "N", "1");
    const QCommandLineOption holes("holes", "P percent of the grid without traces", "P", "0");
    parser.addOptions({ibm, step, holes});
    parser.addPositionalArgument("FOLDER", "where the volume is written");
    parser.addPositionalArgument("size", "[inlines crosslines samples]");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const int inline_step = parser.value(step).toInt();
    const int hole_percent = parser.value(holes).toInt();
    if ((args.size() != 1 && args.size() != 4) || inline_step < 1 || hole_percent < 0 ||
        hole_percent > 90) {
        std::fprintf(stderr,
                     "usage: %s [--ibm] [--inline-step N] [--holes P] FOLDER "
                     "[inlines crosslines samples]\n",
                     argv[0]);
        return 2;
    }
    const bool sized = args.size() == 4;
    const int ilines = sized ? args[1].toInt() : 651;
    const int xlines = sized ? args[2].toInt() : 951;
    const int samples = sized ? args[3].toInt() : 462;
    QString name =
        sized ? QString("survey_%1x%2x%3").arg(ilines).arg(xlines).arg(samples) : QString("survey");
    if (parser.isSet(ibm)) name += "_ibm";
    if (inline_step != 1) name += QString("_step%1").arg(inline_step);
    if (hole_percent != 0) name += QString("_holes%1").arg(hole_percent);
    const QString path = QDir(args[0]).filePath(name + ".sgy");
    if (QFileInfo::exists(path)) {
        std::printf("%s exists\n", qPrintable(path));
        return 0;
    }
    const QString part = path + ".part";
    try {
        korvex::seismic::SegyWriter writer(
            part, samples, parser.isSet(ibm) ? SEGY_IBM_FLOAT_4_BYTE : SEGY_IEEE_FLOAT_4_BYTE,
            4000);
        std::vector<float> trace(samples);
        for (int il = 0; il < ilines; ++il) {
            const auto [first, end] = shot_crosslines(il, xlines, hole_percent);
            for (int xl = first; xl < end; ++xl) {
                fill_trace(il, xl, trace);
                writer.write_trace(FIRST_ILINE + il * inline_step, FIRST_XLINE + xl, trace);
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

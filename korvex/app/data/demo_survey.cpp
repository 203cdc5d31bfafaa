#include "korvex/app/data/demo_survey.h"

#include <segyio/segy.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>
#include <cmath>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

using config::_;

namespace {

// Survey layout. The file names carry a version so that a changed model is written anew.
constexpr int FIRST_ILINE = 1;
constexpr int ILINES = 240;
constexpr int FIRST_XLINE = 1;
constexpr int XLINES = 300;
constexpr int SAMPLES = 200;
constexpr int INTERVAL_US = 2000;
constexpr int DELAY_MS = 0;
constexpr const char* VOLUME_NAME = "korvex_demo_v4.sgy";
constexpr const char* HORIZON_NAME = "korvex_demo_horizon_v4.csv";
constexpr int PICK_SPACING = 4;

constexpr double PI = 3.14159265358979323846;

// Where the survey lies, as a land survey in a UTM zone would: the first inline and
// crossline meet at ORIGIN, inline numbers grow toward INLINE_AZIMUTH (degrees clockwise
// from north), crossline numbers clockwise of them; bins are the map distance between
// neighbouring lines. Coordinates are written in centimetres, as field data often are.
constexpr double ORIGIN_X = 500000.0;
constexpr double ORIGIN_Y = 6500000.0;
constexpr double ILINE_BIN = 25.0;
constexpr double XLINE_BIN = 12.5;
constexpr double INLINE_AZIMUTH = 30.0;
constexpr int COORDINATE_SCALAR = -100;
constexpr double WAVELET_HZ = 30.0;
constexpr double FIRST_REFLECTOR_MS = DELAY_MS + 25.0;
constexpr double FAULT_THROW_MS = 30.0;

// Layers, top to bottom: thickness in ms above each interface, reflection coefficient.
constexpr double THICKNESS[] = {0, 30, 18, 41, 26, 15, 33, 24, 37, 20, 28, 17, 35, 23, 30, 26};
constexpr double REFLECTIVITY[] = {0.8, -0.5, 0.4, -0.9, 0.6, -0.3, 0.7, -0.6,
                                   1.0, -0.4, 0.5, -0.7, 0.3, -0.8, 0.6, -0.5};
constexpr int REFLECTORS = sizeof(REFLECTIVITY) / sizeof(REFLECTIVITY[0]);
constexpr int CHANNEL_REFLECTOR = 6;
constexpr int PICKED_REFLECTOR = 8;

double ricker(double t_ms) {
    const double a = PI * WAVELET_HZ * t_ms / 1000.0;
    return (1.0 - 2.0 * a * a) * std::exp(-a * a);
}

// A normal fault whose plane dips towards high crosslines: deeper, it lies further out.
bool beyond_fault(double il, double xl, double t) {
    return xl - FIRST_XLINE > 130.0 + 0.35 * (il - FIRST_ILINE) + 0.3 * (t - DELAY_MS);
}

// Centre of the channel's meander belt, in crosslines.
double channel_centre(double il) {
    return FIRST_XLINE + 60.0 + 22.0 * std::sin((il - FIRST_ILINE) / 19.0);
}

// Two-way time of interface `k` at a trace: regional dip, a dome, gentle folds, and the
// fault's throw on its downthrown side.
double reflector_time(int k, double il, double xl) {
    const double u = (il - FIRST_ILINE) / ILINES;
    const double v = (xl - FIRST_XLINE) / XLINES;
    double t = FIRST_REFLECTOR_MS;
    for (int i = 0; i <= k; ++i) t += THICKNESS[i];
    t += (35.0 + 3.0 * k) * u + 20.0 * v;
    const double du = (u - 0.6) / 0.25, dv = (v - 0.35) / 0.3;
    t -= (40.0 - 1.5 * k) * std::exp(-(du * du + dv * dv));
    t += 5.0 * std::sin(2.0 * PI * (1.3 * u + 0.7 * v + 0.1 * k));
    if (beyond_fault(il, xl, t)) t += FAULT_THROW_MS;
    return t;
}

// The channel cuts into one interface: a bright, sagging fill.
double channel_weight(int k, double il, double xl) {
    if (k != CHANNEL_REFLECTOR) return 0.0;
    const double d = (xl - channel_centre(il)) / 7.0;
    return std::exp(-d * d);
}

// Reflection strength varies a little along each interface, as rocks do.
double reflectivity(int k, double il, double xl) {
    const double u = (il - FIRST_ILINE) / ILINES;
    const double v = (xl - FIRST_XLINE) / XLINES;
    return REFLECTIVITY[k] * (1.0 + 0.3 * std::sin(2.0 * PI * (0.8 * u - 1.1 * v) + k));
}

std::vector<float> trace(double il, double xl) {
    std::vector<float> values(SAMPLES, 0.0f);
    for (int k = 0; k < REFLECTORS; ++k) {
        const double channel = channel_weight(k, il, xl);
        const double t0 = reflector_time(k, il, xl) + 10.0 * channel;
        const double r = reflectivity(k, il, xl) * (1.0 + 1.5 * channel);
        const int centre = static_cast<int>(std::lround((t0 - DELAY_MS) * 1000.0 / INTERVAL_US));
        for (int s = std::max(0, centre - 30); s < std::min(SAMPLES, centre + 30); ++s)
            values[s] += static_cast<float>(r * ricker(DELAY_MS + s * INTERVAL_US / 1000.0 - t0));
    }
    // A little deterministic noise so that the sections do not look drawn by hand.
    for (int s = 0; s < SAMPLES; ++s)
        values[s] += 0.05f * static_cast<float>(std::sin(il * 12.9898 + xl * 78.233 + s * 37.719));
    return values;
}

seismic::CdpCoordinates cdp(int il, int xl) {
    const double azimuth = INLINE_AZIMUTH * PI / 180.0;
    const double along = (il - FIRST_ILINE) * ILINE_BIN;
    const double across = (xl - FIRST_XLINE) * XLINE_BIN;
    const double x = ORIGIN_X + along * std::sin(azimuth) + across * std::cos(azimuth);
    const double y = ORIGIN_Y + along * std::cos(azimuth) - across * std::sin(azimuth);
    const auto stored = [](double metres) {
        return static_cast<int>(std::lround(metres * -COORDINATE_SCALAR));
    };
    return {stored(x), stored(y), COORDINATE_SCALAR};
}

[[noreturn]] void cannot_write(const QString& path) {
    throw utils::ValueError(_("%1: cannot be written").arg(path).toStdString());
}

void write_volume(const QString& path) {
    const QString part = path + ".part";
    seismic::SegyWriter writer(part, SAMPLES, SEGY_IEEE_FLOAT_4_BYTE, INTERVAL_US);
    for (int il = FIRST_ILINE; il < FIRST_ILINE + ILINES; ++il)
        for (int xl = FIRST_XLINE; xl < FIRST_XLINE + XLINES; ++xl)
            writer.write_trace(il, xl, trace(il, xl), DELAY_MS, cdp(il, xl));
    writer.close();
    QFile::remove(path);
    if (!QFile::rename(part, path)) cannot_write(path);
}

void write_horizon(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) cannot_write(path);
    QTextStream out(&file);
    out << "X,Y,Z,AMPLITUDE\n";
    for (int il = FIRST_ILINE; il < FIRST_ILINE + ILINES; il += PICK_SPACING) {
        for (int xl = FIRST_XLINE; xl < FIRST_XLINE + XLINES; xl += PICK_SPACING) {
            const double time = reflector_time(PICKED_REFLECTOR, il, xl);
            const auto sample = std::lround((time - DELAY_MS) * 1000.0 / INTERVAL_US);
            out << il << ',' << xl << ',' << QString::number(time, 'f', 2) << ','
                << QString::number(trace(il, xl)[sample], 'f', 4) << '\n';
        }
    }
    out.flush();
    if (!file.commit()) cannot_write(path);
}

}  // namespace

QString DemoSurvey::default_folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/korvex/demo";
}

DemoSurvey::Files DemoSurvey::ensure(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw utils::ValueError(
            _("%1: the demo folder cannot be created").arg(folder).toStdString());
    const QDir dir(folder);
    const Files files{dir.filePath(VOLUME_NAME), dir.filePath(HORIZON_NAME)};
    if (!QFile::exists(files.volume)) write_volume(files.volume);
    if (!QFile::exists(files.horizon)) write_horizon(files.horizon);
    return files;
}

}  // namespace korvex::app::data

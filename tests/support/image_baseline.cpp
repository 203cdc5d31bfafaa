#include "tests/support/image_baseline.h"

#include <QDir>
#include <algorithm>
#include <cstdlib>

namespace korvex::testing {

namespace {

// Levels (of 255) a channel may differ by before its pixel counts as different.
constexpr int CHANNEL_TOLERANCE = 16;

bool differs(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))}) >
           CHANNEL_TOLERANCE;
}

// Where the picture of a failed comparison goes; an empty text when it cannot be written.
QString keep(const QImage& image, const QString& name) {
    const QString folder = QStringLiteral(KORVEX_TEST_IMAGE_DIR);
    const QString path = folder + "/" + name + ".png";
    if (!QDir().mkpath(folder) || !image.save(path)) return {};
    return path;
}

}  // namespace

BaselineComparison compare_with_baseline(const QImage& actual, const QString& name,
                                         double threshold) {
    const QString baseline_path = QStringLiteral(KORVEX_BASELINE_DIR) + "/" + name + ".png";
    const QImage picture = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage baseline = QImage(baseline_path).convertToFormat(QImage::Format_ARGB32);
    QString problem;
    if (baseline.isNull()) {
        problem = QStringLiteral("no baseline %1").arg(baseline_path);
    } else if (baseline.size() != picture.size()) {
        problem = QStringLiteral("the picture is %1x%2, the baseline %3x%4")
                      .arg(picture.width())
                      .arg(picture.height())
                      .arg(baseline.width())
                      .arg(baseline.height());
    } else {
        int different = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (differs(picture.pixel(x, y), baseline.pixel(x, y))) ++different;
            }
        }
        const double fraction = double(different) / (picture.width() * picture.height());
        if (fraction <= threshold) return {true, {}};
        problem = QStringLiteral("%1 of %2 pixels differ from %3 (%4%, at most %5% may)")
                      .arg(different)
                      .arg(picture.width() * picture.height())
                      .arg(baseline_path)
                      .arg(100.0 * fraction, 0, 'f', 2)
                      .arg(100.0 * threshold, 0, 'f', 2);
    }
    const QString kept = keep(picture, name);
    return {false, problem + (kept.isEmpty() ? QStringLiteral("; the picture could not be kept")
                                             : QStringLiteral("; the picture is in %1").arg(kept))};
}

}  // namespace korvex::testing

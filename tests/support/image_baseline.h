#pragma once

#include <QImage>
#include <QString>

namespace korvex::testing {

// Compares a rendered picture with tests/data/baselines/<name>.png. Pixels whose colour
// differs by more than a few levels in any channel count as different; the picture
// matches when at most `threshold` of them (a fraction) do, so that driver rounding
// passes and a misplaced or miscoloured object fails. On a mismatch, or when there is
// no baseline yet, the picture is written to tests/images/<name>.png under the build
// tree, and the answer says where.
struct BaselineComparison {
    bool matches = false;
    QString message;  // what differs, and where the picture went; empty on a match
};

BaselineComparison compare_with_baseline(const QImage& actual, const QString& name,
                                         double threshold = 0.01);

}  // namespace korvex::testing

// Fails the test function with what differs when `image` does not match its baseline.
#define KORVEX_COMPARE_BASELINE(image, name)                                         \
    do {                                                                             \
        const auto comparison = korvex::testing::compare_with_baseline(image, name); \
        QVERIFY2(comparison.matches, qPrintable(comparison.message));                \
    } while (false)

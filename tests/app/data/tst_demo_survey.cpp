#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/point_table.h"
#include "korvex/seismic/segy_volume_file.h"
#include "tests/app/open_volume.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::data::DemoSurvey;
using korvex::app::data::PointTable;
using korvex::seismic::SegyVolumeFile;

class DemoSurveyTest : public QObject {
    Q_OBJECT

private slots:
    void writes_a_readable_survey_once() {
        QTemporaryDir dir;
        const auto files = DemoSurvey::ensure(dir.path() + "/demo");
        const SegyVolumeFile volume(files.volume);
        const auto& g = volume.geometry();
        QVERIFY(g.iline_count() >= 200 && g.xline_count() >= 200);
        QCOMPARE(g.format, 5);
        QVERIFY(!QFileInfo::exists(files.volume + ".part"));

        // The picks follow a reflector: the volume is much stronger at the picked times
        // than on average along the same traces.
        const auto horizon = PointTable::read(files.horizon, "comma");
        QCOMPARE(horizon.names().mid(0, 3), QStringList({"X", "Y", "Z"}));
        double at_picks = 0.0, overall = 0.0;
        int picks = 0;
        for (int i = 0; i < horizon.size(); i += 37, ++picks) {
            const int il = int(horizon.column(0)[i]) - g.ilines[0];
            const int xl = int(horizon.column(1)[i]) - g.xlines[0];
            const int sample =
                int(std::lround((horizon.column(2)[i] - g.delay_ms) / g.sample_interval_ms));
            const auto trace = volume.read_trace(il, xl);
            at_picks += std::fabs(trace[sample]);
            for (float value : trace) overall += std::fabs(value) / trace.size();
        }
        QVERIFY2(at_picks > 2.0 * overall,
                 qPrintable(QString("%1 vs %2").arg(at_picks / picks).arg(overall / picks)));

        // A second call finds the files and leaves them alone.
        const QDateTime long_ago = QDateTime::fromString("2001-02-03T04:05:06", Qt::ISODate);
        for (const QString& path : {files.volume, files.horizon}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(long_ago, QFileDevice::FileModificationTime));
        }
        DemoSurvey::ensure(dir.path() + "/demo");
        QCOMPARE(QFileInfo(files.volume).lastModified(), long_ago);
        QCOMPARE(QFileInfo(files.horizon).lastModified(), long_ago);
    }

    // A first run meets a survey placed as real ones are, not a note that it has no
    // coordinates: 240 inlines 25 m apart toward 30 degrees, 300 crosslines 12.5 m apart
    // clockwise of them, the first trace at 500000, 6500000.
    void lies_on_the_map_where_its_coordinates_put_it() {
        QTemporaryDir dir;
        const auto files = DemoSurvey::ensure(dir.path() + "/demo");
        korvex::testing::LogCapture log;
        const auto volume = korvex::testing::open_volume(files.volume);
        QVERIFY2(volume->map_note().isEmpty(), qPrintable(volume->map_note()));
        QVERIFY2(log.texts().filter("coordinates").isEmpty(), qPrintable(log.texts().join('\n')));
        // Worked out by hand: 239 x 25 m = 5975 m along 30 degrees, 299 x 12.5 m = 3737.5 m
        // along 120 degrees.
        const std::array<std::array<double, 2>, 4> corners{{{500000.00, 6500000.00},
                                                            {502987.50, 6505174.50},
                                                            {506224.27, 6503305.75},
                                                            {503236.77, 6498131.25}}};
        const auto placed = volume->geometry().corners();
        for (std::size_t i = 0; i < corners.size(); ++i) {
            QVERIFY2(std::hypot(placed[i][0] - corners[i][0], placed[i][1] - corners[i][1]) < 0.02,
                     qPrintable(QString("corner %1 at %2, %3")
                                    .arg(i)
                                    .arg(placed[i][0], 0, 'f', 2)
                                    .arg(placed[i][1], 0, 'f', 2)));
        }
    }
};

KORVEX_TEST_GUILESS_MAIN(DemoSurveyTest)
#include "tst_demo_survey.moc"

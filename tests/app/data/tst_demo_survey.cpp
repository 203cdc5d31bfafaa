#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/point_table.h"
#include "korvex/seismic/segy_volume_file.h"
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
};

KORVEX_TEST_GUILESS_MAIN(DemoSurveyTest)
#include "tst_demo_survey.moc"

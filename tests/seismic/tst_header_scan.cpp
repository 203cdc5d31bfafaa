#include <QTemporaryDir>
#include <QTest>

#include "korvex/seismic/line_number_scan.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/seismic/trace_header_sample.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::seismic::CoordinateBytes;
using korvex::seismic::LineNumberScan;
using korvex::seismic::SegyHeaderBytes;
using korvex::seismic::SegyVolumeFile;
using korvex::seismic::TraceHeaderSample;
using korvex::testing::VolumeLayout;

class HeaderScanTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void finds_the_line_number_bytes_data() {
        QTest::addColumn<int>("iline");
        QTest::addColumn<int>("xline");
        QTest::addColumn<bool>("inline_sorted");
        QTest::newRow("usual") << 189 << 193 << true;
        QTest::newRow("9 and 21") << 9 << 21 << true;
        QTest::newRow("221 and 225") << 221 << 225 << true;
        QTest::newRow("17 and 13, crossline-sorted") << 17 << 13 << false;
        // No usual pair: inline is the field that changes more slowly through the file.
        QTest::newRow("197 and 205") << 197 << 205 << true;
        QTest::newRow("205 and 197, crossline-sorted") << 197 << 205 << false;
    }
    void finds_the_line_number_bytes() {
        QFETCH(int, iline);
        QFETCH(int, xline);
        QFETCH(bool, inline_sorted);
        VolumeLayout layout = korvex::testing::large_survey();
        layout.bytes = {iline, xline};
        layout.inline_sorted = inline_sorted;
        const QString path = dir_.filePath("v.sgy");
        korvex::testing::write_volume(path, layout);

        const auto sample = TraceHeaderSample::read(path);
        const LineNumberScan scan(sample);
        const auto found = scan.best();
        QVERIFY(found);
        const bool given = iline != 197;
        QCOMPARE(found->bytes.iline, given || inline_sorted ? iline : xline);
        QCOMPARE(found->bytes.xline, given || inline_sorted ? xline : iline);
        if (found->bytes.iline == iline)
            QCOMPARE(found->describe(),
                     QString("bytes %1 and %2: 100 inlines x 100 crosslines, every position filled")
                         .arg(iline)
                         .arg(xline));
        QCOMPARE(bool(scan.grid_at(SegyHeaderBytes())), iline == 189);
        const SegyVolumeFile volume(path, found->bytes);
        QCOMPARE(volume.geometry().live_trace_count(), 10000LL);
    }

    void a_file_without_a_grid_says_what_was_tried() {
        VolumeLayout layout;
        layout.bytes = {189, 189};  // the crossline number alone, at byte 189
        const QString path = dir_.filePath("flat.sgy");
        korvex::testing::write_volume(path, layout);
        const auto sample = TraceHeaderSample::read(path);
        const LineNumberScan scan(sample);
        // The trace sequence numbers at bytes 1 and 5 would put 20 traces on 400 positions.
        QVERIFY(!scan.best());
        QVERIFY2(
            scan.tried().contains("189 and 193, 9 and 21") && scan.tried().contains("20 traces"),
            qPrintable(scan.tried()));
    }

    // Beside a field counting the traces (bytes 1 and 5), any other makes a grid of one trace
    // per position: a pre-stack file, two traces a position, has no other line number bytes.
    void a_trace_counter_is_no_line_number() {
        const QString path = dir_.filePath("gathers.sgy");
        const VolumeLayout layout;
        korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, 4000);
        for (int il = 0; il < 4; ++il)
            for (int xl = 0; xl < 5; ++xl)
                for (int offset = 0; offset < 2; ++offset)
                    writer.write_trace(layout.ilines[il], layout.xlines[xl], layout.trace(il, xl));
        writer.close();
        const auto sample = TraceHeaderSample::read(path);
        const auto found = LineNumberScan(sample).best();
        QVERIFY2(!found, qPrintable(found ? found->describe() : QString()));
    }

    // Some writers fill the CDP X/Y with one value for every trace: no place either.
    void map_coordinates_pass_over_a_constant_cdp() {
        const auto field = [](std::size_t n, int byte) {
            return byte == 181 || byte == 185 ? 7 : byte == 73 ? int32_t(n) * 2500 : 0;
        };
        QVERIFY(CoordinateBytes::find(field, 10) == CoordinateBytes({73, 77}));
    }

    void map_coordinates_from_source_or_group_when_the_cdp_is_zero_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("CDP") << 181 << 185;
        QTest::newRow("source") << 73 << 77;
        QTest::newRow("group") << 81 << 85;
    }
    void map_coordinates_from_source_or_group_when_the_cdp_is_zero() {
        QFETCH(int, x);
        QFETCH(int, y);
        VolumeLayout layout;
        layout.coordinates = {x, y};
        layout.cdp = [](int il, int xl) {
            return korvex::seismic::CdpCoordinates{il * 2500, xl * 1250, -100};
        };
        const QString path = dir_.filePath("xy.sgy");
        korvex::testing::write_volume(path, layout);
        const SegyVolumeFile volume(path);
        QVERIFY(volume.coordinate_bytes() == CoordinateBytes({x, y}));
        const auto& last = volume.checked_positions().back();
        QCOMPARE(last.x, 13 * 25.0);
        QCOMPARE(last.y, 24 * 12.5);
    }
};

KORVEX_TEST_GUILESS_MAIN(HeaderScanTest)
#include "tst_header_scan.moc"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstring>

#include "korvex/seismic/amplitude_accumulator.h"
#include "korvex/seismic/mapped_file.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::seismic::MappedFile;
using korvex::seismic::SegyGeometry;
using korvex::seismic::SegyHeaderBytes;
using korvex::seismic::SegyVolumeFile;
using korvex::testing::VolumeLayout;
using korvex::testing::write_volume;

Q_DECLARE_METATYPE(VolumeLayout)

namespace {

// Overwrites big-endian bytes at a file offset.
void patch(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    file.write(bytes);
}

// The most memory the process has had resident since the last reset_peak_resident().
long long peak_resident_kb() {
    QFile status("/proc/self/status");
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').front().toLongLong();
    return 0;
}

bool reset_peak_resident() {
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

QString open_error(const QString& path, SegyHeaderBytes bytes = {}) {
    try {
        SegyVolumeFile volume(path, bytes);
    } catch (const korvex::utils::ValueError& error) {
        return QString::fromStdString(error.what());
    }
    return {};
}

}  // namespace

class SegyVolumeFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString path(const QString& name) const { return dir_.filePath(name); }

    void volume_table() {
        QTest::addColumn<VolumeLayout>("layout");
        VolumeLayout ieee;
        QTest::newRow("inline-sorted IEEE") << ieee;

        VolumeLayout ibm;
        ibm.format = SEGY_IBM_FLOAT_4_BYTE;
        ibm.inline_sorted = false;
        QTest::newRow("crossline-sorted IBM") << ibm;

        VolumeLayout int16;
        int16.format = SEGY_SIGNED_SHORT_2_BYTE;
        int16.ilines = {1001, 1005, 1009};
        int16.xlines = {90, 88, 86, 84, 82, 80};
        int16.delay_ms = 120;
        int16.interval_us = 2500;
        QTest::newRow("int16, steps 4 and -2, delay") << int16;

        VolumeLayout int32;
        int32.format = SEGY_SIGNED_INTEGER_4_BYTE;
        int32.inline_sorted = false;
        int32.ilines = {5, 10, 15, 20, 25};
        QTest::newRow("crossline-sorted int32") << int32;

        VolumeLayout int8;
        int8.format = SEGY_SIGNED_CHAR_1_BYTE;
        int8.samples = 9;
        QTest::newRow("int8") << int8;

        for (const int format : {6, 10, 11, 12, 16}) {
            VolumeLayout layout;
            layout.format = format;
            layout.inline_sorted = format % 2 == 0;
            QTest::addRow("format %d", format) << layout;
        }

        VolumeLayout little;
        little.format = SEGY_IBM_FLOAT_4_BYTE;
        little.variant = {2, true};
        QTest::newRow("revision 2, little-endian IBM") << little;
        little.variant = {1, true};
        QTest::newRow("revision 1, little-endian without a byte-order field") << little;

        VolumeLayout long_traces;
        long_traces.ilines = {1, 2};
        long_traces.xlines = {7, 8, 9};
        long_traces.samples = 40000;
        long_traces.interval_us = 250;
        long_traces.variant = {2, false, 2, 1, true};
        QTest::newRow("revision 2, 40000 samples, header extensions, ASCII text") << long_traces;
    }

private slots:
    void geometry_data() { volume_table(); }
    void geometry() {
        QFETCH(VolumeLayout, layout);
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"));
        const SegyGeometry& g = volume.geometry();
        QCOMPARE(g.ilines, layout.ilines);
        QCOMPARE(g.xlines, layout.xlines);
        QCOMPARE(g.sorting == SegyGeometry::Sorting::inline_sorted, layout.inline_sorted);
        QCOMPARE(g.samples, layout.samples);
        QCOMPARE(g.sample_interval_ms, layout.interval_us / 1000.0);
        QCOMPARE(g.delay_ms, double(layout.delay_ms));
        QCOMPARE(g.format, layout.format);
        QCOMPARE(g.iline_increment(), layout.ilines[1] - layout.ilines[0]);
        QCOMPARE(g.xline_increment(), layout.xlines[1] - layout.xlines[0]);
        QCOMPARE(g.last_time(),
                 layout.delay_ms + (layout.samples - 1) * layout.interval_us / 1000.0);
    }

    void sections_hold_the_written_values_data() { volume_table(); }
    void sections_hold_the_written_values() {
        QFETCH(VolumeLayout, layout);
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"));
        const int ils = int(layout.ilines.size());
        const int xls = int(layout.xlines.size());

        for (int il = 0; il < ils; ++il) {
            const auto section = volume.read_iline(il);
            QCOMPARE(section.rows, xls);
            QCOMPARE(section.columns, layout.samples);
            for (int xl = 0; xl < xls; ++xl)
                for (int s = 0; s < layout.samples; ++s)
                    QCOMPARE(section.at(xl, s), layout.value(il, xl, s));
        }
        for (int xl = 0; xl < xls; ++xl) {
            const auto section = volume.read_xline(xl);
            QCOMPARE(section.rows, ils);
            QCOMPARE(section.columns, layout.samples);
            for (int il = 0; il < ils; ++il)
                for (int s = 0; s < layout.samples; ++s)
                    QCOMPARE(section.at(il, s), layout.value(il, xl, s));
        }
        for (int s = 0; s < layout.samples; ++s) {
            const auto section = volume.read_depth(s);
            QCOMPARE(section.rows, ils);
            QCOMPARE(section.columns, xls);
            for (int il = 0; il < ils; ++il)
                for (int xl = 0; xl < xls; ++xl)
                    QCOMPARE(section.at(il, xl), layout.value(il, xl, s));
        }
        QCOMPARE(volume.read_trace(ils - 1, 1), layout.trace(ils - 1, 1));
        QVERIFY_EXCEPTION_THROWN(volume.read_depth(layout.samples), korvex::utils::LookupError);
        // All of it has just been read: no section would wait for the disk.
        using korvex::seismic::SectionKind;
        QVERIFY(!volume.is_cold(SectionKind::iline, ils - 1));
        QVERIFY(!volume.is_cold(SectionKind::xline, 0));
        QVERIFY(!volume.is_cold(SectionKind::depth, layout.samples - 1));
    }

    // Where segyio reads a file, it reads the same values; in the file's own byte order.
    void agrees_with_segyio() {
        for (const int format : {1, 2, 3, 5, 8, 1 | SEGY_LSB}) {
            VolumeLayout layout;
            layout.format = format & 0xff;
            layout.variant.little_endian = format & SEGY_LSB;
            layout.variant.revision = layout.variant.little_endian ? 2 : 1;
            write_volume(path("v.sgy"), layout);
            const SegyVolumeFile volume(path("v.sgy"));

            segy_file* file = segy_open(qPrintable(path("v.sgy")), "rb");
            QVERIFY(file);
            segy_set_format(file, format);
            const int trace_bytes = segy_trsize(layout.format, layout.samples);
            std::vector<char> raw(trace_bytes);
            QCOMPARE(segy_readtrace(file, 13, raw.data(), 3600, trace_bytes), int(SEGY_OK));
            segy_to_native(layout.format, layout.samples, raw.data());
            segy_close(file);
            // segyio hands integers over as integers.
            std::vector<float> trace(layout.samples);
            for (int s = 0; s < layout.samples; ++s) {
                const char* at = raw.data() + s * trace_bytes / layout.samples;
                const auto take = [at](auto value) {
                    std::memcpy(&value, at, sizeof value);
                    return float(value);
                };
                trace[s] = layout.format == 2   ? take(int32_t())
                           : layout.format == 3 ? take(int16_t())
                           : layout.format == 8 ? take(int8_t())
                                                : take(float());
            }
            QVERIFY2(volume.read_trace(2, 3) == trace, qPrintable(QString::number(format)));
        }
    }

    // The ends of each format's range and values IBM float rounds: what the writer encodes
    // the reader decodes, in both byte orders.
    void extreme_values_survive_the_round_trip_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<std::vector<float>>("values");
        QTest::newRow("IBM") << 1 << std::vector<float>{1e-5f, -123.456f, 3.5e7f, 0.0625f};
        QTest::newRow("int32") << 2 << std::vector<float>{-2147483648.0f, 2147483520.0f, -1, 0};
        QTest::newRow("int16") << 3 << std::vector<float>{-32768, 32767, -1, 0};
        QTest::newRow("IEEE double") << 6 << std::vector<float>{1e-30f, -3.4e38f, 1.5f, 0};
        QTest::newRow("int8") << 8 << std::vector<float>{-128, 127, -1, 0};
        QTest::newRow("uint32") << 10 << std::vector<float>{4294967040.0f, 1, 65536, 0};
        QTest::newRow("uint16") << 11 << std::vector<float>{65535, 32768, 1, 0};
        QTest::newRow("uint64") << 12 << std::vector<float>{1.8e19f, 4294967296.0f, 1, 0};
        QTest::newRow("uint8") << 16 << std::vector<float>{255, 128, 1, 0};
    }
    void extreme_values_survive_the_round_trip() {
        QFETCH(int, format);
        QFETCH(std::vector<float>, values);
        for (const bool little_endian : {false, true}) {
            korvex::seismic::SegyWriter writer(path("v.sgy"), int(values.size()), format, 4000, {},
                                               {}, {2, little_endian});
            for (int il : {1, 2})
                for (int xl : {1, 2}) writer.write_trace(il, xl, values);
            writer.close();
            const SegyVolumeFile volume(path("v.sgy"));
            const auto read = volume.read_trace(1, 1);
            for (std::size_t s = 0; s < values.size(); ++s)
                QVERIFY2(std::fabs(read[s] - values[s]) <= std::fabs(values[s]) * 1e-6f,
                         qPrintable(QString("%1 read as %2").arg(values[s]).arg(read[s])));
        }
    }

    void amplitude_statistics() {
        VolumeLayout layout;
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"));

        const auto full = volume.amplitude_stats();
        QVERIFY(!full.sampled);
        QCOMPARE(full.min, -49.75f);  // the value pattern spans -50..50, +0.25
        QVERIFY(full.max <= 50.25f && full.max > 40.0f);
        QVERIFY(full.clip > 0.0f && full.clip <= 50.25f);

        const auto sampled = volume.amplitude_stats(3);
        QVERIFY(sampled.sampled);
        QVERIFY(sampled.clip > 0.0f);
        QVERIFY(sampled.min >= full.min && sampled.max <= full.max);
    }

    // Twenty spikes among a hundred thousand samples: evenly spread traces miss them,
    // the pass over every sample does not, and the clip stays with the bulk.
    void amplitudes_of_every_sample_catch_spikes() {
        std::vector<float> values(100000);
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = i % 2 ? 2000.0f : -2000.0f;
        for (std::size_t i = 0; i < 20; ++i) values[i * 5000 + 1] = 1e6f;
        values[7] = std::nanf("");
        korvex::seismic::AmplitudeAccumulator accumulator;
        accumulator.add(values.data(), 50000);
        accumulator.add(values.data() + 50000, 50000);

        const auto stats = accumulator.stats();
        QCOMPARE(stats.min, -2000.0f);
        QCOMPARE(stats.max, 1e6f);
        QVERIFY2(std::fabs(stats.clip - 2000.0f) < 20.0f, qPrintable(QString::number(stats.clip)));
        const double rms = std::sqrt((99979.0 * 2000 * 2000 + 20.0 * 1e6 * 1e6) / 99999.0);
        QVERIFY(std::fabs(stats.rms - rms) < rms * 1e-5);
        QCOMPARE(int(stats.histogram.size()), korvex::seismic::AmplitudeStats::HISTOGRAM_BINS);
        QCOMPARE(stats.histogram.back(), uint64_t(20));
        QCOMPARE(stats.histogram.front(), uint64_t(99979));  // the bulk; the nan left out
    }

    void line_numbers_at_other_header_bytes() {
        VolumeLayout layout;
        layout.bytes = {SEGY_TR_FIELD_RECORD, SEGY_TR_ENSEMBLE};
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"), layout.bytes);
        QCOMPARE(volume.geometry().ilines, layout.ilines);
        QCOMPARE(volume.geometry().xlines, layout.xlines);
        // The default bytes hold zeros in this file: no grid there.
        QVERIFY(open_error(path("v.sgy")).contains("same numbers at bytes 189 and 193"));
    }

    // Whether in the standard's EBCDIC or in ASCII, the textual header reads as its text.
    void the_textual_header_reads_as_its_text_data() {
        QTest::addColumn<bool>("ascii");
        QTest::newRow("EBCDIC") << false;
        QTest::newRow("ASCII") << true;
    }
    void the_textual_header_reads_as_its_text() {
        QFETCH(bool, ascii);
        VolumeLayout layout;
        layout.variant.ascii_text = ascii;
        layout.text = QStringList{"C 1 CLIENT: NORTH SEA", "C 2 CRS: ED50 / UTM ZONE 31N"};
        write_volume(path("t.sgy"), layout);
        const QStringList lines = SegyVolumeFile(path("t.sgy")).textual_header().split('\n');
        QCOMPARE(lines.size(), 40);
        QCOMPARE(lines.mid(0, 3),
                 QStringList({"C 1 CLIENT: NORTH SEA", "C 2 CRS: ED50 / UTM ZONE 31N", ""}));
    }

    void bad_files_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << "missing"
                                 << "no such file";
        QTest::newRow("tiny") << "tiny"
                              << "not a SEG-Y file";
        QTest::newRow("text") << "text"
                              << "not a SEG-Y file";
        QTest::newRow("truncated") << "truncated"
                                   << "truncated, or the sample count is wrong: the file's 8873 "
                                      "bytes hold 3600 bytes of headers and 5273 bytes of traces";
        QTest::newRow("revision 2 trace count")
            << "trace count"
            << "announces 999 traces, but the file's 8880 bytes hold 20 traces";
        QTest::newRow("zero samples") << "zero samples"
                                      << "zero samples";
        QTest::newRow("absurd samples") << "absurd samples"
                                        << "30000 samples per trace is impossible";
        // The count is an unsigned 2-byte field: 0xFFFF is the most it can say, not -1.
        QTest::newRow("65535 samples") << "65535 samples"
                                       << "65535 samples per trace is impossible";
        QTest::newRow("duplicate") << "duplicate"
                                   << "traces 13 and 20 both lie at inline 12, crossline 22";
        // A grid of billions of positions would fail to allocate, not give this message.
        QTest::newRow("huge grid") << "huge grid"
                                   << "inlines 10 to 2000000000 in steps of 1 and crosslines 20 "
                                      "to 24 in steps of 1 make a grid of 9999999955 positions "
                                      "for 20 traces";
        QTest::newRow("2-D line") << "2-D line"
                                  << "2-D data";
        QTest::newRow("pre-stack") << "pre-stack"
                                   << "pre-stack data: 2 traces";
    }
    void bad_files() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        const QString file = path(damage + ".sgy");
        VolumeLayout layout;
        if (damage == "tiny" || damage == "text") {
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            const QByteArray line = "inline,crossline,time\n";
            out.write(damage == "tiny" ? line : line.repeated(400));
        } else if (damage == "duplicate" || damage == "huge grid" || damage == "2-D line" ||
                   damage == "pre-stack") {
            korvex::seismic::SegyWriter writer(file, layout.samples, layout.format, 4000);
            for (int il = 0; il < 4; ++il) {
                for (int xl = 0; xl < 5; ++xl) {
                    int iline = 10 + il;
                    int xline = 20 + xl;
                    if (damage == "duplicate" && il == 3 && xl == 4) iline = 12, xline = 22;
                    if (damage == "huge grid" && il == 3 && xl == 4) iline = 2000000000;
                    if (damage == "2-D line") iline = 10, xline = 20 + il * 5 + xl;
                    writer.write_trace(iline, xline, layout.trace(il, xl));
                    if (damage == "pre-stack")
                        writer.write_trace(iline, xline, layout.trace(il, xl));
                }
            }
            writer.close();
        } else if (damage != "missing") {
            layout.variant.revision = damage == "trace count" ? 2 : 1;
            write_volume(file, layout);
            if (damage == "trace count") patch(file, 3512, QByteArray::fromHex("00000000000003e7"));
            if (damage == "truncated") QVERIFY(QFile(file).resize(QFile(file).size() - 7));
            if (damage == "zero samples") {
                patch(file, 3220, QByteArray(2, '\0'));
                patch(file, 3600 + 114, QByteArray(2, '\0'));
            }
            if (damage == "absurd samples") patch(file, 3220, QByteArray::fromHex("7530"));
            if (damage == "65535 samples") patch(file, 3220, QByteArray::fromHex("ffff"));
        }
        const QString error = open_error(file);
        QVERIFY2(error.startsWith(file + ": "), qPrintable(error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void a_time_slice_of_a_large_file_data() {
        QTest::addColumn<VolumeLayout>("layout");
        VolumeLayout layout;
        layout.ilines.resize(160);
        layout.xlines.resize(170);
        for (int i = 0; i < 170; ++i) layout.xlines[i] = 1000 + i;
        for (int i = 0; i < 160; ++i) layout.ilines[i] = 2 * i;
        layout.samples = 240;  // 32 MB of traces
        QTest::newRow("inline-sorted IEEE") << layout;
        layout.format = SEGY_IBM_FLOAT_4_BYTE;
        layout.inline_sorted = false;
        QTest::newRow("crossline-sorted IBM") << layout;
    }
    // A time slice takes a sample of every trace, a few megabytes of the file at a time:
    // its values are whole across the seams, and the process never has the whole file
    // mapped, which users would see counted as its memory.
    void a_time_slice_of_a_large_file() {
        QFETCH(VolumeLayout, layout);
        write_volume(path("large.sgy"), layout);
        const SegyVolumeFile volume(path("large.sgy"));
        volume.read_depth(0);  // leaves mapped nothing of what opening read
        if (!reset_peak_resident()) QSKIP("this kernel does not reset the peak resident size");
        const long long before = peak_resident_kb();
        const auto slice = volume.read_depth(layout.samples - 1);
        const long long grown = peak_resident_kb() - before;
        QVERIFY2(grown < volume.file_size() / 1024 / 2, qPrintable(QString::number(grown)));
        for (int il = 0; il < int(layout.ilines.size()); ++il)
            for (int xl = 0; xl < int(layout.xlines.size()); ++xl)
                QCOMPARE(slice.at(il, xl), layout.value(il, xl, layout.samples - 1));
    }

    // The kernel reads at most its read-ahead window (8 MB on the development machine) for
    // one announcement; a longer one must still bring in all it names, or a time slice of
    // a cold file waits for the disk page by page.
    void a_long_announcement_is_read_whole() {
        const QString name = path("long.bin");
        {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const QByteArray megabyte(1 << 20, 'k');
            for (int mb = 0; mb < 32; ++mb) file.write(megabyte);
            QVERIFY(file.flush() && ::fdatasync(file.handle()) == 0);
            ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_DONTNEED);
        }
        const MappedFile map(name);
        if (map.resident(map.size() - 1)) QSKIP("this file system keeps its files in memory");
        map.will_need(0, map.size());
        const auto all_read = [&] {
            for (long long offset = 0; offset < map.size(); offset += 1 << 20)
                if (!map.resident(offset)) return false;
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(all_read(), 60000);
    }

    // Reads fail with an error, never a bus error, when the file shrinks under us.
    void file_truncated_while_open() {
        VolumeLayout layout;
        layout.samples = 500;  // traces larger than the stream buffer
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"));
        QVERIFY(QFile(path("v.sgy")).resize(3600 + 3 * (240 + 4 * 500)));

        const auto expect_failure = [&](const std::function<void()>& read, const char* what) {
            try {
                read();
                QFAIL(qPrintable(QString("%1 read past the end without an error").arg(what)));
            } catch (const korvex::utils::ValueError& error) {
                const QString text = error.what();
                QVERIFY2(text.startsWith(path("v.sgy")) && text.contains("truncated while open"),
                         qPrintable(text));
            }
        };
        expect_failure([&] { volume.read_iline(3); }, "inline");
        expect_failure([&] { volume.read_xline(4); }, "crossline");
        expect_failure([&] { volume.read_depth(499); }, "time slice");
        expect_failure([&] { volume.amplitude_stats(); }, "statistics");
    }

    // Rewritten in place at the same size: the reads refuse to mix old and new data once
    // the file's periodic look notices.
    void file_rewritten_while_open() {
        VolumeLayout layout;
        write_volume(path("v.sgy"), layout);
        const SegyVolumeFile volume(path("v.sgy"));
        QCOMPARE(volume.read_iline(1).at(2, 3), layout.value(1, 2, 3));
        layout.delay_ms = 4;
        write_volume(path("v.sgy"), layout);
        QFile file(path("v.sgy"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                 QFileDevice::FileModificationTime));
        QString text;
        const auto refused = [&] {
            if (!text.isEmpty()) return true;
            try {
                volume.read_depth(2);
                return false;
            } catch (const korvex::utils::ValueError& error) {
                text = error.what();
                return true;
            }
        };
        QTRY_VERIFY_WITH_TIMEOUT(refused(), 10 * MappedFile::CHECK_INTERVAL_MS);
        QVERIFY2(text.startsWith(path("v.sgy")) && text.contains("changed on disk"),
                 qPrintable(text));
    }

    // A file written by segyio's own Python writer reads back as written: the
    // reader does not merely agree with our writer.
    void reads_a_file_written_by_python_segyio() {
        const QString script = R"(
import sys, numpy, segyio
layout = segyio.spec()
layout.ilines, layout.xlines, layout.samples = [3, 6, 9], [40, 41, 42, 43], list(range(5))
layout.format, layout.sorting = 1, 2
with segyio.create(sys.argv[1], layout) as f:
    t = 0
    for il in layout.ilines:
        for xl in layout.xlines:
            f.header[t] = {189: il, 193: xl, 115: 5, 117: 3000}
            f.trace[t] = numpy.arange(5, dtype=numpy.float32) + il * 100 + xl
            t += 1
    f.bin.update(hdt=3000, hns=5)
)";
        QProcess python;
        python.start("/usr/bin/python3", {"-c", script, path("py.sgy")});
        if (!python.waitForFinished(30000) || python.exitCode() != 0)
            QSKIP(qPrintable("python3-segyio unavailable: " + python.readAllStandardError()));

        const SegyVolumeFile volume(path("py.sgy"));
        QCOMPARE(volume.geometry().ilines, std::vector<int>({3, 6, 9}));
        QCOMPARE(volume.geometry().xlines, std::vector<int>({40, 41, 42, 43}));
        QCOMPARE(volume.geometry().sample_interval_ms, 3.0);
        QCOMPARE(volume.read_xline(2).at(1, 4), 6 * 100 + 42 + 4.0f);
    }
};

KORVEX_TEST_GUILESS_MAIN(SegyVolumeFileTest)
#include "tst_segy_volume_file.moc"

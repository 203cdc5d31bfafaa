#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <string>
#include <utility>

#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/cache_header.h"
#include "korvex/seismic/irregular_geometry_error.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::seismic::CacheFolder;
using korvex::seismic::CacheHeader;
using korvex::seismic::IrregularGeometryError;
using korvex::seismic::SectionCache;
using korvex::seismic::SectionKind;
using korvex::seismic::SegyVolumeFile;
using korvex::testing::VolumeLayout;
using korvex::testing::write_volume;

Q_DECLARE_METATYPE(VolumeLayout)

namespace {

void flip_byte(const QString& path, qint64 offset) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    char byte = 0;
    QVERIFY(file.getChar(&byte));
    QVERIFY(file.seek(offset));
    QVERIFY(file.putChar(char(byte ^ 0x5a)));
}

// Flips a byte as a rewrite in place that puts the time back (`touch -r`) would leave it:
// the same size and modification time.
void flip_byte_keeping_time(const QString& path, qint64 offset) {
    const QByteArray name = QFile::encodeName(path);
    struct stat old_status {};
    QCOMPARE(::stat(name.constData(), &old_status), 0);
    flip_byte(path, offset);
    const timespec times[2] = {old_status.st_atim, old_status.st_mtim};
    QCOMPARE(::utimensat(AT_FDCWD, name.constData(), times, 0), 0);
}

// Every trace of a SEG-Y file as segyio reads it, in file order, as floats.
std::vector<std::vector<float>> traces_by_segyio(const QString& path) {
    segy_file* file = segy_open(QFile::encodeName(path).constData(), "rb");
    if (!file) return {};
    char binary[SEGY_BINARY_HEADER_SIZE];
    segy_binheader(file, binary);
    const int samples = segy_samples(binary);
    const int format = segy_format(binary);
    const long trace0 = segy_trace0(binary);
    const int bytes = segy_trsize(format, samples);
    int count = 0;
    segy_traces(file, &count, trace0, bytes);
    std::vector<std::vector<float>> traces(count, std::vector<float>(samples));
    for (int t = 0; t < count; ++t) {
        segy_readtrace(file, t, traces[t].data(), trace0, bytes);
        segy_to_native(format, samples, traces[t].data());
    }
    segy_close(file);
    return traces;
}

// Where `actual` first departs from `expected`, for a failure message.
QString first_difference(const std::vector<float>& actual, const std::vector<float>& expected) {
    if (actual.size() != expected.size())
        return QStringLiteral("%1 values where %2 belong").arg(actual.size()).arg(expected.size());
    const auto at = std::mismatch(actual.begin(), actual.end(), expected.begin()).first;
    if (at == actual.end()) return {};
    const auto i = at - actual.begin();
    return QStringLiteral("value %1 is %2, not %3").arg(i).arg(actual[i]).arg(expected[i]);
}

// The value the layout wrote at a position of a section of `kind`.
float expected(const VolumeLayout& layout, SectionKind kind, int index, int row, int column) {
    switch (kind) {
        case SectionKind::iline:
            return layout.value(index, row, column);
        case SectionKind::xline:
            return layout.value(row, index, column);
        case SectionKind::depth:
            break;
    }
    return layout.value(row, column, index);
}

// A survey of 100 x 100 traces: more than the opener samples, so it skips some.
}  // namespace

class SectionCacheTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString segy() const { return path("v.sgy"); }
    QString cache_folder() const { return path("cache"); }

    std::unique_ptr<SectionCache> build(const SegyVolumeFile& volume) {
        return SectionCache::build(volume, CacheFolder(cache_folder()).path_for(volume));
    }

private slots:
    void init() { QDir(cache_folder()).removeRecursively(); }

    void every_section_equals_the_files_values_data() {
        QTest::addColumn<VolumeLayout>("layout");
        VolumeLayout ieee = korvex::testing::irregular_survey(7);
        QTest::newRow("IEEE, inline-sorted, steps 5 and -1") << ieee;

        VolumeLayout ibm = korvex::testing::irregular_survey(5);
        ibm.format = SEGY_IBM_FLOAT_4_BYTE;
        ibm.inline_sorted = false;
        QTest::newRow("IBM float, crossline-sorted") << ibm;

        VolumeLayout int16;
        int16.format = SEGY_SIGNED_SHORT_2_BYTE;
        int16.ilines = {1001, 1005, 1009};
        int16.xlines = {90, 88, 86, 84, 82, 80};
        QTest::newRow("int16, inline-sorted, steps 4 and -2") << int16;

        VolumeLayout int8 = int16;
        int8.format = SEGY_SIGNED_CHAR_1_BYTE;
        int8.inline_sorted = false;
        int8.samples = 9;
        QTest::newRow("int8, crossline-sorted, steps 4 and -2") << int8;

        VolumeLayout revision2 = korvex::testing::irregular_survey(6);
        revision2.format = 11;
        revision2.variant = {2, true, 1};
        QTest::newRow("revision 2, little-endian uint16, a header extension") << revision2;
    }
    void every_section_equals_the_files_values() {
        QFETCH(VolumeLayout, layout);
        write_volume(segy(), layout);
        const SegyVolumeFile volume(segy());
        std::vector<double> progress;
        const auto cache = SectionCache::build(volume, CacheFolder(cache_folder()).path_for(volume),
                                               [&](double done) {
                                                   progress.push_back(done);
                                                   return true;
                                               });
        QVERIFY(cache);
        QVERIFY(!progress.empty());
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.back(), 1.0);

        for (const auto kind : {SectionKind::iline, SectionKind::xline, SectionKind::depth}) {
            for (int index = 0; index < volume.geometry().section_count(kind); ++index) {
                const auto section = cache->read(kind, index);
                QCOMPARE(section.rows, volume.geometry().section_rows(kind));
                QCOMPARE(section.columns, volume.geometry().section_columns(kind));
                for (int row = 0; row < section.rows; ++row)
                    for (int column = 0; column < section.columns; ++column)
                        QCOMPARE(section.at(row, column),
                                 expected(layout, kind, index, row, column));
            }
        }
        QVERIFY_EXCEPTION_THROWN(cache->read(SectionKind::depth, layout.samples),
                                 korvex::utils::LookupError);
    }

    void a_cache_is_reused_until_the_file_changes_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("nothing") << "";
        QTest::newRow("rewritten, same size") << "rewritten";
        QTest::newRow("touched") << "touched";
        QTest::newRow("other header bytes") << "header bytes";
        QTest::newRow("samples rewritten in place, time put back") << "samples";
    }
    void a_cache_is_reused_until_the_file_changes() {
        QFETCH(QString, change);
        VolumeLayout layout;
        write_volume(segy(), layout);
        QString cache_path;
        CacheHeader before;
        {
            const SegyVolumeFile volume(segy());
            cache_path = CacheFolder(cache_folder()).path_for(volume);
            QVERIFY(build(volume));
            before = CacheHeader::for_volume(volume);
        }
        korvex::seismic::SegyHeaderBytes bytes;
        if (change == "samples") {
            const qint64 middle_trace = 3600 + 10 * (240 + layout.samples * 4);
            flip_byte_keeping_time(segy(), middle_trace + 240 + 5);
            const SegyVolumeFile volume(segy());
            QCOMPARE(volume.file_status().mtime_ns, before.segy_mtime_ns);
            QVERIFY(CacheHeader::for_volume(volume).segy_traces_checksum !=
                    before.segy_traces_checksum);
        }
        if (change == "rewritten") {
            layout.delay_ms = 8;  // other trace headers, the same size
            write_volume(segy(), layout);
        }
        if (change == "rewritten" || change == "touched") {
            QFile file(segy());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
        }
        if (change == "header bytes") {
            layout.bytes = {SEGY_TR_FIELD_RECORD, SEGY_TR_ENSEMBLE};
            write_volume(segy(), layout);
            bytes = layout.bytes;
        }
        const SegyVolumeFile volume(segy(), bytes);
        QString why_not;
        const auto cache = SectionCache::open(volume, cache_path, &why_not);
        if (change.isEmpty()) {
            QVERIFY2(cache, qPrintable(why_not));
            QCOMPARE(cache->read(SectionKind::depth, 2).at(1, 3), layout.value(1, 3, 2));
        } else {
            QVERIFY(!cache);
            QVERIFY2(why_not.startsWith(cache_path + ": "), qPrintable(why_not));
        }
    }

    // Past the transpose's blocks of 32 lines in both directions, by sizes that are not
    // multiples of them, and past the pass's 16 MB slabs in one case.
    void every_direction_equals_segyio_on_volumes_past_the_blocks_data() {
        QTest::addColumn<VolumeLayout>("layout");
        VolumeLayout inline_sorted;
        inline_sorted.ilines.resize(37);
        std::iota(inline_sorted.ilines.begin(), inline_sorted.ilines.end(), 100);
        inline_sorted.xlines.resize(45);
        std::iota(inline_sorted.xlines.begin(), inline_sorted.xlines.end(), 300);
        inline_sorted.samples = 11;
        QTest::newRow("inline-sorted, 37 x 45 lines") << inline_sorted;

        VolumeLayout crossline_sorted = inline_sorted;
        std::swap(crossline_sorted.ilines, crossline_sorted.xlines);
        crossline_sorted.inline_sorted = false;
        crossline_sorted.format = SEGY_IBM_FLOAT_4_BYTE;
        crossline_sorted.samples = 2600;  // 37 lines of 468 000 bytes: two slabs
        QTest::newRow("crossline-sorted, 45 x 37 lines, IBM float, two slabs") << crossline_sorted;
    }
    void every_direction_equals_segyio_on_volumes_past_the_blocks() {
        QFETCH(VolumeLayout, layout);
        write_volume(segy(), layout);
        const auto traces = traces_by_segyio(segy());
        const SegyVolumeFile volume(segy());
        const auto& g = volume.geometry();
        QCOMPARE(qint64(traces.size()), g.live_trace_count());
        const auto cache = build(volume);
        QVERIFY(cache);
        // Counted slab after slab beside the transpose: every sample once, none left out.
        const auto& stats = cache->amplitude_stats();
        const auto all = volume.amplitude_stats(int(traces.size()));
        QCOMPARE(stats.min, all.min);
        QCOMPARE(stats.max, all.max);
        QCOMPARE(std::accumulate(stats.histogram.begin(), stats.histogram.end(), uint64_t(0)),
                 uint64_t(traces.size()) * uint64_t(g.samples));

        for (const auto kind : korvex::seismic::SECTION_KINDS) {
            const int rows = g.section_rows(kind);
            const int columns = g.section_columns(kind);
            for (int index = 0; index < g.section_count(kind); ++index) {
                std::vector<float> expected(std::size_t(rows) * columns);
                for (int row = 0; row < rows; ++row) {
                    for (int column = 0; column < columns; ++column) {
                        const int il = kind == SectionKind::iline ? index : row;
                        const int xl = kind == SectionKind::iline   ? row
                                       : kind == SectionKind::xline ? index
                                                                    : column;
                        const int sample = kind == SectionKind::depth ? index : column;
                        expected[std::size_t(row) * columns + column] =
                            traces[g.trace_number(il, xl)][sample];
                    }
                }
                const QString difference =
                    first_difference(cache->read(kind, index).values, expected);
                QVERIFY2(difference.isEmpty(),
                         qPrintable(QStringLiteral("%1 %2: %3")
                                        .arg(korvex::seismic::section_type(kind))
                                        .arg(index)
                                        .arg(difference)));
            }
        }
    }

    // The pass maps the file as it reads it: afterwards a line across the sorting, one trace
    // every 470 kB here, takes no page fault, also where a time slice read from the file
    // during the pass took its pages out of the map again.
    void lines_after_the_pass_come_without_page_faults() {
        VolumeLayout layout;
        layout.ilines.resize(37);
        std::iota(layout.ilines.begin(), layout.ilines.end(), 100);
        layout.xlines.resize(45);
        std::iota(layout.xlines.begin(), layout.xlines.end(), 300);
        layout.inline_sorted = false;
        layout.samples = 2600;  // two slabs
        write_volume(segy(), layout);
        const SegyVolumeFile volume(segy());
        std::vector<float> slice(volume.geometry().section_size(SectionKind::depth));
        QVERIFY(
            SectionCache::build(volume, CacheFolder(cache_folder()).path_for(volume), [&](double) {
                volume.read(SectionKind::depth, 0, slice.data());
                return true;
            }));
        const auto faults = [] {
            rusage usage{};
            ::getrusage(RUSAGE_THREAD, &usage);
            return usage.ru_minflt;
        };
        std::vector<float> line(volume.geometry().section_size(SectionKind::iline));
        volume.read(SectionKind::iline, 0, line.data());  // the first read's own allocations
        const long before = faults();
        for (int index = 1; index < volume.geometry().iline_count(); ++index)
            volume.read(SectionKind::iline, index, line.data());
        QCOMPARE(faults() - before, 0L);
    }

    void a_file_changed_during_the_pass_is_caught_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("touched") << "touched";
        QTest::newRow("rewritten in place, time put back") << "rewritten";
        QTest::newRow("grown") << "grown";
    }
    void a_file_changed_during_the_pass_is_caught() {
        QFETCH(QString, change);
        write_volume(segy(), korvex::testing::large_survey());
        const SegyVolumeFile volume(segy());
        const auto change_the_file = [&] {
            QFile file(segy());
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (change == "touched")
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(3600),
                                         QFileDevice::FileModificationTime));
            if (change == "grown") QVERIFY(file.resize(file.size() + 4));
            file.close();
            if (change == "rewritten") flip_byte_keeping_time(segy(), 3600 + 240);
        };
        bool changed = false;
        try {
            SectionCache::build(volume, CacheFolder(cache_folder()).path_for(volume), [&](double) {
                if (!std::exchange(changed, true)) change_the_file();
                return true;
            });
            QFAIL("a cache was built from a file that changed meanwhile");
        } catch (const korvex::utils::ValueError& error) {
            const QString text = error.what();
            QVERIFY2(text.startsWith(segy() + ": ") && text.contains("changed on disk"),
                     qPrintable(text));
        }
        QVERIFY(changed);
        QVERIFY(QDir(cache_folder()).entryList(QDir::Files).isEmpty());
    }

    void a_damaged_or_foreign_cache_is_never_trusted_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("foreign file") << "foreign";
        QTest::newRow("header byte") << "header";
        QTest::newRow("amplitude figures") << "amplitudes";
        QTest::newRow("truncated") << "truncated";
        QTest::newRow("sample byte") << "sample";
    }
    void a_damaged_or_foreign_cache_is_never_trusted() {
        QFETCH(QString, damage);
        const VolumeLayout layout;
        write_volume(segy(), layout);
        const SegyVolumeFile volume(segy());
        const QString cache_path = CacheFolder(cache_folder()).path_for(volume);
        QVERIFY(build(volume));
        const qint64 size = QFileInfo(cache_path).size();
        if (damage == "foreign") {
            QFile file(cache_path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray(int(size), 'k'));
        }
        if (damage == "header") flip_byte(cache_path, 20);
        if (damage == "amplitudes") flip_byte(cache_path, 100);
        if (damage == "truncated") QVERIFY(QFile(cache_path).resize(size - 1));
        // The third plane's second value goes bad.
        if (damage == "sample")
            flip_byte(cache_path, qint64(CacheHeader::for_volume(volume).plane_offset(2)) + 5);

        QString why_not;
        auto cache = SectionCache::open(volume, cache_path, &why_not);
        if (damage == "sample") {
            // Only the damaged plane's checksum can tell; its read throws, the others hold.
            QVERIFY(cache);
            QCOMPARE(cache->read(SectionKind::depth, 1).at(0, 0), layout.value(0, 0, 1));
            try {
                cache->read(SectionKind::depth, 2);
                QFAIL("a damaged plane was read without an error");
            } catch (const korvex::utils::ValueError& error) {
                const QString text = error.what();
                QVERIFY2(text.startsWith(cache_path) && text.contains("damaged"), qPrintable(text));
            }
        } else {
            QVERIFY(!cache);
            QVERIFY2(why_not.contains(cache_path), qPrintable(why_not));
        }
        cache = build(volume);
        QVERIFY(cache);
        QCOMPARE(cache->read(SectionKind::depth, 2).at(3, 4), layout.value(3, 4, 2));
    }

    // The pass that builds the cache counts every sample; a reused cache gives the same.
    void the_amplitudes_of_every_sample_come_with_the_cache() {
        const VolumeLayout layout;
        write_volume(segy(), layout);
        const SegyVolumeFile volume(segy());
        const auto all = volume.amplitude_stats();  // every trace of so small a file
        for (const auto& cache :
             {build(volume), build(volume),
              SectionCache::open(volume, CacheFolder(cache_folder()).path_for(volume))}) {
            QVERIFY(cache);
            const auto& stats = cache->amplitude_stats();
            QVERIFY(!stats.sampled);
            QCOMPARE(stats.min, all.min);
            QCOMPARE(stats.max, all.max);
            QVERIFY(std::fabs(stats.rms - all.rms) < 1e-4f);
            QCOMPARE(std::accumulate(stats.histogram.begin(), stats.histogram.end(), uint64_t(0)),
                     uint64_t(4 * 5 * 6));
        }
    }

    void a_cancelled_build_leaves_nothing_behind() {
        write_volume(segy(), korvex::testing::large_survey());
        const SegyVolumeFile volume(segy());
        const QString cache_path = CacheFolder(cache_folder()).path_for(volume);
        QVERIFY(!SectionCache::build(volume, cache_path, [](double) { return false; }));
        QVERIFY(QDir(cache_folder()).entryList(QDir::Files).isEmpty());
        QVERIFY(!SectionCache::open(volume, cache_path));
    }

    // The opener checks a sample of the trace headers; the cache pass checks them all.
    void an_irregular_file_is_caught_by_the_full_check_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("expected_fault");
        QTest::addColumn<QString>("message");
        using Fault = IrregularGeometryError::Fault;
        QTest::newRow("swapped traces")
            << "swap" << int(Fault::misplaced) << "belongs at trace 5004";
        QTest::newRow("repeated trace")
            << "repeat" << int(Fault::duplicate) << "repeats trace 5002";
        QTest::newRow("off the grid")
            << "off grid" << int(Fault::off_grid) << "lies off the survey grid";
    }
    void an_irregular_file_is_caught_by_the_full_check() {
        QFETCH(QString, fault);
        QFETCH(int, expected_fault);
        QFETCH(QString, message);
        const VolumeLayout layout = korvex::testing::large_survey();
        korvex::seismic::SegyWriter writer(segy(), layout.samples, layout.format, 4000);
        for (int il = 0; il < 100; ++il) {
            for (int xl = 0; xl < 100; ++xl) {
                int xline = layout.xlines[xl];
                // Traces 5002 and 5004 (counting from 1): odd offsets, which the opener skips.
                const bool odd_pair = il == 50 && (xl == 1 || xl == 3);
                if (odd_pair && fault == "swap") xline = layout.xlines[4 - xl];
                if (odd_pair && xl == 3 && fault == "repeat") xline = layout.xlines[1];
                if (odd_pair && xl == 3 && fault == "off grid") xline = 7;
                writer.write_trace(layout.ilines[il], xline, layout.trace(il, xl));
            }
        }
        writer.close();

        const SegyVolumeFile volume(segy());
        try {
            build(volume);
            QFAIL("the cache pass missed the irregular trace");
        } catch (const IrregularGeometryError& error) {
            const QString text = error.what();
            QVERIFY2(text.startsWith(segy() + ": trace "), qPrintable(text));
            QVERIFY2(text.contains(message), qPrintable(text));
            QCOMPARE(int(error.fault()), expected_fault);
            const bool swapped = fault == "swap";
            QCOMPARE(error.trace(), swapped ? 5002LL : 5004LL);
            QCOMPARE(error.iline(), layout.ilines[50]);
            QCOMPARE(error.expected_xline(), layout.xlines[swapped ? 1 : 3]);
        }
        QVERIFY(QDir(cache_folder()).entryList(QDir::Files).isEmpty());
    }

    // In a child process, so that the limit and the signal's fate stay there.
    void a_file_size_limit_fails_the_pass_as_a_full_disk_does() {
        write_volume(segy(), korvex::testing::large_survey());  // a cache of 124 KB
        int channel[2];
        QCOMPARE(::pipe(channel), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(channel[0]);
            const rlimit limit{64 << 10, 64 << 10};
            std::string message = "the pass wrote past the limit";
            try {
                if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit");
                const SegyVolumeFile volume(segy());
                build(volume);
            } catch (const std::exception& error) {
                message = error.what();
            }
            const bool sent = ::write(channel[1], message.data(), message.size()) > 0;
            ::_exit(sent ? 0 : 1);
        }
        ::close(channel[1]);
        QByteArray message;
        char buffer[512];
        for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
            message.append(buffer, int(got));
        ::close(channel[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0,
                 qPrintable(QStringLiteral("the child ended with status %1").arg(status)));
        QVERIFY2(message.startsWith(QFile::encodeName(cache_folder())) &&
                     message.contains("cannot be written: the file-size limit"),
                 message.constData());
        QVERIFY(QDir(cache_folder()).entryList(QDir::Files).isEmpty());
    }

    void a_file_truncated_before_the_pass_fails_with_its_name() {
        write_volume(segy(), korvex::testing::large_survey());
        const SegyVolumeFile volume(segy());
        QVERIFY(QFile(segy()).resize(QFileInfo(segy()).size() / 2));
        try {
            build(volume);
            QFAIL("the pass read past the end of a truncated file");
        } catch (const korvex::utils::ValueError& error) {
            const QString text = error.what();
            QVERIFY2(text.startsWith(segy() + ": "), qPrintable(text));
        }
        QVERIFY(QDir(cache_folder()).entryList(QDir::Files).isEmpty());
    }
};

KORVEX_TEST_GUILESS_MAIN(SectionCacheTest)
#include "tst_section_cache.moc"

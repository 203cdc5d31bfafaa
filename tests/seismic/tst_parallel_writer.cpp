#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fstream>
#include <numeric>
#include <system_error>
#include <vector>

#include "korvex/seismic/parallel_writer.h"
#include "tests/support/test_main.h"

using korvex::seismic::ParallelWriter;

class ParallelWriterTest : public QObject {
    Q_OBJECT

private slots:
    // Runs handed out in reverse, each landing where it belongs, through the page cache and
    // past it alike.
    void runs_written_by_several_threads_make_the_whole_file_data() {
        QTest::addColumn<int>("flags");
        QTest::newRow("page cache") << 0;
        QTest::newRow("direct") << int(O_DIRECT);
    }
    void runs_written_by_several_threads_make_the_whole_file() {
        QFETCH(int, flags);
        const QTemporaryDir dir;
        const QString path = dir.filePath("runs");
        constexpr int RUN = 4096;
        constexpr int RUNS = 64;
        std::vector<unsigned char> expected(RUN * RUNS);
        std::iota(expected.begin(), expected.end(), 0);
        auto* aligned = static_cast<char*>(std::aligned_alloc(RUN, expected.size()));
        std::copy(expected.begin(), expected.end(), aligned);
        {
            const int fd = ::open(QFile::encodeName(path).constData(),
                                  O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600);
            QVERIFY(fd >= 0);
            ParallelWriter writer(fd, 4);
            for (int run = RUNS - 1; run >= 0; --run)
                writer.write(aligned + run * RUN, RUN, off_t(run) * RUN);
            QCOMPARE(writer.wait(), 0);
            ::close(fd);
        }
        std::free(aligned);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written ==
                QByteArray(reinterpret_cast<const char*>(expected.data()), int(expected.size())));
    }

    // A failed write is not lost among the others: every later wait reports it.
    void a_failed_write_is_reported_by_every_wait() {
        const QTemporaryDir dir;
        const QString path = dir.filePath("read-only");
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const char bytes[16] = {};
        ParallelWriter writer(fd, 2);
        for (int run = 0; run < 8; ++run) writer.write(bytes, sizeof bytes, run * 16);
        QCOMPARE(writer.wait(), EBADF);
        QCOMPARE(writer.wait(), EBADF);
        ::close(fd);
    }

    // A process with room for a thread or two: the writer fails, the program goes on.
    void a_writer_short_of_threads_fails_alone() {
        pthread_attr_t defaults;
        QCOMPARE(::pthread_getattr_default_np(&defaults), 0);
        std::size_t stack = 0;
        ::pthread_attr_getstacksize(&defaults, &stack);
        long long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit before{};
        QCOMPARE(::getrlimit(RLIMIT_AS, &before), 0);
        rlimit tight = before;
        tight.rlim_cur = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + 2 * stack + (1 << 20));
        QCOMPARE(::setrlimit(RLIMIT_AS, &tight), 0);
        bool refused = false;
        try {
            ParallelWriter writer(-1, 64);
        } catch (const std::system_error&) {
            refused = true;
        }
        ::setrlimit(RLIMIT_AS, &before);
        QVERIFY(refused);
    }
};

KORVEX_TEST_GUILESS_MAIN(ParallelWriterTest)
#include "tst_parallel_writer.moc"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QTest>
#include <algorithm>
#include <cerrno>
#include <thread>

#include "korvex/seismic/background_priority.h"
#include "tests/support/test_main.h"

using korvex::seismic::background_nice;
using korvex::seismic::lower_calling_thread_priority;

class BackgroundPriorityTest : public QObject {
    Q_OBJECT

private slots:
    void ten_levels_below_the_process_within_the_kernels_range_data() {
        QTest::addColumn<int>("process");
        QTest::addColumn<int>("expected");
        QTest::newRow("default") << 0 << 10;
        QTest::newRow("started under nice -n 5") << 5 << 15;
        QTest::newRow("above 9: the weakest, never higher") << 15 << 19;
    }
    void ten_levels_below_the_process_within_the_kernels_range() {
        QFETCH(int, process);
        QFETCH(int, expected);
        QCOMPARE(background_nice(process), expected);
    }

    // Relative to the process as the test runs, `nice -n 10 ctest` included; a thread
    // lowered twice (a pool's thread reused) stays where once puts it.
    void a_thread_lowers_itself_below_the_process_and_no_further() {
        errno = 0;
        const int process = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
        QCOMPARE(errno, 0);
        int thread_nice = 0;
        std::thread([&] {
            lower_calling_thread_priority();
            lower_calling_thread_priority();
            thread_nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
        }).join();
        QCOMPARE(thread_nice, std::min(process + 10, 19));
        QCOMPARE(::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid())), process);
    }
};

KORVEX_TEST_GUILESS_MAIN(BackgroundPriorityTest)
#include "tst_background_priority.moc"

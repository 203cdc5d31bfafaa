#include "korvex/seismic/background_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace korvex::seismic {

namespace {
constexpr int STEP = 10;
constexpr int LOWEST = 19;  // the kernel's weakest nice value
}  // namespace

int background_nice(int process_nice) { return std::min(process_nice + STEP, LOWEST); }

void lower_calling_thread_priority() {
    // Linux keeps a nice value per thread; the process's is its main thread's, whose id
    // is the process's.
    errno = 0;
    const int process_nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::getpid()));
    if (errno != 0) return;
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)),
                  background_nice(process_nice));
}

}  // namespace korvex::seismic

#pragma once

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// Long passes over a file (the section cache's) run ten nice levels below the process
// that starts them: about a tenth of a processor when frames and section reads want it,
// all of one when nobody does. Relative, so that a user's `nice -n 10 korvex` keeps the
// pass below the viewer, and a pass started above 10 never raises itself. (Qt's thread
// priorities do nothing under Linux's default scheduler, and SCHED_IDLE would starve the
// pass on a machine kept busy by other work.)
KORVEX_SEISMIC_EXPORT int background_nice(int process_nice);

// Gives the calling thread background_nice() of the process's own (its main thread's)
// nice value. Best effort: a refusal only leaves the thread where it was.
KORVEX_SEISMIC_EXPORT void lower_calling_thread_priority();

}  // namespace korvex::seismic

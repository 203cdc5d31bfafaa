#pragma once

#include <cstddef>
#include <deque>

#include <spdlog/details/log_msg_buffer.h>
#include <spdlog/sinks/dist_sink.h>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// Hands each log line to every sink attached. Until a sink asks for them, it also keeps
// the lines logged so far, so that a view made late in start-up (the run journal comes
// after the plug-ins are loaded) still shows how the run began. It keeps the newest
// STARTUP_LIMIT lines; older ones are only in the log file, and the view is told so.
class KORVEX_UTILS_EXPORT LogFanout final : public spdlog::sinks::dist_sink_mt {
public:
    static constexpr std::size_t STARTUP_LIMIT = 1000;

    // Passes `sink` the kept lines, oldest first, then attaches it, with no line logged
    // in between. The lines are handed over once: later sinks get none, and from here on
    // nothing is kept.
    void add_sink_with_startup_lines(const spdlog::sink_ptr& sink);

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;

private:
    bool keeping_ = true;
    std::deque<spdlog::details::log_msg_buffer> startup_;
    std::size_t dropped_ = 0;
};

}  // namespace korvex::utils

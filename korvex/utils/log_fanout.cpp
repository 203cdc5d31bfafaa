#include "korvex/utils/log_fanout.h"

#include <mutex>
#include <string>

namespace korvex::utils {

void LogFanout::add_sink_with_startup_lines(const spdlog::sink_ptr& sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (keeping_ && dropped_ > 0) {
        const std::string note =
            std::to_string(dropped_) + " earlier lines are only in the log file";
        spdlog::details::log_msg message(spdlog::string_view_t(), spdlog::level::warn, note);
        message.time = startup_.front().time;
        sink->log(message);
    }
    for (const spdlog::details::log_msg_buffer& message : startup_) {
        if (sink->should_log(message.level)) sink->log(message);
    }
    keeping_ = false;
    startup_.clear();
    startup_.shrink_to_fit();
    sinks_.push_back(sink);
}

void LogFanout::sink_it_(const spdlog::details::log_msg& message) {
    spdlog::sinks::dist_sink_mt::sink_it_(message);
    if (!keeping_) return;
    startup_.emplace_back(message);
    if (startup_.size() > STARTUP_LIMIT) {
        startup_.pop_front();
        ++dropped_;
    }
}

}  // namespace korvex::utils

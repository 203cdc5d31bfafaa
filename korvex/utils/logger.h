#pragma once

#include <QString>
#include <algorithm>
#include <memory>
#include <string>

#include <fmt/core.h>

#include "korvex/utils/utils_export.h"

// Declared, not included: spdlog's headers bring all of fmt into every file that logs.
namespace spdlog {
class logger;
namespace sinks {
class sink;
}
using sink_ptr = std::shared_ptr<sinks::sink>;
namespace level {
enum level_enum : int;
}
}  // namespace spdlog

// Lets "{}" placeholders take Qt texts, so log texts are filled the way they are written.
// Plain "{}" only: a format specifier would need all of fmt/format.h here.
template <>
struct fmt::formatter<QString> {
    constexpr auto parse(fmt::format_parse_context& context) { return context.begin(); }
    template <typename Context>
    auto format(const QString& text, Context& context) const {
        const std::string utf8 = text.toStdString();
        return std::copy(utf8.begin(), utf8.end(), context.out());
    }
};

namespace korvex::utils {

// Fills "{}" placeholders in order, giving a Qt text.
template <typename... Args>
QString format(fmt::format_string<Args...> pattern, Args&&... args) {
    return QString::fromStdString(fmt::format(pattern, std::forward<Args>(args)...));
}

class LogFanout;

// The application log. Lines go to standard error, to a rotating file in the user's
// data folder (or $KORVEX_LOG_FILE; empty means none) and to any sink attached later,
// such as the run journal's view. Logging never throws.
class KORVEX_UTILS_EXPORT Logger {
public:
    Logger();

    void info(const QString& text);
    void warning(const QString& text);
    void warn(const QString& text);
    void error(const QString& text);

    void attach_sink(const spdlog::sink_ptr& sink);
    // For the run journal: the sink first gets the lines logged before any sink asked
    // for them (start-up messages), then every line, in order. Only the first caller
    // gets those lines.
    void attach_sink_with_startup_lines(const spdlog::sink_ptr& sink);
    void detach_sink(const spdlog::sink_ptr& sink);
    // How many sinks the lines go to: standard error, the log file, those attached.
    std::size_t sink_count() const;

private:
    void write(spdlog::level::level_enum level, const QString& text);

    std::shared_ptr<LogFanout> fanout_;
    std::shared_ptr<spdlog::logger> logger_;
};

KORVEX_UTILS_EXPORT Logger& logger();

}  // namespace korvex::utils

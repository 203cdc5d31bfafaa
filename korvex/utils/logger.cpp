#include "korvex/utils/logger.h"

#include <QDir>
#include <QStandardPaths>
#include <cstdio>

#include "korvex/utils/log_fanout.h"

#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

namespace korvex::utils {

namespace {

constexpr std::size_t LOG_FILE_BYTES = 5 * 1024 * 1024;
constexpr std::size_t LOG_FILE_COUNT = 3;

QString log_file_location() {
    if (qEnvironmentVariableIsSet("KORVEX_LOG_FILE")) {
        return qEnvironmentVariable("KORVEX_LOG_FILE");
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return folder.isEmpty() ? QString() : folder + "/korvex/korvex.log";
}

}  // namespace

Logger::Logger() : fanout_(std::make_shared<LogFanout>()) {
    fanout_->add_sink(std::make_shared<spdlog::sinks::stderr_color_sink_mt>());
    const QString path = log_file_location();
    if (!path.isEmpty()) {
        try {
            QDir().mkpath(QFileInfo(path).absolutePath());
            fanout_->add_sink(std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
                path.toStdString(), LOG_FILE_BYTES, LOG_FILE_COUNT));
        } catch (const spdlog::spdlog_ex& e) {
            std::fprintf(stderr, "korvex: no log file at %s: %s\n", qPrintable(path), e.what());
        }
    }
    logger_ = std::make_shared<spdlog::logger>("korvex", fanout_);
    logger_->set_pattern("%Y-%m-%d %H:%M:%S.%e [%l] %v");
    logger_->set_level(spdlog::level::info);
    logger_->flush_on(spdlog::level::warn);
}

void Logger::info(const QString& text) { write(spdlog::level::info, text); }
void Logger::warning(const QString& text) { write(spdlog::level::warn, text); }
void Logger::warn(const QString& text) { write(spdlog::level::warn, text); }
void Logger::error(const QString& text) { write(spdlog::level::err, text); }

void Logger::write(spdlog::level::level_enum level, const QString& text) {
    try {
        logger_->log(level, text.toStdString());
    } catch (...) {
        // A failing sink must not take the caller down with it.
    }
}

void Logger::attach_sink(const spdlog::sink_ptr& sink) { fanout_->add_sink(sink); }

void Logger::attach_sink_with_startup_lines(const spdlog::sink_ptr& sink) {
    fanout_->add_sink_with_startup_lines(sink);
}

void Logger::detach_sink(const spdlog::sink_ptr& sink) { fanout_->remove_sink(sink); }

std::size_t Logger::sink_count() const { return fanout_->sinks().size(); }

Logger& logger() {
    static Logger instance;
    return instance;
}

}  // namespace korvex::utils

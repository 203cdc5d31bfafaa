#include "tests/support/log_capture.h"

#include "korvex/utils/logger.h"

namespace korvex::testing {

class LogCapture::Sink : public spdlog::sinks::base_sink<std::mutex> {
public:
    std::vector<Line> lines;

protected:
    void sink_it_(const spdlog::details::log_msg& message) override {
        const QString text =
            QString::fromUtf8(message.payload.data(), static_cast<int>(message.payload.size()));
        lines.push_back({level_name(message.level), text});
    }
    void flush_() override {}

private:
    static QString level_name(spdlog::level::level_enum level) {
        switch (level) {
            case spdlog::level::warn:
                return "warning";
            case spdlog::level::err:
            case spdlog::level::critical:
                return "error";
            default:
                return "info";
        }
    }
};

LogCapture::LogCapture() : sink_(std::make_shared<Sink>()) { utils::logger().attach_sink(sink_); }

LogCapture::~LogCapture() { utils::logger().detach_sink(sink_); }

std::vector<LogCapture::Line> LogCapture::lines() const { return sink_->lines; }

QStringList LogCapture::texts() const {
    QStringList result;
    for (const Line& line : sink_->lines) result << line.text;
    return result;
}

bool LogCapture::contains(const QString& level, const QString& text) const {
    for (const Line& line : sink_->lines) {
        if (line.level == level && line.text == text) return true;
    }
    return false;
}

void LogCapture::clear() { sink_->lines.clear(); }

}  // namespace korvex::testing

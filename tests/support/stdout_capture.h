#pragma once

#include <QString>
#include <iostream>
#include <sstream>

namespace korvex::testing {

// Collects what is written to std::cout while it lives.
class StdoutCapture {
public:
    StdoutCapture() : previous_(std::cout.rdbuf(buffer_.rdbuf())) {}
    ~StdoutCapture() { std::cout.rdbuf(previous_); }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    QString text() const { return QString::fromStdString(buffer_.str()); }

private:
    std::ostringstream buffer_;
    std::streambuf* previous_;
};

}  // namespace korvex::testing

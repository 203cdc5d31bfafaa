#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

namespace korvex::app::data {

// The lines of a text file, whatever ends them: LF, CR LF, or a lone CR as old Mac
// programs write. A line longer than MAX_LINE_BYTES is refused rather than read whole:
// a file that is not text could otherwise fill the memory with one "line".
class TextLines final {
public:
    static constexpr int MAX_LINE_BYTES = 64 * 1024;

    // Throws utils::ValueError naming the file when it is not a regular file (a FIFO
    // would block the reader forever) or cannot be opened.
    explicit TextLines(const QString& path);

    // The next line without its end, decoded as UTF-8; nullopt after the last line.
    // Throws utils::ValueError for a line that is too long or a read that fails.
    std::optional<QString> next();
    // The number of the line next() returned last, from 1.
    int line_number() const { return line_number_; }

private:
    [[noreturn]] void fail(const QString& what) const;
    // Refills the buffer when it is used up; false at the end of the file.
    bool fill();

    QString path_;
    QFile file_;
    QByteArray buffer_;
    int position_ = 0;
    // The last line ended in CR: an LF right after it belongs to the same line end.
    bool after_cr_ = false;
    int line_number_ = 0;
};

}  // namespace korvex::app::data

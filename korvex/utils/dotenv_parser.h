#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

struct DotenvBinding {
    QString key;
    std::optional<QString> value;  // absent for a key written without "="
};

struct DotenvFault {
    int line;      // 1-based, where the statement starts
    QString text;  // that line
};

// Reads the statements of an environment file as python-dotenv 0.21 does, which is
// what such files are written against: "export " prefixes, comments, single quotes
// (only \' and \\ escaped), double quotes (with \n, \t, \" ... escapes), values
// spanning lines inside quotes, keys without a value. Variables are not expanded
// here. A statement that cannot be read is skipped up to the end of its line.
// CRLF and CR line ends read as LF, as in Python's text mode.
class KORVEX_UTILS_EXPORT DotenvParser final {
public:
    explicit DotenvParser(const QString& text);

    const std::vector<DotenvBinding>& bindings() const { return bindings_; }
    const std::vector<DotenvFault>& faults() const { return faults_; }

private:
    struct Unreadable {};  // thrown within one statement, caught by parse_statement

    void parse_statement();
    void skip_export();
    std::optional<QString> read_key();
    QString read_value();
    QString read_quoted(QChar quote);
    QString read_unquoted();
    void skip_comment();
    void expect_end_of_line();
    void skip_rest_of_line();
    void skip_line_spaces();
    QChar peek() const;
    int line_at(int pos);
    int line_end(int from) const;

    QString text_;
    int pos_ = 0;
    int counted_up_to_ = 0;  // the text before it holds line_ - 1 line ends
    int line_ = 1;
    std::vector<DotenvBinding> bindings_;
    std::vector<DotenvFault> faults_;
};

}  // namespace korvex::utils

#include "korvex/utils/dotenv_parser.h"

namespace korvex::utils {

namespace {

// Python's str.isspace(), which the reference's "\s" and rstrip() use; Qt's
// isSpace() leaves out the separators U+001C..U+001F.
bool is_space(QChar c) { return c.isSpace() || (c.unicode() >= 0x1c && c.unicode() <= 0x1f); }

bool is_line_space(QChar c) { return c != '\n' && is_space(c); }

// Replaces each backslash followed by one of `escapes` with the matching character of
// `meanings`; any other backslash stays.
QString unescape(const QString& text, const QString& escapes, const QString& meanings) {
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const int known =
            text[i] == '\\' && i + 1 < text.size() ? escapes.indexOf(text[i + 1]) : -1;
        if (known >= 0) {
            result += meanings[known];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

QString with_lf_line_ends(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
}

}  // namespace

DotenvParser::DotenvParser(const QString& text) : text_(with_lf_line_ends(text)) {
    while (pos_ < text_.size()) parse_statement();
}

void DotenvParser::parse_statement() {
    while (pos_ < text_.size() && is_space(text_[pos_])) ++pos_;
    if (pos_ == text_.size()) return;
    const int start = pos_;
    try {
        skip_export();
        const std::optional<QString> key = read_key();
        skip_line_spaces();
        std::optional<QString> value;
        if (peek() == '=') {
            ++pos_;
            skip_line_spaces();
            value = read_value();
        }
        skip_comment();
        expect_end_of_line();
        if (key) bindings_.push_back({*key, value});
    } catch (const Unreadable&) {
        skip_rest_of_line();
        faults_.push_back({line_at(start), text_.mid(start, line_end(start) - start)});
    }
}

void DotenvParser::skip_export() {
    static const QString keyword = QStringLiteral("export");
    if (!text_.midRef(pos_).startsWith(keyword)) return;
    const int after = pos_ + keyword.size();
    if (after < text_.size() && is_line_space(text_[after])) {
        pos_ = after;
        skip_line_spaces();
    }
}

// Absent for a comment line. A key is quoted in single quotes, or runs up to a
// blank, "=" or "#".
std::optional<QString> DotenvParser::read_key() {
    if (peek() == '#') return std::nullopt;
    if (peek() == '\'') {
        const int close = text_.indexOf('\'', pos_ + 1);
        if (close <= pos_ + 1) throw Unreadable{};
        const QString key = text_.mid(pos_ + 1, close - pos_ - 1);
        pos_ = close + 1;
        return key;
    }
    int end = pos_;
    while (end < text_.size() && text_[end] != '=' && text_[end] != '#' && !is_space(text_[end]))
        ++end;
    if (end == pos_) throw Unreadable{};
    const QString key = text_.mid(pos_, end - pos_);
    pos_ = end;
    return key;
}

QString DotenvParser::read_value() {
    const QChar first = peek();
    if (first == '\'' || first == '"') return read_quoted(first);
    if (first.isNull() || first == '\n') return {};
    return read_unquoted();
}

// The value ends at the first quote not preceded by a backslash. Without one, the
// reference's pattern backtracks to the last escaped quote in the rest of the text,
// whose backslash then stays in the value.
QString DotenvParser::read_quoted(QChar quote) {
    int close = -1;
    int i = pos_ + 1;
    while (i < text_.size()) {
        if (text_[i] == '\\' && i + 1 < text_.size() && text_[i + 1] == quote) {
            close = i + 1;
            i += 2;
        } else if (text_[i] == quote) {
            close = i;
            break;
        } else {
            ++i;
        }
    }
    if (close < 0) throw Unreadable{};
    const QString quoted = text_.mid(pos_ + 1, close - pos_ - 1);
    const QString value = quote == '"'
                              ? unescape(quoted, QStringLiteral("\\'\"abfnrtv"),
                                         QStringLiteral("\\'\"\a\b\f\n\r\t\v"))
                              : unescape(quoted, QStringLiteral("\\'"), QStringLiteral("\\'"));
    pos_ = close + 1;
    return value;
}

// The rest of the line, less a comment (blanks then "#") and trailing blanks.
QString DotenvParser::read_unquoted() {
    const int end = line_end(pos_);
    QString value = text_.mid(pos_, end - pos_);
    pos_ = end;
    for (int i = 0; i < value.size(); ++i) {
        if (!is_space(value[i])) continue;
        int run_end = i;
        while (run_end < value.size() && is_space(value[run_end])) ++run_end;
        if (run_end < value.size() && value[run_end] == '#') {
            value.truncate(i);
            break;
        }
        i = run_end;
    }
    int kept = value.size();
    while (kept > 0 && is_space(value[kept - 1])) --kept;
    value.truncate(kept);
    return value;
}

void DotenvParser::skip_comment() {
    int i = pos_;
    while (i < text_.size() && is_line_space(text_[i])) ++i;
    if (i < text_.size() && text_[i] == '#') pos_ = line_end(i);
}

void DotenvParser::expect_end_of_line() {
    int i = pos_;
    while (i < text_.size() && is_line_space(text_[i])) ++i;
    if (i < text_.size() && text_[i] != '\n') throw Unreadable{};
    pos_ = i < text_.size() ? i + 1 : i;
}

void DotenvParser::skip_rest_of_line() {
    const int end = line_end(pos_);
    pos_ = end < text_.size() ? end + 1 : end;
}

void DotenvParser::skip_line_spaces() {
    while (pos_ < text_.size() && is_line_space(text_[pos_])) ++pos_;
}

QChar DotenvParser::peek() const { return pos_ < text_.size() ? text_[pos_] : QChar(); }

// Faults come in text order, so the lines are counted once over the whole text.
int DotenvParser::line_at(int pos) {
    for (; counted_up_to_ < pos; ++counted_up_to_) {
        if (text_[counted_up_to_] == '\n') ++line_;
    }
    return line_;
}

int DotenvParser::line_end(int from) const {
    const int end = text_.indexOf('\n', from);
    return end < 0 ? text_.size() : end;
}

}  // namespace korvex::utils

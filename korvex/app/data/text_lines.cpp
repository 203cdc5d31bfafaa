#include "korvex/app/data/text_lines.h"

#include <QFileInfo>
#include <algorithm>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::app::data {

using config::_;

namespace {

constexpr qint64 CHUNK_BYTES = 64 * 1024;
const QByteArray UTF8_BOM("\xEF\xBB\xBF");

}  // namespace

TextLines::TextLines(const QString& path) : path_(path), file_(path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) fail(_("not a regular file"));
    if (!file_.open(QIODevice::ReadOnly)) fail(_("cannot be opened: %1").arg(file_.errorString()));
}

void TextLines::fail(const QString& what) const {
    throw utils::ValueError(QStringLiteral("%1: %2").arg(path_, what).toStdString());
}

bool TextLines::fill() {
    if (position_ < buffer_.size()) return true;
    buffer_ = file_.read(CHUNK_BYTES);
    position_ = 0;
    if (file_.error() != QFileDevice::NoError)
        fail(_("cannot be read: %1").arg(file_.errorString()));
    return !buffer_.isEmpty();
}

std::optional<QString> TextLines::next() {
    QByteArray line;
    bool started = false;
    while (fill()) {
        if (after_cr_) {
            after_cr_ = false;
            if (buffer_[position_] == '\n') {
                ++position_;
                continue;
            }
        }
        const char* begin = buffer_.constData() + position_;
        const char* end = buffer_.constData() + buffer_.size();
        const char* stop = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
        line.append(begin, int(stop - begin));
        started = true;
        if (line.size() > MAX_LINE_BYTES)
            fail(_("line %1 is longer than %2 bytes; is this a text file?")
                     .arg(line_number_ + 1)
                     .arg(MAX_LINE_BYTES));
        position_ = int(stop - buffer_.constData());
        if (stop != end) {
            after_cr_ = *stop == '\r';
            ++position_;
            break;
        }
    }
    if (!started) return std::nullopt;
    if (++line_number_ == 1 && line.startsWith(UTF8_BOM)) line.remove(0, UTF8_BOM.size());
    // Sized, so that a NUL byte is kept and refused as the text it is, not an end.
    return QString::fromUtf8(line.constData(), line.size());
}

}  // namespace korvex::app::data

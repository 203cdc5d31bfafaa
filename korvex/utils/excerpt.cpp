#include "korvex/utils/excerpt.h"

namespace korvex::utils {

QString excerpt(const QString& text, int limit) {
    QString shown;
    for (const QChar c : text.left(limit)) {
        if (c == '\n')
            shown += QStringLiteral("\\n");
        else if (c == '\r')
            shown += QStringLiteral("\\r");
        else if (c == '\t')
            shown += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (text.size() > limit) shown += QStringLiteral("... (%1 characters)").arg(text.size());
    return shown;
}

}  // namespace korvex::utils

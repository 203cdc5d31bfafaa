#include "korvex/seismic/textual_header.h"

#include <QStringList>
#include <algorithm>
#include <cctype>

namespace korvex::seismic::textual_header {

namespace {

// The printable ASCII character of each EBCDIC (code page 037) code, a space for the rest.
constexpr char EBCDIC_TO_ASCII[] =
    "                                                                "
    "           .<(+|&         !$*); -/         ,%_>?         `:#@'=\""
    " abcdefghi       jklmnopqr       ~stuvwxyz      ^         []    "
    "{ABCDEFGHI      }JKLMNOPQR      \\ STUVWXYZ      0123456789      ";
static_assert(sizeof EBCDIC_TO_ASCII == 257);

char ascii_of(unsigned char code) { return EBCDIC_TO_ASCII[code]; }

}  // namespace

bool is_ascii(const QByteArray& bytes) {
    // Headers are mostly letters, digits and spaces: EBCDIC's space is ASCII's '@', and
    // ASCII's space a control code in EBCDIC, so whichever code reads more of them wins.
    const auto plain = [](char c) {
        return c == ' ' || std::isalnum(static_cast<unsigned char>(c));
    };
    long long ascii = 0;
    long long ebcdic = 0;
    for (const char c : bytes) {
        ascii += plain(c) && static_cast<unsigned char>(c) < 0x80;
        ebcdic +=
            static_cast<unsigned char>(c) >= 0x40 && plain(ascii_of(static_cast<unsigned char>(c)));
    }
    return ascii >= ebcdic;
}

QString text(const QByteArray& bytes) {
    QByteArray decoded = bytes;
    if (is_ascii(bytes)) {
        std::replace_if(
            decoded.begin(), decoded.end(), [](char c) { return c < 0x20 || c >= 0x7f; }, ' ');
    } else {
        std::transform(decoded.begin(), decoded.end(), decoded.begin(),
                       [](char c) { return ascii_of(static_cast<unsigned char>(c)); });
    }
    QStringList lines;
    for (int at = 0; at < decoded.size(); at += LINE) {
        QString line = QString::fromLatin1(decoded.mid(at, LINE));
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray to_ebcdic(const QByteArray& text) {
    QByteArray ebcdic(SIZE, char(0x40));  // EBCDIC's space
    for (int at = 0; at < std::min(SIZE, int(text.size())); ++at) {
        if (text[at] == ' ') continue;
        const char* code = std::find(EBCDIC_TO_ASCII, EBCDIC_TO_ASCII + 256, text[at]);
        if (code != EBCDIC_TO_ASCII + 256) ebcdic[at] = char(code - EBCDIC_TO_ASCII);
    }
    return ebcdic;
}

}  // namespace korvex::seismic::textual_header

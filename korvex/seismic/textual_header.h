#pragma once

#include <QByteArray>
#include <QString>

#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// A SEG-Y textual header: 3200 bytes of 40 lines of 80 characters, in EBCDIC as the
// standard has it or in ASCII as many writers do.
namespace textual_header {

constexpr int SIZE = 3200;
constexpr int LINE = 80;

// Whether these bytes read as ASCII text rather than EBCDIC.
KORVEX_SEISMIC_EXPORT bool is_ascii(const QByteArray& bytes);
// The header as lines of text, whichever code it is in; characters EBCDIC has and ASCII
// lacks read as spaces.
KORVEX_SEISMIC_EXPORT QString text(const QByteArray& bytes);
// `text`, padded or cut to SIZE, in EBCDIC.
KORVEX_SEISMIC_EXPORT QByteArray to_ebcdic(const QByteArray& text);

}  // namespace textual_header

}  // namespace korvex::seismic

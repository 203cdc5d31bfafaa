#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "korvex/seismic/segy_layout.h"
#include "korvex/seismic/seismic_export.h"

namespace korvex::seismic {

// The headers at the start of a SEG-Y file, as bytes: the textual header, the extended
// textual headers the binary header announces, and the binary header.
struct KORVEX_SEISMIC_EXPORT SegyFileHeaders {
    SegyLayout layout;
    QByteArray textual;
    std::vector<QByteArray> extended_textual;
    // The textual and binary headers together, so that binary header fields are found
    // at the bytes the standard gives them (3201 to 3600).
    QByteArray headers;

    // Throws utils::ValueError naming the file when the headers cannot be read; a file whose
    // traces do not fit its size is read too, as far as its whole traces go.
    static SegyFileHeaders read(const QString& path);
};

}  // namespace korvex::seismic

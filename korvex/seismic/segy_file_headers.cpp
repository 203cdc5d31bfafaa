#include "korvex/seismic/segy_file_headers.h"

#include <QFile>

#include "korvex/config/base.h"
#include "korvex/seismic/textual_header.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

SegyFileHeaders SegyFileHeaders::read(const QString& path) {
    SegyFileHeaders result;
    result.layout = SegyLayout::read(path, SegyLayout::Fit::whole_traces);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw utils::ValueError(
            QStringLiteral("%1: %2").arg(path, _("cannot be opened for reading")).toStdString());
    result.headers = file.read(SegyLayout::HEADERS_SIZE);
    result.textual = result.headers.left(textual_header::SIZE);
    // SegyLayout::read has checked that the file holds them.
    for (int n = 0; n < result.layout.extended_text_headers; ++n)
        result.extended_textual.push_back(file.read(textual_header::SIZE));
    if (result.headers.size() != SegyLayout::HEADERS_SIZE)
        throw utils::ValueError(
            QStringLiteral("%1: %2").arg(path, _("the file headers cannot be read")).toStdString());
    return result;
}

}  // namespace korvex::seismic

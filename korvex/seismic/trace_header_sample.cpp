#include "korvex/seismic/trace_header_sample.h"

#include <QFile>
#include <algorithm>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

TraceHeaderSample::TraceHeaderSample(const QString& path, SegyLayout layout,
                                     std::vector<long long> traces)
    : layout_(layout), traces_(std::move(traces)), headers_(traces_.size() * 240) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw utils::ValueError(
            QStringLiteral("%1: %2").arg(path, _("cannot be opened for reading")).toStdString());
    for (std::size_t n = 0; n < traces_.size(); ++n) {
        char* header = headers_.data() + n * SegyLayout::TRACE_HEADER_SIZE;
        if (!file.seek(layout_.trace0 + traces_[n] * layout_.trace_stride()) ||
            file.read(header, SegyLayout::TRACE_HEADER_SIZE) != SegyLayout::TRACE_HEADER_SIZE)
            throw utils::ValueError(
                QStringLiteral("%1: %2")
                    .arg(path, _("the header of trace %1 cannot be read").arg(traces_[n] + 1))
                    .toStdString());
    }
}

TraceHeaderSample TraceHeaderSample::read(const QString& path, int max_traces,
                                          SegyLayout::Fit fit) {
    const SegyLayout layout = SegyLayout::read(path, fit);
    const long long count = std::min<long long>(layout.traces, std::max(2, max_traces));
    std::vector<long long> traces(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
        traces[std::size_t(i)] = count > 1 ? i * (layout.traces - 1) / (count - 1) : 0;
    return TraceHeaderSample(path, layout, std::move(traces));
}

TraceHeaderSample TraceHeaderSample::read_range(const QString& path, long long first,
                                                long long count) {
    const SegyLayout layout = SegyLayout::read(path, SegyLayout::Fit::whole_traces);
    first = std::clamp(first, 0LL, layout.traces);
    count = std::clamp(count, 0LL, layout.traces - first);
    std::vector<long long> traces(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i) traces[std::size_t(i)] = first + i;
    return TraceHeaderSample(path, layout, std::move(traces));
}

}  // namespace korvex::seismic

#include "korvex/app/data/trace_header_model.h"

#include <QBrush>
#include <QFont>

#include "korvex/app/data/header_summary_model.h"
#include "korvex/seismic/segy_fields.h"

namespace korvex::app::data {

using config::_;
using seismic::trace_header_fields;

TraceHeaderModel::TraceHeaderModel(const QString& path, HeaderFieldUses uses,
                                   const HeaderSummaryModel& summary, QObject* parent)
    : QAbstractTableModel(parent), path_(path), uses_(uses), summary_(summary) {}

void TraceHeaderModel::show_traces(long long first, long long count) {
    auto traces = seismic::TraceHeaderSample::read_range(path_, first - 1, count);
    beginResetModel();
    traces_.emplace(std::move(traces));
    endResetModel();
}

int TraceHeaderModel::column_of(int byte) {
    const auto& fields = trace_header_fields();
    for (std::size_t n = 0; n < fields.size(); ++n)
        if (fields[n].byte == byte) return int(n) + 1;
    return -1;
}

int TraceHeaderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !traces_ ? 0 : int(traces_->size());
}

int TraceHeaderModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(trace_header_fields().size()) + 1;
}

QVariant TraceHeaderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !traces_) return {};
    const std::size_t row = std::size_t(index.row());
    if (index.column() == 0)
        return role == Qt::DisplayRole ? QVariant(traces_->trace(row) + 1) : QVariant();
    const seismic::SegyField& field = trace_header_fields()[std::size_t(index.column() - 1)];
    if (role == Qt::BackgroundRole)
        return summary_.varies(field.byte) ? QBrush(varying_field_colour()) : QVariant();
    if (role == Qt::DisplayRole) return traces_->field(row, field.byte, field.size);
    return {};
}

QVariant TraceHeaderModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (section == 0) return role == Qt::DisplayRole ? QVariant(_("Trace")) : QVariant();
    const seismic::SegyField& field = trace_header_fields()[std::size_t(section - 1)];
    const QString use = uses_.of(field.byte);
    if (role == Qt::FontRole && !use.isEmpty()) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole) return {};
    const QString title = _("%1\nbyte %2").arg(_(field.name)).arg(field.byte);
    return use.isEmpty() ? title : _("%1\n[%2]").arg(title, use);
}

}  // namespace korvex::app::data

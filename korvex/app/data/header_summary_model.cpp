#include "korvex/app/data/header_summary_model.h"

#include <QBrush>
#include <algorithm>

#include "korvex/seismic/segy_fields.h"
#include "korvex/seismic/trace_header_sample.h"

namespace korvex::app::data {

using config::_;
using seismic::trace_header_fields;

HeaderSummaryModel::HeaderSummaryModel(const seismic::TraceHeaderSample& sample,
                                       HeaderFieldUses uses, QObject* parent)
    : QAbstractTableModel(parent), uses_(uses) {
    for (const seismic::SegyField& field : trace_header_fields()) {
        Range range;
        for (std::size_t n = 0; n < sample.size(); ++n) {
            const long long value = sample.field(n, field.byte, field.size);
            range.minimum = n == 0 ? value : std::min(range.minimum, value);
            range.maximum = n == 0 ? value : std::max(range.maximum, value);
        }
        ranges_.push_back(range);
    }
}

bool HeaderSummaryModel::varies(int byte) const {
    const auto& fields = trace_header_fields();
    for (std::size_t row = 0; row < fields.size(); ++row)
        if (fields[row].byte == byte) return ranges_[row].minimum != ranges_[row].maximum;
    return false;
}

int HeaderSummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ranges_.size());
}

int HeaderSummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant HeaderSummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const seismic::SegyField& field = trace_header_fields()[std::size_t(index.row())];
    const Range& range = ranges_[std::size_t(index.row())];
    const bool constant = range.minimum == range.maximum;
    if (role == Qt::BackgroundRole) return constant ? QVariant() : QBrush(varying_field_colour());
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case BYTE:
            return field.byte;
        case NAME:
            return _(field.name);
        case MINIMUM:
            return range.minimum;
        case MAXIMUM:
            return range.maximum;
        case CONSTANT:
            return constant ? _("constant") : _("varies");
        default:
            return uses_.of(field.byte);
    }
}

QVariant HeaderSummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const QString titles[] = {_("Byte"),    _("Field"),    _("Minimum"),
                              _("Maximum"), _("Constant"), _("Used as")};
    return titles[section];
}

}  // namespace korvex::app::data

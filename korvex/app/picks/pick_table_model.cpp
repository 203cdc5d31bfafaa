#include "korvex/app/picks/pick_table_model.h"

#include <cmath>

#include "korvex/app/data/number_text.h"
#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

namespace {

enum Column { INLINE, CROSSLINE, TIME, MAP_X, MAP_Y, AMPLITUDE, VOLUME, COLUMN_COUNT };

QString optional_text(const std::optional<double>& value) {
    return value ? data::map_text(*value) : QString();
}

// Every digit of the time the user picked, without the binary rounding of
// delay + n * interval (no survey samples finer than a microsecond).
QString time_text(double time) { return data::exact_text(std::round(time * 1e6) / 1e6); }

}  // namespace

QString PickTableModel::cell(const widgets::PickedSample& pick, int column) {
    switch (column) {
        case INLINE:
            return QString::number(pick.iline);
        case CROSSLINE:
            return QString::number(pick.xline);
        case TIME:
            return time_text(pick.time);
        case MAP_X:
            return optional_text(pick.map_x);
        case MAP_Y:
            return optional_text(pick.map_y);
        case AMPLITUDE:
            return std::isnan(pick.amplitude) ? QString()
                                              : data::amplitude_text(float(pick.amplitude));
        default:
            return pick.volume;
    }
}

PickTableModel::PickTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int PickTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PickTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant PickTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return cell(rows_.at(index.row()).pick, index.column());
}

QVariant PickTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    const QStringList titles{_("Inline"), _("Crossline"), _("Time (ms)"), _("Map X"),
                             _("Map Y"),  _("Amplitude"), _("Volume")};
    return titles.value(section);
}

void PickTableModel::insert(int at, Row row) {
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, std::move(row));
    endInsertRows();
}

void PickTableModel::replace(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void PickTableModel::remove(const std::set<int>& rows) {
    // A run of neighbours at a time, from the end, so that the rows before stay put.
    for (auto it = rows.rbegin(); it != rows.rend();) {
        const int last = *it;
        int first = last;
        while (++it != rows.rend() && *it == first - 1) --first;
        beginRemoveRows({}, first, last);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
    }
}

void PickTableModel::move_to_viewer(const QString& from, const QString& to) {
    for (Row& row : rows_)
        if (row.viewer == from) row.viewer = to;
}

}  // namespace korvex::app

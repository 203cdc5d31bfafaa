#pragma once

#include <QAbstractTableModel>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/header_field_uses.h"
#include "korvex/seismic/trace_header_sample.h"

namespace korvex::app::data {

class HeaderSummaryModel;

// The trace headers of a range of a file's traces: one row per trace, one column per
// standard field after the trace's number. A column header names the field, its byte
// and what the volume uses it for; the fields that vary over the file are shaded.
class KORVEX_DATA_EXPORT TraceHeaderModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    TraceHeaderModel(const QString& path, HeaderFieldUses uses, const HeaderSummaryModel& summary,
                     QObject* parent = nullptr);

    // Reads the headers of traces first .. first + count - 1, counting from 1 as the
    // user does, clipped to the file. Throws utils::ValueError when they cannot be read.
    void show_traces(long long first, long long count);
    // The column of the field at `byte`.
    static int column_of(int byte);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString path_;
    HeaderFieldUses uses_;
    const HeaderSummaryModel& summary_;
    std::optional<seismic::TraceHeaderSample> traces_;
};

}  // namespace korvex::app::data

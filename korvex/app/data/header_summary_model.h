#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/header_field_uses.h"

namespace korvex::seismic {
class TraceHeaderSample;
}

namespace korvex::app::data {

// One row per standard trace header field: its byte and name, its minimum and maximum
// over traces spread over the file, whether it is constant there, and what the volume
// uses it for. Fields that vary are shaded.
class KORVEX_DATA_EXPORT HeaderSummaryModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { BYTE, NAME, MINIMUM, MAXIMUM, CONSTANT, USE, COLUMNS };

    HeaderSummaryModel(const seismic::TraceHeaderSample& sample, HeaderFieldUses uses,
                       QObject* parent = nullptr);

    // Whether the field at `byte` takes more than one value over the sampled traces.
    bool varies(int byte) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Range {
        long long minimum = 0;
        long long maximum = 0;
    };
    std::vector<Range> ranges_;
    HeaderFieldUses uses_;
};

}  // namespace korvex::app::data

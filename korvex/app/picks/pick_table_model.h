#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <set>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::app {

// The rows of the Picks dock: each pick with the name of the viewer it was made in, in
// the order they were made. Text is made only for the cells on screen, so a hundred
// thousand picks cost their samples and not seven widgets each.
class KORVEX_APP_EXPORT PickTableModel final : public QAbstractTableModel {
public:
    struct Row {
        widgets::PickedSample pick;
        QString viewer;
    };

    // The text of one cell, as the table and the CSV file show it.
    static QString cell(const widgets::PickedSample& pick, int column);

    explicit PickTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<Row>& rows() const { return rows_; }
    // `at` from 0 to rowCount().
    void insert(int at, Row row);
    void replace(std::vector<Row> rows);
    void remove(const std::set<int>& rows);
    // The rows of the viewer named `from` now belong to `to`.
    void move_to_viewer(const QString& from, const QString& to);

private:
    std::vector<Row> rows_;
};

}  // namespace korvex::app

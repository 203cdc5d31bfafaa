#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "korvex/widgets/cube_viewer/picked_sample.h"

class QTableWidget;

namespace korvex::scene {
class PointVisual;
}

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

// The samples the user picked, one row each (inline, crossline, time, map X/Y when the
// survey's are known, amplitude, volume), each shown by a marker in the viewer where it
// was picked. Rows can be deleted (their markers go with them) and written as CSV.
class PicksPanel final : public QWidget {
    Q_OBJECT

public:
    static const QStringList COLUMNS;

    explicit PicksPanel(QWidget* parent = nullptr);
    ~PicksPanel() override;

    // Adds the row and puts its marker in `viewer`.
    void add_pick(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick);
    void remove_pick(int row);
    // Moves the markers of the picks made in the viewer named `from` into `to`: a pick is
    // the user's interpretation and outlives the view it was made in.
    void move_to_viewer(const QString& from, widgets::CanvasWidget& to);
    // Removes every row and marker.
    void clear();
    // Removes the rows selected in the table.
    void remove_selected();
    int count() const { return static_cast<int>(entries_.size()); }
    const widgets::PickedSample& pick(int row) const { return entries_.at(row).pick; }
    const scene::PointVisual& marker(int row) const { return *entries_.at(row).marker; }
    // The name of the viewer the pick was made in, as it was then.
    const QString& viewer_name(int row) const { return entries_.at(row).viewer; }
    QTableWidget* table() const { return table_; }

    // The rows as CSV, a header line first. Throws std::runtime_error naming the reason
    // when the file cannot be written; an existing file is replaced only when complete.
    void export_csv(const QString& path) const;

private:
    struct Entry {
        widgets::PickedSample pick;
        QString viewer;
        std::shared_ptr<scene::PointVisual> marker;
    };

    void export_dialog();

    QTableWidget* table_;
    std::vector<Entry> entries_;
};

}  // namespace korvex::app

#pragma once

#include <QWidget>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/picks/pick_markers.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

class QTableView;

namespace korvex::scene {
class PointVisual;
}

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

class PickTableModel;

// The samples the user picked, one row each (inline, crossline, time, map X/Y when the
// survey's are known, amplitude, volume), each shown by a marker in the viewer where it
// was picked. Rows can be deleted (their markers go with them) and written as CSV.
class KORVEX_APP_EXPORT PicksPanel final : public QWidget {
    Q_OBJECT

public:
    static const QStringList COLUMNS;

    // A pick with the viewer that shows its marker.
    struct PlacedPick {
        widgets::CanvasWidget* viewer;
        widgets::PickedSample pick;
    };

    explicit PicksPanel(QWidget* parent = nullptr);
    ~PicksPanel() override;

    // A pick as it was in its row, with the name of its viewer.
    struct Removed {
        int row;
        QString viewer;
        widgets::PickedSample pick;
    };

    // Adds the row and puts its marker in `viewer`.
    void add_pick(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick);
    // Replaces every row and marker at once: a project's picks.
    void replace_picks(const std::vector<PlacedPick>& picks);
    // Puts the pick back at `row` (0 to count()), as it was before it was deleted.
    void insert_pick(int row, widgets::CanvasWidget& viewer, const widgets::PickedSample& pick);
    void remove_pick(int row);
    // Moves the markers of the picks made in the viewer named `from` into `to`: a pick is
    // the user's interpretation and outlives the view it was made in.
    void move_to_viewer(const QString& from, widgets::CanvasWidget& to);
    // Removes every row and marker.
    void clear();
    // Removes the rows selected in the table.
    void remove_selected();
    int count() const;
    const widgets::PickedSample& pick(int row) const;
    // The name of the viewer the pick was made in, as it was then.
    const QString& viewer_name(int row) const;
    // The markers shown in the viewer named `viewer`; nullptr when it shows none.
    const scene::PointVisual* markers(const QString& viewer) const { return markers_.in(viewer); }
    QTableView* table() const { return table_; }

    // The rows as CSV, a header line first. Throws std::runtime_error naming the reason
    // when the file cannot be written; an existing file is replaced only when complete.
    void export_csv(const QString& path) const;

signals:
    // The user deleted these picks, in the order of their rows.
    void sig_deleted(const std::vector<korvex::app::PicksPanel::Removed>& picks);

private:
    // Columns as wide as their titles and the texts of the rows from `first` on (from the
    // titles alone when that is the first row), so that the numbers show whole and the
    // volume's name takes no more than it needs.
    void fit_columns(int first);
    void export_dialog();

    PickTableModel* model_;
    QTableView* table_;
    PickMarkers markers_;
};

}  // namespace korvex::app

#pragma once

#include <QObject>
#include <vector>

#include "korvex/app/picks/picks_panel.h"

namespace korvex::utils {
class UndoService;
}

namespace korvex::app {

class ViewerArea;

// The picks' share of Undo: a pick the user makes in any viewer (a right click on a section
// or a marker) is kept here, and a pick made or deleted goes back and forth with its marker,
// in the viewer it was made in, or the first one when that viewer is closed.
class PickUndo final : public QObject {
    Q_OBJECT

public:
    PickUndo(PicksPanel& panel, const ViewerArea& viewers, utils::UndoService& undo,
             QObject* parent = nullptr);

    // Adds a pick the user made in `viewer`, as a step of its own.
    void keep(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick);

private:
    void record_deleted(const std::vector<PicksPanel::Removed>& picks);
    void put_back(const std::vector<PicksPanel::Removed>& picks);
    void take_out(const std::vector<PicksPanel::Removed>& picks);
    widgets::CanvasWidget& viewer_named(const QString& name) const;

    PicksPanel& panel_;
    const ViewerArea& viewers_;
    utils::UndoService& undo_;
};

}  // namespace korvex::app

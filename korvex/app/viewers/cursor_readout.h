#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <map>

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/linked_cursor.h"

class QLabel;
class QStatusBar;

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

namespace data {
class OpenSurveys;
}

// The status bar's one read-out of the place under the mouse, whichever view it is in:
// the survey, inline, crossline, time and amplitude of a sample, its map X/Y and, when the
// project has a coordinate reference system, its latitude and longitude. It also writes
// the place under the mouse in a 3D viewer to the linked cursor: what the viewer's picking
// finds drawn there, nothing over empty background. Moves are gathered and looked up at
// most once a frame, so that a sweep of the mouse costs one pick per frame, not one per
// event.
class KORVEX_APP_EXPORT CursorReadout final : public QObject {
    Q_OBJECT

public:
    static constexpr int FRAME_MS = LinkedCursor::FRAME_MS;

    CursorReadout(const data::OpenSurveys& surveys, LinkedCursor& cursor, QStatusBar& bar,
                  QObject* parent = nullptr);

    // Follows the mouse over `viewer` from now on, until it is destroyed.
    void watch(widgets::CanvasWidget& viewer);

    // The read-out of a place, every number at the precision it has.
    QString text(const CursorPlace& place) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look_up();

    const data::OpenSurveys& surveys_;
    LinkedCursor& cursor_;
    QLabel* label_;
    QTimer frame_;
    // Each watched viewer by its native widget, which gets the mouse.
    std::map<QObject*, QPointer<widgets::CanvasWidget>> viewers_;
    QPointer<widgets::CanvasWidget> hovered_;
    QPoint position_;
};

}  // namespace korvex::app

#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <array>
#include <map>

#include "korvex/app/app_export.h"

class QLabel;
class QStatusBar;

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

namespace data {
class OpenSurveys;
}

// The status bar's read-out of the place under the mouse in a viewer: its map X/Y and,
// when the project has a coordinate reference system, its latitude and longitude. The
// place is what the viewer's picking finds drawn under the cursor; nothing is shown over
// empty background. Moves are gathered and looked up at most once a frame, so that a
// sweep of the mouse costs one pick per frame, not one per event.
class KORVEX_APP_EXPORT CursorReadout final : public QObject {
    Q_OBJECT

public:
    static constexpr int FRAME_MS = 16;

    CursorReadout(const data::OpenSurveys& surveys, QStatusBar& bar, QObject* parent = nullptr);

    // Follows the mouse over `viewer` from now on, until it is destroyed.
    void watch(widgets::CanvasWidget& viewer);

    // The text for a scene point: map X/Y to the centimetre, then latitude and longitude.
    QString text_at(const std::array<double, 3>& scene) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void look_up();

    const data::OpenSurveys& surveys_;
    QLabel* label_;
    QTimer frame_;
    // Each watched viewer by its native widget, which gets the mouse.
    std::map<QObject*, QPointer<widgets::CanvasWidget>> viewers_;
    QPointer<widgets::CanvasWidget> hovered_;
    QPoint position_;
};

}  // namespace korvex::app

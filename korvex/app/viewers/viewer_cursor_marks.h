#pragma once

#include <QObject>
#include <map>
#include <memory>

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/scene/pick_ray.h"

namespace korvex::scene {
class PointVisual;
}

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

namespace data {
class OpenSurveys;
}
class ViewerArea;

// The linked cursor in the 3D viewers: a small marker at the place the mouse points at in
// another view, on the sample of a volume, or at the map point (at its time, else at
// zero) where no volume is under the mouse.
class KORVEX_APP_EXPORT ViewerCursorMarks final : public QObject {
    Q_OBJECT

public:
    ViewerCursorMarks(LinkedCursor& cursor, const ViewerArea& viewers,
                      const data::OpenSurveys& surveys, QObject* parent = nullptr);
    ~ViewerCursorMarks() override;

    // The marker in `viewer`; nullptr while it shows none.
    const scene::PointVisual* marker(const widgets::CanvasWidget& viewer) const;

private:
    void mark(const std::optional<CursorPlace>& place);
    std::optional<scene::Point3> scene_point(const CursorPlace& place) const;

    const ViewerArea& viewers_;
    const data::OpenSurveys& surveys_;
    std::map<const widgets::CanvasWidget*, std::unique_ptr<scene::PointVisual>> markers_;
};

}  // namespace korvex::app

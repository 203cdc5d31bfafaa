#pragma once

#include <QObject>
#include <QPointF>
#include <functional>
#include <optional>

#include "korvex/app/app_export.h"
#include "korvex/app/data/volume_picker.h"
#include "korvex/app/viewers/linked_cursor.h"

namespace korvex::widgets {
class SectionView;
}

namespace korvex::app {

class PicksPanel;
class VolumeSectionFeed;

// Ties one section view to the window's other views: the place under its mouse goes to
// the linked cursor and the others' place is marked in it, a right click picks as in 3D
// (the same picks, kept by `keep`), and the picks on or near its section are marked.
class KORVEX_APP_EXPORT SectionViewLink final : public QObject {
    Q_OBJECT

public:
    // How many lines (or samples, on a time slice) off its section a place is still marked.
    static constexpr double NEAR_STEPS = 2.0;

    using KeepPick = std::function<void(const widgets::PickedSample& pick)>;

    SectionViewLink(widgets::SectionView& view, VolumeSectionFeed& feed, LinkedCursor& cursor,
                    const PicksPanel& picks, KeepPick keep);

private:
    // The sample of the drawn section at a data point of the view.
    std::optional<data::VolumePicker::Pick> sample_at(const QPointF& data) const;
    // Where a place in the volume's line numbers and time lies in the view, when on or near
    // its section: a whole trace where the time is not known.
    struct Mark {
        double column;
        std::optional<double> row;
    };
    std::optional<Mark> mark_of(double iline, double xline, std::optional<double> time) const;
    void hover(const QPointF& data);
    void mark_cursor(const std::optional<CursorPlace>& place);
    void mark_picks();
    void pick(const QPointF& data);

    widgets::SectionView& view_;
    VolumeSectionFeed& feed_;
    LinkedCursor& cursor_;
    const PicksPanel& picks_;
    KeepPick keep_;
};

}  // namespace korvex::app

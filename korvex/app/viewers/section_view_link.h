#pragma once

#include <QObject>
#include <QPointF>
#include <functional>
#include <memory>
#include <optional>

#include "korvex/app/app_export.h"
#include "korvex/app/data/volume_picker.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/section_places.h"

namespace korvex::widgets {
class SectionView;
}

namespace korvex::app {

class PicksPanel;

// Ties one section view to the window's other views: the place under its mouse goes to
// the linked cursor and the others' place is marked in it, a right click picks as in 3D
// (the same picks, kept by `keep`), and the picks on or near its section are marked.
class KORVEX_APP_EXPORT SectionViewLink final : public QObject {
    Q_OBJECT

public:
    using KeepPick = std::function<void(const widgets::PickedSample& pick)>;

    SectionViewLink(widgets::SectionView& view, std::unique_ptr<SectionPlaces> places,
                    LinkedCursor& cursor, const PicksPanel& picks, KeepPick keep);
    ~SectionViewLink() override;

    // The link of a view fed by `feed`, a VolumeSectionFeed or an ArbitraryLineFeed; none
    // for another feed.
    static SectionViewLink* attach(widgets::SectionView& view, QObject& feed, LinkedCursor& cursor,
                                   const PicksPanel& picks, KeepPick keep);

    // Marks the cursor and the picks again: the view shows another section.
    void remark();

private:
    // The sample of the drawn section at a data point of the view.
    std::optional<data::VolumePicker::Pick> sample_at(const QPointF& data) const;
    void hover(const QPointF& data);
    void mark_cursor(const std::optional<CursorPlace>& place);
    void mark_picks();
    void pick(const QPointF& data);

    widgets::SectionView& view_;
    std::unique_ptr<SectionPlaces> places_;
    LinkedCursor& cursor_;
    const PicksPanel& picks_;
    KeepPick keep_;
};

}  // namespace korvex::app

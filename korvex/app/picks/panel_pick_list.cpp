#include "korvex/app/picks/panel_pick_list.h"

#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

namespace korvex::app {

using utils::format;

namespace {

widgets::CanvasWidget& canvas_named(const ViewerArea& viewers, const QString& name) {
    for (int index = 0; index < viewers.count(); ++index) {
        widgets::CanvasWidget& canvas = viewers.viewer(index)->base();
        if (canvas.name() == name) return canvas;
    }
    throw utils::LookupError(format("there is no viewer {}", name).toStdString());
}

}  // namespace

PanelPickList::PanelPickList(PicksPanel& panel, const ViewerArea& viewers)
    : panel_(panel), viewers_(viewers) {}

std::vector<PickRecord> PanelPickList::pick_records() const {
    std::vector<PickRecord> records;
    for (int row = 0; row < panel_.count(); ++row)
        records.push_back({panel_.viewer_name(row), panel_.pick(row)});
    return records;
}

void PanelPickList::replace_picks(const std::vector<PickRecord>& records) {
    std::vector<PicksPanel::PlacedPick> picks;
    picks.reserve(records.size());
    for (const PickRecord& record : records)
        picks.push_back({&canvas_named(viewers_, record.viewer), record.sample});
    panel_.replace_picks(picks);
}

}  // namespace korvex::app

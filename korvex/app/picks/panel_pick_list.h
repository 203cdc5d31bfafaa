#pragma once

#include "korvex/app/app_export.h"
#include "korvex/app/picks/pick_list.h"

namespace korvex::app {

class PicksPanel;
class ViewerArea;

// The Picks dock as the project sees it: its rows with the names of their viewers, and
// a fresh set of rows, each with its marker in the viewer of that name, when a project
// is opened. The window keeps the dock; the project only reads and replaces its picks.
class KORVEX_APP_EXPORT PanelPickList final : public PickList {
public:
    PanelPickList(PicksPanel& panel, const ViewerArea& viewers);

    std::vector<PickRecord> pick_records() const override;
    // Throws utils::LookupError, before anything changes, when a record names no viewer.
    void replace_picks(const std::vector<PickRecord>& records) override;

private:
    PicksPanel& panel_;
    const ViewerArea& viewers_;
};

}  // namespace korvex::app

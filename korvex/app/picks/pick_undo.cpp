#include "korvex/app/picks/pick_undo.h"

#include <QStringList>

#include "korvex/app/viewers/viewer_area.h"
#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

namespace korvex::app {

using config::_;
using utils::format;

PickUndo::PickUndo(PicksPanel& panel, const ViewerArea& viewers, utils::UndoService& undo,
                   QObject* parent)
    : QObject(parent), panel_(panel), viewers_(viewers), undo_(undo) {
    connect(&panel_, &PicksPanel::sig_deleted, this, &PickUndo::record_deleted);
    connect(&viewers_, &ViewerArea::sig_picked_sample, this,
            [this](widgets::CanvasWidget* viewer, const widgets::PickedSample& pick) {
                utils::call_guarded(_("Keeping a pick"), [&] { keep(*viewer, pick); });
            });
}

void PickUndo::keep(widgets::CanvasWidget& viewer, const widgets::PickedSample& pick) {
    panel_.add_pick(viewer, pick);
    const std::vector<PicksPanel::Removed> made{{panel_.count() - 1, viewer.name(), pick}};
    // The pick itself has its line in the journal already.
    undo_.record(
        _("pick"), QString(), [this, made] { take_out(made); }, [this, made] { put_back(made); });
}

void PickUndo::record_deleted(const std::vector<PicksPanel::Removed>& picks) {
    QStringList where;
    for (const PicksPanel::Removed& removed : picks) {
        const widgets::PickedSample& pick = removed.pick;
        where << format("inline {}, crossline {}, time {} ms on {}", pick.iline, pick.xline,
                        pick.time, pick.volume);
    }
    const QString line = picks.size() == 1
                             ? format("Pick deleted: {}", where.front())
                             : format("{} picks deleted: {}", picks.size(), where.join("; "));
    const QString text =
        picks.size() == 1 ? _("delete pick") : _("delete %1 picks").arg(picks.size());
    undo_.record(
        text, line, [this, picks] { put_back(picks); }, [this, picks] { take_out(picks); });
}

void PickUndo::put_back(const std::vector<PicksPanel::Removed>& picks) {
    for (const PicksPanel::Removed& removed : picks)
        panel_.insert_pick(removed.row, viewer_named(removed.viewer), removed.pick);
}

void PickUndo::take_out(const std::vector<PicksPanel::Removed>& picks) {
    // From the last row up, so that each row still holds its own pick.
    for (auto it = picks.rbegin(); it != picks.rend(); ++it) panel_.remove_pick(it->row);
}

widgets::CanvasWidget& PickUndo::viewer_named(const QString& name) const {
    for (int index = 0; index < viewers_.count(); ++index) {
        widgets::CanvasWidget& viewer = viewers_.viewer(index)->base();
        if (viewer.name() == name) return viewer;
    }
    return viewers_.viewer(0)->base();
}

}  // namespace korvex::app

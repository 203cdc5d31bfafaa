#include "korvex/app/viewers/section_view_link.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <cmath>

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/app/viewers/arbitrary_line_places.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/viewers/volume_section_places.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;

SectionViewLink::SectionViewLink(widgets::SectionView& view, std::unique_ptr<SectionPlaces> places,
                                 LinkedCursor& cursor, const PicksPanel& picks, KeepPick keep)
    : QObject(&view),
      view_(view),
      places_(std::move(places)),
      cursor_(cursor),
      picks_(picks),
      keep_(std::move(keep)) {
    widgets::SectionCanvas* canvas = &view_.canvas();
    connect(canvas, &widgets::SectionCanvas::sig_hovered, this, [this](const QPointF& data) {
        utils::call_guarded(_("Following the mouse in a section view"), [&] { hover(data); });
    });
    connect(canvas, &widgets::SectionCanvas::sig_left, this, [this] { cursor_.clear(&view_); });
    connect(canvas, &widgets::SectionCanvas::sig_pick_clicked, this, [this](const QPointF& data) {
        utils::call_guarded(_("Picking in a section view"), [&] { pick(data); });
    });
    connect(&cursor_, &LinkedCursor::sig_moved, this,
            [this](const std::optional<CursorPlace>& place) {
                utils::call_guarded(_("Marking the mouse in a section view"),
                                    [&] { mark_cursor(place); });
            });
    const auto again = [this] { remark(); };
    const QAbstractItemModel* model = picks_.table()->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, again);
    connect(model, &QAbstractItemModel::rowsRemoved, this, again);
    connect(model, &QAbstractItemModel::modelReset, this, again);
}

SectionViewLink::~SectionViewLink() = default;

SectionViewLink* SectionViewLink::attach(widgets::SectionView& view, QObject& feed,
                                         LinkedCursor& cursor, const PicksPanel& picks,
                                         KeepPick keep) {
    const widgets::SectionCanvas& canvas = view.canvas();
    if (auto* section = qobject_cast<VolumeSectionFeed*>(&feed)) {
        auto* made =
            new SectionViewLink(view, std::make_unique<VolumeSectionPlaces>(*section, canvas),
                                cursor, picks, std::move(keep));
        connect(section, &VolumeSectionFeed::sig_drawn, made, &SectionViewLink::remark);
        return made;
    }
    if (auto* line = qobject_cast<ArbitraryLineFeed*>(&feed)) {
        auto* made = new SectionViewLink(view, std::make_unique<ArbitraryLinePlaces>(*line, canvas),
                                         cursor, picks, std::move(keep));
        connect(line, &ArbitraryLineFeed::sig_drawn, made, &SectionViewLink::remark);
        return made;
    }
    return nullptr;
}

void SectionViewLink::remark() {
    utils::call_guarded(_("Marking the picks in a section view"), [&] {
        mark_picks();
        mark_cursor(cursor_.place());
    });
}

std::optional<data::VolumePicker::Pick> SectionViewLink::sample_at(const QPointF& data) const {
    const widgets::SectionSamples& samples = view_.canvas().samples();
    const int column = int(std::floor(data.x())), row = int(std::floor(data.y()));
    if (column < 0 || row < 0 || column >= samples.columns || row >= samples.rows)
        return std::nullopt;
    const auto sample = places_->sample_at(column, row);
    if (!sample) return std::nullopt;
    return data::VolumePicker::Pick{*sample,
                                    samples.values[std::size_t(row) * samples.columns + column]};
}

void SectionViewLink::hover(const QPointF& data) {
    const auto sample = sample_at(data);
    if (!sample) {
        cursor_.clear(&view_);
        return;
    }
    const data::SeismicVolume& volume = *places_->volume();
    CursorPlace place = CursorPlace::of(volume.picker().picked_sample(*sample), &view_);
    // A survey without coordinates still lies somewhere on the map (a unit per line), where
    // the 3D view and the map show it.
    if (!place.map) place.map = volume.geometry().to_map(*place.iline, *place.xline);
    cursor_.move_to(place);
}

void SectionViewLink::mark_cursor(const std::optional<CursorPlace>& place) {
    const data::SeismicVolume* volume = places_->volume();
    std::optional<widgets::SectionMarks::Cursor> mark;
    if (volume && place && place->source != &view_) {
        std::optional<std::array<double, 2>> lines;
        if (place->survey == volume->name() && place->iline && place->xline)
            lines = std::array{*place->iline, *place->xline};
        else if (place->map && volume->geometry().has_coordinates())
            lines = volume->geometry().to_lines((*place->map)[0], (*place->map)[1]);
        if (lines) mark = places_->mark_of((*lines)[0], (*lines)[1], place->time);
    }
    view_.canvas().set_cursor_mark(mark);
}

void SectionViewLink::mark_picks() {
    const data::SeismicVolume* volume = places_->volume();
    std::vector<QPointF> marks;
    for (int row = 0; volume && row < picks_.count(); ++row) {
        const widgets::PickedSample& pick = picks_.pick(row);
        if (pick.volume != volume->name()) continue;
        const auto at = places_->mark_of(pick.iline, pick.xline, pick.time);
        if (at && at->column && at->row) marks.emplace_back(*at->column, *at->row);
    }
    view_.canvas().set_pick_marks(std::move(marks));
}

void SectionViewLink::pick(const QPointF& data) {
    const auto sample = sample_at(data);
    if (!sample) return;
    if (const auto hole = places_->volume()->picker().no_trace(sample->sample)) {
        utils::logger().info(utils::format("{}: {}", places_->volume()->name(), *hole));
        return;
    }
    const widgets::PickedSample picked = places_->volume()->picker().picked_sample(*sample);
    utils::logger().info(utils::format("{}: amplitude {} at inline {}, crossline {}, time {} ms",
                                       picked.volume, data::exact_text(picked.amplitude),
                                       picked.iline, picked.xline, picked.time));
    keep_(picked);
}

}  // namespace korvex::app

#include "korvex/app/viewers/section_view_link.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <cmath>

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;
using seismic::SectionKind;

namespace {

// The distance between neighbouring sections of a kind, for "near".
double section_step(const data::SurveyFrame& frame, SectionKind kind) {
    return frame.count(kind) > 1
               ? std::abs(frame.position_value(kind, 1) - frame.position_value(kind, 0))
               : 1.0;
}

}  // namespace

SectionViewLink::SectionViewLink(widgets::SectionView& view, VolumeSectionFeed& feed,
                                 LinkedCursor& cursor, const PicksPanel& picks, KeepPick keep)
    : QObject(&view),
      view_(view),
      feed_(feed),
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
    const auto remark = [this] {
        utils::call_guarded(_("Marking the picks in a section view"), [&] {
            mark_picks();
            mark_cursor(cursor_.place());
        });
    };
    connect(&feed_, &VolumeSectionFeed::sig_drawn, this, remark);
    const QAbstractItemModel* model = picks_.table()->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, remark);
    connect(model, &QAbstractItemModel::rowsRemoved, this, remark);
    connect(model, &QAbstractItemModel::modelReset, this, remark);
}

std::optional<data::VolumePicker::Pick> SectionViewLink::sample_at(const QPointF& data) const {
    const data::SeismicVolume* volume = feed_.volume();
    const widgets::SectionSamples& samples = view_.canvas().samples();
    const int column = int(std::floor(data.x())), row = int(std::floor(data.y()));
    if (!volume || !feed_.drawn() || column < 0 || row < 0 || column >= samples.columns ||
        row >= samples.rows)
        return std::nullopt;
    data::SurveyFrame::Sample s;
    switch (feed_.kind()) {
        case SectionKind::iline:
            s = {feed_.index(), column, row};
            break;
        case SectionKind::xline:
            s = {column, feed_.index(), row};
            break;
        case SectionKind::depth:
            s = {column, row, feed_.index()};
            break;
    }
    const data::SurveyFrame& frame = volume->frame();
    s.iline = int(frame.position_value(SectionKind::iline, s.iline_index));
    s.xline = int(frame.position_value(SectionKind::xline, s.xline_index));
    s.time = frame.position_value(SectionKind::depth, s.sample_index);
    return data::VolumePicker::Pick{s, samples.values[std::size_t(row) * samples.columns + column]};
}

std::optional<SectionViewLink::Mark> SectionViewLink::mark_of(double iline, double xline,
                                                              std::optional<double> time) const {
    const data::SeismicVolume* volume = feed_.volume();
    if (!volume || !feed_.drawn()) return std::nullopt;
    const SectionKind kind = feed_.kind();
    const double across = kind == SectionKind::iline   ? iline
                          : kind == SectionKind::xline ? xline
                                                       : time.value_or(feed_.position());
    if (!(std::abs(across - feed_.position()) <= NEAR_STEPS * section_step(volume->frame(), kind)))
        return std::nullopt;
    const widgets::SectionCanvas& canvas = view_.canvas();
    switch (kind) {
        case SectionKind::iline:
            return Mark{canvas.horizontal().data_at(xline),
                        time ? std::optional(canvas.vertical().data_at(*time)) : std::nullopt};
        case SectionKind::xline:
            return Mark{canvas.horizontal().data_at(iline),
                        time ? std::optional(canvas.vertical().data_at(*time)) : std::nullopt};
        case SectionKind::depth:
            break;
    }
    return Mark{canvas.horizontal().data_at(iline), canvas.vertical().data_at(xline)};
}

void SectionViewLink::hover(const QPointF& data) {
    const auto sample = sample_at(data);
    if (!sample) {
        cursor_.clear(&view_);
        return;
    }
    cursor_.move_to(CursorPlace::of(feed_.volume()->picker().picked_sample(*sample), &view_));
}

void SectionViewLink::mark_cursor(const std::optional<CursorPlace>& place) {
    const data::SeismicVolume* volume = feed_.volume();
    std::optional<widgets::SectionMarks::Cursor> mark;
    if (volume && place && place->source != &view_) {
        std::optional<std::array<double, 2>> lines;
        if (place->survey == volume->name() && place->iline && place->xline)
            lines = std::array{*place->iline, *place->xline};
        else if (place->map && volume->geometry().has_coordinates())
            lines = volume->geometry().to_lines((*place->map)[0], (*place->map)[1]);
        const auto at = lines ? mark_of((*lines)[0], (*lines)[1], place->time) : std::nullopt;
        if (at) mark = widgets::SectionMarks::Cursor{at->column, at->row};
    }
    view_.canvas().set_cursor_mark(mark);
}

void SectionViewLink::mark_picks() {
    const data::SeismicVolume* volume = feed_.volume();
    std::vector<QPointF> marks;
    for (int row = 0; volume && row < picks_.count(); ++row) {
        const widgets::PickedSample& pick = picks_.pick(row);
        if (pick.volume != volume->name()) continue;
        if (const auto at = mark_of(pick.iline, pick.xline, pick.time))
            marks.emplace_back(at->column, at->row.value_or(0.0));
    }
    view_.canvas().set_pick_marks(std::move(marks));
}

void SectionViewLink::pick(const QPointF& data) {
    const auto sample = sample_at(data);
    if (!sample) return;
    const widgets::PickedSample picked = feed_.volume()->picker().picked_sample(*sample);
    utils::logger().info(utils::format("{}: amplitude {} at inline {}, crossline {}, time {} ms",
                                       picked.volume, data::exact_text(picked.amplitude),
                                       picked.iline, picked.xline, picked.time));
    keep_(picked);
}

}  // namespace korvex::app

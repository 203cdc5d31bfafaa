#include "korvex/app/viewers/volume_section_feed.h"

#include <QToolButton>
#include <algorithm>

#include "korvex/app/data/section_reader.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/typed_line.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/config/base.h"
#include "korvex/seismic/section_kind.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;
using seismic::SectionKind;

namespace {

// The line numbers along a section, and time (or the crosslines of a time slice) down it.
std::pair<widgets::SectionAxis, widgets::SectionAxis> axes(const seismic::SegyGeometry& g,
                                                           SectionKind kind) {
    const widgets::SectionAxis inlines{_("Inline"), double(g.ilines.front()),
                                       double(g.iline_increment() ? g.iline_increment() : 1)};
    const widgets::SectionAxis crosslines{_("Crossline"), double(g.xlines.front()),
                                          double(g.xline_increment() ? g.xline_increment() : 1)};
    const widgets::SectionAxis time{_("Time (ms)"), g.delay_ms, g.sample_interval_ms};
    switch (kind) {
        case SectionKind::iline:
            return {crosslines, time};
        case SectionKind::xline:
            return {inlines, time};
        case SectionKind::depth:
            break;
    }
    return {inlines, crosslines};
}

// The live area on a time slice, in the section view's data coordinates: a column per
// inline, a row per crossline, sample (c, r) covering [c, c+1) x [r, r+1).
std::vector<QLineF> live_area(const data::SeismicVolume& volume) {
    std::vector<QLineF> lines;
    for (const auto& s : volume.live_area())
        lines.emplace_back(s.iline0 + 0.5, s.xline0 + 0.5, s.iline1 + 0.5, s.xline1 + 0.5);
    return lines;
}

}  // namespace

VolumeSectionFeed::VolumeSectionFeed(widgets::SectionView& view, data::SeismicVolume& volume,
                                     SectionKind kind, int index)
    : QObject(&view),
      view_(view),
      volume_(&volume),
      reader_(volume.sections().make_reader(this)),
      kind_(kind) {
    view_.set_volume_name(volume.name());
    connect(reader_, &data::SectionReader::sig_section_read, this, &VolumeSectionFeed::draw);
    connect(
        reader_, &data::SectionReader::sig_read_failed, this,
        [this](SectionKind, int, const QString& message) {
            view_.say(_("Not read: %1").arg(message));
            utils::logger().error(utils::format("{}: a section view's section cannot be read: {}",
                                                volume_ ? volume_->name() : QString(), message));
        });
    connect(&volume, &data::SeismicVolume::sig_style_changed, this, &VolumeSectionFeed::show_style);
    connect(&volume, &data::SeismicVolume::sig_stats_changed, this, &VolumeSectionFeed::show_style);
    // The same line or time, on the grid of the traces placed anew.
    connect(&volume, &data::SeismicVolume::sig_geometry_changed, this,
            [this](const data::SurveyFrame& before) {
                utils::call_guarded(_("Showing a section of traces placed anew"), [&] {
                    drawn_ = -1;
                    show_section(kind_, volume_->frame().index_of(
                                            kind_, before.position_value(kind_, index_)));
                });
            });
    connect(&view_, &widgets::SectionView::sig_line_entered, this, [this](double value) {
        utils::call_guarded(_("Going to a line"), [&] { go_to(value); });
    });
    connect(&view_, &widgets::SectionView::sig_step, this, [this](int lines) {
        utils::call_guarded(_("Stepping the section"), [&] { step(lines); });
    });
    connect(&view_, &widgets::SectionView::sig_type_chosen, this, [this](const QString& type) {
        utils::call_guarded(_("Choosing a section"), [&] {
            const auto kind = seismic::section_kind(type);
            if (kind && volume_ && *kind != kind_)
                show_section(*kind, volume_->section_index(*kind));
        });
    });
    connect(view_.follow_button(), &QToolButton::toggled, this, [this](bool on) {
        utils::call_guarded(_("Following the section view in 3D"), [&] { set_following(on); });
    });
    show_style();
    show_section(kind, index);
}

double VolumeSectionFeed::position() const {
    return volume_ ? volume_->frame().position_value(kind_, index_) : 0.0;
}

void VolumeSectionFeed::show_section(SectionKind kind, int index) {
    if (!volume_) return;
    kind_ = kind;
    index_ = std::clamp(index, 0, volume_->frame().count(kind) - 1);
    view_.set_section_type(seismic::section_type(kind));
    reader_->request(kind_, index_);
    if (following_) volume_->set_section_index(kind_, index_);
    emit sig_asked();
}

void VolumeSectionFeed::set_following(bool on) {
    following_ = on;
    if (following_ && volume_) volume_->set_section_index(kind_, index_);
}

void VolumeSectionFeed::go_to(double value) {
    if (!volume_) return;
    const data::TypedLine line = data::TypedLine::nearest(*volume_, kind_, value);
    view_.say(line.note);
    show_section(kind_, line.index);
}

void VolumeSectionFeed::step(int lines) {
    view_.say({});
    show_section(kind_, index_ + lines);
}

QByteArray VolumeSectionFeed::state() const {
    SectionViewState state;
    state.volume = volume_ ? volume_->name() : QString();
    state.kind = kind_;
    state.position = position();
    state.traces = view_.canvas().trace_display();
    state.zoom = view_.canvas().zoom_state();
    state.follow = following_;
    return state.to_json();
}

void VolumeSectionFeed::draw(SectionKind kind, int index, const seismic::Section& image) {
    if (!volume_ || kind != kind_) return;
    drawn_kind_ = kind;
    drawn_ = index;
    const auto [horizontal, vertical] = axes(volume_->file().geometry(), kind);
    view_.canvas().set_outline(kind == SectionKind::depth ? live_area(*volume_)
                                                          : std::vector<QLineF>());
    view_.show_section(seismic::section_type(kind), volume_->frame().position_value(kind, index),
                       {image.rows, image.columns, image.values}, horizontal, vertical);
    if (drawn()) emit sig_drawn();
}

void VolumeSectionFeed::show_style() {
    if (!volume_) return;
    utils::call_guarded(_("Colouring a section view"),
                        [&] { view_.canvas().set_style(volume_->colormap(), volume_->clip()); });
}

}  // namespace korvex::app

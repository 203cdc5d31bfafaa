#include "korvex/app/viewers/arbitrary_line_feed.h"

#include <QFutureWatcher>
#include <QtConcurrent>

#include "korvex/app/viewers/section_view_state.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;

struct ArbitraryLineFeed::Read {
    seismic::Section section;
    QString error;
};

ArbitraryLineFeed::ArbitraryLineFeed(widgets::SectionView& view, data::SeismicVolume& volume,
                                     std::vector<data::LinePoint> points, data::LineTraces traces)
    : QObject(&view),
      view_(view),
      volume_(&volume),
      points_(std::move(points)),
      traces_(std::move(traces)),
      reading_(new QFutureWatcher<Read>(this)) {
    view_.set_volume_name(volume.name());
    QStringList names;
    for (const data::LineTraces::Knot& knot : traces_.knots()) names << knot.name;
    view_.set_line(names.join(QStringLiteral(" \u2192 ")));
    connect(&volume, &data::SeismicVolume::sig_style_changed, this, &ArbitraryLineFeed::show_style);
    connect(&volume, &data::SeismicVolume::sig_stats_changed, this, &ArbitraryLineFeed::show_style);
    connect(reading_, &QFutureWatcher<Read>::finished, this,
            [this] { utils::call_guarded(_("Drawing an arbitrary line"), [&] { draw(); }); });
    // The traces the line crosses, found again where the survey now lies or now has traces.
    const auto cross_again = [this] {
        utils::call_guarded(_("Finding the traces of an arbitrary line again"), [&] {
            traces_ = data::LineTraces(points_, volume_->file().geometry(), volume_->geometry());
            read();
        });
    };
    connect(&volume, &data::SeismicVolume::sig_placed, this, cross_again);
    connect(&volume, &data::SeismicVolume::sig_geometry_changed, this, cross_again);
    show_style();
    read();
}

void ArbitraryLineFeed::read() {
    drawn_ = false;
    // The read keeps the file and its own copy of the positions: neither goes with the view.
    // A newer read takes the watcher over, and the older one's result goes nowhere.
    reading_->setFuture(
        QtConcurrent::run([file = volume_->shared_file(), traces = traces_]() -> Read {
            try {
                return {traces.read(*file), {}};
            } catch (const std::exception& error) {
                return {{}, QString::fromStdString(error.what())};
            }
        }));
}

// A read still running ends on its own; nothing is delivered once the watcher is gone.
ArbitraryLineFeed::~ArbitraryLineFeed() = default;

QByteArray ArbitraryLineFeed::state() const {
    SectionViewState state;
    state.volume = volume_ ? volume_->name() : QString();
    state.line = points_;
    state.traces = view_.canvas().trace_display();
    state.zoom = view_.canvas().zoom_state();
    return state.to_json();
}

void ArbitraryLineFeed::draw() {
    Read read = reading_->result();
    if (!volume_) return;
    if (!read.error.isEmpty()) {
        view_.say(_("Not read: %1").arg(read.error));
        utils::logger().error(
            utils::format("{}: an arbitrary line cannot be read: {}", volume_->name(), read.error));
        return;
    }
    std::vector<widgets::AxisKnot> knots;
    for (const data::LineTraces::Knot& knot : traces_.knots())
        knots.push_back({knot.column + 0.5, knot.distance, knot.name});
    const seismic::SegyGeometry& grid = volume_->file().geometry();
    view_.canvas().set_section(
        {read.section.rows, read.section.columns, std::move(read.section.values)},
        {_("Distance along the line"), 0.0, 1.0, knots},
        {_("Time (ms)"), grid.delay_ms, grid.sample_interval_ms});
    drawn_ = true;
    emit sig_drawn();
}

void ArbitraryLineFeed::show_style() {
    if (!volume_) return;
    utils::call_guarded(_("Colouring a section view"),
                        [&] { view_.canvas().set_style(volume_->colormap(), volume_->clip()); });
}

}  // namespace korvex::app

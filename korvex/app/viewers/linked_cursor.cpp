#include "korvex/app/viewers/linked_cursor.h"

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;

CursorPlace CursorPlace::of(const widgets::PickedSample& sample, QObject* source) {
    CursorPlace place;
    place.survey = sample.volume;
    place.iline = sample.iline;
    place.xline = sample.xline;
    place.time = sample.time;
    place.amplitude = sample.amplitude;
    if (sample.map_x && sample.map_y) place.map = std::array{*sample.map_x, *sample.map_y};
    place.source = source;
    return place;
}

LinkedCursor::LinkedCursor(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::optional<CursorPlace>>();
    frame_.setSingleShot(true);
    frame_.setInterval(FRAME_MS);
    connect(&frame_, &QTimer::timeout, this, [this] {
        utils::call_guarded(_("Marking the place under the mouse"), [&] { tell(); });
    });
}

void LinkedCursor::move_to(const CursorPlace& place) {
    latest_ = place;
    if (!frame_.isActive()) frame_.start();
}

void LinkedCursor::clear(const QObject* source) {
    const std::optional<CursorPlace>& last = latest_ ? latest_ : told_;
    if (last && last->source != source) return;
    latest_.reset();
    if (!frame_.isActive()) frame_.start();
}

void LinkedCursor::tell() {
    if (!latest_ && !told_) return;
    told_ = latest_;
    emit sig_moved(told_);
}

}  // namespace korvex::app

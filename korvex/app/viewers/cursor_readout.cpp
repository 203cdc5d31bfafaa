#include "korvex/app/viewers/cursor_readout.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QStringList>
#include <cmath>

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/volume_section_visual.h"
#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"

namespace korvex::app {

using config::_;

namespace {

// Degrees to a tenth of a metre, with the hemisphere: "54.148104° N".
QString degrees(double value, QChar positive, QChar negative) {
    return QStringLiteral("%1%2 %3")
        .arg(std::abs(value), 0, 'f', 6)
        .arg(QChar(0x00B0))
        .arg(value < 0 ? negative : positive);
}

}  // namespace

CursorReadout::CursorReadout(const data::OpenSurveys& surveys, LinkedCursor& cursor,
                             QStatusBar& bar, QObject* parent)
    : QObject(parent), surveys_(surveys), cursor_(cursor), label_(new QLabel(&bar)) {
    label_->setObjectName(QStringLiteral("cursor_readout"));
    bar.addPermanentWidget(label_);
    frame_.setSingleShot(true);
    frame_.setInterval(FRAME_MS);
    connect(&frame_, &QTimer::timeout, this, [this] {
        utils::call_guarded(_("Reading the place under the mouse"), [&] { look_up(); });
    });
    connect(&cursor_, &LinkedCursor::sig_moved, this,
            [this](const std::optional<CursorPlace>& place) {
                utils::call_guarded(_("Reading the place under the mouse"),
                                    [&] { label_->setText(place ? text(*place) : QString()); });
            });
}

void CursorReadout::watch(widgets::CanvasWidget& viewer) {
    QWidget* native = viewer.canvas().native();
    if (!native) return;
    native->setMouseTracking(true);
    native->installEventFilter(this);
    viewers_[native] = &viewer;
    connect(native, &QObject::destroyed, this, [this](QObject* gone) { viewers_.erase(gone); });
}

bool CursorReadout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        const auto found = viewers_.find(watched);
        if (found != viewers_.end()) {
            hovered_ = found->second;
            position_ = static_cast<QMouseEvent*>(event)->pos();
            if (!frame_.isActive()) frame_.start();
        }
    } else if (event->type() == QEvent::Leave && viewers_.count(watched)) {
        hovered_ = nullptr;
        frame_.stop();
        cursor_.clear(viewers_[watched]);
    }
    return false;
}

void CursorReadout::look_up() {
    if (!hovered_) return;
    const scene::PickResult pick = hovered_->canvas().pick(position_);
    if (!pick.point) {
        cursor_.clear(hovered_);
        return;
    }
    const auto origin = surveys_.origin().value_or(std::array<double, 2>{0.0, 0.0});
    CursorPlace place;
    const auto* section = dynamic_cast<const data::VolumeSectionVisual*>(pick.visual);
    if (section && section->volume()) {
        const data::VolumePicker& picker = section->volume()->picker();
        place = CursorPlace::of(picker.picked_sample(picker.pick(section->kind(), *pick.point)),
                                hovered_);
    }
    // The point itself rather than its trace's centre: the mouse can point between traces.
    place.map = std::array{(*pick.point)[0] + origin[0], (*pick.point)[1] + origin[1]};
    place.source = hovered_;
    cursor_.move_to(place);
}

QString CursorReadout::text(const CursorPlace& place) const {
    QStringList parts;
    if (!place.survey.isEmpty()) parts << place.survey;
    if (place.iline && place.xline)
        parts << _("inline %1, crossline %2")
                     .arg(data::exact_text(*place.iline), data::exact_text(*place.xline));
    if (place.time) parts << _("time %1 ms").arg(data::exact_text(*place.time));
    if (place.amplitude)
        parts << (std::isnan(*place.amplitude)
                      ? _("no sample")
                      : _("amplitude %1").arg(data::amplitude_text(float(*place.amplitude))));
    if (place.map) {
        const auto [x, y] = *place.map;
        parts << _("X %1, Y %2").arg(data::map_text(x), data::map_text(y));
        if (const auto crs = surveys_.crs()) {
            const auto lon_lat = crs->to_lon_lat(x, y);
            parts << degrees(lon_lat[1], 'N', 'S') + QStringLiteral(", ") +
                         degrees(lon_lat[0], 'E', 'W');
        }
    }
    return parts.join(QStringLiteral("  "));
}

}  // namespace korvex::app

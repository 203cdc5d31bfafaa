#include "korvex/app/viewers/cursor_readout.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <cmath>

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/open_surveys.h"
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

CursorReadout::CursorReadout(const data::OpenSurveys& surveys, QStatusBar& bar, QObject* parent)
    : QObject(parent), surveys_(surveys), label_(new QLabel(&bar)) {
    label_->setObjectName(QStringLiteral("cursor_readout"));
    bar.addPermanentWidget(label_);
    frame_.setSingleShot(true);
    frame_.setInterval(FRAME_MS);
    connect(&frame_, &QTimer::timeout, this, [this] {
        utils::call_guarded(_("Reading the place under the mouse"), [&] { look_up(); });
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
        label_->clear();
    }
    return false;
}

void CursorReadout::look_up() {
    const auto point = hovered_ ? hovered_->canvas().pick_point(position_) : std::nullopt;
    label_->setText(point ? text_at(*point) : QString());
}

QString CursorReadout::text_at(const std::array<double, 3>& scene) const {
    const auto origin = surveys_.origin().value_or(std::array<double, 2>{0.0, 0.0});
    const double x = scene[0] + origin[0], y = scene[1] + origin[1];
    QString text = _("X %1, Y %2").arg(data::map_text(x), data::map_text(y));
    if (const auto crs = surveys_.crs()) {
        const auto lon_lat = crs->to_lon_lat(x, y);
        text += QStringLiteral("  ") + degrees(lon_lat[1], 'N', 'S') + QStringLiteral(", ") +
                degrees(lon_lat[0], 'E', 'W');
    }
    return text;
}

}  // namespace korvex::app

#include "korvex/widgets/map_view/map_canvas.h"

#include <QJsonArray>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/map_view/map_frame.h"
#include "korvex/widgets/map_view/map_painter.h"

namespace korvex::widgets {

using config::_;

namespace {

constexpr int TICK = 4;
constexpr int GAP = 4;

const QString FITTED = QStringLiteral("fitted");
const QString CENTRE = QStringLiteral("centre");
const QString SCALE = QStringLiteral("scale");

double distance_to(const QLineF& line, const QPointF& point) {
    const QPointF along = line.p2() - line.p1();
    const double squared = QPointF::dotProduct(along, along);
    const double t =
        squared > 0.0
            ? std::clamp(QPointF::dotProduct(point - line.p1(), along) / squared, 0.0, 1.0)
            : 0.0;
    const QPointF nearest = line.p1() + t * along;
    return std::hypot(point.x() - nearest.x(), point.y() - nearest.y());
}

}  // namespace

MapCanvas::MapCanvas(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setToolTip(
        _("Wheel: zoom about the mouse. Drag: pan. Drag a section's line: move it.\n"
          "Double-click a survey: open the inline there in a section view (with Shift, "
          "the crossline); double-click a section's line: open that line."));
    place_plot();
}

void MapCanvas::set_scene(MapScene scene) {
    scene_ = std::move(scene);
    // A section taken while the scene changed under it is let go.
    if (drag_ == Drag::section) drag_ = Drag::none;
    if (fitted_) fit();
    update();
}

void MapCanvas::reset_view() {
    fitted_ = true;
    fit();
    update();
}

std::optional<QRectF> MapCanvas::bounds() const {
    std::vector<QPointF> corners;
    for (const MapSurvey& survey : scene_.surveys) {
        const QPolygonF outline = survey.grid_to_map.map(QPolygonF(survey.grid()));
        corners.insert(corners.end(), outline.begin(), outline.end());
    }
    for (const auto* points : {&scene_.points, &scene_.picks})
        for (const MapPoint& point : *points) corners.emplace_back(point.x, point.y);
    if (corners.empty()) return std::nullopt;
    // Points alone may span no area at all, which QRectF's union would drop.
    const auto [left, right] =
        std::minmax_element(corners.begin(), corners.end(),
                            [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });
    const auto [bottom, top] =
        std::minmax_element(corners.begin(), corners.end(),
                            [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    return QRectF(QPointF(left->x(), bottom->y()), QPointF(right->x(), top->y()));
}

void MapCanvas::fit() {
    if (const auto area = bounds()) transform_.fit(*area);
}

QJsonObject MapCanvas::zoom_state() const {
    if (fitted_) return {{FITTED, true}};
    const QPointF centre = transform_.centre();
    return {{CENTRE, QJsonArray{centre.x(), centre.y()}}, {SCALE, transform_.scale()}};
}

void MapCanvas::set_zoom_state(const QJsonObject& state) {
    if (state.value(FITTED).toBool(false)) return reset_view();
    const QJsonArray centre = state.value(CENTRE).toArray();
    if (centre.size() != 2 || !centre[0].isDouble() || !centre[1].isDouble())
        throw utils::ValueError("a map view's centre must be two numbers");
    transform_.set_view({centre[0].toDouble(), centre[1].toDouble()},
                        state.value(SCALE).toDouble(-1.0));
    fitted_ = false;
    update();
}

void MapCanvas::set_cursor(const std::optional<QPointF>& map) {
    cursor_ = map;
    update();
}

void MapCanvas::set_unit(const QString& unit) {
    unit_ = unit;
    update();
}

QString MapCanvas::scale_label() const {
    return MapFrame::scale_label(transform_, unit_.isEmpty() ? _("map units") : unit_);
}

void MapCanvas::start_line() {
    const bool was_drawing = sketch_.active();
    sketch_.start();
    setCursor(Qt::CrossCursor);
    setFocus(Qt::OtherFocusReason);
    update();
    if (!was_drawing) emit sig_drawing_line(true);
}

void MapCanvas::cancel_line() {
    if (!sketch_.active()) return;
    sketch_.stop();
    unsetCursor();
    update();
    emit sig_drawing_line(false);
}

void MapCanvas::finish_line() {
    if (!sketch_.complete()) return;
    const QPolygonF points = sketch_.points();
    cancel_line();
    emit sig_line_drawn(points);
}

int MapCanvas::section_at(const QPointF& pixel) const {
    int nearest = -1;
    double best = GRAB;
    for (std::size_t i = 0; i < scene_.sections.size(); ++i) {
        const double d =
            distance_to(MapPainter::section_line(scene_, scene_.sections[i], transform_), pixel);
        if (d <= best) nearest = static_cast<int>(i), best = d;
    }
    return nearest;
}

std::optional<MapCanvas::Place> MapCanvas::survey_at(const QPointF& map) const {
    for (int i = static_cast<int>(scene_.surveys.size()) - 1; i >= 0; --i) {
        const MapSurvey& survey = scene_.surveys[i];
        bool invertible = false;
        const QPointF grid = survey.grid_to_map.inverted(&invertible).map(map);
        if (!invertible || !survey.grid().contains(grid)) continue;
        return Place{i, grid};
    }
    return std::nullopt;
}

int MapCanvas::line_at(const QPointF& pixel) const {
    const MapSection& section = scene_.sections.at(dragged_);
    const MapSurvey& survey = scene_.surveys.at(section.survey);
    bool invertible = false;
    const QPointF grid = survey.grid_to_map.inverted(&invertible).map(transform_.to_map(pixel));
    const bool inline_kind = section.type == QLatin1String("iline");
    const int last = (inline_kind ? survey.ilines : survey.xlines).count - 1;
    const double at = inline_kind ? grid.x() : grid.y();
    return invertible ? std::clamp(static_cast<int>(std::lround(at)), 0, last) : section.index;
}

void MapCanvas::place_plot() {
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const int left =
        line + GAP + metrics.horizontalAdvance(QString::fromLatin1(MapFrame::WIDEST_NUMBER)) + TICK;
    const int bottom = 2 * line + TICK + GAP;
    transform_.set_plot(QRectF(rect()).adjusted(left, GAP + line / 2, -GAP - line, -bottom));
}

void MapCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_plot();
    if (fitted_) fit();
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.fillRect(transform_.plot(), palette().base());
    MapPainter(painter, transform_).paint(scene_);
    const MapFrame frame(painter, transform_, palette());
    frame.paint_axes();
    frame.paint_scale_bar(unit_.isEmpty() ? _("map units") : unit_);
    frame.paint_north_arrow();
    if (cursor_) frame.paint_cursor(*cursor_);
    sketch_.paint(painter, transform_);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    transform_.zoom_about(event->position(), std::pow(WHEEL_FACTOR, notches));
    fitted_ = false;
    update();
    event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    drag_from_ = event->pos();
    pressed_at_ = event->pos();
    drag_ = Drag::none;
    if (event->button() != Qt::LeftButton) return;
    // While a line is drawn, a section's line is a place to click, not to take.
    dragged_ = sketch_.active() ? -1 : section_at(event->pos());
    drag_ = dragged_ >= 0 ? Drag::section : Drag::pan;
    if (drag_ == Drag::section) dragged_from_ = scene_.sections[dragged_].index;
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::pan) {
        transform_.pan(event->pos() - drag_from_);
        drag_from_ = event->pos();
        fitted_ = false;
        update();
    } else if (drag_ == Drag::section) {
        scene_.sections[dragged_].index = line_at(event->pos());
        update();
    } else if (!sketch_.active()) {
        setCursor(section_at(event->pos()) >= 0 ? Qt::SizeAllCursor : Qt::ArrowCursor);
    }
    const QPointF map = transform_.to_map(event->pos());
    if (sketch_.active()) {
        sketch_.follow(map);
        update();
    }
    emit sig_cursor_moved(transform_.plot().contains(event->pos()) ? std::optional(map)
                                                                   : std::nullopt);
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    // The section goes where it was dropped; the scene the host sends back confirms it.
    if (drag_ == Drag::section && scene_.sections[dragged_].index != dragged_from_)
        emit sig_section_moved(dragged_, scene_.sections[dragged_].index);
    // The press began a pan; one that hardly moved was a click on the map.
    const bool clicked =
        drag_ == Drag::pan && (event->pos() - pressed_at_).manhattanLength() <= CLICK_SLOP;
    // A double click's second click lands on the point its first one took.
    const auto& taken = sketch_.points();
    const bool again =
        !taken.isEmpty() &&
        QLineF(transform_.to_pixel(taken.back()), event->pos()).length() <= CLICK_SLOP;
    if (sketch_.active() && clicked && !again && transform_.plot().contains(event->pos())) {
        sketch_.add(transform_.to_map(event->pos()));
        update();
    }
    drag_ = Drag::none;
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // The first click of the two took the line's last point.
    if (sketch_.active()) return finish_line();
    const int section = section_at(event->pos());
    if (section >= 0) {
        const MapSection& line = scene_.sections[section];
        emit sig_open_section(line.survey, line.type, line.index);
        return;
    }
    const auto place = survey_at(transform_.to_map(event->pos()));
    if (!place) return reset_view();
    const bool crossline = event->modifiers() & Qt::ShiftModifier;
    const double at = crossline ? place->grid.y() : place->grid.x();
    emit sig_open_section(place->survey,
                          crossline ? QStringLiteral("xline") : QStringLiteral("iline"),
                          static_cast<int>(std::lround(at)));
}

void MapCanvas::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    sketch_.follow(std::nullopt);
    update();
    emit sig_cursor_moved(std::nullopt);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    if (!sketch_.active()) return QWidget::keyPressEvent(event);
    switch (event->key()) {
        case Qt::Key_Backspace:
            sketch_.take_back();
            update();
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            finish_line();
            break;
        case Qt::Key_Escape:
            cancel_line();
            break;
        default:
            return QWidget::keyPressEvent(event);
    }
    event->accept();
}

}  // namespace korvex::widgets

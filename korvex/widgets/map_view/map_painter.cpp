#include "korvex/widgets/map_view/map_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "korvex/config/base.h"
#include "korvex/widgets/map_view/map_ticks.h"

namespace korvex::widgets {

using config::_;

namespace {

const QColor OUTLINE(30, 70, 130);
const QColor LIVE_FILL(70, 130, 180, 45);
const QColor GRID(30, 70, 130, 70);
const QColor SECTION(215, 60, 20);
const QColor PICK(200, 0, 200);
constexpr int POINT_RADIUS = 4;
constexpr double DOT_RADIUS = 1.5;
constexpr int PICK_SIZE = 4;
constexpr int GAP = 3;

double length(const QPointF& vector) { return std::hypot(vector.x(), vector.y()); }

// `box`, no larger than `plot`, moved the least that brings it inside, so that a label by
// the plot's edge is read whole ("IL 121") rather than cut into another ("IL 12").
QRectF kept_inside(QRectF box, const QRectF& plot) {
    box.moveLeft(std::clamp(box.left(), plot.left(), plot.right() - box.width()));
    box.moveTop(std::clamp(box.top(), plot.top(), plot.bottom() - box.height()));
    return box;
}

// The sections, those of several views on one line made one whose label names them all:
// their labels would be drawn over each other.
std::vector<MapSection> one_per_line(const std::vector<MapSection>& sections) {
    std::vector<MapSection> lines;
    for (const MapSection& section : sections) {
        const auto same = std::find_if(lines.begin(), lines.end(), [&](const MapSection& line) {
            return line.survey == section.survey && line.type == section.type &&
                   line.index == section.index;
        });
        if (same == lines.end())
            lines.push_back(section);
        else
            same->shown_in += QStringLiteral(", ") + section.shown_in;
    }
    return lines;
}

}  // namespace

MapPainter::MapPainter(QPainter& painter, const MapTransform& transform)
    : painter_(painter), transform_(transform) {}

QTransform MapPainter::grid_to_pixel(const MapSurvey& survey, const MapTransform& transform) {
    return survey.grid_to_map * transform.map_to_pixel();
}

QImage MapPainter::live_bins(int ilines, int xlines,
                             const std::function<bool(int, int)>& has_trace) {
    QImage bins(ilines, xlines, QImage::Format_ARGB32_Premultiplied);
    const QRgb fill = LIVE_FILL.rgba();
    const QRgb live = qPremultiply(fill);
    for (int j = 0; j < xlines; ++j) {
        auto* row = reinterpret_cast<QRgb*>(bins.scanLine(j));
        for (int i = 0; i < ilines; ++i) row[i] = has_trace(i, j) ? live : 0;
    }
    return bins;
}

QLineF MapPainter::section_line(const MapScene& scene, const MapSection& section,
                                const MapTransform& transform) {
    const MapSurvey& survey = scene.surveys.at(section.survey);
    const QRectF grid = survey.grid();
    const QTransform to_pixel = grid_to_pixel(survey, transform);
    const double at = section.index;
    return section.type == QLatin1String("iline") ? QLineF(to_pixel.map(QPointF(at, grid.top())),
                                                           to_pixel.map(QPointF(at, grid.bottom())))
                                                  : QLineF(to_pixel.map(QPointF(grid.left(), at)),
                                                           to_pixel.map(QPointF(grid.right(), at)));
}

void MapPainter::paint(const MapScene& scene) const {
    painter_.save();
    painter_.setClipRect(transform_.plot());
    painter_.setRenderHint(QPainter::Antialiasing);
    for (const MapSurvey& survey : scene.surveys) paint_survey(survey);
    // A horizon's dots under the lines of the sections, the wells they run through over them.
    paint_dots(scene.points);
    for (const MapSection& section : one_per_line(scene.sections)) paint_section(scene, section);
    for (const MapPolyline& line : scene.lines) paint_polyline(line);
    for (const MapPoint& point : scene.points)
        if (!point.name.isEmpty()) paint_point(point);
    for (const MapPoint& pick : scene.picks) paint_pick(pick);
    painter_.restore();
}

void MapPainter::paint_survey(const MapSurvey& survey) const {
    const QTransform to_pixel = grid_to_pixel(survey, transform_);
    const QPolygonF grid = to_pixel.map(QPolygonF(survey.grid()));
    painter_.setPen(QPen(OUTLINE, 1.5));
    if (survey.edges.empty()) {
        painter_.setBrush(LIVE_FILL);
        painter_.drawPolygon(grid);
        painter_.setBrush(Qt::NoBrush);
    } else {
        // Pixel (i, j) of the fill covers grid indices [i - 0.5, i + 0.5).
        painter_.save();
        painter_.setTransform(QTransform::fromTranslate(-0.5, -0.5) * to_pixel);
        painter_.drawImage(QPointF(0, 0), survey.live);
        painter_.restore();
        QVector<QLineF> edges;
        for (const QLineF& edge : survey.edges) edges << to_pixel.map(edge);
        painter_.drawLines(edges);
    }
    paint_grid(survey, true);
    paint_grid(survey, false);
    QFont bold = painter_.font();
    bold.setBold(true);
    painter_.save();
    painter_.setFont(bold);
    painter_.setPen(OUTLINE);
    const QPointF middle = to_pixel.map(survey.grid().center());
    const QSizeF size(painter_.fontMetrics().horizontalAdvance(survey.name) + 2 * GAP,
                      painter_.fontMetrics().height());
    draw_label(QRectF(middle - QPointF(size.width() / 2, size.height() / 2), size), middle,
               survey.name);
    painter_.restore();
}

void MapPainter::paint_grid(const MapSurvey& survey, bool inlines) const {
    const QTransform to_pixel = grid_to_pixel(survey, transform_);
    const QRectF grid = survey.grid();
    const MapLines& lines = inlines ? survey.ilines : survey.xlines;
    // Pixels from one line number to the next, across the lines.
    const QPointF across =
        to_pixel.map(QPointF(inlines ? 1 : 0, inlines ? 0 : 1)) - to_pixel.map(QPointF(0, 0));
    const double pixels = length(across) / std::max(1, std::abs(lines.step));
    if (!(pixels > 0.0)) return;
    const QString prefix = inlines ? _("IL") : _("XL");
    for (const double number : line_ticks(lines, LABEL_SPACING / pixels)) {
        const double at = lines.index_of(number);
        // Each line labelled at its low end, where the other lines start.
        const QPointF start = inlines ? QPointF(at, grid.top()) : QPointF(grid.left(), at);
        const QPointF end = inlines ? QPointF(at, grid.bottom()) : QPointF(grid.right(), at);
        painter_.setPen(QPen(GRID, 1.0));
        painter_.drawLine(to_pixel.map(start), to_pixel.map(end));
        painter_.setPen(OUTLINE);
        label_beyond(to_pixel.map(end), to_pixel.map(start),
                     QStringLiteral("%1 %2").arg(prefix).arg(number));
    }
}

void MapPainter::paint_section(const MapScene& scene, const MapSection& section) const {
    const QLineF line = section_line(scene, section, transform_);
    painter_.setPen(QPen(SECTION, 2.0));
    painter_.drawLine(line);
    const MapSurvey& survey = scene.surveys.at(section.survey);
    const bool inline_kind = section.type == QLatin1String("iline");
    const double number = (inline_kind ? survey.ilines : survey.xlines).number_at(section.index);
    label_beyond(line.p1(), line.p2(),
                 QStringLiteral("%1 %2 (%3)")
                     .arg(inline_kind ? _("IL") : _("XL"))
                     .arg(number)
                     .arg(section.shown_in));
}

void MapPainter::paint_dots(const std::vector<MapPoint>& points) const {
    const double ratio = painter_.device()->devicePixelRatioF();
    const QRectF shown =
        transform_.plot().adjusted(-DOT_RADIUS, -DOT_RADIUS, DOT_RADIUS, DOT_RADIUS);
    const QPointF corner(DOT_RADIUS + 0.5, DOT_RADIUS + 0.5);
    // Drawn once per colour and copied: a copy costs a fraction of an antialiased ellipse.
    std::map<QRgb, QImage> dots;
    for (const MapPoint& point : points) {
        const QPointF at = transform_.to_pixel({point.x, point.y});
        if (!point.name.isEmpty() || !shown.contains(at)) continue;
        QImage& dot = dots[point.color.rgba()];
        if (dot.isNull()) {
            const int side = int(std::ceil(2 * corner.x() * ratio));
            dot = QImage(side, side, QImage::Format_ARGB32_Premultiplied);
            dot.fill(Qt::transparent);
            dot.setDevicePixelRatio(ratio);
            QPainter drawing(&dot);
            drawing.setRenderHint(QPainter::Antialiasing);
            drawing.setPen(Qt::NoPen);
            drawing.setBrush(point.color);
            drawing.drawEllipse(corner, DOT_RADIUS, DOT_RADIUS);
        }
        painter_.drawImage(at - corner, dot);
    }
}

void MapPainter::paint_point(const MapPoint& point) const {
    const QPointF at = transform_.to_pixel({point.x, point.y});
    painter_.setPen(QPen(Qt::black, 1.0));
    painter_.setBrush(point.color);
    painter_.drawEllipse(at, POINT_RADIUS, POINT_RADIUS);
    painter_.setBrush(Qt::NoBrush);
    const int line = painter_.fontMetrics().height();
    painter_.drawText(QRectF(at.x() + POINT_RADIUS + GAP, at.y() - line / 2.0, 400, line),
                      Qt::AlignLeft | Qt::AlignVCenter, point.name);
}

void MapPainter::paint_polyline(const MapPolyline& line) const {
    if (line.points.size() < 2) return;
    const QPolygonF pixels = transform_.map_to_pixel().map(line.points);
    painter_.setPen(QPen(SECTION, 2.0));
    painter_.drawPolyline(pixels);
    label_beyond(pixels[pixels.size() - 2], pixels.back(), line.shown_in);
}

void MapPainter::paint_pick(const MapPoint& pick) const {
    const QPointF at = transform_.to_pixel({pick.x, pick.y});
    painter_.setPen(QPen(PICK, 2.0));
    painter_.drawLine(at - QPointF(PICK_SIZE, PICK_SIZE), at + QPointF(PICK_SIZE, PICK_SIZE));
    painter_.drawLine(at - QPointF(PICK_SIZE, -PICK_SIZE), at + QPointF(PICK_SIZE, -PICK_SIZE));
}

void MapPainter::label_beyond(const QPointF& from, const QPointF& end, const QString& text) const {
    const QFontMetrics metrics = painter_.fontMetrics();
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * GAP, metrics.height());
    const QPointF direction = end - from;
    const double span = length(direction);
    const QPointF unit = span > 0.0 ? direction / span : QPointF(0, 1);
    // Far enough along the line that the text's box clears its end whatever the angle.
    const double reach =
        std::abs(unit.x()) * size.width() / 2 + std::abs(unit.y()) * size.height() / 2;
    const QPointF centre = end + unit * (reach + GAP);
    draw_label(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), end, text);
}

void MapPainter::draw_label(const QRectF& box, const QPointF& anchor, const QString& text) const {
    const QRectF plot = transform_.plot();
    // A label whose place is off the plot stays off it: moved in, it would name the wrong
    // place.
    if (!plot.contains(anchor)) {
        painter_.drawText(box, Qt::AlignCenter, text);
        return;
    }
    // Wider than the plot, it is shortened at its end rather than cut at both.
    const QRectF inside = kept_inside(box.intersected(QRectF(box.topLeft(), plot.size())), plot);
    painter_.drawText(inside, Qt::AlignCenter,
                      painter_.fontMetrics().elidedText(text, Qt::ElideRight, int(inside.width())));
}

}  // namespace korvex::widgets

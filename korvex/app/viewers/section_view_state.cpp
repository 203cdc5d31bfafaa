#include "korvex/app/viewers/section_view_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <array>
#include <cmath>

#include "korvex/utils/errors.h"

namespace korvex::app {

using widgets::TraceDisplay;

namespace {

const QString VOLUME = QStringLiteral("volume");
const QString KIND = QStringLiteral("kind");
const QString LINE = QStringLiteral("line");
const QString POINTS = QStringLiteral("points");
const QString TRACES = QStringLiteral("traces");
const QString ZOOM = QStringLiteral("zoom");
const QString FOLLOW = QStringLiteral("follow");
// The kind of an arbitrary line, beside the section kinds' own names.
const QString ARBITRARY = QStringLiteral("arbitrary");

const std::array<std::pair<TraceDisplay, const char*>, 3> DISPLAYS{
    {{TraceDisplay::density, "density"},
     {TraceDisplay::wiggles, "wiggles"},
     {TraceDisplay::both, "both"}}};

[[noreturn]] void refuse(const QString& what) {
    throw utils::ValueError(("a section view's state " + what).toStdString());
}

bool is_number(const QJsonValue& value) {
    return value.isDouble() && std::isfinite(value.toDouble());
}

std::vector<data::LinePoint> line_points(const QJsonValue& value) {
    std::vector<data::LinePoint> points;
    for (const QJsonValue& item : value.toArray()) {
        const QJsonObject point = item.toObject();
        if (!is_number(point.value("x")) || !is_number(point.value("y")))
            refuse(QStringLiteral("has a line point without map X and Y"));
        points.push_back({point.value("name").toString(), point.value("x").toDouble(),
                          point.value("y").toDouble()});
    }
    if (points.size() < 2) refuse(QStringLiteral("has an arbitrary line of fewer than two points"));
    return points;
}

}  // namespace

QByteArray SectionViewState::to_json() const {
    QJsonObject object{{VOLUME, volume}};
    if (line.empty()) {
        object[KIND] = seismic::section_type(kind);
        object[LINE] = position;
    } else {
        object[KIND] = ARBITRARY;
        QJsonArray points;
        for (const data::LinePoint& point : line)
            points.append(QJsonObject{{"name", point.name}, {"x", point.x}, {"y", point.y}});
        object[POINTS] = points;
    }
    for (const auto& [display, name] : DISPLAYS)
        if (display == traces) object[TRACES] = name;
    object[ZOOM] = zoom;
    if (follow) object[FOLLOW] = true;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

SectionViewState SectionViewState::from_json(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) refuse(QStringLiteral("is not a JSON object"));
    const QJsonObject object = document.object();
    SectionViewState state;
    state.volume = object.value(VOLUME).toString();
    if (state.volume.isEmpty()) refuse(QStringLiteral("names no volume"));
    const QString kind_name = object.value(KIND).toString();
    if (kind_name == ARBITRARY) {
        state.line = line_points(object.value(POINTS));
    } else {
        const auto kind = seismic::section_kind(kind_name);
        if (!kind)
            refuse(QStringLiteral("has no kind of section (iline, xline, depth or arbitrary)"));
        state.kind = *kind;
        const QJsonValue line = object.value(LINE);
        if (!is_number(line)) refuse(QStringLiteral("has no line number"));
        state.position = line.toDouble();
    }
    // Older projects drew every section in colour.
    const QString traces = object.value(TRACES).toString(QStringLiteral("density"));
    bool known = false;
    for (const auto& [display, name] : DISPLAYS) {
        if (traces != name) continue;
        state.traces = display;
        known = true;
    }
    if (!known)
        refuse(QStringLiteral("draws its traces as %1, not density, wiggles or both").arg(traces));
    state.zoom = object.value(ZOOM).toObject();
    state.follow = object.value(FOLLOW).toBool(false);
    return state;
}

}  // namespace korvex::app

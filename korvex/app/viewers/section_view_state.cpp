#include "korvex/app/viewers/section_view_state.h"

#include <QJsonDocument>
#include <cmath>

#include "korvex/utils/errors.h"

namespace korvex::app {

namespace {

const QString VOLUME = QStringLiteral("volume");
const QString KIND = QStringLiteral("kind");
const QString LINE = QStringLiteral("line");
const QString ZOOM = QStringLiteral("zoom");

[[noreturn]] void refuse(const QString& what) {
    throw utils::ValueError(("a section view's state " + what).toStdString());
}

}  // namespace

QByteArray SectionViewState::to_json() const {
    const QJsonObject object{
        {VOLUME, volume}, {KIND, seismic::section_type(kind)}, {LINE, position}, {ZOOM, zoom}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

SectionViewState SectionViewState::from_json(const QByteArray& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isObject()) refuse(QStringLiteral("is not a JSON object"));
    const QJsonObject object = document.object();
    SectionViewState state;
    state.volume = object.value(VOLUME).toString();
    if (state.volume.isEmpty()) refuse(QStringLiteral("names no volume"));
    const auto kind = seismic::section_kind(object.value(KIND).toString());
    if (!kind) refuse(QStringLiteral("has no kind of section (iline, xline or depth)"));
    state.kind = *kind;
    const QJsonValue line = object.value(LINE);
    if (!line.isDouble() || !std::isfinite(line.toDouble()))
        refuse(QStringLiteral("has no line number"));
    state.position = line.toDouble();
    state.zoom = object.value(ZOOM).toObject();
    return state;
}

}  // namespace korvex::app

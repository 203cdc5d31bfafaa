#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/data/line_traces.h"
#include "korvex/seismic/section_kind.h"
#include "korvex/widgets/section_view/wiggle_painter.h"

namespace korvex::app {

// A section view as a project keeps it: which volume, which kind of section, the line
// number (or time) or the points of an arbitrary line, how the traces are drawn, the zoom
// and whether the 3D view follows it.
struct KORVEX_APP_EXPORT SectionViewState {
    QString volume;
    seismic::SectionKind kind = seismic::SectionKind::iline;
    double position = 0.0;
    // Two or more for an arbitrary line, whose kind and position then mean nothing.
    std::vector<data::LinePoint> line;
    widgets::TraceDisplay traces = widgets::TraceDisplay::density;
    QJsonObject zoom;
    // Whether the 3D view's section follows it.
    bool follow = false;

    QByteArray to_json() const;
    // Throws utils::ValueError naming what is missing or of the wrong kind.
    static SectionViewState from_json(const QByteArray& json);
};

}  // namespace korvex::app

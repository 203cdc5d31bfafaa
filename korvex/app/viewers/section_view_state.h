#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "korvex/app/app_export.h"
#include "korvex/seismic/section_kind.h"

namespace korvex::app {

// A section view as a project keeps it: which volume, which kind of section, the line
// number (or time) and the zoom.
struct KORVEX_APP_EXPORT SectionViewState {
    QString volume;
    seismic::SectionKind kind = seismic::SectionKind::iline;
    double position = 0.0;
    QJsonObject zoom;

    QByteArray to_json() const;
    // Throws utils::ValueError naming what is missing or of the wrong kind.
    static SectionViewState from_json(const QByteArray& json);
};

}  // namespace korvex::app

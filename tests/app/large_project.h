#pragma once

#include <QString>

#include "korvex/app/project/project_snapshot.h"

namespace korvex::testing {

// A project of `objects` objects named "<label> <n>", large enough at a few thousand
// objects to outgrow SQLite's page cache, so that a save writes pages into the file
// itself before it commits.
inline app::ProjectSnapshot large_project(const QString& label, int objects) {
    app::ProjectSnapshot snapshot;
    for (int i = 0; i < objects; ++i) {
        snapshot.objects.push_back({"Synthetic",
                                    QStringLiteral("%1 %2").arg(label).arg(i),
                                    "/data/x",
                                    {{"padding", QString(2000, 'x')}}});
    }
    return snapshot;
}

}  // namespace korvex::testing

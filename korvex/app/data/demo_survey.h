#pragma once

#include <QString>

#include "korvex/app/data/data_export.h"

namespace korvex::app::data {

// A synthetic survey that lets the application show something real on a first run:
// a post-stack IEEE-float volume with dipping reflectors, a normal fault and a
// meandering channel, and a point set of picks on one reflector (in line numbers). Its
// traces carry CDP coordinates of a rotated grid, so that it lies on the map as a real
// survey does.
class KORVEX_DATA_EXPORT DemoSurvey final {
public:
    struct Files {
        QString volume;
        QString horizon;
    };

    // The demo folder in the user's cache folder.
    static QString default_folder();

    // Writes the two files into `folder` unless they are already there, and returns
    // their paths. Each file appears under its name only once complete.
    // Throws utils::ValueError when the folder or a file cannot be written.
    static Files ensure(const QString& folder = default_folder());
};

}  // namespace korvex::app::data

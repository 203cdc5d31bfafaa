#pragma once

#include <QString>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section.h"

namespace korvex::seismic {
struct SegyGeometry;
class SegyVolumeFile;
class SurveyGeometry;
}  // namespace korvex::seismic

namespace korvex::app::data {

// A point an arbitrary line runs through: a well, a point of a point set, a click on the
// map, in map X/Y.
struct KORVEX_DATA_EXPORT LinePoint {
    QString name;
    double x = 0.0;
    double y = 0.0;

    bool operator==(const LinePoint& other) const {
        return name == other.name && x == other.x && y == other.y;
    }
};

// The traces of a volume an arbitrary line crosses: along each segment, evenly spaced at
// most one bin apart (the smaller of the two), the trace at the nearest grid position to
// each place. Nearest rather than interpolated, so that every column is a trace the file
// holds, as the wiggles show it: blending four neighbours would smear a dipping event's
// phase and let one hole blank four columns. Each point is a column of its own, so the
// line passes through its wells exactly.
class KORVEX_DATA_EXPORT LineTraces final {
public:
    // A place along the line: the grid position read there, or none (-1) off the survey.
    struct Position {
        int iline_index = -1;
        int xline_index = -1;
        bool inside() const { return iline_index >= 0; }
    };
    // A point of the line: its column and its distance from the start.
    struct Knot {
        int column = 0;
        double distance = 0.0;
        QString name;
    };

    // The most traces a line takes.
    static constexpr int MAX_COLUMNS = 50000;

    // A point that repeats the one before adds nothing and is left out. Throws
    // utils::ValueError for fewer than two distinct points, a point that is not a number,
    // or a line longer than MAX_COLUMNS bins.
    LineTraces(const std::vector<LinePoint>& points, const seismic::SegyGeometry& grid,
               const seismic::SurveyGeometry& survey);

    const std::vector<Position>& positions() const { return positions_; }
    // Every point the line runs through, ends included, in order.
    const std::vector<Knot>& knots() const { return knots_; }

    // The traces, as a section view draws them: a row per sample, a column per position;
    // not a number off the survey. Safe on any thread.
    seismic::Section read(const seismic::SegyVolumeFile& file) const;

private:
    std::vector<Position> positions_;
    std::vector<Knot> knots_;
};

}  // namespace korvex::app::data

#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPolygonF>
#include <QString>
#include <QTransform>
#include <vector>

namespace korvex::widgets {

// One direction of a survey's grid: the line numbers of its indices.
struct MapLines {
    int first = 0;
    int step = 1;
    int count = 1;

    double number_at(double index) const { return first + index * step; }
    double index_of(double number) const { return (number - first) / step; }
};

// A survey as the map draws it. Grid indices (inline index, crossline index) are placed on
// the map by `grid_to_map`; trace (i, j) covers the bin [i-0.5, i+0.5] x [j-0.5, j+0.5].
struct MapSurvey {
    QString name;
    QTransform grid_to_map;
    MapLines ilines;
    MapLines xlines;
    // The edges between the bins that hold a trace and those that do not (holes, a ragged
    // edge), in grid indices; none when every position holds one: the grid's edge is the
    // outline then.
    std::vector<QLineF> edges;
    // With edges, the fill: a pixel per grid position (x the inline index, y the crossline
    // index), coloured where a trace is and clear where none is (MapPainter::live_bins).
    QImage live;

    // The bins of the whole grid, in grid indices.
    QRectF grid() const { return {-0.5, -0.5, double(ilines.count), double(xlines.count)}; }
};

// A section shown in another view, drawn as its line across its survey.
struct MapSection {
    // Index into MapScene::surveys.
    int survey = 0;
    // "iline" or "xline".
    QString type;
    int index = 0;
    // The view that shows it, said beside the line.
    QString shown_in;
};

// A point in map X/Y: a well or a top by its name, a point of a horizon without one (drawn
// as a dot), or a pick.
struct MapPoint {
    double x = 0.0;
    double y = 0.0;
    QString name;
    QColor color;
};

// An arbitrary line another view shows, through its points in map X/Y.
struct MapPolyline {
    QPolygonF points;
    QString shown_in;
};

// Everything a map view draws, in map coordinates (x east, y north).
struct MapScene {
    std::vector<MapSurvey> surveys;
    std::vector<MapSection> sections;
    std::vector<MapPoint> points;
    std::vector<MapPoint> picks;
    std::vector<MapPolyline> lines;
};

}  // namespace korvex::widgets

#pragma once

#include <QString>

namespace korvex::widgets {

// What one side of a section counts: the line number or time of each column or row,
// evenly spaced from the first. Sample i covers data coordinates [i, i+1).
struct SectionAxis {
    QString title;
    double first = 0.0;
    double step = 1.0;

    double value_at(double data) const { return first + (data - 0.5) * step; }
    double data_at(double value) const { return (value - first) / step + 0.5; }
};

}  // namespace korvex::widgets

#pragma once

#include <QString>
#include <vector>

#include "korvex/widgets/section_view/section_view_export.h"

namespace korvex::widgets {

// A named place on an axis where its spacing may change: the bend of an arbitrary line,
// whose segments take their traces at spacings of their own.
struct AxisKnot {
    double data = 0.0;
    double value = 0.0;
    QString name;
};

// What one side of a section counts: the line number or time of each column or row,
// evenly spaced from the first. Sample i covers data coordinates [i, i+1).
struct KORVEX_SECTION_VIEW_EXPORT SectionAxis {
    SectionAxis(QString title = {}, double first = 0.0, double step = 1.0,
                std::vector<AxisKnot> knots = {})
        : title(std::move(title)), first(first), step(step), knots(std::move(knots)) {}

    QString title;
    double first = 0.0;
    double step = 1.0;
    // Two or more, data and values rising: the axis then runs straight from knot to knot
    // instead of by `first` and `step`, and on past the ends as its end pieces do.
    std::vector<AxisKnot> knots;

    double value_at(double data) const;
    double data_at(double value) const;
};

}  // namespace korvex::widgets

#pragma once

#include <QPointF>
#include <optional>
#include <vector>

#include "korvex/widgets/section_view/section_view_export.h"

class QPainter;

namespace korvex::widgets {

class SectionTransform;

// What a section view marks over its section, in data coordinates: where the mouse is in
// another view (a line down the trace, across at its time when it has one), and the
// picks on or near the section.
class KORVEX_SECTION_VIEW_EXPORT SectionMarks final {
public:
    // A column with no row is a whole trace (a place on a map); a row alone a whole line.
    struct Cursor {
        std::optional<double> column;
        std::optional<double> row;
    };

    void set_cursor(const std::optional<Cursor>& cursor) { cursor_ = cursor; }
    const std::optional<Cursor>& cursor() const { return cursor_; }
    void set_picks(std::vector<QPointF> picks) { picks_ = std::move(picks); }
    const std::vector<QPointF>& picks() const { return picks_; }

    // Over the plot, clipped to it.
    void paint(QPainter& painter, const SectionTransform& transform) const;

private:
    std::optional<Cursor> cursor_;
    std::vector<QPointF> picks_;
};

}  // namespace korvex::widgets

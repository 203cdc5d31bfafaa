#pragma once

#include <QColor>
#include <QLineF>
#include <vector>

#include "korvex/widgets/section_view/section_transform.h"
#include "korvex/widgets/section_view/section_view_export.h"

class QPainter;

namespace korvex::widgets {

// Lines over a section in its data coordinates (columns, rows), as the survey's live area
// on a time slice: they run on the samples' edges, so they stay on them at any zoom and
// are drawn one pixel wide however far in the view is zoomed.
class KORVEX_SECTION_VIEW_EXPORT SectionOutline final {
public:
    void set_lines(std::vector<QLineF> lines) { lines_ = std::move(lines); }
    const std::vector<QLineF>& lines() const { return lines_; }

    void paint(QPainter& painter, const SectionTransform& transform, const QColor& color) const;

private:
    std::vector<QLineF> lines_;
};

}  // namespace korvex::widgets

#pragma once

#include <QImage>
#include <vector>

#include "korvex/widgets/section_view/section_picture.h"
#include "korvex/widgets/section_view/section_transform.h"
#include "korvex/widgets/section_view/section_view_export.h"

class QPainter;

namespace korvex::widgets {

// How a section's traces are drawn: in colour (variable density), as wiggles with their
// positive lobes filled (variable area), or wiggles over the colours.
enum class TraceDisplay { density, wiggles, both };

// Draws a section's traces as wiggles about their column's middle, the positive side to
// the right and filled. An amplitude at the clip reaches the next trace; beyond, it stops
// there. Only the traces in view are drawn, each read once per pixel row (between two
// samples, the straight line through them), row by row as the samples lie in memory, and
// set pixel by pixel rather than stroked and filled as paths: a screen of closely spaced
// wiggles costs a few milliseconds, not a few frames.
class KORVEX_SECTION_VIEW_EXPORT WigglePainter final {
public:
    // Closer than this (pixels between traces), wiggles merge into a grey that tells less
    // than the colours: they are not drawn.
    static constexpr double LEAST_SPACING = 4.0;
    static bool fits(const SectionTransform& transform) {
        return transform.scale() >= LEAST_SPACING;
    }

    WigglePainter(const SectionSamples& samples, const SectionTransform& transform, double clip);
    void paint(QPainter& painter) const;
    // Fills the samples in view that lie in a hole (no trace) with `background`, for wiggles
    // drawn alone: on their white, a hole would read as a trace of zero amplitude. The
    // colours show the plot's background through a hole; so the same does here.
    void paint_holes(QPainter& painter, const QColor& background) const;

private:
    // Where a pixel row falls between two samples of every trace.
    struct Row {
        int sample = -1;      // the sample above, -1 outside the section
        float weight = 0.0f;  // of the sample below
    };

    std::vector<Row> rows(int height) const;
    // The samples' columns and rows in view, whole.
    QRect cells_in_view() const;

    const SectionSamples& samples_;
    const SectionTransform& transform_;
    double gain_;
};

}  // namespace korvex::widgets

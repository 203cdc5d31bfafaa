#pragma once

#include <QJsonObject>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "korvex/widgets/section_view/section_axis.h"
#include "korvex/widgets/section_view/section_marks.h"
#include "korvex/widgets/section_view/section_outline.h"
#include "korvex/widgets/section_view/section_picture.h"
#include "korvex/widgets/section_view/section_transform.h"
#include "korvex/widgets/section_view/section_view_export.h"
#include "korvex/widgets/section_view/wiggle_painter.h"

class QRubberBand;

namespace korvex::widgets {

// A section drawn flat in variable density, the traces' line numbers along the top, time
// down the side and a colour bar at the right. The wheel zooms about the cursor, a drag
// pans, a drag with Shift or the right button zooms to the rectangle drawn, a right click
// picks the sample there, and a double click shows the whole section again.
class KORVEX_SECTION_VIEW_EXPORT SectionCanvas final : public QWidget {
    Q_OBJECT

public:
    // How far one notch of the wheel zooms.
    static constexpr double WHEEL_FACTOR = 1.25;

    explicit SectionCanvas(QWidget* parent = nullptr);

    // A new section. The zoom stays while the shape does (the next line of a kind) unless
    // the whole section was shown, which it then stays.
    void set_section(SectionSamples samples, const SectionAxis& horizontal,
                     const SectionAxis& vertical);
    bool has_section() const { return !picture_.image().isNull(); }
    const SectionSamples& samples() const { return picture_.samples(); }
    const SectionAxis& horizontal() const { return horizontal_; }
    const SectionAxis& vertical() const { return vertical_; }
    // Throws utils::ValueError for an unknown colormap or a clip that is not positive.
    void set_style(const QString& colormap, double clip);
    const SectionPicture& picture() const { return picture_; }
    void set_trace_display(TraceDisplay display);
    TraceDisplay trace_display() const { return trace_display_; }
    // Whether wiggles are drawn now: asked for, and the traces far enough apart.
    bool wiggles_shown() const;
    // Lines over the section in its data coordinates (the live area on a time slice); none
    // until set.
    void set_outline(std::vector<QLineF> lines);
    const std::vector<QLineF>& outline() const { return outline_.lines(); }

    const SectionTransform& transform() const { return transform_; }
    // The whole section, at the exaggeration in use.
    void reset_view();
    // Throws utils::ValueError unless positive.
    void set_exaggeration(double exaggeration);
    // The zoom as a project keeps it: the whole section, or a centre and scale, with the
    // vertical exaggeration unless it is the one that fills the view.
    QJsonObject zoom_state() const;
    // Throws utils::ValueError for a state of the wrong shape, leaving the zoom as it was.
    void set_zoom_state(const QJsonObject& state);

    const SectionMarks& marks() const { return marks_; }
    void set_cursor_mark(const std::optional<SectionMarks::Cursor>& cursor);
    void set_pick_marks(std::vector<QPointF> picks);

signals:
    // The vertical exaggeration was chosen for a first look, or set.
    void sig_exaggeration_changed(double exaggeration);
    // The mouse is over the section at this data point, or has left it.
    void sig_hovered(const QPointF& data);
    void sig_left();
    // A right click, not a drag, on the section at this data point.
    void sig_pick_clicked(const QPointF& data);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Drag { none, pan, band };

    void place_plot();
    void fit();
    void paint_axes(QPainter& painter) const;
    void paint_color_bar(QPainter& painter) const;
    // The data point under a pixel, when the section is drawn there.
    std::optional<QPointF> on_section(const QPoint& pixel) const;

    SectionPicture picture_;
    SectionOutline outline_;
    SectionAxis horizontal_;
    SectionAxis vertical_;
    SectionTransform transform_;
    SectionMarks marks_;
    // While the whole section is shown, a resize or a section of another shape shows it
    // whole again; a zoom or a pan of the user's ends it.
    bool fitted_ = true;
    // Until the user or a project chooses one, the exaggeration is the one that fills the
    // view, chosen again as the view is resized.
    bool chosen_exaggeration_ = false;
    TraceDisplay trace_display_ = TraceDisplay::density;
    Drag drag_ = Drag::none;
    QPoint drag_from_;
    QRubberBand* band_;
};

}  // namespace korvex::widgets

#pragma once

#include <QJsonObject>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "korvex/widgets/map_view/map_line_sketch.h"
#include "korvex/widgets/map_view/map_scene.h"
#include "korvex/widgets/map_view/map_transform.h"
#include "korvex/widgets/map_view/map_view_export.h"

namespace korvex::widgets {

// A map of the surveys, north up and east right, with axes in map units, a scale bar and a
// north arrow. The wheel zooms about the cursor, a drag pans, a drag on a section's line
// moves the section, and a double click on a survey opens a section through that place.
// While an arbitrary line is drawn, a click takes a point instead.
class KORVEX_MAP_VIEW_EXPORT MapCanvas final : public QWidget {
    Q_OBJECT

public:
    // How far one notch of the wheel zooms.
    static constexpr double WHEEL_FACTOR = 1.25;
    // How near a section's line the mouse must be to take it, in pixels.
    static constexpr double GRAB = 5.0;
    // A press and release further apart than this, in pixels, is a drag, not a click.
    static constexpr int CLICK_SLOP = 3;

    explicit MapCanvas(QWidget* parent = nullptr);

    // What to draw. While the whole map is shown, it stays whole as things are added.
    void set_scene(MapScene scene);
    const MapScene& scene() const { return scene_; }
    const MapTransform& transform() const { return transform_; }
    // Shows everything the scene holds.
    void reset_view();
    // The zoom as a project keeps it: the whole map, or a centre and scale.
    QJsonObject zoom_state() const;
    // Throws utils::ValueError for a state of the wrong shape, leaving the zoom as it was.
    void set_zoom_state(const QJsonObject& state);
    // Where another view's cursor is, drawn as a cross; none hides it.
    void set_cursor(const std::optional<QPointF>& map);
    const std::optional<QPointF>& cursor_mark() const { return cursor_; }
    // How the scale bar names the length of a map unit ("m", "ft"); empty for plain map
    // units.
    void set_unit(const QString& unit);
    // What the scale bar says, its unit named.
    QString scale_label() const;

    // Drawing an arbitrary line: a click takes a point, Backspace takes the last one back,
    // Enter or a double click ends the line (sig_line_drawn), Escape gives it up. The wheel
    // and a drag still zoom and pan meanwhile.
    void start_line();
    void cancel_line();
    const MapLineSketch& sketch() const { return sketch_; }

    // The section whose line passes nearest to a pixel, within GRAB; -1 for none.
    int section_at(const QPointF& pixel) const;
    // Room for a map a survey's grid can be read on, beside the 3D view.
    QSize sizeHint() const override { return {480, 400}; }

    // The survey drawn at a map point (the last of several), with the grid indices there;
    // none off every survey's grid.
    struct Place {
        int survey;
        QPointF grid;
    };
    std::optional<Place> survey_at(const QPointF& map) const;

signals:
    // A double click asks for a section view: a section's line, or the inline through the
    // place in a survey (the crossline with Shift).
    void sig_open_section(int survey, const QString& type, int index);
    // A section's line was dragged to another line of its survey.
    void sig_section_moved(int section, int index);
    // The mouse is over this map point; none when it left the map.
    void sig_cursor_moved(const std::optional<QPointF>& map);
    // An arbitrary line was drawn through these map points (two or more).
    void sig_line_drawn(const QPolygonF& points);
    // A line began or ended (drawn or given up).
    void sig_drawing_line(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Drag { none, pan, section };

    void place_plot();
    // Everything the scene holds, in map coordinates.
    std::optional<QRectF> bounds() const;
    void fit();
    // The line of the dragged section's kind nearest to a pixel.
    int line_at(const QPointF& pixel) const;
    // Ends the line being drawn once it has two points.
    void finish_line();

    MapScene scene_;
    MapTransform transform_;
    // While the whole map is shown, a resize or a new scene shows it whole again; a zoom or
    // a pan of the user's ends it.
    bool fitted_ = true;
    Drag drag_ = Drag::none;
    QPoint drag_from_;
    QPoint pressed_at_;
    int dragged_ = -1;
    int dragged_from_ = 0;
    std::optional<QPointF> cursor_;
    QString unit_;
    MapLineSketch sketch_;
};

}  // namespace korvex::widgets

// The map on its own: where surveys and points land (north up, east right), the grid's
// numbers, the gestures that open and move sections or draw a line, the scale bar, and the
// zoom a project keeps.
#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <QtMath>
#include <map>

#include "korvex/utils/errors.h"
#include "korvex/widgets/map_view/map_ticks.h"
#include "korvex/widgets/map_view/map_view.h"
#include "tests/support/test_main.h"

using korvex::widgets::MapCanvas;
using korvex::widgets::MapLines;
using korvex::widgets::MapPoint;
using korvex::widgets::MapScene;
using korvex::widgets::MapSurvey;
using korvex::widgets::MapTransform;

namespace {

constexpr double BIN = 25.0;

// Inlines 100 up by one and crosslines 1000 up by two, 25 m bins, the first trace at
// `origin`; inline numbers grow towards `azimuth` (degrees clockwise from north) and
// crossline numbers 90 degrees clockwise of it.
MapSurvey survey(const QString& name, const QPointF& origin, double azimuth, int ilines,
                 int xlines) {
    const double a = qDegreesToRadians(azimuth);
    const QPointF along_i(BIN * std::sin(a), BIN * std::cos(a));
    const QPointF along_j(BIN * std::cos(a), -BIN * std::sin(a));
    return {name,
            QTransform(along_i.x(), along_i.y(), along_j.x(), along_j.y(), origin.x(), origin.y()),
            {100, 1, ilines},
            {1000, 2, xlines},
            {},
            {}};
}

// The pixel of a survey's grid point.
QPoint pixel_of(const MapCanvas& canvas, const MapSurvey& survey, const QPointF& grid) {
    return canvas.transform().to_pixel(survey.grid_to_map.map(grid)).toPoint();
}

// Whether a pixel within `reach` of `at` is drawn in `test`'s colour.
template <typename Test>
bool near(const QImage& image, const QPoint& at, int reach, Test test) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (image.rect().contains(at + QPoint(dx, dy)) &&
                test(image.pixelColor(at + QPoint(dx, dy))))
                return true;
    return false;
}

bool outline(const QColor& c) { return c.blue() - c.red() > 60; }
bool ink(const QColor& c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }

QImage shown(MapCanvas& canvas, MapScene scene) {
    canvas.set_scene(std::move(scene));
    canvas.resize(800, 600);
    canvas.show();
    return canvas.grab().toImage();
}

void send(MapCanvas& canvas, QEvent::Type type, const QPoint& at,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      modifiers);
    QApplication::sendEvent(&canvas, &event);
}

}  // namespace

class TestMapView : public QObject {
    Q_OBJECT

private slots:
    void the_map_is_north_up_east_right_and_zooms_about_the_mouse() {
        MapTransform transform;
        transform.set_plot(QRectF(0, 0, 400, 200));
        transform.fit(QRectF(600000, 6500000, 2000, 1000));
        const QPointF south_west = transform.to_pixel({600000, 6500000});
        const QPointF north_east = transform.to_pixel({602000, 6501000});
        QVERIFY(north_east.x() > south_west.x() && north_east.y() < south_west.y());
        // One scale both ways, the whole rectangle inside the plot.
        QCOMPARE(north_east.x() - south_west.x(), 2 * (south_west.y() - north_east.y()));
        QVERIFY(transform.plot().contains(QRectF(south_west, north_east).normalized()));
        const QPointF mouse(300, 50);
        const QPointF held = transform.to_map(mouse);
        transform.zoom_about(mouse, 2.5);
        QCOMPARE(transform.to_map(mouse), held);
    }

    // A survey along the axes and one turned by 30 degrees: the edge of each survey's
    // bins runs through the corners their transform puts on the map.
    void each_survey_is_outlined_through_its_corners() {
        MapCanvas canvas;
        const MapSurvey square = survey("A", {600000, 6500000}, 90, 40, 30);
        const MapSurvey turned = survey("B", {601500, 6499000}, 30, 20, 25);
        const QImage image = shown(canvas, {{square, turned}, {}, {}, {}, {}});
        for (const MapSurvey& s : {square, turned}) {
            const QRectF bins = s.grid();
            for (const QPointF& corner :
                 {bins.topLeft(), bins.topRight(), bins.bottomLeft(), bins.bottomRight()}) {
                const QPoint at = pixel_of(canvas, s, corner);
                QVERIFY2(near(image, at, 1, outline),
                         qPrintable(QString("%1 at %2, %3").arg(s.name).arg(at.x()).arg(at.y())));
            }
            // Inside, only the light fill.
            QVERIFY(
                !near(image, pixel_of(canvas, s, bins.center() + QPointF(2.3, 1.7)), 0, outline));
        }
    }

    // Wells by name, an arbitrary line through them, and a horizon's point as a dot.
    void points_are_drawn_by_name_where_they_lie() {
        MapCanvas canvas;
        const std::vector<MapPoint> wells{{1000, 2000, "W-1", Qt::blue},
                                          {1500, 2300, "W-2", Qt::green}};
        const QPolygonF line(QVector<QPointF>{{1000, 2000}, {1500, 2300}});
        std::vector<MapPoint> points = wells;
        points.push_back({1400, 2050, "", Qt::magenta});
        const QImage image = shown(canvas, {{}, {}, points, {}, {{line, "Section View 2"}}});
        const QPoint dot = canvas.transform().to_pixel({1400, 2050}).toPoint();
        QVERIFY(
            near(image, dot, 1, [](const QColor& c) { return c.green() < 100 && c.red() > 200; }));
        const QPoint middle = canvas.transform().to_pixel({1250, 2150}).toPoint();
        QVERIFY(near(image, middle, 1, [](const QColor& c) { return c.red() - c.blue() > 100; }));
        for (const MapPoint& well : wells) {
            const QPoint at = canvas.transform().to_pixel({well.x, well.y}).toPoint();
            QCOMPARE(image.pixelColor(at), well.color);
            QVERIFY2(near(image, at + QPoint(18, 0), 6, ink), qPrintable(well.name));
        }
    }

    void the_grid_is_numbered_in_round_lines_of_the_survey_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("least");
        QTest::addColumn<std::vector<double>>("numbers");
        QTest::newRow("round") << 100 << 1 << 200 << 37.0
                               << std::vector<double>{100, 150, 200, 250};
        QTest::newRow("odd lines")
            << 1 << 2 << 50 << 15.0 << std::vector<double>{1, 21, 41, 61, 81};
        QTest::newRow("descending") << 7 << -1 << 4 << 0.5 << std::vector<double>{4, 5, 6, 7};
        QTest::newRow("steps of four")
            << 1000 << 4 << 10 << 1.0 << std::vector<double>{1000, 1008, 1016, 1024, 1032};
    }

    void the_grid_is_numbered_in_round_lines_of_the_survey() {
        QFETCH(int, first);
        QFETCH(int, step);
        QFETCH(int, count);
        QFETCH(double, least);
        QFETCH(std::vector<double>, numbers);
        QCOMPARE(korvex::widgets::line_ticks(MapLines{first, step, count}, least), numbers);
    }

    // Double clicks open the inline at the mouse, the crossline with Shift, or a section's
    // own line; a section's line dragged moves to the line it is dropped on.
    void gestures_open_and_move_sections() {
        MapCanvas canvas;
        const MapSurvey s = survey("A", {0, 0}, 0, 40, 30);
        shown(canvas, {{s}, {{0, "iline", 10, "3D"}}, {}, {}, {}});
        QSignalSpy opened(&canvas, &MapCanvas::sig_open_section);
        QSignalSpy moved(&canvas, &MapCanvas::sig_section_moved);
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, pixel_of(canvas, s, {5.2, 7.9}));
        QTest::mouseDClick(&canvas, Qt::LeftButton, Qt::ShiftModifier,
                           pixel_of(canvas, s, {5.2, 7.9}));
        QTest::mouseDClick(&canvas, Qt::LeftButton, {}, pixel_of(canvas, s, {10, 15}));
        QCOMPARE(opened.count(), 3);
        QCOMPARE(opened[0], (QVariantList{0, "iline", 5}));
        QCOMPARE(opened[1], (QVariantList{0, "xline", 8}));
        QCOMPARE(opened[2], (QVariantList{0, "iline", 10}));
        QVERIFY(moved.isEmpty());

        send(canvas, QEvent::MouseButtonPress, pixel_of(canvas, s, {10, 15}));
        send(canvas, QEvent::MouseMove, pixel_of(canvas, s, {20.3, 12}));
        send(canvas, QEvent::MouseButtonRelease, pixel_of(canvas, s, {20.3, 12}));
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved[0], (QVariantList{0, 20}));
    }

    // Clicks take a line's points (c; d a double click), Backspace takes the last back (b),
    // Enter ends it (e), Escape gives it up (x); a drag (p) pans and takes no point. `kept`
    // are the clicks the line drawn runs through, none when none was drawn.
    void a_line_is_drawn_by_clicks_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QVector<int>>("kept");
        QTest::addColumn<bool>("drawing");
        QTest::newRow("Enter ends") << "cce" << QVector<int>{0, 1} << false;
        QTest::newRow("a double click ends") << "ccd" << QVector<int>{0, 1, 2} << false;
        QTest::newRow("Backspace takes back") << "cccbe" << QVector<int>{0, 1} << false;
        QTest::newRow("a drag takes no point") << "cpce" << QVector<int>{0, 1} << false;
        QTest::newRow("one point is no line") << "ce" << QVector<int>{} << true;
        QTest::newRow("Escape gives up") << "ccx" << QVector<int>{} << false;
    }

    void a_line_is_drawn_by_clicks() {
        QFETCH(QString, gesture);
        QFETCH(QVector<int>, kept);
        QFETCH(bool, drawing);
        MapCanvas canvas;
        const MapSurvey s = survey("A", {0, 0}, 30, 40, 30);
        shown(canvas, {{s}, {{0, "iline", 10, "3D"}}, {}, {}, {}});
        QSignalSpy drawn(&canvas, &MapCanvas::sig_line_drawn);
        QSignalSpy opened(&canvas, &MapCanvas::sig_open_section);
        canvas.start_line();
        const QPointF places[] = {{3, 4}, {10, 20}, {25, 7}};
        std::vector<QPointF> clicked;
        for (const QChar step : gesture) {
            const QPoint at = pixel_of(canvas, s, places[clicked.size() % 3]);
            if (step == 'c' || step == 'd') {
                clicked.push_back(canvas.transform().to_map(at));
                // A double click's first click comes as a click of its own.
                QTest::mouseClick(&canvas, Qt::LeftButton, {}, at);
                if (step == 'd') QTest::mouseDClick(&canvas, Qt::LeftButton, {}, at);
            } else if (step == 'p') {
                send(canvas, QEvent::MouseButtonPress, at);
                send(canvas, QEvent::MouseMove, at + QPoint(30, 10));
                send(canvas, QEvent::MouseButtonRelease, at + QPoint(30, 10));
            } else {
                const std::map<QChar, Qt::Key> keys{
                    {'b', Qt::Key_Backspace}, {'e', Qt::Key_Return}, {'x', Qt::Key_Escape}};
                QTest::keyClick(&canvas, keys.at(step));
            }
        }
        QCOMPARE(canvas.sketch().active(), drawing);
        QVERIFY(opened.isEmpty());
        QCOMPARE(drawn.count(), kept.isEmpty() ? 0 : 1);
        if (kept.isEmpty()) return;
        const auto line = drawn[0][0].value<QPolygonF>();
        QCOMPARE(line.size(), kept.size());
        // Within a pixel of where the mouse was.
        for (int i = 0; i < kept.size(); ++i)
            QVERIFY(QLineF(line[i], clicked[kept[i]]).length() < 1.0 / canvas.transform().scale());
    }

    // A section's label that would run off the plot's edge is moved inside and read whole,
    // not cut into another line's number.
    void a_label_by_the_plots_edge_is_drawn_whole() {
        MapCanvas canvas;
        const MapSurvey s = survey("A", {0, 0}, 90, 40, 30);
        const QString label = "XL 1020 (Section View 12)";
        canvas.set_scene({{s}, {{0, "xline", 10, "Section View 12"}}, {}, {}, {}});
        canvas.resize(300, 400);
        canvas.show();
        const QImage image = canvas.grab().toImage();
        // The text's upper half, above the line it labels: the line's red is not counted.
        const int y = pixel_of(canvas, s, {0, 10}).y();
        int left = image.width(), right = -1;
        for (int row = y - canvas.fontMetrics().ascent() / 2; row < y - 2; ++row)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, row);
                if (c.red() - c.blue() > 100) left = std::min(left, x), right = std::max(right, x);
            }
        QVERIFY2(right - left > 0.8 * canvas.fontMetrics().horizontalAdvance(label),
                 qPrintable(QString("%1 to %2").arg(left).arg(right)));
    }

    // Views on one line share its label rather than draw theirs over each other.
    void views_on_one_line_share_its_label() {
        MapCanvas canvas;
        const MapSurvey s = survey("A", {0, 0}, 0, 40, 30);
        const QImage shared =
            shown(canvas, {{s}, {{0, "iline", 10, "3D, Section View 1"}}, {}, {}, {}});
        QCOMPARE(
            shown(canvas,
                  {{s}, {{0, "iline", 10, "3D"}, {0, "iline", 10, "Section View 1"}}, {}, {}, {}}),
            shared);
    }

    // However narrow the map, its bottom edge is numbered.
    void a_narrow_map_numbers_its_easting() {
        MapCanvas canvas;
        shown(canvas, {{survey("A", {612345, 6543210}, 35, 40, 30)}, {}, {}, {}, {}});
        canvas.resize(230, 500);
        const QImage image = canvas.grab().toImage();
        const QRect plot = canvas.transform().plot().toRect();
        const int top = plot.bottom() + 6, line = canvas.fontMetrics().height();
        bool numbered = false;
        for (int y = top; y < top + line - 4; ++y)
            for (int x = plot.left(); x < plot.right(); ++x)
                numbered |= ink(image.pixelColor(x, y));
        QVERIFY(numbered);
    }

    // The scale bar says its length in the unit it is given, in map units without one.
    void the_scale_bar_names_its_unit() {
        MapCanvas canvas;
        shown(canvas, {{survey("A", {0, 0}, 0, 40, 30)}, {}, {}, {}, {}});
        QVERIFY(canvas.scale_label().endsWith(" map units"));
        canvas.set_unit("ft");
        QVERIFY(canvas.scale_label().endsWith(" ft"));
    }

    void the_zoom_is_kept_and_a_bad_one_refused() {
        MapCanvas canvas;
        shown(canvas, {{survey("A", {0, 0}, 0, 40, 30)}, {}, {}, {}, {}});
        QCOMPARE(canvas.zoom_state(), (QJsonObject{{"fitted", true}}));
        QWheelEvent wheel(QPointF(300, 200), QPointF(), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        const QJsonObject zoom = canvas.zoom_state();
        MapCanvas other;
        other.resize(800, 600);
        other.set_zoom_state(zoom);
        QCOMPARE(other.zoom_state(), zoom);
        for (const QJsonObject& bad : {QJsonObject{{"centre", QJsonArray{1, 2}}, {"scale", -1}},
                                       QJsonObject{{"scale", 2}}}) {
            QVERIFY_EXCEPTION_THROWN(other.set_zoom_state(bad), korvex::utils::ValueError);
            QCOMPARE(other.zoom_state(), zoom);
        }
    }
};

KORVEX_TEST_MAIN(TestMapView)
#include "tst_map_view.moc"

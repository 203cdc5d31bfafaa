// Map views in the real window: surveys and wells where they lie, a double click that opens
// a section view, the section views' lines dragged on the map and moved elsewhere, a line
// clicked on the map, the scale bar's unit, and a project that keeps the views.
#include <QAction>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSemaphore>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <QtMath>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/app/open_and_wait.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::data::SeismicVolume;
using korvex::seismic::SectionKind;
using korvex::widgets::MapCanvas;

namespace {

constexpr double BIN = 25.0;

// Where a survey's traces lie: inlines 10..15 towards `azimuth` (degrees clockwise from
// north), crosslines 20..24 a quarter turn clockwise of them, 25 m bins from `origin`.
struct Placement {
    QPointF origin;
    double azimuth;

    QPointF map(double il, double xl) const {
        const double a = qDegreesToRadians(azimuth);
        const double i = (il - 10) * BIN, j = (xl - 20) * BIN;
        return origin +
               QPointF(i * std::sin(a) + j * std::cos(a), i * std::cos(a) - j * std::sin(a));
    }
};

const Placement SQUARE{{612000, 6543000}, 0};
const Placement TURNED{{612600, 6543100}, 30};

void write_survey(const QString& path, const Placement& placement) {
    korvex::testing::VolumeLayout layout;
    layout.ilines = {10, 11, 12, 13, 14, 15};
    layout.xlines = {20, 21, 22, 23, 24};
    layout.cdp = [placement](int il, int xl) {
        const QPointF at = placement.map(il, xl);
        return korvex::seismic::CdpCoordinates{int(std::lround(at.x() * 100)),
                                               int(std::lround(at.y() * 100)), -100};
    };
    korvex::testing::write_volume(path, layout);
}

struct Window {
    Window() {
        window.setup();
        window.resize(1400, 900);
        window.show();
        window.post_visible_setup();
    }
    SeismicVolume* load(const QString& path) const {
        return static_cast<SeismicVolume*>(korvex::testing::load_data(
            const_cast<MainWindow&>(window), path, SeismicVolume::header_settings({})));
    }
    MapCanvas& map(int index = 0) const { return window.map_views()->view(index)->canvas(); }

    korvex::testing::DialogCatcher unexpected;
    MainWindow window;
};

bool outline(const QColor& c) { return c.blue() - c.red() > 60; }

// Whether a pixel within two of `at` is drawn in `test`'s colour.
template <typename Test>
bool near(const QImage& image, const QPoint& at, Test test) {
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (image.rect().contains(at + QPoint(dx, dy)) &&
                test(image.pixelColor(at + QPoint(dx, dy))))
                return true;
    return false;
}

// Every worker of the pool kept busy while it lives: reads asked for meanwhile wait.
class WorkersHeld {
public:
    WorkersHeld() {
        for (int i = 0; i < QThreadPool::globalInstance()->maxThreadCount(); ++i)
            QThreadPool::globalInstance()->start([this] { free_.acquire(); });
    }
    ~WorkersHeld() { free_.release(QThreadPool::globalInstance()->maxThreadCount()); }

private:
    QSemaphore free_;
};

QPoint pixel_of(const MapCanvas& map, const QPointF& at) {
    return map.transform().to_pixel(at).toPoint();
}

}  // namespace

class MapViewsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir_.isValid());
        write_survey(dir_.filePath("square.sgy"), SQUARE);
        write_survey(dir_.filePath("turned.sgy"), TURNED);
        QFile wells(dir_.filePath("wells.txt"));
        QVERIFY(wells.open(QIODevice::WriteOnly));
        wells.write("X,Y,Z,Name\n612040,6543060,900,Alpha-1\n612080,6543110,950,Beta-2\n");
    }

    // Each survey's bins are outlined through the corners its traces' coordinates give,
    // north up, and the wells sit at their coordinates with their names.
    void the_map_shows_surveys_and_wells_where_they_lie() {
        Window w;
        QVERIFY(w.load(dir_.filePath("square.sgy")) && w.load(dir_.filePath("turned.sgy")));
        QVERIFY(
            korvex::testing::load_data(w.window, dir_.filePath("wells.txt"), {{"columns", "map"}}));
        w.window.open_map_view();
        // The map given the window's middle, large enough that the wells' names stay clear of
        // the surveys' corners.
        qobject_cast<QSplitter*>(w.window.centralWidget())->setSizes({1, 0, 2000});
        MapCanvas& map = w.map();
        QTRY_VERIFY(map.isVisible() && map.width() > 400);
        QTRY_COMPARE(map.scene().points.size(), std::size_t(2));
        const QImage image = map.grab().toImage();
        for (const Placement& survey : {SQUARE, TURNED}) {
            for (const QPointF& corner : {QPointF(9.5, 19.5), QPointF(15.5, 19.5),
                                          QPointF(15.5, 24.5), QPointF(9.5, 24.5)}) {
                const QPoint at = pixel_of(map, survey.map(corner.x(), corner.y()));
                QVERIFY2(near(image, at, outline),
                         qPrintable(QString("%1, %2").arg(at.x()).arg(at.y())));
            }
        }
        QCOMPARE(map.scene().points[0].name, QString("Alpha-1"));
        const QPoint alpha = pixel_of(map, {612040, 6543060});
        QVERIFY(
            near(image, alpha, [](const QColor& c) { return c != Qt::white && c.alpha() == 255; }));
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // A map opened beside the 3D view, a third of the window, frames the survey in most of
    // its plot rather than leaving it a speck amid margins.
    void a_new_map_is_framed_on_its_survey() {
        Window w;
        QVERIFY(w.load(dir_.filePath("turned.sgy")));
        w.window.open_map_view();
        const MapCanvas& map = w.map();
        QTRY_VERIFY(map.isVisible() && !map.scene().surveys.empty());
        const korvex::widgets::MapSurvey& survey = map.scene().surveys.front();
        const QRectF drawn = map.transform()
                                 .map_to_pixel()
                                 .map(survey.grid_to_map.map(QPolygonF(survey.grid())))
                                 .boundingRect();
        const QRectF plot = map.transform().plot();
        QVERIFY(plot.contains(drawn));
        QVERIFY2(std::max(drawn.width() / plot.width(), drawn.height() / plot.height()) > 0.75,
                 qPrintable(QString("%1 by %2 pixels of a %3 by %4 plot")
                                .arg(drawn.width())
                                .arg(drawn.height())
                                .arg(plot.width())
                                .arg(plot.height())));
    }

    // The 3D viewer's sections are on the map while they are ticked in the tree.
    void the_map_shows_the_sections_ticked_for_3d() {
        Window w;
        QVERIFY(w.load(dir_.filePath("square.sgy")));
        w.window.open_map_view();
        const auto in_3d = [&] {
            QStringList types;
            for (const auto& section : w.map().scene().sections)
                if (section.shown_in == "3D") types << section.type;
            return types;
        };
        QTreeWidgetItem* inline_item = w.window.tree()->tree_item("square")->child(0);
        inline_item->setCheckState(0, Qt::Checked);
        QTRY_COMPARE(in_3d(), QStringList{"iline"});
        inline_item->setCheckState(0, Qt::Unchecked);
        QTRY_COMPARE(in_3d(), QStringList{});
    }

    // A double click opens the inline there; its line on the map, dragged, moves the view.
    void the_map_opens_and_moves_section_views() {
        Window w;
        QVERIFY(w.load(dir_.filePath("square.sgy")));
        w.window.open_map_view();
        MapCanvas& map = w.map();
        QTRY_VERIFY(map.isVisible() && map.width() > 0);
        QTest::mouseDClick(&map, Qt::LeftButton, {}, pixel_of(map, SQUARE.map(13.2, 21)));
        korvex::app::SectionViewArea& views = *w.window.section_views();
        QTRY_COMPARE(views.count(), 1);
        QCOMPARE(views.feed(0)->kind(), SectionKind::iline);
        QCOMPARE(views.feed(0)->position(), 13.0);
        const auto line = [&] {
            for (const auto& section : map.scene().sections)
                if (section.shown_in == views.tabText(0)) return section.index;
            return -1;
        };
        QTRY_COMPARE(line(), 3);

        const QPoint from = pixel_of(map, SQUARE.map(13, 22.2));
        const QPoint to = pixel_of(map, SQUARE.map(11.1, 22.2));
        QTest::mousePress(&map, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&map, &move);
        QTest::mouseRelease(&map, Qt::LeftButton, {}, to);
        QTRY_VERIFY(views.feed(0)->drawn() && views.feed(0)->position() == 11.0);
        QTRY_COMPARE(line(), 1);
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // A section moved by a script or a section view's Page Down is on the map as it is
    // asked for, while its read still waits for a worker.
    void sections_moved_elsewhere_are_on_the_map_at_once() {
        Window w;
        SeismicVolume* volume = w.load(dir_.filePath("square.sgy"));
        QVERIFY(volume);
        w.window.tree()->tree_item("square")->child(0)->setCheckState(0, Qt::Checked);
        w.window.open_section_view();
        korvex::app::SectionViewArea& views = *w.window.section_views();
        QTRY_VERIFY(views.feed(0) && views.feed(0)->drawn() && volume->sections_drawn());
        w.window.open_map_view();
        const auto line = [&](const QString& shown_in) {
            for (const auto& section : w.map().scene().sections)
                if (section.shown_in == shown_in) return section.index;
            return -1;
        };
        QTRY_COMPARE(line("3D"), 3);
        {
            const WorkersHeld held;
            volume->set_section_index(SectionKind::iline, 1);
            QTest::keyClick(&views.view(0)->canvas(), Qt::Key_PageDown);
            QTRY_COMPARE(line("3D"), 1);
            QTRY_COMPARE(line(views.tabText(0)), 4);
            QVERIFY(!views.feed(0)->drawn());
        }
        QTRY_VERIFY(views.feed(0)->drawn() && volume->sections_drawn());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // Points clicked on the map, the last one twice, open a section view along them: the
    // traces nearest each bin's worth of the line, drawn on the map as the other lines.
    void a_line_clicked_on_the_map_opens_in_a_section_view() {
        Window w;
        QVERIFY(w.load(dir_.filePath("square.sgy")));
        w.window.open_map_view();
        korvex::widgets::MapView& view = *w.window.map_views()->view(0);
        MapCanvas& map = view.canvas();
        QTRY_VERIFY(map.isVisible() && map.width() > 0);
        QTest::mouseClick(view.line_button(), Qt::LeftButton);
        QVERIFY(view.hint()->isVisible());
        const QPoint last = pixel_of(map, SQUARE.map(13.1, 23.6));
        for (const QPointF& at : {QPointF(10, 20), QPointF(12.6, 20.1)})
            QTest::mouseClick(&map, Qt::LeftButton, {}, pixel_of(map, SQUARE.map(at.x(), at.y())));
        QTest::mouseClick(&map, Qt::LeftButton, {}, last);
        QTest::mouseDClick(&map, Qt::LeftButton, {}, last);
        korvex::app::SectionViewArea& views = *w.window.section_views();
        QTRY_COMPARE(views.count(), 1);
        const korvex::app::ArbitraryLineFeed* feed = views.line_feed(0);
        QVERIFY(feed);
        std::vector<std::pair<int, int>> traces;
        for (const auto& at : feed->traces().positions())
            traces.emplace_back(10 + at.iline_index, 20 + at.xline_index);
        const std::vector<std::pair<int, int>> crossed{{10, 20}, {11, 20}, {12, 20}, {13, 20},
                                                       {13, 21}, {13, 22}, {13, 23}, {13, 24}};
        QCOMPARE(traces, crossed);
        QTRY_COMPARE(views.view(0)->line_edit()->text(), QString("P1 \u2192 P2 \u2192 P3"));
        QTRY_COMPARE(map.scene().lines.size(), std::size_t(1));
        QCOMPARE(map.scene().lines[0].shown_in, views.tabText(0));
        QVERIFY(!view.line_button()->isChecked() && !view.hint()->isVisible());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // The scale bar tells lengths in the project's unit, in map units without one.
    void the_scale_bar_names_the_projects_unit_data() {
        QTest::addColumn<QString>("crs");
        QTest::addColumn<QString>("unit");
        QTest::newRow("UTM") << "EPSG:23031"
                             << " m";
        QTest::newRow("US survey feet") << "EPSG:2227"
                                        << " US ft";
        QTest::newRow("latitude and longitude") << "EPSG:4326"
                                                << " map units";
        QTest::newRow("none") << ""
                              << " map units";
    }

    void the_scale_bar_names_the_projects_unit() {
        QFETCH(QString, crs);
        QFETCH(QString, unit);
        MainWindow window;
        window.setup();
        window.show();
        window.open_map_view();
        MapCanvas& map = window.map_views()->view(0)->canvas();
        korvex::testing::answer_next_modal([crs](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            QVERIFY2(dialog, "no question for the coordinate reference system");
            dialog->setTextValue(crs);
            dialog->accept();
        });
        for (QAction* action : window.findChildren<QAction*>())
            if (action->text() == "Coordinate reference system...") action->trigger();
        QVERIFY2(map.scale_label().endsWith(unit), qPrintable(map.scale_label()));
    }

    // The place under the mouse on the map goes to the other views with its survey and
    // lines; theirs is marked on the map.
    void the_map_shares_the_place_under_the_mouse() {
        Window w;
        QVERIFY(w.load(dir_.filePath("square.sgy")));
        w.window.open_map_view();
        MapCanvas& map = w.map();
        QTRY_VERIFY(map.isVisible() && map.width() > 0);
        const QPointF there = SQUARE.map(12.2, 22.9);
        QMouseEvent move(QEvent::MouseMove, map.transform().to_pixel(there), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&map, &move);
        korvex::app::LinkedCursor& cursor = *w.window.linked_cursor();
        QTRY_VERIFY(cursor.place().has_value());
        QCOMPARE(cursor.place()->survey, QString("square"));
        QCOMPARE(cursor.place()->iline, std::optional<double>(12));
        QCOMPARE(cursor.place()->xline, std::optional<double>(23));
        QVERIFY(std::hypot((*cursor.place()->map)[0] - there.x(),
                           (*cursor.place()->map)[1] - there.y()) < 1);
        QVERIFY(!map.cursor_mark());

        QObject elsewhere;
        korvex::app::CursorPlace place;
        place.map = std::array<double, 2>{612050, 6543050};
        place.source = &elsewhere;
        cursor.move_to(place);
        QTRY_COMPARE(map.cursor_mark(), std::optional<QPointF>(QPointF(612050, 6543050)));
    }

    // A survey with a hole, whose edges the map draws, laid on a grid by hand.
    void a_survey_laid_on_a_grid_by_hand_moves_on_the_map() {
        korvex::testing::VolumeLayout layout;
        layout.hole = [](int il, int xl) { return il == 11 && xl == 22; };
        korvex::testing::write_volume(dir_.filePath("bare.sgy"), layout);
        Window w;
        SeismicVolume* volume = w.load(dir_.filePath("bare.sgy"));
        QVERIFY(volume);
        w.window.open_map_view();
        // The grid's edge and the hole's, a segment each side; the hole left unfilled.
        const korvex::widgets::MapSurvey& drawn = w.map().scene().surveys.at(0);
        QCOMPARE(drawn.edges.size(), std::size_t(8));
        QVERIFY(qAlpha(drawn.live.pixel(1, 2)) == 0 && qAlpha(drawn.live.pixel(2, 2)) > 0);
        volume->set_grid(korvex::seismic::SurveyGrid{{5000, 7000}, 25, 25, 90, true});
        QTRY_COMPARE(w.map().scene().surveys.at(0).grid_to_map.map(QPointF(1, 0)),
                     QPointF(5025, 7000));
    }

    void a_project_brings_its_map_views_back() {
        const QString project = dir_.filePath("maps.kvd");
        QJsonObject zoom;
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            QVERIFY(w.load(dir_.filePath("square.sgy")));
            w.window.open_map_view();
            w.window.open_map_view();
            QTRY_VERIFY(w.map(1).isVisible());
            QWheelEvent wheel(QPointF(100, 100), QPointF(), {}, {0, 240}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&w.map(1), &wheel);
            zoom = w.map(1).zoom_state();
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(w.window.map_views()->count(), 2);
        QCOMPARE(w.window.map_views()->tabText(1), QString("Map View 2"));
        QCOMPARE(w.map(1).zoom_state(), zoom);
        QCOMPARE(w.map(0).scene().surveys.size(), std::size_t(1));
        QVERIFY(!w.window.has_unsaved_changes());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

private:
    QTemporaryDir dir_;
};

KORVEX_TEST_MAIN(MapViewsTest)
#include "tst_map_views.moc"

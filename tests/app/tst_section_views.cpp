// Section views in the real window: what they show of a volume, stepping and going to a
// line, an arbitrary line through wells, and a project that keeps them.
#include <QComboBox>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/number_text.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/app/viewers/line_points_dialog.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/viewers/viewer_cursor_marks.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/scene/colormap.h"
#include "korvex/scene/point_visual.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/app/open_and_wait.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

using korvex::app::LinePointsDialog;
using korvex::app::MainWindow;
using korvex::app::SectionViewArea;
using korvex::app::VolumeSectionFeed;
using korvex::app::data::LinePoint;
using korvex::app::data::PointSet;
using korvex::app::data::SeismicVolume;
using korvex::seismic::SectionKind;
using korvex::widgets::SectionCanvas;
using korvex::widgets::SectionView;
using korvex::widgets::TraceDisplay;

namespace {

// Inlines 200..220 by 5, crosslines 7 down to 4, 8 samples from 100 ms every 2 ms.
const korvex::testing::VolumeLayout LAYOUT = korvex::testing::irregular_survey(8);
constexpr double CLIP = 60.0;

struct Window {
    Window() {
        window.setup();
        window.resize(1200, 800);
        window.show();
        window.post_visible_setup();
        // The display's own pointer off the window: its moves would be the linked cursor's.
        QCursor::setPos(window.geometry().bottomRight() + QPoint(40, 40));
    }
    SectionViewArea& views() const { return *window.section_views(); }
    VolumeSectionFeed& feed(int index = 0) const { return *views().feed(index); }
    SectionView& view(int index = 0) const { return *views().view(index); }
    korvex::widgets::CanvasWidget& viewer() const {
        return window.viewer_area()->active_viewer()->base();
    }
    QString readout() const {
        return window.statusBar()->findChild<QLabel*>("cursor_readout")->text();
    }
    // Whether the view's section, as last asked for, is drawn.
    bool drawn(int index = 0) const { return views().count() > index && feed(index).drawn(); }
    SeismicVolume* load(const QString& path) {
        return static_cast<SeismicVolume*>(
            korvex::testing::load_data(window, path, SeismicVolume::header_settings({})));
    }

    korvex::testing::DialogCatcher unexpected;
    MainWindow window;
};

// The mouse moved over a widget, sent to it: a loaded display moves its own pointer in and
// out of windows on its own time.
void move_mouse(QWidget& widget, const QPointF& at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at.toPoint()), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// The colour the 3D view gives `value`.
QRgb colour_of(float value) {
    const auto jet = korvex::scene::colormap_colors("jet");
    const int bin = int(std::floor((value + CLIP) / (2 * CLIP) * int(jet.size())));
    return jet[std::clamp(bin, 0, int(jet.size()) - 1)];
}

}  // namespace

class SectionViewsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir_.isValid());
        volume_path_ = dir_.filePath("survey.sgy");
        korvex::testing::write_volume(volume_path_, LAYOUT);
    }

    void a_view_paints_the_samples_of_the_section_it_names_data() {
        QTest::addColumn<SectionKind>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("line");
        QTest::newRow("inline 215") << SectionKind::iline << 3 << "215";
        QTest::newRow("crossline 5") << SectionKind::xline << 2 << "5";
        QTest::newRow("time 110 ms") << SectionKind::depth << 5 << "110";
    }

    // Traces run left to right in file order and time down; a time slice has its inlines
    // left to right and crosslines down.
    void a_view_paints_the_samples_of_the_section_it_names() {
        QFETCH(SectionKind, kind);
        QFETCH(int, index);
        QFETCH(QString, line);
        Window w;
        auto* volume = w.load(volume_path_);
        QVERIFY(volume);
        volume->set_colormap("jet");
        volume->set_clip(CLIP);
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        w.feed().show_section(kind, index);
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), line);
        korvex::widgets::SectionCanvas& canvas = w.view().canvas();
        QTRY_VERIFY(canvas.isVisible() && canvas.width() > 0);
        const QImage shot = canvas.grab().toImage();
        const auto& samples = canvas.samples();
        QCOMPARE(samples.columns, kind == SectionKind::iline   ? 4
                                  : kind == SectionKind::xline ? 5
                                                               : 5);
        for (int row = 0; row < samples.rows; ++row) {
            for (int column = 0; column < samples.columns; ++column) {
                const float expected = kind == SectionKind::iline ? LAYOUT.value(index, column, row)
                                       : kind == SectionKind::xline
                                           ? LAYOUT.value(column, index, row)
                                           : LAYOUT.value(column, row, index);
                const QPoint at =
                    canvas.transform().to_pixel(QPointF(column + 0.5, row + 0.5)).toPoint();
                QVERIFY2(QColor(shot.pixel(at)) == QColor(colour_of(expected)),
                         qPrintable(QString("column %1, row %2").arg(column).arg(row)));
            }
        }
        // The volume's colours are followed.
        volume->set_colormap("gray");
        QCOMPARE(canvas.picture().colormap(), QString("gray"));
    }

    void page_down_steps_a_line_and_a_typed_line_lands_on_the_nearest() {
        Window w;
        QVERIFY(w.load(volume_path_));
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), QString("210"));
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageDown);
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), QString("215"));

        QLineEdit& line = *w.view().line_edit();
        const int least_width = w.view().minimumSizeHint().width();
        line.selectAll();
        QTest::keyClicks(&line, "202");
        QTest::keyClick(&line, Qt::Key_Return);
        QTRY_VERIFY(w.drawn() && w.feed().index() == 0);
        QCOMPARE(line.text(), QString("200"));
        QCOMPARE(w.view().note(), QString("Inline 202 is not in survey: showing 200"));
        // The note takes the row's spare room; it never widens the view, and so the window.
        QCOMPARE(w.view().minimumSizeHint().width(), least_width);
        // Past the last line, the last.
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageDown, Qt::ShiftModifier);
        QTRY_VERIFY(w.drawn() && w.feed().index() == 4);
        QVERIFY(w.view().note().isEmpty());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // A grid turned 30 degrees, 25 m bins both ways, a trace missing; wells ticked in the
    // line's order, not the file's. From A, two bins off the survey, along the crossline to
    // B, then along the inline to C: every column a trace by hand, blank off the survey and
    // in the hole.
    void an_arbitrary_line_through_wells_shows_the_traces_it_crosses() {
        korvex::testing::VolumeLayout layout = LAYOUT;
        const auto node = [](double i, double j) {
            const double a = M_PI / 6.0, u = i * 25.0, v = j * 25.0;
            return std::array<double, 2>{612345.5 + u * std::cos(a) - v * std::sin(a),
                                         6543210.25 + u * std::sin(a) + v * std::cos(a)};
        };
        layout.hole = [](int il, int xl) { return il == 210 && xl == 7; };
        layout.cdp = [&](int il, int xl) {
            const auto p = node((il - 200) / 5, 7 - xl);
            return korvex::seismic::CdpCoordinates{int(std::lround(p[0] * 100)),
                                                   int(std::lround(p[1] * 100)), -100};
        };
        const QString path = dir_.filePath("turned.sgy");
        korvex::testing::write_volume(path, layout);
        QFile wells(dir_.filePath("wells.csv"));
        QVERIFY(wells.open(QIODevice::WriteOnly));
        const auto [ax, ay] = node(-2, 0);
        const auto [bx, by] = node(3, 0);
        const auto [cx, cy] = node(3, 3);
        wells.write(QString("X,Y,Z,Well\n%1,%2,0,C\n%3,%4,0,A\n%5,%6,0,B\n")
                        .arg(cx, 0, 'f', 2)
                        .arg(cy, 0, 'f', 2)
                        .arg(ax, 0, 'f', 2)
                        .arg(ay, 0, 'f', 2)
                        .arg(bx, 0, 'f', 2)
                        .arg(by, 0, 'f', 2)
                        .toUtf8());
        wells.close();

        Window w;
        auto* volume = w.load(path);
        QVERIFY(volume);
        const auto* points = static_cast<PointSet*>(
            korvex::testing::load_data(w.window, wells.fileName(),
                                       {{"delimiter", "comma"},
                                        {"columns", PointSet::columns_key(PointSet::Columns::map)},
                                        {"survey", volume->name()}}));
        QVERIFY(points);
        // The point set's menu asks for the points.
        w.unexpected.awaited << "Arbitrary line through wells";
        korvex::testing::answer_next_modal([](QWidget* modal) {
            auto* dialog = qobject_cast<LinePointsDialog*>(modal);
            for (const int row : {1, 2, 0})
                dialog->point_list()->item(row)->setCheckState(Qt::Checked);
            dialog->accept();
        });
        korvex::testing::LogCapture log;
        std::unique_ptr<QMenu> menu(
            w.window.tree()->create_context_menu(w.window.tree()->tree_item(points->name())));
        for (QAction* action : menu->actions())
            if (action->text() == "Arbitrary line through points...") action->trigger();
        QVERIFY(log.contains("info",
                             "New section view: Section View 1 of turned along A \u2192 "
                             "B \u2192 C"));
        QTRY_VERIFY(w.views().line_feed(0)->drawn());

        const SectionView& view = w.view();
        QCOMPARE(view.line_edit()->text(), QString("A \u2192 B \u2192 C"));
        const std::vector<std::array<int, 2>> crossed{{-1, -1}, {-1, -1}, {0, 0}, {1, 0}, {-1, -1},
                                                      {3, 0},   {3, 1},   {3, 2}, {3, 3}};
        const auto& samples = view.canvas().samples();
        QCOMPARE(samples.columns, int(crossed.size()));
        for (int column = 0; column < samples.columns; ++column) {
            const auto [i, j] = crossed[std::size_t(column)];
            for (int row = 0; row < samples.rows; ++row) {
                const float value = samples.values[std::size_t(row) * samples.columns + column];
                QVERIFY2(i < 0 ? std::isnan(value) : value == LAYOUT.value(i, j, row),
                         qPrintable(QString("column %1, row %2").arg(column).arg(row)));
            }
        }
        // The distance along the top bends at B, 125 m on, and ends at C, 75 m further (to
        // the centimetre the file holds).
        const auto& axis = view.canvas().horizontal();
        QCOMPARE(axis.knots.size(), std::size_t(3));
        QCOMPARE(axis.knots[1].name, QString("B"));
        QCOMPARE(axis.knots[1].data, 5.5);
        QVERIFY(std::abs(axis.value_at(5.5) - 125.0) < 0.02);
        QVERIFY(std::abs(axis.value_at(8.5) - 200.0) < 0.02);
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    void a_project_brings_its_section_views_back() {
        const QString project = dir_.filePath("views.kvd");
        QJsonObject zoom;
        // A survey without coordinates lies on the grid of its line numbers.
        const std::vector<LinePoint> line{{"P", 200, 7}, {"Q", 220, 4}, {"R", 210, 7}};
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            auto* volume = w.load(volume_path_);
            QVERIFY(volume);
            w.window.open_section_view();
            w.window.open_section_view();
            QTRY_VERIFY(w.drawn(1));
            w.feed(1).show_section(SectionKind::xline, 1);
            QTRY_VERIFY(w.drawn(1));
            w.view(1).canvas().set_exaggeration(3.0);
            QWheelEvent wheel(QPointF(100, 100), QPointF(), {}, {0, 240}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&w.view(1).canvas(), &wheel);
            zoom = w.view(1).canvas().zoom_state();
            w.view(1).follow_button()->click();
            w.views().add_line_view(*volume, line);
            w.view(2).set_trace_display(TraceDisplay::both);
            QVERIFY(w.window.has_unsaved_changes());
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(w.views().count(), 3);
        QCOMPARE(w.views().tabText(1), QString("Section View 2"));
        QCOMPARE(w.feed(1).kind(), SectionKind::xline);
        QCOMPARE(w.feed(1).position(), 6.0);
        QTRY_VERIFY(w.drawn(1));
        QCOMPARE(w.view(1).canvas().zoom_state(), zoom);
        QVERIFY(w.feed(1).following() && !w.feed(0).following());
        QCOMPARE(w.views().line_feed(2)->points(), line);
        QCOMPARE(w.view(2).canvas().trace_display(), TraceDisplay::both);
        QTRY_VERIFY(w.views().line_feed(2)->drawn());
        QVERIFY(!w.window.has_unsaved_changes());

        // The line keeps its map points: laid on a grid far from them, the survey leaves
        // them off it.
        auto* volume = static_cast<SeismicVolume*>(w.window.model()->object("survey"));
        volume->set_grid(korvex::seismic::SurveyGrid{{5000, 7000}, 25, 25, 90, true});
        QTRY_VERIFY(w.views().line_feed(2)->drawn());
        const auto& values = w.view(2).canvas().samples().values;
        QVERIFY(std::all_of(values.begin(), values.end(), [](float v) { return std::isnan(v); }));

        // A view goes with its volume.
        w.window.model()->remove_all_objects();
        QTRY_COMPARE(w.views().count(), 0);
        QVERIFY(!w.views().isVisible());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // Inline 210 is shown: its crossline 6 at 106 ms is read out once, in the status bar,
    // and marked in the 3D view; a place the 3D view writes is marked across the section
    // when on or near it.
    void the_mouse_in_one_view_is_read_out_and_marked_in_the_others() {
        Window w;
        auto* volume = w.load(volume_path_);
        QVERIFY(volume);
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        SectionCanvas& canvas = w.view().canvas();
        move_mouse(canvas, canvas.transform().to_pixel(QPointF(1.5, 3.5)));
        QTRY_COMPARE(
            w.readout(),
            QString("survey  inline 210, crossline 6  time 106 ms  amplitude %1  X 210.00, Y 6.00")
                .arg(korvex::app::data::amplitude_text(LAYOUT.value(2, 1, 3))));
        const auto* marker = w.window.cursor_marks()->marker(w.viewer());
        QVERIFY(marker);
        QCOMPARE(marker->positions().front(), volume->placement().to_scene({210, 6, -106}));
        QVERIFY(!canvas.marks().cursor());

        struct Case {
            double iline;
            std::optional<double> column, row;
        };
        // Crossline 5 at 110 ms; inline 215 is a line off the section, 230 far off it.
        for (const Case& c : {Case{210, 2.5, 5.5}, Case{215, 2.5, 5.5}, Case{230, {}, {}}}) {
            korvex::app::CursorPlace place;
            place.survey = "survey";
            place.iline = c.iline;
            place.xline = 5;
            place.time = 110;
            place.source = &w.viewer();
            w.window.linked_cursor()->move_to(place);
            const auto& told = w.window.linked_cursor()->place();
            QTRY_VERIFY(told && told->source == &w.viewer() && told->iline == c.iline);
            const auto& mark = canvas.marks().cursor();
            QCOMPARE(mark ? mark->column : std::nullopt, c.column);
            QCOMPARE(mark ? mark->row : std::nullopt, c.row);
        }
        QVERIFY(!w.window.cursor_marks()->marker(w.viewer()));
        QCOMPARE(w.readout(), QString("survey  inline 230, crossline 5  time 110 ms"));

        // On the time slice at 110 ms, a cross at inline 215, crossline 5; none at 130 ms.
        w.feed().show_section(SectionKind::depth, 5);
        QTRY_VERIFY(w.drawn());
        korvex::app::CursorPlace slice;
        slice.survey = "survey";
        slice.iline = 215;
        slice.xline = 5;
        slice.time = 110;
        slice.source = &w.viewer();
        w.window.linked_cursor()->move_to(slice);
        QTRY_VERIFY(canvas.marks().cursor() && canvas.marks().cursor()->column == 3.5);
        QCOMPARE(canvas.marks().cursor()->row, std::optional(2.5));
        slice.time = 130;
        w.window.linked_cursor()->move_to(slice);
        QTRY_VERIFY(!canvas.marks().cursor());
        w.window.linked_cursor()->clear(&w.viewer());
        QTRY_COMPARE(w.readout(), QString());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // Along a line P-Q-R, the mouse over P's column reads out P's trace, and a place at Q's
    // trace without a time is marked down a column of Q's trace.
    void an_arbitrary_line_reads_out_and_marks_the_mouse_as_the_others() {
        Window w;
        auto* volume = w.load(volume_path_);
        QVERIFY(volume);
        w.views().add_line_view(*volume, {{"P", 200, 7}, {"Q", 220, 4}, {"R", 210, 7}});
        const auto& feed = *w.views().line_feed(0);
        QTRY_VERIFY(feed.drawn());
        SectionCanvas& canvas = w.view().canvas();
        move_mouse(canvas, canvas.transform().to_pixel(QPointF(0.5, 1.5)));
        QTRY_COMPARE(
            w.readout(),
            QString("survey  inline 200, crossline 7  time 102 ms  amplitude %1  X 200.00, Y 7.00")
                .arg(korvex::app::data::amplitude_text(LAYOUT.value(0, 0, 1))));
        korvex::app::CursorPlace place;
        place.survey = "survey";
        place.iline = 220;
        place.xline = 4;
        place.source = &w.viewer();
        w.window.linked_cursor()->move_to(place);
        QTRY_VERIFY(canvas.marks().cursor());
        // A column showing Q's trace (inline index 4, crossline index 3), the middle of it.
        const double column = canvas.marks().cursor()->column.value_or(-1);
        QCOMPARE(column - std::floor(column), 0.5);
        const auto& at = feed.traces().positions().at(std::size_t(column));
        QCOMPARE(std::pair(at.iline_index, at.xline_index), std::pair(4, 3));
        QCOMPARE(canvas.marks().cursor()->row, std::nullopt);
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    // A right click on inline 210, crossline 4 at 112 ms: a pick in the Picks dock with
    // its marker in the 3D viewer in front, marked on the section, undone and redone as
    // one step, kept with the project.
    void a_pick_in_a_section_view_is_a_3d_pick_kept_with_the_project() {
        const QString project = dir_.filePath("picks.kvd");
        const float amplitude = LAYOUT.value(2, 3, 6);
        const auto picked_there = [amplitude](const korvex::app::PicksPanel& picks) {
            const auto& pick = picks.pick(0);
            return picks.count() == 1 && pick.iline == 210 && pick.xline == 4 &&
                   pick.time == 112.0 && pick.amplitude == amplitude;
        };
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            QVERIFY(w.load(volume_path_));
            w.window.open_section_view();
            QTRY_VERIFY(w.drawn());
            SectionCanvas& canvas = w.view().canvas();
            QTest::mouseClick(&canvas, Qt::RightButton, {},
                              canvas.transform().to_pixel(QPointF(3.5, 6.5)).toPoint());
            QVERIFY(picked_there(*w.window.picks()));
            QCOMPARE(w.window.picks()->viewer_name(0), w.viewer().name());
            QCOMPARE(w.window.picks()->markers(w.viewer().name())->point_count(), std::size_t(1));
            QCOMPARE(canvas.marks().picks(), std::vector<QPointF>{QPointF(3.5, 6.5)});
            w.window.undo_service()->undo();
            QCOMPARE(w.window.picks()->count(), 0);
            QVERIFY(canvas.marks().picks().empty());
            w.window.undo_service()->redo();
            QVERIFY(picked_there(*w.window.picks()));
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QVERIFY(picked_there(*w.window.picks()));
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().canvas().marks().picks(), std::vector<QPointF>{QPointF(3.5, 6.5)});
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    void with_follow_on_the_3d_section_goes_where_the_view_goes() {
        Window w;
        auto* volume = w.load(volume_path_);
        QVERIFY(volume);
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        const int before = volume->section_index(SectionKind::iline);
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageDown);
        QCOMPARE(volume->section_index(SectionKind::iline), before);
        w.view().follow_button()->click();
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(w.feed().index(), 0);
        QCOMPARE(volume->section_index(SectionKind::iline), 0);
        QVERIFY(w.unexpected.titles.isEmpty());
    }

private:
    QTemporaryDir dir_;
    QString volume_path_;
};

KORVEX_TEST_MAIN(SectionViewsTest)
#include "tst_section_views.moc"

// A survey with a corner never shot, in the real window: what a pick there answers, in 3D
// and in a section view, the live area over its time slices and on the maps, and the count
// on its page; and a survey whose holes only the full check of the cache pass finds.
#include <QFile>
#include <QLabel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/scene/visual.h"
#include "korvex/utils/functions.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/app/open_and_wait.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::data::SeismicVolume;
using korvex::seismic::SectionKind;

namespace {

// Inlines 100..105 by crosslines 200..205; from inline 103 and crossline 203 on, no trace.
korvex::testing::VolumeLayout corner_survey() {
    korvex::testing::VolumeLayout layout;
    layout.ilines = {100, 101, 102, 103, 104, 105};
    layout.xlines = {200, 201, 202, 203, 204, 205};
    layout.samples = 10;
    layout.hole = [](int iline, int xline) { return iline >= 103 && xline >= 203; };
    return layout;
}

// 100 x 100 traces, of which opening samples every other one: the 5002nd, passed over,
// says crossline 1400 instead of 1004, one line past the last. Its grid is 100 x 101
// positions, 100 of them holes: crossline 1400 but on inline 600, and (600, 1004).
void write_stray_trace_survey(const QString& path) {
    const auto layout = korvex::testing::large_survey();
    korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, layout.interval_us);
    for (int il = 0; il < 100; ++il)
        for (int xl = 0; xl < 100; ++xl)
            writer.write_trace(layout.ilines[il], il == 50 && xl == 1 ? 1400 : layout.xlines[xl],
                               layout.trace(il, xl));
    writer.close();
}

constexpr double EXTENT = 10.0;

struct Window {
    Window() {
        window.setup();
        window.resize(1000, 700);
        window.show();
        window.post_visible_setup();
    }
    korvex::widgets::CanvasWidget& viewer() const {
        return window.viewer_area()->active_viewer()->base();
    }
    // The viewer's pixel over an inline and crossline, looking down on the survey's middle.
    QPoint pixel_of(double iline, double xline) const {
        const QWidget& native = *viewer().canvas().native();
        const double scale = std::min(native.width(), native.height()) / EXTENT;
        return {int(native.width() / 2 + (iline - 102.5) * scale),
                int(native.height() / 2 - (xline - 202.5) * scale)};
    }

    // Opens the survey and looks straight down on its middle from above, ready to pick.
    SeismicVolume* open_from_above(const QString& path) {
        auto* volume = static_cast<SeismicVolume*>(
            korvex::testing::load_data(window, path, SeismicVolume::header_settings({})));
        if (!volume) return nullptr;
        auto& v = viewer();
        if (!korvex::utils::is_shown(v.dpState(), "corner", "sections", "depth"))
            v.add_cube_section(*volume, "depth");
        v.set_view_orthogonal();
        v.set_view_top();
        v.set_center({102.5, 202.5, 0.0});
        v.set_scale_factor(EXTENT);
        v.toggle_pick_mode(true);
        return QTest::qWaitFor([volume] { return volume->sections_drawn(); }) ? volume : nullptr;
    }

    korvex::testing::DialogCatcher unexpected;
    MainWindow window;
};

}  // namespace

class SurveyHolesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path_;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        path_ = dir_.filePath("corner.sgy");
        korvex::testing::write_volume(path_, corner_survey());
    }

    // No sample is kept where no trace is: the pick says so, the Picks dock stays as it was.
    void a_pick_in_a_hole_answers_that_no_trace_is_there() {
        Window w;
        QVERIFY(w.open_from_above(path_));
        korvex::app::PicksPanel& picks = *w.window.picks();
        QWidget* native = w.viewer().canvas().native();

        korvex::testing::LogCapture log;
        QTest::mouseClick(native, Qt::RightButton, {}, w.pixel_of(101, 201));
        QCOMPARE(picks.count(), 1);
        QTest::mouseClick(native, Qt::RightButton, {}, w.pixel_of(104, 204));
        QVERIFY2(log.contains("info", "corner: no trace at inline 104, crossline 204"),
                 qPrintable(log.texts().join("\n")));
        QCOMPARE(picks.count(), 1);

        // A time slice in a section view outlines the live area (an L: six runs) and
        // answers a pick in the corner alike; an inline has no outline.
        w.window.open_section_view();
        korvex::app::VolumeSectionFeed& feed = *w.window.section_views()->feed(0);
        feed.show_section(SectionKind::depth, 5);
        QTRY_VERIFY(feed.drawn());
        korvex::widgets::SectionCanvas& canvas = w.window.section_views()->view(0)->canvas();
        QCOMPARE(canvas.outline().size(), std::size_t(6));
        QTest::mouseClick(&canvas, Qt::RightButton, {},
                          canvas.transform().to_pixel(QPointF(5.5, 3.5)).toPoint());
        QVERIFY(log.contains("info", "corner: no trace at inline 105, crossline 203"));
        QCOMPARE(picks.count(), 1);
        feed.show_section(SectionKind::iline, 0);
        QTRY_VERIFY(feed.drawn());
        QVERIFY(canvas.outline().empty());

        korvex::app::data::AppearanceDialog dialog(*w.window.tree(), "corner");
        auto* page = qobject_cast<korvex::app::data::SeismicVolumePage*>(dialog.page());
        QVERIFY(page);
        QCOMPARE(page->trace_count()->text(), QString("27 of 36 positions hold a trace"));
    }

    // Every map view draws the fill the volume made as its file opened: shared, not copied.
    void the_maps_share_the_volumes_live_area() {
        Window w;
        const SeismicVolume* volume = w.open_from_above(path_);
        QVERIFY(volume);
        w.window.open_map_view();
        w.window.open_map_view();
        for (int i = 0; i < 2; ++i) {
            const auto& surveys = w.window.map_views()->view(i)->canvas().scene().surveys;
            QTRY_COMPARE(surveys.size(), std::size_t(1));
            QCOMPARE(surveys[0].live.cacheKey(), volume->live_fill().cacheKey());
        }
        QCOMPARE(volume->live_fill().size(), QSize(6, 6));
    }

    // The full check finds the trace out of place: every trace is placed anew, drawn where
    // it lies, and the log says so in one line; the pick, the camera and the lines shown stay.
    void traces_the_full_check_places_anew_are_drawn_where_they_lie() {
        const QString path = dir_.filePath("stray.sgy");
        write_stray_trace_survey(path);
        Window w;
        korvex::testing::LogCapture log;
        auto* volume = static_cast<SeismicVolume*>(
            korvex::testing::load_data(w.window, path, SeismicVolume::header_settings({})));
        QVERIFY(volume);
        QCOMPARE(volume->file().geometry().hole_count, 0LL);
        w.viewer().add_item_agent(*volume);
        w.window.open_map_view();
        volume->set_section_index(SectionKind::iline, 50);
        w.window.open_section_view();
        korvex::app::VolumeSectionFeed& feed = *w.window.section_views()->feed(0);
        feed.show_section(SectionKind::iline, 50);
        QTRY_VERIFY(feed.drawn());
        korvex::widgets::SectionCanvas& canvas = w.window.section_views()->view(0)->canvas();
        QTest::mouseClick(&canvas, Qt::RightButton, {},
                          canvas.transform().to_pixel(QPointF(2.5, 1.5)).toPoint());
        QCOMPARE(w.window.picks()->count(), 1);
        const auto pick = w.window.picks()->pick(0);
        const auto camera = std::make_pair(w.viewer().center(), w.viewer().scale_factor());

        QTRY_VERIFY_WITH_TIMEOUT(volume->sections().has_cache(), 60000);
        const auto& g = volume->file().geometry();
        QCOMPARE(g.xline_count(), 101);
        QCOMPARE(g.hole_count, 100LL);
        QVERIFY2(log.contains("warning",
                              "stray.sgy: the full check found 100 positions without a trace, on "
                              "a grid of 100 inlines x 101 crosslines; the picture now shows them"),
                 qPrintable(log.texts().join("\n")));
        QTRY_VERIFY(volume->sections_drawn() && feed.drawn());
        const auto inline_600 = volume->sections().drawn(SectionKind::iline);
        QCOMPARE(inline_600->index, 50);
        const auto layout = korvex::testing::large_survey();
        const auto& drawn = inline_600->image;
        QCOMPARE(drawn.columns, 101);
        for (int s = 0; s < layout.samples; ++s) {
            QVERIFY(std::isnan(drawn.values[std::size_t(s) * 101 + 1]));
            QCOMPARE(drawn.values[std::size_t(s) * 101 + 100], layout.value(50, 1, s));
            QVERIFY(std::isnan(canvas.samples().values[std::size_t(s) * 101 + 1]));
        }
        // The survey's box and the map reach the crossline found past the last.
        const auto box = volume->visuals_in_volume.at(w.viewer().name()).visuals().front();
        QCOMPARE(box->bounds()[3], 1400.0);
        const auto& map = w.window.map_views()->view(0)->canvas().scene().surveys;
        QTRY_COMPARE(map.at(0).xlines.count, 101);
        QCOMPARE(map.at(0).live.cacheKey(), volume->live_fill().cacheKey());
        QCOMPARE(w.window.picks()->count(), 1);
        QCOMPARE(w.window.picks()->pick(0), pick);
        QCOMPARE(std::make_pair(w.viewer().center(), w.viewer().scale_factor()), camera);

        korvex::app::data::AppearanceDialog dialog(*w.window.tree(), "stray");
        auto* page = qobject_cast<korvex::app::data::SeismicVolumePage*>(dialog.page());
        QVERIFY(page);
        QCOMPARE(page->trace_count()->text(), QString("10000 of 10100 positions hold a trace"));
        QCOMPARE(page->section_slider(SectionKind::xline)->maximum(), 100);
    }

    // A well in the corner lies where no sample is: its pick says so and keeps nothing.
    void a_marker_in_a_hole_answers_that_no_trace_is_there() {
        Window w;
        QVERIFY(w.open_from_above(path_));
        QFile wells(dir_.filePath("wells.csv"));
        QVERIFY(wells.open(QIODevice::WriteOnly));
        wells.write("X,Y,Z,Well\n104,204,4,W-1\n");
        wells.close();
        using korvex::app::data::PointSet;
        // A survey without map coordinates lies at its line numbers: so do the wells.
        auto* points = korvex::testing::load_data(
            w.window, wells.fileName(),
            {{"delimiter", "comma"}, {"columns", PointSet::columns_key(PointSet::Columns::lines)}});
        QVERIFY(points);
        w.viewer().add_item_agent(*points);
        korvex::testing::LogCapture log;
        QTest::mouseClick(w.viewer().canvas().native(), Qt::RightButton, {}, w.pixel_of(104, 204));
        QVERIFY2(log.contains("info",
                              "wells: W-1 lies in corner, where there is no trace at "
                              "inline 104, crossline 204"),
                 qPrintable(log.texts().join("\n")));
        QCOMPARE(w.window.picks()->count(), 0);
    }
};

KORVEX_RENDER_TEST_MAIN(SurveyHolesTest)
#include "tst_survey_holes.moc"

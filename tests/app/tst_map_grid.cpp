// A survey whose trace headers cannot place it on the map, as a user meets it in the window:
// told why, drawn at its line numbers, and moved by the grid set on its page.
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/app/data/survey_grid_box.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/point_visual.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "tests/app/open_and_wait.h"
#include "tests/app/open_volume.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::data::SeismicVolume;
using korvex::app::data::SurveyGridBox;
using Map = std::array<double, 2>;

namespace {

// Inlines 1000-1006 in steps of 2, crosslines 2000-2004, coordinates at `bytes`.
korvex::testing::VolumeLayout survey_layout(bool noisy, int bytes) {
    korvex::testing::VolumeLayout layout;
    layout.coordinates = {bytes, bytes + 4};
    layout.ilines = {1000, 1002, 1004, 1006};
    layout.xlines = {2000, 2001, 2002, 2003, 2004};
    layout.samples = 10;
    // A 25 m grid whose traces sit 20 m east or west of it by turns.
    if (noisy)
        layout.cdp = [](int il, int xl) {
            const int i = (il - 1000) / 2, j = xl - 2000, off = (i + j) % 2 ? 20 : -20;
            return korvex::seismic::CdpCoordinates{600000 + 25 * i + off, 6500000 + 25 * j, 1};
        };
    return layout;
}

// The grid typed on the page: inlines 25 m apart toward azimuth 35, crosslines 12.5 m
// apart clockwise of them.
constexpr Map ORIGIN{612345.5, 6543210.25};
Map on_grid(double il, double xl) {
    const double a = 35.0 * M_PI / 180.0, u = (il - 1000) / 2 * 25.0, v = (xl - 2000) * 12.5;
    return {ORIGIN[0] + u * std::sin(a) + v * std::cos(a),
            ORIGIN[1] + u * std::cos(a) - v * std::sin(a)};
}

bool near(const Map& a, const Map& b, double tolerance = 1e-6) {
    return std::hypot(a[0] - b[0], a[1] - b[1]) < tolerance;
}

QString text(const Map& p) { return QString("%1, %2").arg(p[0], 0, 'f', 3).arg(p[1], 0, 'f', 3); }

struct Window {
    Window() {
        window.setup();
        window.show();
        window.post_visible_setup();
    }
    SeismicVolume* volume() const {
        return dynamic_cast<SeismicVolume*>(window.tree()->object_data().at("survey"));
    }
    korvex::app::data::PointSet* points() const {
        return dynamic_cast<korvex::app::data::PointSet*>(window.tree()->object_data().at("tops"));
    }
    korvex::widgets::CanvasWidget& canvas() const {
        return window.viewer_area()->viewer(0)->base();
    }
    SurveyGridBox* grid_box() {
        window.show_appearance("survey");
        auto* dialog = window.findChild<korvex::app::data::AppearanceDialog*>();
        auto* page =
            dialog ? qobject_cast<korvex::app::data::SeismicVolumePage*>(dialog->page()) : nullptr;
        return page ? page->grid_box() : nullptr;
    }
    MainWindow window;
};

}  // namespace

class MapGridTest : public QObject {
    Q_OBJECT

private slots:
    void a_survey_the_headers_cannot_place_lies_on_the_grid_set_on_its_page_data() {
        QTest::addColumn<bool>("noisy");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("why");
        QTest::newRow("coordinates all zero") << false << 181 << "^CDP coordinates are all zero$";
        QTest::newRow("coordinates off their grid")
            << true << 181
            << "^CDP coordinates lie 0\\.\\d+ bins off a grid \\(root mean square\\)";
        QTest::newRow("source coordinates off their grid")
            << true << 73 << "^Source X/Y \\(bytes 73 and 77\\) lie 0\\.\\d+ bins off a grid";
    }
    // Said in the log and on the page, at its line numbers until a grid is typed on the
    // page; then the survey, its sections, its picks and tops in its line numbers move on
    // the map, the viewer showing it frames it there, Undo takes it back and the project
    // keeps it.
    void a_survey_the_headers_cannot_place_lies_on_the_grid_set_on_its_page() {
        QFETCH(bool, noisy);
        QFETCH(int, bytes);
        QFETCH(QString, why);
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), survey_layout(noisy, bytes));
        const QString project = dir.filePath("gridded.kvd");
        korvex::testing::DialogCatcher dialogs(korvex::testing::DialogCatcher::Catch::modal);
        {
            Window w;
            korvex::testing::LogCapture log;
            QVERIFY(korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                               SeismicVolume::header_settings({})));
            SeismicVolume& volume = *w.volume();
            const QString note = volume.map_note();
            QVERIFY2(QRegularExpression(why).match(note).hasMatch(), qPrintable(note));
            QVERIFY(log.contains("info", "survey: " + note +
                                             ": it lies at one map unit per line number until "
                                             "a grid is set on its page"));
            QVERIFY(near(volume.geometry().to_map(1006, 2004), {1006, 2004}));
            w.window.tree()->set_checked("survey", true);
            korvex::widgets::PickedSample pick;
            pick.volume = "survey";
            pick.iline = 1004;
            pick.xline = 2002;
            pick.time = 20;
            pick.position = {1004, 2002, -20};
            emit w.window.viewer_area()->sig_picked_sample(&w.canvas(), pick);
            QFile tops(dir.filePath("tops.csv"));
            QVERIFY(tops.open(QIODevice::WriteOnly));
            tops.write("X,Y,Z\n1004,2002,20\n");
            tops.close();
            QVERIFY(korvex::testing::load_data(w.window, tops.fileName(), {{"columns", "lines"}}));
            w.window.tree()->set_checked("tops", true);
            const auto top_marker = [&w] {
                const auto& item = w.points()->visuals_in_volume.at(w.canvas().name());
                const auto at =
                    std::dynamic_pointer_cast<korvex::scene::PointVisual>(item.visuals().front())
                        ->positions()
                        .front();
                return Map{at[0], at[1]};
            };

            SurveyGridBox* box = w.grid_box();
            QVERIFY(box);
            QVERIFY2(box->note()->text().startsWith(note + ": the survey lies at one map unit"),
                     qPrintable(box->note()->text()));
            const double typed[] = {ORIGIN[0], ORIGIN[1], 25.0, 12.5, 35.0};
            for (int i = 0; i < 5; ++i) box->field(i)->setValue(typed[i]);
            box->clockwise_box()->setChecked(true);
            QTest::mouseClick(box->apply_button(), Qt::LeftButton);

            for (const auto& [il, xl] : {Map{1000, 2000}, Map{1006, 2000}, Map{1006, 2004}})
                QVERIFY2(near(volume.geometry().to_map(il, xl), on_grid(il, xl)),
                         qPrintable(text(volume.geometry().to_map(il, xl))));
            QVERIFY(log.contains("info",
                                 "survey lies on the grid set on its page: first "
                                 "inline and crossline at 612345.50, 6543210.25; bins "
                                 "25 x 12.5; inlines toward 35 degrees, crosslines "
                                 "clockwise of them"));
            QVERIFY(box->note()->text().endsWith("the survey lies on the grid set here."));
            QCOMPARE(volume.prop().value("Corner IL 1006 XL 2004").toString(),
                     QString("%1, %2")
                         .arg(on_grid(1006, 2004)[0], 0, 'f', 2)
                         .arg(on_grid(1006, 2004)[1], 0, 'f', 2));
            // The inline section's quad runs from crossline 2000 to 2004 of its inline on
            // the map (the scene's origin is the map's: nothing placed took one).
            const auto section = korvex::testing::image(volume, "iline", w.canvas().name());
            const auto kind = korvex::seismic::SectionKind::iline;
            const double shown = volume.frame().position_value(kind, volume.section_index(kind));
            const Map ends[] = {on_grid(shown, 2000), on_grid(shown, 2004)};
            const auto bounds = section->bounds();
            QVERIFY2(
                near({bounds[0], bounds[2]},
                     {std::min(ends[0][0], ends[1][0]), std::min(ends[0][1], ends[1][1])}, 0.5) &&
                    near({bounds[1], bounds[3]},
                         {std::max(ends[0][0], ends[1][0]), std::max(ends[0][1], ends[1][1])}, 0.5),
                qPrintable(text({bounds[0], bounds[2]}) + " - " + text({bounds[1], bounds[3]})));
            // The time slice and its live-area outline cover the survey.
            for (const auto& drawn :
                 volume.section_image3d.at("depth").at(w.canvas().name()).visuals()) {
                const auto b = drawn->bounds();
                QVERIFY2(
                    near({(b[0] + b[1]) / 2, (b[2] + b[3]) / 2}, volume.geometry().centre(), 0.5),
                    qPrintable(drawn->text()));
            }
            // The viewer showing it frames it where it lies now.
            const auto centre = w.canvas().center();
            QVERIFY2(near({centre[0], centre[1]}, volume.geometry().centre(), 1.0),
                     qPrintable(text({centre[0], centre[1]})));
            korvex::app::PicksPanel& picks = *w.window.picks();
            const Map picked = on_grid(1004, 2002);
            QVERIFY(near({*picks.pick(0).map_x, *picks.pick(0).map_y}, picked));
            QVERIFY(near({picks.pick(0).position[0], picks.pick(0).position[1]}, picked));
            QVERIFY2(near(top_marker(), picked, 0.01), qPrintable(text(top_marker())));

            // Undo lays it at its line numbers again, its pick without map X/Y; Redo back.
            w.window.undo_service()->undo();
            QVERIFY(near(volume.geometry().to_map(1006, 2004), {1006, 2004}));
            QVERIFY(!picks.pick(0).map_x);
            QVERIFY(near(top_marker(), {1004, 2002}));
            QCOMPARE(box->field(0)->value(), 1000.0);
            w.window.undo_service()->redo();
            QVERIFY(near(volume.geometry().to_map(1000, 2000), ORIGIN));
            QVERIFY(w.window.save_project_as(project));
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QVERIFY(w.window.restored_completely());
        const SeismicVolume& volume = *w.volume();
        for (const auto& [il, xl] : {Map{1000, 2000}, Map{1006, 2004}})
            QVERIFY(near(volume.geometry().to_map(il, xl), on_grid(il, xl)));
        const korvex::widgets::PickedSample& pick = w.window.picks()->pick(0);
        QVERIFY(near({*pick.map_x, *pick.map_y}, on_grid(1004, 2002)));
        const auto top = w.points()->position(0);
        const Map centre = volume.geometry().centre();
        QVERIFY(near({top[0] + centre[0], top[1] + centre[1]}, on_grid(1004, 2002), 0.01));
        QCOMPARE(dialogs.titles, QStringList());
    }
};

KORVEX_RENDER_TEST_MAIN(MapGridTest)
#include "tst_map_grid.moc"

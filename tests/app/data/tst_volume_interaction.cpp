#include <segyio/segy.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>

#include "korvex/app/data/data_types.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/segy_open_dialog.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"
#include "korvex/widgets/cube_viewer/sample_query.h"
#include "tests/app/open_volume.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using korvex::app::data::SegyOpenDialog;
using korvex::app::data::SeismicVolume;
using korvex::scene::ImageSection;
using korvex::seismic::SectionKind;
using korvex::testing::SceneWindow;
using korvex::testing::VolumeLayout;

namespace {

constexpr double VIEW_EXTENT = 40.0;
constexpr int WINDOW = 200;

// The pixel of a world (x, y) seen from above, centred on (210, 5).
QPoint pixel_of(double x, double y) {
    return {int(WINDOW / 2 + (x - 210.0) * WINDOW / VIEW_EXTENT),
            int(WINDOW / 2 - (y - 5.0) * WINDOW / VIEW_EXTENT)};
}

// Shows the viewer looking straight down on (210, 5), as pixel_of() has it, ready to pick.
bool show_from_above_to_pick(korvex::testing::ViewerFixture& viewer) {
    if (!viewer.show(WINDOW, WINDOW)) return false;
    viewer.widget.set_view_orthogonal();
    viewer.widget.set_view_top();
    viewer.widget.set_center({210.0, 5.0, 0.0});
    viewer.widget.set_scale_factor(VIEW_EXTENT);
    viewer.widget.toggle_pick_mode(true);
    return true;
}

// Answers the next SEG-Y dialog once it is up.
void answer_dialog(std::function<void(SegyOpenDialog&)> answer) {
    korvex::testing::answer_next_modal([answer](QWidget* modal) {
        auto* dialog = qobject_cast<SegyOpenDialog*>(modal);
        QVERIFY2(dialog, "the SEG-Y dialog did not open");
        answer(*dialog);
    });
}

void press_key(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &event);
}

// A survey on the map: inline numbers growing toward `azimuth` (degrees clockwise from
// north) 25 m apart, crosslines 12.5 m apart to their right or left, coordinates to the
// centimetre about (x0, y0).
struct MapGrid {
    double azimuth, x0, y0;
    bool clockwise;

    std::array<double, 2> at(double il, double xl) const {
        const double a = azimuth * M_PI / 180.0, side = clockwise ? 1.0 : -1.0;
        const double u = (il - 1000) * 25.0, v = (xl - 2000) * 12.5;
        return {x0 + u * std::sin(a) + side * v * std::cos(a),
                y0 + u * std::cos(a) - side * v * std::sin(a)};
    }
    VolumeLayout layout() const {
        VolumeLayout layout;
        layout.ilines = {1000, 1001, 1002, 1003, 1004, 1005, 1006};
        layout.xlines = {2000, 2001, 2002, 2003, 2004, 2005, 2006, 2007};
        layout.samples = 10;
        const MapGrid grid = *this;
        layout.cdp = [grid](int il, int xl) {
            const auto p = grid.at(il, xl);
            return korvex::seismic::CdpCoordinates{int(std::lround(p[0] * 100)),
                                                   int(std::lround(p[1] * 100)), -100};
        };
        return layout;
    }
};

}  // namespace

class VolumeInteractionTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    VolumeLayout layout_;
    QString path_;

private slots:
    void initTestCase() {
        layout_ = korvex::testing::irregular_survey(30);
        path_ = dir_.filePath("survey_b.sgy");
        korvex::testing::write_volume(path_, layout_);
    }

    // The whole path: a right press in pick mode on a section in a cube viewer.
    // A well marker is a place in the survey: a pick on it says where and goes to the picks.
    // Line numbers of a survey without coordinates are its map; a top given in map X/Y on a
    // turned survey is drawn at, and answers, the lines its transform gives there.
    void a_pick_on_a_marker_reports_its_place_in_the_survey_data() {
        QTest::addColumn<bool>("on_map");
        QTest::newRow("lines, survey without coordinates") << false;
        QTest::newRow("map X/Y, survey turned 35 degrees") << true;
    }
    void a_pick_on_a_marker_reports_its_place_in_the_survey() {
        QFETCH(bool, on_map);
        const MapGrid grid{35.0, 612345.5, 6543210.25, true};
        const VolumeLayout layout = on_map ? grid.layout() : layout_;
        const QString path = on_map ? dir_.filePath("survey_m.sgy") : path_;
        if (on_map) korvex::testing::write_volume(path, layout);
        // Inline, crossline and time of the top, and their indices in the layout.
        const std::array<int, 3> lines =
            on_map ? std::array<int, 3>{1004, 2003, 20} : std::array<int, 3>{215, 5, 130};
        const std::array<int, 3> index =
            on_map ? std::array<int, 3>{4, 3, 5} : std::array<int, 3>{3, 2, 15};
        const auto map = grid.at(lines[0], lines[1]);
        const QString top = on_map ? QString("%1,%2").arg(map[0], 0, 'f', 2).arg(map[1], 0, 'f', 2)
                                   : QString("%1,%2").arg(lines[0]).arg(lines[1]);

        korvex::testing::ViewerFixture viewer;
        korvex::app::data::OpenSurveys surveys;
        const auto volume_held = korvex::testing::open_volume(path);
        SeismicVolume& volume = *volume_held;
        volume.set_open_surveys(&surveys);
        viewer.tree().add_object(volume);
        const QString wells = dir_.filePath("wells.csv");
        QFile file(wells);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QString("X,Y,Z,WELL\n%1,%2,W-1\n").arg(top).arg(lines[2]).toUtf8());
        file.close();
        using korvex::app::data::PointSet;
        PointSet points(wells, {}, on_map ? PointSet::Columns::map : PointSet::Columns::lines,
                        &surveys);
        viewer.tree().add_object(points);
        viewer.widget.add_item_agent(points);
        QVERIFY(show_from_above_to_pick(viewer));
        const auto centre = surveys.origin().value_or(std::array<double, 2>{0.0, 0.0});
        const std::array<double, 2> world =
            on_map ? std::array<double, 2>{map[0] - centre[0], map[1] - centre[1]}
                   : std::array<double, 2>{215.0, 5.0};
        viewer.widget.set_center({world[0], world[1], 0.0});

        korvex::testing::LogCapture log;
        QSignalSpy picked(&viewer.widget, &korvex::widgets::CanvasWidget::sig_picked_sample);
        QTest::mouseClick(viewer.widget.canvas().native(), Qt::RightButton, {},
                          QPoint(WINDOW / 2, WINDOW / 2));
        QCOMPARE(picked.size(), 1);
        const auto pick = picked[0][0].value<korvex::widgets::PickedSample>();
        QCOMPARE(pick.volume, volume.name());
        QCOMPARE(QVector<double>({double(pick.iline), double(pick.xline), pick.time}),
                 QVector<double>({double(lines[0]), double(lines[1]), double(lines[2])}));
        const float amplitude = layout.value(index[0], index[1], index[2]);
        QCOMPARE(pick.amplitude, double(amplitude));
        const QString place = QString(
                                  "wells: W-1 lies in %1 at inline %2, crossline %3, "
                                  "time %4 ms: amplitude %5")
                                  .arg(volume.name())
                                  .arg(lines[0])
                                  .arg(lines[1])
                                  .arg(lines[2])
                                  .arg(amplitude);
        QVERIFY2(log.contains("info", place), qPrintable(log.texts().join("\n")));
    }

    // A pick on a marker walks the open volumes: a closed one must not be among them.
    void a_closed_volume_leaves_the_open_surveys() {
        korvex::app::data::OpenSurveys surveys;
        {
            const auto volume_held = korvex::testing::open_volume(path_);
            SeismicVolume& volume = *volume_held;
            volume.set_open_surveys(&surveys);
            QVERIFY(surveys.volumes() == std::vector<SeismicVolume*>{&volume});
        }
        QVERIFY(surveys.volumes().empty());
        QVERIFY(surveys.surveys().empty());
    }

    void right_pick_reports_the_sample_and_selects_the_section_for_keys() {
        korvex::testing::ViewerFixture viewer;
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        viewer.tree().add_object(volume);
        viewer.widget.add_cube_section(volume, "depth");
        QVERIFY(show_from_above_to_pick(viewer));
        QWidget* native = viewer.widget.canvas().native();
        QTRY_VERIFY(!volume.sections_pending());

        korvex::testing::LogCapture log;
        QSignalSpy picked(&viewer.widget, &korvex::widgets::CanvasWidget::sig_picked_sample);
        QSignalSpy coordinates(&viewer.widget, &korvex::widgets::CanvasWidget::sigPickedPoint);
        QTest::mouseClick(native, Qt::RightButton, {}, pixel_of(215.4, 4.8));
        QCOMPARE(picked.size(), 1);
        const auto pick = picked[0][0].value<korvex::widgets::PickedSample>();
        QCOMPARE(pick.volume, QString("survey_b"));
        QCOMPARE(QVector<double>({double(pick.iline), double(pick.xline), pick.time}),
                 QVector<double>({215, 5, 130}));
        QCOMPARE(pick.amplitude, double(layout_.value(3, 2, 15)));
        // The sample is the pick's one log line; no raw coordinate line besides it.
        QCOMPARE(coordinates.size(), 0);
        const QString amplitude =
            QString("survey_b: amplitude %1 at inline 215, crossline 5, time 130 ms")
                .arg(layout_.value(3, 2, 15));
        QVERIFY2(log.contains("info", amplitude), qPrintable(log.texts().join("\n")));
        QVERIFY(log.contains("info", "Query visual: ImageSection 'time'"));

        // Page Down / Page Up now move that slice; Shift moves ten samples.
        press_key(*native, Qt::Key_PageDown);
        QCOMPARE(volume.section_index(SectionKind::depth), 16);
        press_key(*native, Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(volume.section_index(SectionKind::depth), 26);
        press_key(*native, Qt::Key_PageDown, Qt::ShiftModifier);
        QCOMPARE(volume.section_index(SectionKind::depth), 29);  // stops at the last sample
        press_key(*native, Qt::Key_PageUp);
        QCOMPARE(volume.section_index(SectionKind::depth), 28);
        QTRY_COMPARE(korvex::testing::image(volume, "depth", "viewer")->position(), -156.0);

        // The moved slice is picked at its new time.
        QTest::mouseClick(native, Qt::RightButton, {}, pixel_of(200.0, 7.0));
        QCOMPARE(picked.size(), 2);
        const auto moved = picked[1][0].value<korvex::widgets::PickedSample>();
        QCOMPARE(QVector<double>({double(moved.iline), double(moved.xline), moved.time}),
                 QVector<double>({200, 7, 156}));
    }

    // A survey without coordinates, opened before another fixed the map's origin, lies
    // beside that one, as on the map, once its grid is set.
    void a_grid_set_after_another_survey_fixed_the_origin_lies_on_the_map() {
        korvex::app::data::OpenSurveys open;
        const auto bare = korvex::testing::open_volume(path_);
        bare->set_open_surveys(&open);
        const MapGrid grid{35.0, 612345.5, 6543210.25, true};
        korvex::testing::write_volume(dir_.filePath("fixing.sgy"), grid.layout());
        const auto fixing = korvex::testing::open_volume(dir_.filePath("fixing.sgy"));
        fixing->set_open_surveys(&open);
        bare->set_grid(korvex::seismic::SurveyGrid{{612000.0, 6543000.0}, 25.0, 12.5, 35.0});
        const auto origin = *open.origin();
        const auto first = bare->placement().to_scene({200, 7, 0});
        QVERIFY(std::hypot(first[0] + origin[0] - 612000.0, first[1] + origin[1] - 6543000.0) <
                1e-6);
    }

    // Two turned surveys of one window lie where their coordinates put them, north up from
    // the top: a pick at a map point on each answers that survey's own lines there.
    void a_pick_on_each_of_two_surveys_on_the_map_reports_its_own_lines() {
        const std::vector<std::pair<MapGrid, std::array<int, 2>>> surveys{
            {{35.0, 612345.5, 6543210.25, true}, {1004, 2003}},
            {{-125.0, 614345.5, 6543810.25, false}, {1002, 2006}}};
        korvex::testing::ViewerFixture viewer;
        korvex::app::data::OpenSurveys open;
        std::vector<std::unique_ptr<SeismicVolume>> volumes;
        for (std::size_t i = 0; i < surveys.size(); ++i) {
            const QString path = dir_.filePath(QString("map_%1.sgy").arg(i));
            korvex::testing::write_volume(path, surveys[i].first.layout());
            volumes.push_back(korvex::testing::open_volume(path));
            volumes.back()->set_open_surveys(&open);
            viewer.tree().add_object(*volumes.back());
            viewer.widget.add_cube_section(*volumes.back(), "depth");
        }
        QVERIFY(show_from_above_to_pick(viewer));
        for (const auto& volume : volumes) QTRY_VERIFY(!volume->sections_pending());
        // The first survey's centre is the scene's origin.
        const auto origin = volumes[0]->geometry().centre();
        QSignalSpy picked(&viewer.widget, &korvex::widgets::CanvasWidget::sig_picked_sample);
        korvex::testing::LogCapture log;
        for (std::size_t i = 0; i < surveys.size(); ++i) {
            const auto& [grid, lines] = surveys[i];
            const auto map = grid.at(lines[0], lines[1]);
            viewer.widget.set_center({map[0] - origin[0], map[1] - origin[1], 0.0});
            QTest::mouseClick(viewer.widget.canvas().native(), Qt::RightButton, {},
                              QPoint(WINDOW / 2, WINDOW / 2));
            QCOMPARE(picked.size(), 2 * int(i) + 1);
            const auto pick = picked.last()[0].value<korvex::widgets::PickedSample>();
            QCOMPARE(pick.volume, QString("map_%1").arg(i));
            QCOMPARE(QVector<int>({pick.iline, pick.xline}), QVector<int>({lines[0], lines[1]}));
            QVERIFY(std::hypot(*pick.map_x - map[0], *pick.map_y - map[1]) < 0.01);
            // The log line says both, the map point to the centimetre the headers hold.
            const QString line =
                QString(
                    "map_%1: amplitude %2 at inline %3, crossline %4, time %5 ms, map X %6, "
                    "Y %7")
                    .arg(i)
                    .arg(pick.amplitude)
                    .arg(lines[0])
                    .arg(lines[1])
                    .arg(pick.time)
                    .arg(std::round(map[0] * 100) / 100, 0, 'f', 2)
                    .arg(std::round(map[1] * 100) / 100, 0, 'f', 2);
            QVERIFY2(log.contains("info", line), qPrintable(log.texts().join("\n")));
            // 14 m east and 14 m north of the point lands on the lines the compass says.
            const QPoint step = pixel_of(210.0 + 14.0, 5.0 + 14.0) - pixel_of(210.0, 5.0);
            QTest::mouseClick(viewer.widget.canvas().native(), Qt::RightButton, {},
                              QPoint(WINDOW / 2, WINDOW / 2) + step);
            const auto off = picked.last()[0].value<korvex::widgets::PickedSample>();
            const auto expected = volumes[i]->geometry().to_lines(map[0] + 14.0, map[1] + 14.0);
            QCOMPARE(QVector<int>({off.iline, off.xline}),
                     QVector<int>({int(std::lround(expected[0])), int(std::lround(expected[1]))}));
        }
    }

    // Near northing 6.5e6 a single-precision coordinate has half-metre steps: the scene is
    // drawn about a local origin, so the boundaries between 1 m inlines of alternating sign
    // fall where their map coordinates say, 20 pixels per metre, to the pixel.
    void a_metre_at_northing_six_and_a_half_million_is_drawn_as_a_metre() {
        const QString path = dir_.filePath("metre.sgy");
        const double x0 = 612345.37, y0 = 6543210.37;
        {
            korvex::seismic::SegyWriter writer(path, 4, SEGY_IEEE_FLOAT_4_BYTE, 4000);
            for (int il = 1000; il < 1008; ++il)      // inlines 1 m apart toward north
                for (int xl = 2000; xl < 2008; ++xl)  // crosslines 1 m apart toward east
                    writer.write_trace(il, xl, std::vector<float>(4, il % 2 ? 10.0f : -10.0f), 0,
                                       {int(std::lround((x0 + xl - 2000) * 100)),
                                        int(std::lround((y0 + il - 1000) * 100)), -100});
            writer.close();
        }
        korvex::testing::ViewerFixture viewer;
        korvex::app::data::OpenSurveys open;
        const auto volume_held = korvex::testing::open_volume(path);
        SeismicVolume& volume = *volume_held;
        volume.set_open_surveys(&open);
        viewer.tree().add_object(volume);
        viewer.widget.add_cube_section(volume, "depth");
        QVERIFY(viewer.show(WINDOW, WINDOW));
        viewer.widget.set_view_orthogonal();
        viewer.widget.set_view_top();
        viewer.widget.set_center({0.0, 0.0, 0.0});  // the survey's centre, the scene's origin
        viewer.widget.set_scale_factor(WINDOW / 20.0);
        QTRY_VERIFY(!volume.sections_pending());
        const QImage picture = viewer.widget.canvas().render();

        // Where the colour turns down a column clear of the axis at the origin.
        std::vector<double> turns;
        int last_sign = 0, last_row = 0;
        for (int row = 0; row < picture.height(); ++row) {
            const QColor c = picture.pixelColor(picture.width() / 3, row);
            const int sign = c.red() > c.blue() + 60 ? 1 : c.blue() > c.red() + 60 ? -1 : 0;
            if (sign == 0) continue;
            if (last_sign != 0 && sign != last_sign) turns.push_back((last_row + row) / 2.0);
            last_sign = sign;
            last_row = row;
        }
        // Between inlines k and k + 1 the northing is y0 + k - 999.5, 3.5 m from the centre
        // at the middle one.
        const std::vector<double> expected{40, 60, 80, 100, 120, 140, 160};
        QCOMPARE(turns.size(), expected.size());
        for (std::size_t i = 0; i < turns.size(); ++i)
            QVERIFY2(std::abs(turns[i] - expected[i]) <= 1.0,
                     qPrintable(QString("turn %1 at row %2").arg(i).arg(turns[i])));
    }

    void a_pick_without_a_surface_point_is_reported() {
        SceneWindow scene(WINDOW, WINDOW);
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("depth", "viewer");
        auto& section = *korvex::testing::image(volume, "depth", "viewer");
        scene.view().add(section);
        korvex::testing::LogCapture log;
        auto& query = dynamic_cast<korvex::widgets::SampleQuery&>(section);
        QVERIFY(!query.query_sample(scene.canvas().pick(QPoint(2, 2))));
        QVERIFY(log.contains("warning", "No point of " + section.text() + " under the mouse"));
    }

    void key_failures_are_logged_and_dead_volumes_ignored() {
        SceneWindow scene(WINDOW, WINDOW);
        const QString copy = dir_.filePath("copy.sgy");
        QVERIFY(QFile::copy(path_, copy));
        auto volume = korvex::testing::open_volume(copy);
        volume->make_image_3d("iline", "viewer");
        auto section = volume->section_image3d.at("iline").at("viewer").visual();
        scene.view().add(*section);
        scene.view().set_key_target(section.get());

        QVERIFY(QFile(copy).resize(4000));
        korvex::testing::LogCapture log;
        QSignalSpy failed(volume.get(), &SeismicVolume::sig_section_failed);
        press_key(scene.native(), Qt::Key_PageDown);
        QVERIFY(failed.wait());
        QCOMPARE(volume->section_index(SectionKind::iline), 2);
        QVERIFY2(
            log.texts().join("\n").contains("copy: the inline section cannot be read: " + copy),
            qPrintable(log.texts().join("\n")));

        // A volume takes its sections out of the views when it goes, and their keys with them.
        volume.reset();
        QCOMPARE(scene.view().key_target(), nullptr);
        press_key(scene.native(), Qt::Key_PageDown);
    }

    void opening_interactively_asks_for_the_header_bytes() {
        VolumeLayout layout;
        layout.bytes = {9, 21};
        const QString path = dir_.filePath("asked.sgy");
        korvex::testing::write_volume(path, layout);
        const auto type = korvex::app::data::data_types(nullptr, nullptr, nullptr)[0];

        // The usual bytes give no grid: the dialog proposes the bytes the scan found.
        answer_dialog([](SegyOpenDialog& dialog) {
            QTRY_COMPARE(dialog.proposal_text(), QString("Line numbers found at bytes 9 and 21: 4 "
                                                         "inlines x 5 crosslines, every position "
                                                         "filled"));
            QVERIFY(
                !dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
            for (auto* button : dialog.findChildren<QPushButton*>())
                if (button->text() == "Use these bytes") QTest::mouseClick(button, Qt::LeftButton);
            QTRY_VERIFY(dialog.preview_text().startsWith("4 inlines x 5 crosslines"));
            dialog.accept();
        });
        const auto volume = korvex::testing::open_volume(path, type.ask(path));
        QCOMPARE(dynamic_cast<SeismicVolume&>(*volume).settings()["iline_byte"].toInt(), 9);
        QCOMPARE(dynamic_cast<SeismicVolume&>(*volume).settings()["xline_byte"].toInt(), 21);

        // Named on the command line, the file opens with the found bytes, and says so.
        korvex::testing::LogCapture log;
        const auto guessed = korvex::testing::open_volume(path, type.guess(path));
        QCOMPARE(dynamic_cast<SeismicVolume&>(*guessed).settings()["iline_byte"].toInt(), 9);
        QCOMPARE(dynamic_cast<SeismicVolume&>(*guessed).settings()["xline_byte"].toInt(), 21);
        QVERIFY2(log.texts().join("\n").contains(
                     "Line numbers found at bytes 9 (inline) and 21 (crossline)"),
                 qPrintable(log.texts().join("\n")));

        answer_dialog([](SegyOpenDialog& dialog) { dialog.reject(); });
        QVERIFY_EXCEPTION_THROWN(type.ask(path), korvex::utils::ValueError);
        // A project's saved bytes open without asking; a project without them is refused.
        QVERIFY(korvex::testing::open_volume(path, {{"iline_byte", 9}, {"xline_byte", 21}}));
        QVERIFY_EXCEPTION_THROWN(korvex::testing::open_volume(path, {{"iline_byte", 9}}),
                                 std::runtime_error);
    }

    // Gathers as the field writes them, the CDP number at byte 21 and the offset at 37: those
    // would put the traces on a grid of CDPs by offsets. Named on the command line the file
    // is refused as pre-stack, and the dialog proposes no other bytes.
    void gathers_are_not_spread_over_their_offsets() {
        const QString path = dir_.filePath("gathers.sgy");
        const VolumeLayout layout;
        korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, 4000);
        for (int il = 0; il < 4; ++il)
            for (int xl = 0; xl < 5; ++xl)
                for (int offset = 0; offset < 3; ++offset)
                    writer.write_trace(layout.ilines[il], layout.xlines[xl], layout.trace(il, xl));
        writer.close();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const auto put = [&file](qint64 trace, int byte, quint32 value) {
            const quint32 big_endian = qToBigEndian(value);
            QVERIFY(file.seek(3600 + trace * (240 + 6 * 4) + byte - 1));
            file.write(reinterpret_cast<const char*>(&big_endian), 4);
        };
        for (int trace = 0; trace < 60; ++trace) {
            put(trace, 21, quint32(trace / 3 + 1));
            put(trace, 37, quint32(trace % 3 + 1) * 100);
        }
        file.close();

        const auto type = korvex::app::data::data_types(nullptr, nullptr, nullptr)[0];
        QString error;
        try {
            korvex::testing::open_volume(path, type.guess(path));
        } catch (const std::runtime_error& failure) {
            error = failure.what();
        }
        QVERIFY2(error.contains("pre-stack data"), qPrintable(error));
        const SegyOpenDialog dialog(path);
        QTRY_VERIFY(dialog.preview_text().contains("pre-stack data"));
        QVERIFY2(dialog.proposal_text().isEmpty(), qPrintable(dialog.proposal_text()));
    }

    void open_dialog_previews_the_chosen_header_bytes() {
        VolumeLayout layout;
        layout.bytes = {9, 21};
        layout.hole = [](int iline, int xline) { return iline == 13 && xline == 24; };
        const QString path = dir_.filePath("odd_bytes.sgy");
        korvex::testing::write_volume(path, layout);

        SegyOpenDialog dialog(path);
        auto boxes = dialog.findChildren<QSpinBox*>();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0]->value(), 189);
        QCOMPARE(boxes[1]->value(), 193);
        // The headers are read on a worker: a survey with holes places every trace to tell.
        QCOMPARE(dialog.preview_text(), QString("Reading the trace headers..."));
        QTRY_VERIFY2(dialog.preview_text().startsWith(path + ": "),
                     qPrintable(dialog.preview_text()));

        boxes[0]->setValue(9);
        boxes[1]->setValue(21);
        QTRY_COMPARE(dialog.preview_text(), QString("4 inlines x 5 crosslines, 6 samples of 4 ms; "
                                                    "19 of 20 positions hold a trace"));
        QCOMPARE(dialog.header_bytes().iline, 9);
        QCOMPARE(dialog.header_bytes().xline, 21);
    }
};

KORVEX_RENDER_TEST_MAIN(VolumeInteractionTest)
#include "tst_volume_interaction.moc"

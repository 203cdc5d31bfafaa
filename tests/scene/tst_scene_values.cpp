// Scene values that need no drawing: colours, colormaps, section geometry, the
// attach/detach bookkeeping between visuals and views, and PNG writing.
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include <vtkLookupTable.h>
#include <vtkRenderer.h>

#include "korvex/scene/color.h"
#include "korvex/scene/colormap.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/line_visual.h"
#include "korvex/scene/map_grid.h"
#include "korvex/scene/mouse_event.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/private/lookup_table.h"
#include "korvex/scene/private/vtk_access.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/scene/write_png.h"
#include "korvex/scene/xyz_axis.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

using namespace korvex::scene;
using korvex::utils::ValueError;

namespace {

std::vector<float> ramp(int rows, int cols) {
    std::vector<float> data(static_cast<std::size_t>(rows) * cols);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<float>(i);
    return data;
}

std::array<double, 3> colour_of(vtkLookupTable* table, double value) {
    std::array<double, 3> rgb{};
    table->GetColor(value, rgb.data());
    return rgb;
}

}  // namespace

class TestSceneValues : public QObject {
    Q_OBJECT

private slots:
    void colours_parse_convert_and_refuse_bad_input() {
        QCOMPARE(Color("white").rgba(), (std::array<double, 4>{1, 1, 1, 1}));
        QCOMPARE(Color("#ff0000").RGBA(), (std::array<int, 4>{255, 0, 0, 255}));
        QCOMPARE(Color(0.5, 0.25, 1.0, 0.5).RGBA(), (std::array<int, 4>{128, 64, 255, 128}));
        QCOMPARE(Color::from_rgba({0.1, 0.2, 0.3}).rgba()[3], 1.0);
        QCOMPARE(Color::from_qcolor(QColor(10, 20, 30, 40)).RGBA(),
                 (std::array<int, 4>{10, 20, 30, 40}));
        QVERIFY_EXCEPTION_THROWN(Color("not-a-colour"), ValueError);
        QVERIFY_EXCEPTION_THROWN(Color(1.5, 0, 0), ValueError);
        QVERIFY_EXCEPTION_THROWN(Color(0, 0, 0, -0.1), ValueError);
        QVERIFY_EXCEPTION_THROWN(Color::from_rgba({0.1, 0.2}), ValueError);
        QVERIFY_EXCEPTION_THROWN(Color(std::nan(""), 0, 0), ValueError);
    }

    void colours_composite_over_a_background() {
        const Color white("white");
        QCOMPARE(Color().over(white), white);
        QCOMPARE(Color("black").over(white), Color("black"));
        QCOMPARE(Color(1, 0, 0, 0.5).over(white).RGBA(), (std::array<int, 4>{255, 128, 128, 255}));
    }

    void colormaps_span_their_limits() {
        auto seismic = make_lookup_table("seismic", {-2.0, 2.0});
        const auto low = colour_of(seismic, -2.0), mid = colour_of(seismic, 0.0),
                   high = colour_of(seismic, 2.0);
        QVERIFY(low[2] > low[0]);    // negative amplitudes blue
        QVERIFY(high[0] > high[2]);  // positive red
        QVERIFY(mid[0] > 0.95 && mid[1] > 0.95 && mid[2] > 0.95);
        auto gray = make_lookup_table("gray", {0.0, 10.0});
        QCOMPARE(colour_of(gray, -5.0), (std::array<double, 3>{0, 0, 0}));  // clamped below
        QCOMPARE(colour_of(gray, 50.0), (std::array<double, 3>{1, 1, 1}));  // and above
        QVERIFY(colormap_names().contains("jet"));
        QVERIFY_EXCEPTION_THROWN(make_lookup_table("rainbow-ish", {0, 1}), ValueError);
        QVERIFY_EXCEPTION_THROWN(make_lookup_table("gray", {1, 1}), ValueError);
        QVERIFY_EXCEPTION_THROWN(make_lookup_table("gray", {2, 1}), ValueError);
    }

    void sections_lie_on_their_plane_data_defines_the_rest() {
        // 3 rows (v) x 4 columns (u)
        ImageSection across_x(ramp(3, 4), 3, 4, 'x', 5.0, {10, 40, 100, 120});
        QCOMPARE(across_x.bounds(), (std::array<double, 6>{5, 5, 10, 40, 100, 120}));
        ImageSection across_y(ramp(3, 4), 3, 4, 'y', -1.0, {10, 40, 100, 120});
        QCOMPARE(across_y.bounds(), (std::array<double, 6>{10, 40, -1, -1, 100, 120}));
        ImageSection across_z(ramp(3, 4), 3, 4, 'z', 7.0, {10, 40, 100, 120});
        QCOMPARE(across_z.bounds(), (std::array<double, 6>{10, 40, 100, 120, 7, 7}));

        across_z.set_position(8.0);
        QCOMPARE(across_z.bounds()[4], 8.0);
        across_z.set_data(ramp(2, 2), 2, 2);
        QCOMPARE(across_z.bounds(), (std::array<double, 6>{10, 40, 100, 120, 8, 8}));
        QCOMPARE(across_z.array_data(), ramp(2, 2));
    }

    void section_values_follow_the_extent_even_when_it_runs_backwards() {
        // Depth grows downwards: row 0 at z 0, row 2 at z -20.
        ImageSection section(ramp(3, 4), 3, 4, 'y', 0.0, {0, 30, 0, -20});
        QCOMPARE(section.bounds()[4], -20.0);
        QCOMPARE(section.value_at({0, 0, 0}), std::optional<float>(0.0f));
        QCOMPARE(section.value_at({30, 0, -20}), std::optional<float>(11.0f));
        QCOMPARE(section.value_at({10.4, 99, -9.0}), std::optional<float>(5.0f));  // nearest sample
        QCOMPARE(section.value_at({-6, 0, 0}), std::optional<float>());
        QCOMPARE(section.array_data(), ramp(3, 4));

        section.set_extent({30, 0, -20, 0});  // both axes turned round
        QCOMPARE(section.array_data(), ramp(3, 4));
        QCOMPARE(section.value_at({30, 0, -20}), std::optional<float>(0.0f));
    }

    void sections_refuse_bad_shapes_and_settings() {
        QVERIFY_EXCEPTION_THROWN(ImageSection(ramp(2, 2), 2, 3, 'x', 0, {}), ValueError);
        QVERIFY_EXCEPTION_THROWN(ImageSection(ramp(2, 2), 2, 2, 'w', 0, {}), ValueError);
        QVERIFY_EXCEPTION_THROWN(ImageSection(ramp(2, 2), 2, 2, 'x', 0, {1, 1, 0, 1}), ValueError);
        QVERIFY_EXCEPTION_THROWN(ImageSection(ramp(2, 2), 2, 2, 'x', 0, {}, "nope"), ValueError);
        ImageSection single_trace(ramp(5, 1), 5, 1, 'x', 0,
                                  {3, 3, 0, 4});  // one column needs no width
        QCOMPARE(single_trace.bounds()[2], 3.0);

        ImageSection section(ramp(2, 2), 2, 2, 'z', 0, {}, "gray", {0, 3});
        QVERIFY_EXCEPTION_THROWN(section.set_clim({3, 0}), ValueError);
        QVERIFY_EXCEPTION_THROWN(section.set_colormap("nope"), ValueError);
        QVERIFY_EXCEPTION_THROWN(section.set_data(ramp(2, 2), 1, 3), ValueError);
        QVERIFY_EXCEPTION_THROWN(section.set_position(std::nan("")), ValueError);
        QCOMPARE(section.clim(), (std::array<double, 2>{0, 3}));
        QCOMPARE(section.colormap(), QString("gray"));
        QCOMPARE(section.array_data(), ramp(2, 2));
    }

    void lines_and_points_check_their_counts() {
        QVERIFY_EXCEPTION_THROWN(LineVisual({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}},
                                            LineVisual::Connect::Segments, Color("red")),
                                 ValueError);
        LineVisual strip({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, LineVisual::Connect::Strip,
                         Color("red"));
        QVERIFY_EXCEPTION_THROWN(strip.set_colors({Color("red")}), ValueError);
        strip.set_colors({Color("red"), Color("green"), Color("blue")});
        QVERIFY_EXCEPTION_THROWN(strip.set_data({{0, 0, 0}}), ValueError);

        PointVisual points({{0, 0, 0}, {1, 1, 1}}, Color("black"));
        QVERIFY_EXCEPTION_THROWN(points.set_scalars({1.0f}, "jet", {0, 1}), ValueError);
        QVERIFY_EXCEPTION_THROWN(points.set_scalars({1.0f, 2.0f}, "nope", {0, 1}), ValueError);
        points.set_scalars({1.0f, 2.0f}, "jet", {0, 3});
        QVERIFY_EXCEPTION_THROWN(points.set_data({{0, 0, 0}}), ValueError);
        QVERIFY_EXCEPTION_THROWN(points.add_point({2, 2, 2}), ValueError);
        points.set_color(Color("blue"));  // back to one colour: any count goes
        points.set_data({{0, 0, 0}});
        QCOMPARE(points.point_count(), std::size_t(1));
    }

    // A point in or out leaves the others where they were, in the drawn copy too.
    void points_come_and_go_one_at_a_time() {
        PointVisual points({{0, 0, 0}, {5, 1, 1}, {2, 2, 2}}, Color("black"));
        points.remove_point(1);
        QCOMPARE(points.positions(), (std::vector<Point3>{{0, 0, 0}, {2, 2, 2}}));
        QCOMPARE(points.bounds(), (std::array<double, 6>{0, 2, 0, 2, 0, 2}));
        points.add_point({-3, 0, 0});
        points.remove_point(0);
        QCOMPARE(points.positions(), (std::vector<Point3>{{-3, 0, 0}, {2, 2, 2}}));
        QCOMPARE(points.bounds(), (std::array<double, 6>{-3, 2, 0, 2, 0, 2}));
        QVERIFY_EXCEPTION_THROWN(points.remove_point(2), std::out_of_range);
    }

    void visuals_attach_detach_and_outlive_views() {
        auto canvas = std::make_unique<SceneCanvas>();
        ViewBox* view = canvas->add_view();
        QVERIFY_EXCEPTION_THROWN(canvas->add_view(), std::logic_error);
        auto axis = std::make_shared<XYZAxis>();
        {
            ImageSection section(ramp(2, 2), 2, 2, 'z', 0, {});
            view->add(*axis);
            view->add(section);
            QCOMPARE(view->children().size(), std::size_t(2));
            QCOMPARE(view->children().back(), &section);
            QCOMPARE(VtkAccess::renderer(*view)->GetViewProps()->GetNumberOfItems(), 2);
        }  // a destroyed visual leaves its view
        QCOMPARE(view->children().size(), std::size_t(1));
        QCOMPARE(VtkAccess::renderer(*view)->GetViewProps()->GetNumberOfItems(), 1);

        axis->set_parent(nullptr);
        QVERIFY(view->children().empty());
        QCOMPARE(axis->parent(), nullptr);
        view->add(*axis);
        view->add(*axis);  // adding twice attaches once
        QCOMPARE(view->children().size(), std::size_t(1));

        canvas.reset();  // the data object's visual survives its viewer
        QCOMPARE(axis->parent(), nullptr);
        axis->set_parent(nullptr);
    }

    // Lines on round map numbers over what is shown, the scene being drawn about a map origin.
    void the_map_grid_numbers_round_map_coordinates_over_what_is_shown() {
        SceneCanvas canvas;
        ViewBox* view = canvas.add_view();
        MapGrid grid(*view, [] { return std::array<double, 2>{612000.0, 6543000.0}; });
        QCOMPARE(grid.step(), 0.0);
        LineVisual data({{-900, -400, -100}, {900, 400, 0}}, LineVisual::Connect::Segments,
                        Color("black"));
        view->add(data);
        grid.fit();
        QCOMPARE(grid.step(), 500.0);
        QCOMPARE(grid.numbers(), QStringList({"611500", "612000", "612500", "6543000"}));
        // It is neither framed nor picked, and goes with what it covers.
        QCOMPARE(view->camera().fitted_bounds(), data.bounds());
        data.set_visible(false);
        grid.fit();
        QCOMPARE(grid.step(), 0.0);
        QVERIFY(grid.numbers().isEmpty());
    }

    void visuals_describe_themselves_and_refuse_unasked_queries() {
        XYZAxis axis;
        QCOMPARE(axis.text(), QString("XYZAxis"));
        QVERIFY(!axis.queryable_in_3d.has_value());
        ImageSection section(ramp(2, 2), 2, 2, 'z', 0, {});
        section.name = "iline";
        QCOMPARE(section.text(), QString("ImageSection 'iline'"));
        SceneCanvas canvas;
        QVERIFY_EXCEPTION_THROWN(section.query_in_3d(canvas, MouseEvent{}),
                                 korvex::utils::NotImplementedError);
    }

    void png_files_hold_four_channels_and_are_replaced() {
        QTemporaryDir dir;
        const QString path = dir.filePath("shot.png");
        QImage first(30, 20, QImage::Format_RGBA8888);
        first.fill(QColor(10, 20, 30, 128));
        write_png(path, first);
        QImage read(path);
        QCOMPARE(read.size(), QSize(30, 20));
        QVERIFY(read.hasAlphaChannel());
        QCOMPARE(read.pixelColor(3, 4), QColor(10, 20, 30, 128));

        QImage second(8, 8, QImage::Format_RGBA8888);
        second.fill(Qt::red);
        second.setPixelColor(0, 0, Qt::blue);  // top left stays top left
        write_png(path, second);
        read.load(path);
        QCOMPARE(read.size(), QSize(8, 8));
        QCOMPARE(read.pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(read.pixelColor(7, 7), QColor(Qt::red));

        // Every pixel differs from its neighbours, so rows are encoded against each other;
        // an image without alpha is written opaque.
        QImage varied(64, 48, QImage::Format_RGBA8888);
        for (int y = 0; y < varied.height(); ++y) {
            for (int x = 0; x < varied.width(); ++x)
                varied.setPixelColor(x, y, QColor(x * 4, y * 5, (x * y) % 256, 255 - x));
        }
        write_png(path, varied);
        QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGBA8888), varied);
        const QImage opaque = varied.convertToFormat(QImage::Format_RGB32);
        write_png(path, opaque);
        read.load(path);
        QCOMPARE(read.pixelColor(5, 6).alpha(), 255);
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), opaque);
    }

    void png_failures_name_the_path_and_keep_the_old_file() {
        QTemporaryDir dir;
        QImage image(4, 4, QImage::Format_RGBA8888);
        image.fill(Qt::green);
        const QString missing = dir.filePath("no/such/folder/x.png");
        try {
            write_png(missing, image);
            QFAIL("writing into a missing folder must fail");
        } catch (const std::runtime_error& e) {
            QVERIFY(QString(e.what()).contains(missing));
        }
        QVERIFY_EXCEPTION_THROWN(write_png(dir.path(), image), std::runtime_error);  // a folder
        QVERIFY_EXCEPTION_THROWN(write_png(dir.filePath("x.png"), QImage()), std::runtime_error);
        QVERIFY(!QFile::exists(dir.filePath("x.png")));
    }
};

KORVEX_TEST_MAIN(TestSceneValues)
#include "tst_scene_values.moc"

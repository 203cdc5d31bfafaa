#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/point_table.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/text_visual.h"
#include "korvex/utils/errors.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::data::PointSet;

class PointSetTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& text) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }

private slots:
    void reads_draws_and_describes_points() {
        const QString path = write("top_sand.csv", "X,Y,Z,AMP\n100,200,500,1.5\n110,220,540,-2\n");
        PointSet points(path);
        QCOMPARE(points.name(), QString("top_sand"));
        QCOMPARE(points.color_by(), QString("Z"));
        const QVariantMap prop = points.prop();
        QCOMPARE(prop["Points"].toInt(), 2);
        QCOMPARE(prop["AMP range"].toString(), QString("-2 .. 1.5"));

        points.make_visuals_in_volume("viewer");
        const auto visual = std::dynamic_pointer_cast<korvex::scene::PointVisual>(
            points.visuals_in_volume.at("viewer").visual());
        QVERIFY(visual);
        QCOMPARE(visual->point_count(), std::size_t(2));
        QCOMPARE(visual->host_dob, &points);
        QCOMPARE(visual->queryable_in_3d, std::optional<bool>(true));
        // Z is time or depth, drawn downwards.
        QVERIFY((visual->bounds() == std::array<double, 6>{100, 110, 200, 220, -540, -500}));
        QCOMPARE(points.nearest_point({109, 219, -530}), 1);
    }

    void the_columns_are_guessed_only_when_the_values_tell() {
        using Columns = PointSet::Columns;
        using korvex::app::data::LoadedSurvey;
        using korvex::app::data::PointTable;
        const auto table = [&](const QByteArray& rows) {
            return PointTable::read(write("guess.csv", "X,Y,Z\n" + rows), ",");
        };
        // Inlines 100..200 and crosslines 300..400, 25 m bins from (500000, 7000000).
        std::vector<korvex::seismic::TracePosition> traces;
        for (double il : {100.0, 200.0})
            for (double xl : {300.0, 400.0})
                traces.push_back({il, xl, 500000 + (il - 100) * 25, 7000000 + (xl - 300) * 25});
        const std::vector<LoadedSurvey> survey{
            {*korvex::seismic::SurveyTransform::fit(traces), {100, 200}, {300, 400}, "s"}};

        QCOMPARE(PointSet::guess_columns(table("150,350,10\n"), {}), Columns::lines);
        QCOMPARE(PointSet::guess_columns(table("150,350,10\n"), survey), Columns::lines);
        QCOMPARE(PointSet::guess_columns(table("501250,7001250,10\n"), survey), Columns::map);
        // Far from the survey either way, or one row each way: the user says.
        QCOMPARE(PointSet::guess_columns(table("9e6,9e6,10\n"), survey), std::nullopt);
        QCOMPARE(PointSet::guess_columns(table("150,350,10\n501250,7001250,10\n"), survey),
                 std::nullopt);
    }

    // Northings near 5.4e6 lost 0.8 m when printed with six significant digits.
    void coordinates_are_shown_in_full() {
        std::vector<korvex::seismic::TracePosition> traces;
        for (double il : {100.0, 200.0})
            for (double xl : {300.0, 400.0})
                traces.push_back({il, xl, 450000 + (il - 100) * 25, 5424000 + (xl - 300) * 25});
        korvex::app::data::OpenSurveys surveys;
        surveys.add(
            nullptr,
            korvex::app::data::LoadedSurvey{
                *korvex::seismic::SurveyTransform::fit(traces), {100, 200}, {300, 400}, "s"});
        PointSet points(write("tops.csv",
                              "X,Y,Z,AMP\n451250.5,5424429.2,1234.5,0.125\n"
                              "451300,5425041.75,1250,1\n"),
                        "comma", PointSet::Columns::map, &surveys);
        const QVariantMap prop = points.prop();
        QCOMPARE(prop["X range"].toString(), QString("451250.50 .. 451300.00"));
        QCOMPARE(prop["Y range"].toString(), QString("5424429.20 .. 5425041.75"));
        QCOMPARE(prop["Z range"].toString(), QString("1234.5 .. 1250"));
        QCOMPARE(points.value_text(1, 0), QString("5424429.20"));
        QCOMPARE(points.value_text(3, 0), QString("0.125"));
    }

    void well_names_label_the_points() {
        PointSet points(write("wells.csv", "X,Y,Z,WELL\n100,200,500,W-1\n110,220,540,W-2\n"));
        QCOMPARE(points.prop()["Names from"].toString(), QString("WELL"));
        QCOMPARE(points.value_text(3, 1), QString("W-2"));
        QVERIFY_EXCEPTION_THROWN(points.set_color_by("WELL"), korvex::utils::LookupError);

        points.make_visuals_in_volume("viewer");
        const auto visuals = points.visuals_in_volume.at("viewer").visuals();
        QCOMPARE(visuals.size(), std::size_t(3));
        QVERIFY(std::dynamic_pointer_cast<korvex::scene::PointVisual>(visuals[0]));
        const auto label = std::dynamic_pointer_cast<korvex::scene::TextVisual>(visuals[2]);
        QVERIFY(label);
        QCOMPARE(label->label(), QString("W-2"));
    }

    void space_delimited_without_header_takes_default_names() {
        PointSet points(write("picks.txt", "1 2 3\n4 5 6\n"));
        QCOMPARE(points.table().names(), QStringList({"X", "Y", "Z"}));
    }

    void restyling_and_refusals() {
        PointSet points(write("p.csv", "X,Y,Z,AMP\n1,2,3,4\n5,6,7,8\n"));
        points.make_visuals_in_volume("viewer");
        QSignalSpy changed(&points, &PointSet::sig_style_changed);
        points.set_color_by("AMP");
        points.set_point_size(9);
        points.set_colormap("gray");
        QCOMPARE(changed.size(), 3);
        QVERIFY_EXCEPTION_THROWN(points.set_color_by("W"), korvex::utils::LookupError);
        QVERIFY_EXCEPTION_THROWN(points.set_point_size(0), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(points.set_colormap("nope"), korvex::utils::ValueError);
        QCOMPARE(points.color_by(), QString("AMP"));
        QVERIFY_EXCEPTION_THROWN(points.make_image_3d("iline", "viewer"),
                                 korvex::utils::NotImplementedError);
    }

    void settings_bring_the_style_back() {
        const QString path = write("p.txt", "X Y Z AMP\n1 2 3 4\n5 6 7 8\n");
        PointSet points(path);
        points.set_color_by("AMP");
        points.set_point_size(3);
        QCOMPARE(points.settings()["delimiter"].toString(), QString("space"));
        const auto restored = PointSet::load(path, points.settings());
        QCOMPARE(restored->settings(), points.settings());

        korvex::testing::LogCapture log;
        const auto lenient = PointSet::load(path, {{"color_by", "W"}, {"point_size", 4}});
        QCOMPARE(lenient->color_by(), QString("Z"));
        QCOMPARE(lenient->point_size(), 4.0);
        QVERIFY(log.contains("warning", "p: saved color_by ignored: no column named W"));
    }

    // Two surveys share their line numbers but lie 10 km apart: each file is placed through
    // its own, whichever was opened last, and a project brings the same one back.
    void points_are_placed_through_their_own_survey_data() {
        QTest::addColumn<bool>("a_first");
        QTest::newRow("A opened first") << true;
        QTest::newRow("B opened first") << false;
    }
    void points_are_placed_through_their_own_survey() {
        QFETCH(bool, a_first);
        using korvex::app::data::LoadedSurvey;
        const auto survey = [](const QString& name, double x0) {
            std::vector<korvex::seismic::TracePosition> traces;
            for (double il : {100.0, 200.0})
                for (double xl : {300.0, 400.0})
                    traces.push_back({il, xl, x0 + (il - 100) * 25, 7000000 + (xl - 300) * 25});
            return LoadedSurvey{
                *korvex::seismic::SurveyTransform::fit(traces), {100, 200}, {300, 400}, name};
        };
        korvex::app::data::OpenSurveys surveys;
        surveys.add(nullptr, survey(a_first ? "A" : "B", a_first ? 500000 : 510000));
        surveys.add(nullptr, survey(a_first ? "B" : "A", a_first ? 510000 : 500000));
        surveys.take_origin({510000, 7000000});

        const QString map_path = write("tops_b.csv", "X,Y,Z\n511250,7001250,10\n");
        const auto map_tops =
            PointSet::load(map_path, PointSet::guessed_settings(map_path, &surveys), &surveys);
        QCOMPARE(map_tops->survey_name(), QString("B"));
        QCOMPARE(map_tops->position(0), (std::array<double, 3>{1250, 1250, -10}));

        const QString lines_path = write("tops_a.csv", "X,Y,Z\n150,350,10\n");
        const auto lines_tops =
            PointSet::load(lines_path, {{"columns", "lines"}, {"survey", "A"}}, &surveys);
        QCOMPARE(lines_tops->settings()["survey"].toString(), QString("A"));
        QCOMPARE(PointSet::load(lines_path, lines_tops->settings(), &surveys)->survey_name(),
                 QString("A"));
        QCOMPARE(lines_tops->position(0), (std::array<double, 3>{-8750, 1250, -10}));

        // Named by nobody, held by both: the command line refuses, naming the candidates.
        const QVariantMap guessed = PointSet::guessed_settings(lines_path, &surveys);
        try {
            PointSet::load(lines_path, guessed, &surveys);
            QFAIL("no error");
        } catch (const korvex::utils::ValueError& error) {
            QVERIFY2(QString(error.what())
                         .contains(QString("several surveys; name the one they belong to among %1")
                                       .arg(a_first ? "A, B" : "B, A")),
                     error.what());
        }
        // A survey no longer open is named too.
        QVERIFY_EXCEPTION_THROWN(
            PointSet::load(lines_path, {{"columns", "lines"}, {"survey", "C"}}, &surveys),
            korvex::utils::ValueError);
    }

    // Tops on the corner traces of a turned survey, in map X/Y to the centimetre, lie in it:
    // the inverse transform brings them back a rounding off the corners' lines.
    void tops_on_the_corners_of_a_turned_survey_lie_in_it() {
        const double a = 35.0 * M_PI / 180.0;
        const std::array<double, 6> per_line{0.0, 25 * std::sin(a), 12.5 * std::cos(a),
                                             0.0, 25 * std::cos(a), -12.5 * std::sin(a)};
        auto c = per_line;
        c[0] = 612345.5 - 1000 * c[1] - 2000 * c[2];
        c[3] = 6543210.25 - 1000 * c[4] - 2000 * c[5];
        const korvex::seismic::SurveyTransform turned(c);
        korvex::app::data::OpenSurveys surveys;
        surveys.add(nullptr,
                    korvex::app::data::LoadedSurvey{turned, {1000, 1060}, {2000, 2120}, "T"});
        QByteArray text = "X,Y,Z\n";
        for (const auto& [il, xl] :
             {std::pair{1000, 2000}, {1060, 2000}, {1060, 2120}, {1000, 2120}}) {
            const auto map = turned.to_map(il, xl);
            text += QString("%1,%2,10\n").arg(map[0], 0, 'f', 2).arg(map[1], 0, 'f', 2).toUtf8();
        }
        const QString path = write("corners.csv", text);
        QCOMPARE(PointSet::load(path, PointSet::guessed_settings(path, &surveys), &surveys)
                     ->survey_name(),
                 QString("T"));
    }

    // Reference values from PROJ's cs2cs, EPSG:23031 to EPSG:32631.
    void a_point_file_in_another_system_is_moved_into_the_projects() {
        std::vector<korvex::seismic::TracePosition> traces;
        for (double il : {100.0, 200.0})
            for (double xl : {300.0, 400.0})
                traces.push_back({il, xl, 499000 + (il - 100) * 25, 5999000 + (xl - 300) * 25});
        korvex::app::data::OpenSurveys surveys;
        surveys.add(
            nullptr,
            korvex::app::data::LoadedSurvey{
                *korvex::seismic::SurveyTransform::fit(traces), {100, 200}, {300, 400}, "s"});
        surveys.set_crs("EPSG:32631");
        const QString path = write("ed50.csv", "X,Y,Z\n500000,6000000,10\n");
        const auto points =
            PointSet::load(path, {{"columns", "map"}, {"crs", "EPSG:23031"}}, &surveys);
        QVERIFY(std::abs(points->table().column(0)[0] - 499908.722) < 0.01);
        QVERIFY(std::abs(points->table().column(1)[0] - 5999788.529) < 0.01);
        QCOMPARE(points->settings()["crs"].toString(), QString("EPSG:23031"));
    }

    void bad_file_names_line_and_column() {
        const QString path = write("bad.csv", "X,Y,Z\n1,2,3\n4,x,6\n");
        try {
            PointSet points(path);
            QFAIL("no error");
        } catch (const korvex::utils::ValueError& error) {
            QVERIFY2(QString(error.what()).contains(path + ": line 3, column 2"), error.what());
        }
    }
};

KORVEX_TEST_MAIN(PointSetTest)
#include "tst_point_set.moc"

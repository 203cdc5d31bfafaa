#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"
#include "tests/app/raw_sql.h"
#include "tests/app/sample_pick.h"
#include "tests/support/test_main.h"

using korvex::app::ObjectRecord;
using korvex::app::ProjectDatabase;
using korvex::app::ProjectError;
using korvex::app::ProjectSnapshot;
using korvex::app::ViewerRecord;
using korvex::testing::run_sql;

namespace {

ProjectSnapshot sample_snapshot(const QString& data_dir) {
    ProjectSnapshot snapshot;
    snapshot.objects.push_back(
        {"Synthetic",
         "Ставка ü",
         data_dir + "/a.syn",
         {{"cmap", "seismic"}, {"clip", 2.5}, {"pos", QVariantList{1, 2, 3}}}});
    snapshot.objects.push_back({"Synthetic", "wells", data_dir + "/b.syn", {}});
    ViewerRecord first{
        "3D View 1", R"({"azimuth":12.5,"center":[1,2,3]})", {}, {{"z_scale", 0.125}}};
    korvex::utils::save_display_state(first.shown, "Ставка ü", "object", "self", true);
    korvex::utils::save_display_state(first.shown, "Ставка ü", "sections", "iline", true);
    ViewerRecord second{"3D View 2", R"({"fov":0})", {}, {}};
    korvex::utils::save_display_state(second.shown, "wells", "properties", "Z", true);
    snapshot.viewers = {first, second};
    snapshot.active_viewer = 1;
    // One pick without map coordinates (the survey's are unknown), one with them.
    korvex::widgets::PickedSample pick = korvex::testing::sample_pick("Ставка ü");
    pick.time = 48.5;  // fractions kept
    pick.amplitude = -0.125;
    pick.position[2] = -48.5;
    snapshot.picks.push_back({"3D View 2", pick});
    pick.map_x = 612345.5;
    pick.map_y = 0.0;
    pick.iline = 1011;
    snapshot.picks.push_back({"3D View 1", pick});
    return snapshot;
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void write_all(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QString load_error(const QString& path) {
    try {
        ProjectDatabase(path).load();
    } catch (const ProjectError& e) {
        return e.message();
    }
    return {};
}

}  // namespace

class ProjectDatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void saves_and_loads_everything_and_replaces_the_previous_content() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        const ProjectSnapshot snapshot = sample_snapshot(dir.path());
        ProjectDatabase(path).save(snapshot);
        QVERIFY(ProjectDatabase::is_project(path));
        const ProjectSnapshot loaded = ProjectDatabase(path).load();
        QVERIFY(loaded == snapshot);
        // Absent map coordinates stay absent, and a real 0 stays a value.
        QVERIFY(!loaded.picks[0].sample.map_x && !loaded.picks[0].sample.map_y);
        QCOMPARE(loaded.picks[1].sample.map_y, std::optional<double>(0.0));

        ProjectSnapshot smaller = snapshot;
        smaller.objects.pop_back();
        smaller.viewers.pop_back();
        smaller.picks.erase(smaller.picks.begin());
        smaller.active_viewer = 0;
        ProjectDatabase(path).save(smaller);
        QVERIFY(ProjectDatabase(path).load() == smaller);

        ProjectDatabase(path).save({});
        QVERIFY(ProjectDatabase(path).load() == ProjectSnapshot{});
    }

    // Tables added since the first format are missing from older projects, which open
    // without what those tables hold, and take them on at their next save.
    void a_project_from_before_a_table_was_added_still_opens_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("viewer settings") << "viewer_settings";
        QTest::newRow("picks") << "picks";
    }

    void a_project_from_before_a_table_was_added_still_opens() {
        QFETCH(QString, table);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        const ProjectSnapshot snapshot = sample_snapshot(dir.path());
        ProjectDatabase(path).save(snapshot);
        run_sql(path, "DROP TABLE " + table);
        ProjectSnapshot older = snapshot;
        if (table == "picks") older.picks.clear();
        if (table == "viewer_settings") older.viewers[0].settings.clear();
        QVERIFY(ProjectDatabase(path).load() == older);

        ProjectDatabase(path).save(snapshot);
        QVERIFY(ProjectDatabase(path).load() == snapshot);
    }

    void a_pick_with_an_unusable_value_is_left_out_and_named_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("problem");
        QTest::newRow("word") << "time = 'deep'"
                              << R"(its time holds "deep", not a number)";
        QTest::newRow("nan") << "time = 'nan'"
                             << R"(its time holds "nan", not a number)";
        QTest::newRow("null") << "time = NULL"
                              << "its time holds nothing, not a number";
        QTest::newRow("infinite") << "x = 9e999"
                                  << R"(its x holds "inf", not a number)";
        QTest::newRow("huge line") << "xline = 1e300"
                                   << R"(its xline holds "1e+300", not a line number)";
        QTest::newRow("half line") << "iline = 1011.5"
                                   << R"(its iline holds "1011.5", not a line number)";
        QTest::newRow("map") << "map_x = -9e999"
                             << R"(its map_x holds "-inf", not a number)";
    }

    void a_pick_with_an_unusable_value_is_left_out_and_named() {
        QFETCH(QString, change);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        const ProjectSnapshot saved = sample_snapshot(dir.path());
        ProjectDatabase(path).save(saved);
        // Without its constraints, as a file written by other means may hold the table.
        run_sql(path, "CREATE TABLE loose AS SELECT * FROM picks");
        run_sql(path, "DROP TABLE picks");
        run_sql(path, "ALTER TABLE loose RENAME TO picks");
        run_sql(path, "UPDATE picks SET " + change + " WHERE position = 1");

        const ProjectSnapshot loaded = ProjectDatabase(path).load();
        QCOMPARE(loaded.left_out, QStringList{"Pick 2 is left out: " + problem});
        ProjectSnapshot expected = saved;
        expected.picks.pop_back();
        QVERIFY(loaded == expected);
    }

    void a_pick_of_a_sample_without_amplitude_keeps_it_unknown_data() {
        QTest::addColumn<bool>("older_file");
        QTest::newRow("new project") << false;
        QTest::newRow("saved over a project of an older build") << true;
    }

    void a_pick_of_a_sample_without_amplitude_keeps_it_unknown() {
        QFETCH(bool, older_file);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        ProjectSnapshot snapshot = sample_snapshot(dir.path());
        if (older_file) {
            ProjectDatabase(path).save(snapshot);
            run_sql(path, "DROP TABLE picks");
            run_sql(path,
                    "CREATE TABLE picks (position INTEGER NOT NULL, viewer TEXT NOT NULL, "
                    "volume TEXT NOT NULL, iline INTEGER NOT NULL, xline INTEGER NOT NULL, "
                    "time REAL NOT NULL, map_x REAL, map_y REAL, amplitude REAL NOT NULL, "
                    "x REAL NOT NULL, y REAL NOT NULL, z REAL NOT NULL)");
        }
        snapshot.picks[1].sample.amplitude = std::nan("");
        ProjectDatabase(path).save(snapshot);
        const ProjectSnapshot loaded = ProjectDatabase(path).load();
        QVERIFY(loaded.left_out.isEmpty());
        QVERIFY(loaded == snapshot);
        QVERIFY(std::isnan(loaded.picks[1].sample.amplitude));
    }

    void data_files_moved_along_with_the_project_are_found() {
        QTemporaryDir root;
        QDir(root.path()).mkpath("before/data");
        const QString before = root.filePath("before");
        write_all(before + "/data/a.syn", "a");
        ProjectDatabase(before + "/p.kvd").save(sample_snapshot(before + "/data"));

        QVERIFY(QDir(root.path()).rename("before", "after"));
        const ProjectSnapshot moved = ProjectDatabase(root.filePath("after/p.kvd")).load();
        // The file that is there is found in its new place; the one never written keeps its path.
        QCOMPARE(moved.objects[0].source, root.filePath("after/data/a.syn"));
        QCOMPARE(moved.objects[1].source, before + "/data/b.syn");
    }

    void files_that_are_not_readable_projects_are_refused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("random bytes") << "random"
                                      << "is not a korvex project";
        QTest::newRow("text") << "text"
                              << "is not a korvex project";
        QTest::newRow("other database") << "foreign"
                                        << "is not a korvex project";
        QTest::newRow("newer project") << "future"
                                       << "newer korvex (project format 99";
        QTest::newRow("truncated project") << "truncated"
                                           << "damaged";
        QTest::newRow("cut inside the header") << "header"
                                               << "damaged";
    }

    void files_that_are_not_readable_projects_are_refused() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        if (kind == "random") {
            QByteArray bytes;
            for (int i = 0; i < 4096; ++i)
                bytes.append(char(QRandomGenerator::global()->bounded(256)));
            write_all(path, bytes);
        } else if (kind == "text") {
            write_all(path, "name,value\n1,2\n");
        } else if (kind == "foreign") {
            run_sql(path, "CREATE TABLE t (x)");
        } else {
            ProjectSnapshot big = sample_snapshot(dir.path());
            for (int i = 0; i < 300; ++i)
                big.objects.push_back({"Synthetic", QString::number(i), "/x", {}});
            ProjectDatabase(path).save(big);
            if (kind == "future") run_sql(path, "PRAGMA user_version = 99");
            if (kind == "truncated") QFile::resize(path, QFileInfo(path).size() / 2);
            if (kind == "header") QFile::resize(path, 40);
        }
        const QByteArray before = read_all(path);

        const QString error = load_error(path);
        QVERIFY2(error.startsWith("Cannot open " + QFileInfo(path).absoluteFilePath()),
                 qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(!ProjectDatabase::is_project(path));

        // Nor is such a file written over.
        try {
            ProjectDatabase(path).save(sample_snapshot(dir.path()));
            QFAIL("saved over a file that is not a project");
        } catch (const ProjectError& e) {
            QVERIFY2(e.message().startsWith("Could not save"), qPrintable(e.message()));
        }
        QCOMPARE(read_all(path), before);
    }

    void missing_and_empty_files() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        QVERIFY(load_error(path).contains("does not exist"));
        QVERIFY(!QFile::exists(path));

        write_all(path, "");
        QVERIFY(load_error(path).contains("is empty"));
        // An empty file holds nothing to lose: a project may be written into it.
        ProjectDatabase(path).save(sample_snapshot(dir.path()));
        QVERIFY(ProjectDatabase(path).load() == sample_snapshot(dir.path()));

        QVERIFY(!load_error(dir.path()).isEmpty());
    }

    void a_save_killed_midway_leaves_a_complete_project() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        const ProjectSnapshot first = sample_snapshot(dir.path());
        ProjectDatabase(path).save(first);

        // Each writer dies a little deeper into its save, at its nth page written into the
        // project file itself; SQLite brings our project back from the journal.
        for (const int write : {1, 150, 300, 450}) {
            QProcess writer;
            writer.start(PROJECT_WRITER,
                         {path, "2000", "written", "die-at", QString::number(write)});
            QVERIFY(writer.waitForFinished(120000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            QVERIFY(QFile::exists(path + "-journal"));
            QCOMPARE(ProjectDatabase(path).load(), first);
        }
    }
};

KORVEX_TEST_GUILESS_MAIN(ProjectDatabaseTest)
#include "tst_project_database.moc"

// The command line as users type it: options read into a CommandLine, and whole runs of
// the korvex program writing pictures.
#include <segyio/segy.h>
#include <sys/stat.h>

#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "korvex/app/project/project_database.h"
#include "korvex/app/start_up/command_line.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/utils/errors.h"
#include "tests/app/sample_pick.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::app::CommandLine;

namespace {

CommandLine parse(QStringList arguments) {
    QCommandLineParser parser;
    CommandLine::add_options(parser);
    arguments.prepend("korvex");
    if (!parser.parse(arguments)) throw korvex::utils::ValueError(parser.errorText().toStdString());
    return CommandLine::from(parser);
}

// Pixels that carry a seismic colour: far from grey, strongly red or blue.
bool seismic(const QColor& c) {
    return (c.red() > 150 && c.blue() < 100) || (c.blue() > 150 && c.red() < 100);
}

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    QTemporaryDir cache_;

    QString write(const QString& name, const QByteArray& text) {
        QFile file(cache_.filePath(name));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return file.fileName();
    }

    // Runs the program with the demo cached in a temporary folder, `extra` added to its
    // environment.
    int run(const QStringList& arguments, QString* output = nullptr,
            const QProcessEnvironment& extra = {}) {
        QProcess korvex;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(extra);
        environment.insert("XDG_CACHE_HOME", cache_.path());
        environment.insert("KORVEX_LOG_FILE", "");
        korvex.setProcessEnvironment(environment);
        korvex.start(KORVEX_PROGRAM, arguments);
        if (!korvex.waitForFinished(120000)) return -1;
        if (output) *output = korvex.readAllStandardOutput() + korvex.readAllStandardError();
        return korvex.exitStatus() == QProcess::NormalExit ? korvex.exitCode() : -1;
    }

    // The demo's 400 x 300 picture from `view`; none, with the run's output said, when the
    // run failed or did not say it wrote it.
    QImage demo_picture(const QString& view) {
        const QString png = cache_.filePath(QString(view).replace(':', '_') + ".png");
        QString output;
        if (run({"--demo", "--export", png, "--view", view, "--size", "400x300"}, &output) != 0 ||
            !output.contains("Picture written to " + png)) {
            qWarning("%s", qPrintable(output));
            return {};
        }
        return QImage(png);
    }

private slots:
    void options_are_read_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("project");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QSize>("size");
        QTest::newRow("nothing") << QStringList{} << false << QStringList{} << ""
                                 << "" << QSize(1280, 960);
        QTest::newRow("demo and files") << QStringList{"--demo", "a.sgy", "work.kvd", "b.csv"}
                                        << true << QStringList{"a.sgy", "b.csv"} << "work.kvd"
                                        << "" << QSize(1280, 960);
        QTest::newRow("picture") << QStringList{"--export", "x.png",  "--view",
                                                "east",     "--size", "640x480"}
                                 << false << QStringList{} << ""
                                 << "east" << QSize(640, 480);
        QTest::newRow("section view") << QStringList{"--export", "x.png", "--view", "time:1.5"}
                                      << false << QStringList{} << ""
                                      << "time:1.5" << QSize(1280, 960);
        QTest::newRow("map view") << QStringList{"--export", "x.png", "--view", "map"} << false
                                  << QStringList{} << ""
                                  << "map" << QSize(1280, 960);
    }
    void options_are_read() {
        QFETCH(QStringList, arguments);
        const CommandLine line = parse(arguments);
        QTEST(line.demo, "demo");
        QTEST(line.files, "files");
        QTEST(line.project, "project");
        QTEST(line.view, "view");
        QTEST(line.size, "size");
    }

    void bad_options_are_refused_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("view") << QStringList{"--export", "x.png", "--view", "sideways"}
                              << "--view wants one of";
        QTest::newRow("section view")
            << QStringList{"--export", "x.png", "--view", "inline:"} << "--view wants one of";
        QTest::newRow("size") << QStringList{"--export", "x.png", "--size", "640"}
                              << "--size wants";
        QTest::newRow("zero size")
            << QStringList{"--export", "x.png", "--size", "0x480"} << "--size wants";
        QTest::newRow("no export") << QStringList{"--view", "top"} << "only go with --export";
        QTest::newRow("two projects") << QStringList{"a.kvd", "b.kvd"} << "only one project";
    }
    void bad_options_are_refused() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        try {
            parse(arguments);
            QFAIL("accepted");
        } catch (const korvex::utils::ValueError& error) {
            QVERIFY2(QString(error.what()).contains(message), error.what());
        }
    }

    // The demo's picture from the east: the inline section faces the camera and fills
    // the middle, the survey box frames it, the background stays white.
    void the_demo_pictured_from_the_east() {
        const QImage image = demo_picture("east");
        QCOMPARE(image.size(), QSize(400, 300));
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(image.pixelColor(2, 2), QColor(Qt::white));
        int coloured = 0;
        for (int y = 100; y < 200; y += 5)
            for (int x = 150; x < 250; x += 5) coloured += seismic(image.pixelColor(x, y));
        QVERIFY2(coloured > 80, qPrintable(QString::number(coloured)));  // of 400 probes
        for (int x = 0; x < 400; x += 10) QCOMPARE(image.pixelColor(x, 298), QColor(Qt::white));
    }

    // A section view's picture in place of the 3D view's: the section fills its plot.
    void the_demo_inline_pictured_flat() {
        const QImage image = demo_picture("inline:100");
        QCOMPARE(image.size(), QSize(400, 300));
        int coloured = 0;
        for (int y = 100; y < 250; y += 5)
            for (int x = 150; x < 250; x += 5) coloured += seismic(image.pixelColor(x, y));
        QVERIFY2(coloured > 150, qPrintable(QString::number(coloured)));  // of 600 probes
    }

    // The map view's picture: the demo survey outlined inside the plot, at the size asked.
    void the_demo_mapped() {
        const QImage image = demo_picture("map");
        QCOMPARE(image.size(), QSize(400, 300));
        int outline = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const QColor c = image.pixelColor(x, y);
                outline += c.blue() - c.red() > 60;
            }
        QVERIFY2(outline > 300, qPrintable(QString::number(outline)));
    }

    // A picture run ends before anyone could use a terminal: none is built, and the
    // user's shell, with its start-up files, does not compete with the picture.
    void a_picture_run_builds_no_terminal() {
        const QString marker = cache_.filePath("shell-started");
        const QString shell = write("shell.sh", "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QVERIFY(QFile::setPermissions(shell, QFile::ReadOwner | QFile::ExeOwner));
        QProcessEnvironment environment;
        environment.insert("SHELL", shell);
        QString output;
        QCOMPARE(run({"--demo", "--export", cache_.filePath("shell.png"), "--size", "200x150"},
                     &output, environment),
                 0);
        QVERIFY(!QFile::exists(marker));
        QVERIFY2(!output.contains("terminal"), qPrintable(output));
    }

    // The default three-quarter view: the survey fills much of the picture, sections in
    // its middle, background in the corners.
    void the_demo_pictured_in_three_quarters() {
        const QString png = cache_.filePath("default.png");
        QCOMPARE(run({"--demo", "--export", png, "--size", "480x360"}), 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(480, 360));
        int covered = 0;
        int middle = 0;
        for (int y = 0; y < 360; y += 4) {
            for (int x = 0; x < 480; x += 4) {
                const QColor c = image.pixelColor(x, y);
                covered += c != QColor(Qt::white);
                middle += x >= 160 && x < 320 && seismic(c);
            }
        }
        QVERIFY2(covered > 480 * 360 / 16 / 10, qPrintable(QString::number(covered)));
        QVERIFY2(middle > 400, qPrintable(QString::number(middle)));
        for (const QPoint corner : {QPoint(1, 1), QPoint(478, 1), QPoint(1, 358), QPoint(478, 358)})
            QCOMPARE(image.pixelColor(corner), QColor(Qt::white));
    }

    // Sections are read on worker threads; the picture waits for their data. Seen from the
    // top, the time slice shows the written amplitudes: the first five inlines strongly
    // positive (dark red at the clip), the last five strongly negative (dark blue).
    void an_exported_picture_shows_the_data_read_in_the_background() {
        const QString sgy = cache_.filePath("halves.sgy");
        {
            korvex::seismic::SegyWriter writer(sgy, 10, SEGY_IEEE_FLOAT_4_BYTE, 4000);
            for (int il = 0; il < 10; ++il)
                for (int xl = 0; xl < 10; ++xl)
                    writer.write_trace(1 + il, 1 + xl,
                                       std::vector<float>(10, il < 5 ? 10.0f : -10.0f));
            writer.close();
        }
        const QString png = cache_.filePath("halves.png");
        QString output;
        QCOMPARE(run({sgy, "--export", png, "--view", "top", "--size", "200x200"}, &output), 0);
        const QImage image(png);
        QCOMPARE(image.size(), QSize(200, 200));
        // Left of the colour bar, which holds both colours at the right edge, and above the
        // axis in the lower left corner, whose Z arrow is blue.
        int red = 0, blue = 0, red_right = 0, blue_left = 200;
        for (int y = 0; y < 150; ++y) {
            for (int x = 0; x < 165; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 100 && c.green() < 30 && c.blue() < 30) {
                    ++red;
                    red_right = std::max(red_right, x);
                } else if (c.blue() > 50 && c.red() < 30 && c.green() < 30) {
                    ++blue;
                    blue_left = std::min(blue_left, x);
                }
            }
        }
        QVERIFY2(red > 400 && blue > 400,
                 qPrintable(QString("%1 red, %2 blue").arg(red).arg(blue)));
        QVERIFY2(red_right <= blue_left + 1,
                 qPrintable(QString("%1 %2").arg(red_right).arg(blue_left)));
    }

    // A corner never shot shows what lies behind it from the top, not a colour: the live
    // quarters are red (all amplitudes +10), the upper right one, inlines and crosslines
    // 6 to 10, white. Left out: a strip along the hole's outline, and the outer edge,
    // where the box's far side shows through the hole in perspective.
    void a_missing_corner_shows_the_background_from_the_top() {
        const QString sgy = cache_.filePath("corner.sgy");
        {
            korvex::seismic::SegyWriter writer(sgy, 10, SEGY_IEEE_FLOAT_4_BYTE, 4000);
            for (int il = 1; il <= 10; ++il)
                for (int xl = 1; xl <= 10; ++xl)
                    if (il <= 5 || xl <= 5)
                        writer.write_trace(il, xl, std::vector<float>(10, 10.0f));
            writer.close();
        }
        const QString png = cache_.filePath("corner.png");
        QCOMPARE(run({sgy, "--export", png, "--view", "top", "--size", "300x300"}), 0);
        const QImage image(png);
        const auto red = [](const QColor& c) {
            return c.red() > 100 && c.green() < 30 && c.blue() < 30;
        };
        // The survey's extent: the rows and columns left of the colour bar that hold much
        // red. The sections, seen edge on, and the compass add a few red pixels at most.
        std::vector<int> across(300), down(240);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 240; ++x)
                if (red(image.pixelColor(x, y))) ++across[y], ++down[x];
        QRect survey;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 240; ++x)
                if (across[y] > 30 && down[x] > 30) survey |= QRect(x, y, 1, 1);
        QVERIFY2(survey.width() > 100 && survey.height() > 100,
                 qPrintable(QString::number(survey.width())));
        // Sample centres 1..10 span the survey: the hole's cells begin half-way from 5 to 6.
        const auto x_of = [&](double il) { return survey.left() + (il - 1) / 9 * survey.width(); };
        const auto y_of = [&](double xl) {
            return survey.bottom() - (xl - 1) / 9 * survey.height();
        };
        for (double il = 1.4; il <= 9.2; il += 0.2) {
            for (double xl = 1.4; xl <= 9.2; xl += 0.2) {
                if (std::abs(il - 5.5) < 0.4 || std::abs(xl - 5.5) < 0.4) continue;
                const QColor c = image.pixelColor(int(x_of(il)), int(y_of(xl)));
                const bool hole = il > 5.5 && xl > 5.5;
                if (hole ? c != QColor(Qt::white) : !red(c))
                    QFAIL(qPrintable(
                        QString("inline %1, crossline %2: %3").arg(il).arg(xl).arg(c.name())));
            }
        }
    }

    // From the top, north is up and east right: a survey whose inlines run toward azimuth
    // 35 degrees, its first five inlines positive (red) and its last five negative (blue),
    // shows the blue half right of and above the red one, 35 degrees east of north.
    void the_top_view_is_north_up_and_east_right() {
        const QString sgy = cache_.filePath("turned.sgy");
        {
            const double a = 35.0 * M_PI / 180.0;
            korvex::seismic::SegyWriter writer(sgy, 10, SEGY_IEEE_FLOAT_4_BYTE, 4000);
            for (int il = 1; il <= 10; ++il)
                for (int xl = 1; xl <= 10; ++xl) {
                    // 25 m bins; crosslines clockwise of the inlines.
                    const double u = (il - 1) * 25.0, v = (xl - 1) * 25.0;
                    const korvex::seismic::CdpCoordinates cdp{
                        int(std::lround((612000.0 + u * std::sin(a) + v * std::cos(a)) * 100)),
                        int(std::lround((6543000.0 + u * std::cos(a) - v * std::sin(a)) * 100)),
                        -100};
                    writer.write_trace(il, xl, std::vector<float>(10, il <= 5 ? 10.0f : -10.0f), 0,
                                       cdp);
                }
            writer.close();
        }
        const QString png = cache_.filePath("turned.png");
        QCOMPARE(run({sgy, "--export", png, "--view", "top", "--size", "300x300"}), 0);
        const QImage image(png);
        // Left of the colour bar and above the compass, whose east arrow is red.
        QPointF red, blue;
        int reds = 0, blues = 0;
        for (int y = 0; y < 230; ++y) {
            for (int x = 0; x < 240; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.red() > 100 && c.green() < 30 && c.blue() < 30) {
                    red += QPointF(x, y);
                    ++reds;
                } else if (c.blue() > 50 && c.red() < 30 && c.green() < 30) {
                    blue += QPointF(x, y);
                    ++blues;
                }
            }
        }
        QVERIFY2(reds > 1000 && blues > 1000, qPrintable(QString("%1 %2").arg(reds).arg(blues)));
        const QPointF toward = blue / blues - red / reds;
        QVERIFY(toward.x() > 0 && toward.y() < 0);  // east is right, north is up
        const double azimuth = std::atan2(toward.x(), -toward.y()) * 180.0 / M_PI;
        QVERIFY2(std::abs(azimuth - 35.0) < 5.0, qPrintable(QString::number(azimuth)));
    }

    // The section cache pays off only when the user pages through a volume; a picture run
    // ends first, and would wait at its exit for a pass it has no use for.
    void a_picture_run_builds_no_section_cache() {
        const QString sgy = cache_.filePath("uncached.sgy");
        korvex::testing::write_volume(sgy, {});
        QCOMPARE(run({sgy, "--export", cache_.filePath("uncached.png"), "--size", "200x150"}), 0);
        const QDir caches(cache_.filePath("korvex/sections"));
        QVERIFY2(caches.entryList(QDir::Files).isEmpty(),
                 qPrintable(caches.entryList(QDir::Files).join(", ")));
    }

    // Each run must end, and none may write a picture of a part of what was asked.
    void failures_end_with_a_message_and_no_picture_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString volume = cache_.filePath("volume.sgy");
        korvex::testing::write_volume(volume, {});
        // A project whose volume lacks its header bytes once stopped the run with a dialog.
        const QString asking = cache_.filePath("asking.kvd");
        korvex::app::ProjectSnapshot snapshot;
        snapshot.objects.push_back({"seismic_volume", "volume", volume, {{"colormap", "gray"}}});
        korvex::app::ProjectDatabase(asking).save(snapshot);
        // A project whose viewer cannot be brought back as it was saved.
        const QString unviewable = cache_.filePath("unviewable.kvd");
        snapshot.objects.front().settings = {{"iline_byte", 189}, {"xline_byte", 193}};
        snapshot.viewers.push_back(
            {"3D View 1", "{}", {{"volume", {{"object", {{"self", true}}}}}}, {}});
        korvex::app::ProjectDatabase(unviewable).save(snapshot);
        // A pick beyond any survey once gave a picture of the colour bar alone.
        const QString far = cache_.filePath("far.kvd");
        snapshot.viewers.front().state = R"({"aspect_method": "Equal", "aspect_ratio": 1})";
        snapshot.picks.push_back({"3D View 1", korvex::testing::sample_pick("volume")});
        snapshot.picks.back().sample.position[0] = std::numeric_limits<double>::infinity();
        korvex::app::ProjectDatabase(far).save(snapshot);
        const QString fifo = cache_.filePath("fifo.xyz");
        QFile::remove(fifo);
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

        QTest::newRow("missing file") << QStringList{"nowhere.sgy"} << 1 << "nowhere.sgy";
        QTest::newRow("not a project")
            << QStringList{write("bad.kvd", "no project")} << 1 << "is not a korvex project";
        QTest::newRow("project object missing")
            << QStringList{asking} << 1
            << "volume is missing from the project: volume: the project gives no iline_byte";
        QTest::newRow("project view unreadable")
            << QStringList{unviewable} << 1 << "Restoring the view of 3D View 1 failed";
        QTest::newRow("project pick not finite")
            << QStringList{far} << 1 << R"(Pick 1 is left out: its x holds "inf", not a number)";
        QTest::newRow("FIFO of points") << QStringList{fifo} << 1 << "not a regular file";
        QTest::newRow("points all nan") << QStringList{write("nan.xyz", "nan nan nan\nnan 1 2\n")}
                                        << 1 << "not a finite number";
        QTest::newRow("larger than OpenGL draws")
            << QStringList{"--demo", "--size", "99999x10"} << 2 << "at most";
        QTest::newRow("bad view") << QStringList{"--view", "up"} << 2 << "--view";
        QTest::newRow("unwritable")
            << QStringList{"--demo", "--export", "/proc/korvex/x.png"} << 1 << "no picture written";
    }
    void failures_end_with_a_message_and_no_picture() {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        const QString png = cache_.filePath("failed.png");
        if (!arguments.contains("--export")) arguments << "--export" << png;
        QString output;
        QCOMPARE(run(arguments, &output), code);
        QVERIFY2(output.contains(message), qPrintable(output));
        QVERIFY(!QFile::exists(png));
    }
};

KORVEX_TEST_GUILESS_MAIN(CommandLineTest)
#include "tst_command_line.moc"

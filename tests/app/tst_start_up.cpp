// The start of the korvex program: what it answers without a display, what it says when
// it needs one and has none, and the OpenGL it asks for.
#include <QProcess>
#include <QRegularExpression>
#include <QSurfaceFormat>
#include <QTest>

#include "korvex/app/start_up/start_up.h"
#include "korvex/scene/surface_format.h"
#include "tests/support/test_main.h"

namespace {

// Environment variables by name; a null value stands for an unset variable.
using Variables = QMap<QString, QString>;

struct Run {
    bool exited_normally = false;
    int code = -1;
    QString out, err;
};

// Runs the program with `set` added to its environment and `unset` taken out of it.
Run run_korvex(const QStringList& arguments, const QStringList& unset, const Variables& set = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset) environment.remove(name);
    for (auto it = set.begin(); it != set.end(); ++it) environment.insert(it.key(), it.value());
    environment.insert("KORVEX_LOG_FILE", "");
    QProcess korvex;
    korvex.setProcessEnvironment(environment);
    korvex.start(KORVEX_PROGRAM, arguments);
    Run run;
    if (!korvex.waitForFinished(120000)) return run;
    run.exited_normally = korvex.exitStatus() == QProcess::NormalExit;
    run.code = korvex.exitCode();
    run.out = QString::fromLocal8Bit(korvex.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(korvex.readAllStandardError());
    return run;
}

// Every variable by which Qt could find a display.
const QStringList DISPLAY_VARIABLES{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                    "XDG_SESSION_TYPE"};

// Sets or clears environment variables for one test, and puts them back afterwards.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const Variables& values) {
        for (auto it = values.begin(); it != values.end(); ++it) {
            const QByteArray name = it.key().toLocal8Bit();
            saved_.insert(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
            if (it.value().isNull()) {
                qunsetenv(name);
            } else {
                qputenv(name, it.value().toLocal8Bit());
            }
        }
    }
    ~ScopedEnvironment() {
        for (auto it = saved_.begin(); it != saved_.end(); ++it) {
            if (it.value().isNull()) {
                qunsetenv(it.key());
            } else {
                qputenv(it.key(), it.value());
            }
        }
    }

private:
    QMap<QByteArray, QByteArray> saved_;
};

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void help_and_version_need_no_display() {
        const Run help = run_korvex({"--help"}, DISPLAY_VARIABLES);
        QVERIFY2(help.exited_normally && help.code == 0, qPrintable(help.err));
        QVERIFY2(help.out.contains("--version") && help.out.contains("--export"),
                 qPrintable(help.out));

        const Run version = run_korvex({"--version"}, DISPLAY_VARIABLES);
        QVERIFY2(version.exited_normally && version.code == 0, qPrintable(version.err));
        QVERIFY2(QRegularExpression("^korvex \\d+\\.\\d+\\.\\d+\\n$").match(version.out).hasMatch(),
                 qPrintable(version.out));
    }

    void a_run_without_a_display_says_why_in_one_line_data() {
        QTest::addColumn<Variables>("set");
        QTest::addColumn<QString>("cause");
        QTest::newRow("no display") << Variables{} << "no display: DISPLAY is not set";
        QTest::newRow("display not answering")
            << Variables{{"DISPLAY", ":97531"}} << "cannot connect to the X display \":97531\"";
    }
    void a_run_without_a_display_says_why_in_one_line() {
        QFETCH(Variables, set);
        QFETCH(QString, cause);
        const Run run = run_korvex({"--demo"}, DISPLAY_VARIABLES, set);
        QVERIFY2(run.exited_normally, "the program crashed or hung");
        QVERIFY(run.code != 0);
        // Qt may have said what it tried before; the last word is ours, on one line.
        QVERIFY2(
            run.err.endsWith("\nkorvex: " + cause + "\n") || run.err == "korvex: " + cause + "\n",
            qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    // A missing X display is plain before Qt starts; whether a named one answers, and
    // any other platform, is found by Qt (and reported as above).
    void the_display_is_judged_before_qt_tries_it_data() {
        QTest::addColumn<Variables>("environment");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shortfall");
        const QString none;  // unset
        const QString here = qEnvironmentVariable("DISPLAY");
        QTest::newRow("the display at hand")
            << Variables{{"DISPLAY", here}, {"QT_QPA_PLATFORM", none}} << QStringList{} << "";
        QTest::newRow("no DISPLAY") << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", none}}
                                    << QStringList{} << "no display: DISPLAY is not set";
        QTest::newRow("X asked by name") << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", "xcb"}}
                                         << QStringList{} << "no display: DISPLAY is not set";
        QTest::newRow("offscreen") << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", "offscreen"}}
                                   << QStringList{} << "";
        QTest::newRow("offscreen as an option")
            << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", none}}
            << QStringList{"-platform", "offscreen"} << "";
        QTest::newRow("a fallback after X")
            << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", "xcb;offscreen"}} << QStringList{}
            << "";
        QTest::newRow("-display names one")
            << Variables{{"DISPLAY", none}, {"QT_QPA_PLATFORM", none}}
            << QStringList{"--display", ":97531"} << "";
    }
    void the_display_is_judged_before_qt_tries_it() {
        QFETCH(Variables, environment);
        QFETCH(QStringList, arguments);
        environment.insert("XDG_SESSION_TYPE", QString());
        environment.insert("WAYLAND_DISPLAY", QString());
        const ScopedEnvironment scoped(environment);
        QTEST(korvex::app::display_shortfall(QStringList{"korvex"} + arguments), "shortfall");
    }

    void the_graphical_start_asks_for_the_format_of_the_3d_views() {
        QSurfaceFormat::setDefaultFormat(QSurfaceFormat());
        QCOMPARE(korvex::app::prepare_graphics({"korvex"}), QString());
        QCOMPARE(QSurfaceFormat::defaultFormat(), korvex::scene::view_surface_format());
        QCOMPARE(QSurfaceFormat::defaultFormat().profile(), QSurfaceFormat::CoreProfile);
    }

    void an_opengl_too_old_for_the_3d_views_is_named() {
        // Mesa reports the version it is told to.
        const Run run = run_korvex({"--demo"}, {}, {{"MESA_GL_VERSION_OVERRIDE", "3.0"}});
        QVERIFY2(run.exited_normally, "the program crashed or hung");
        QVERIFY(run.code != 0);
        QVERIFY2(run.err.contains("the 3D view needs OpenGL 3.2 or newer"), qPrintable(run.err));
    }
};

KORVEX_TEST_GUILESS_MAIN(StartUpTest)
#include "tst_start_up.moc"

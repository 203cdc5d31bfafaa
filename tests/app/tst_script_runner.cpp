#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "korvex/app/start_up/script_runner.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::ScriptRunner;
using korvex::testing::LogCapture;

namespace {

QString write_script(const QString& folder, const QString& name, const QByteArray& body,
                     bool executable = true) {
    const QString path = folder + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(body);
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

}  // namespace

class ScriptRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void output_and_exit_status_reach_the_log_from_the_work_directory() {
        QTemporaryDir scripts, work;
        const QString path = write_script(scripts.path(), "report.sh",
                                          "#!/bin/sh\necho \"in $(pwd)\"\necho oops >&2\n"
                                          "printf 'no newline'\n");
        LogCapture log;
        ScriptRunner runner;
        QSignalSpy finished(&runner, &ScriptRunner::sig_finished);
        runner.run(path, work.path());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.at(0).at(0).toString(), path);
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QVERIFY(log.contains("info", QString("Running script %1 in %2").arg(path, work.path())));
        QVERIFY(log.contains("info", "[report.sh] in " + work.path()));
        QVERIFY(log.contains("warning", "[report.sh] oops"));
        QVERIFY(log.contains("info", "[report.sh] no newline"));
        QVERIFY(log.contains("info", "Script report.sh finished with exit code 0"));
        QCOMPARE(runner.running(), 0);
    }

    void lines_are_logged_while_the_script_still_runs() {
        QTemporaryDir work;
        const QString gate = work.path() + "/gate";
        const QString path = write_script(
            work.path(), "slow.sh",
            QString(
                "#!/bin/sh\necho first\nwhile [ ! -e '%1' ]; do sleep 0.05; done\necho second\n")
                .arg(gate)
                .toUtf8());
        LogCapture log;
        ScriptRunner runner;
        QSignalSpy finished(&runner, &ScriptRunner::sig_finished);
        runner.run(path, work.path());
        QTRY_VERIFY_WITH_TIMEOUT(log.contains("info", "[slow.sh] first"), 10000);
        QCOMPARE(runner.running(), 1);
        QVERIFY(!log.contains("info", "[slow.sh] second"));
        QFile(gate).open(QIODevice::WriteOnly);
        QVERIFY(finished.wait(10000));
        QVERIFY(log.contains("info", "[slow.sh] second"));
    }

    void failures_are_logged_and_the_runner_goes_on_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("message");
        QTest::newRow("non-zero exit") << QByteArray("#!/bin/sh\nexit 3\n") << true << "warning"
                                       << "Script s.sh finished with exit code 3";
        QTest::newRow("killed") << QByteArray("#!/bin/sh\nkill -9 $$\n") << true << "error"
                                << "Script s.sh crashed";
        QTest::newRow("no such interpreter")
            << QByteArray("#!/no/such/interpreter\n") << true << "error"
            << "Script s.sh could not be started: ";
        QTest::newRow("not executable, run by sh") << QByteArray("echo plain\n") << false << "info"
                                                   << "[s.sh] plain";
    }

    void failures_are_logged_and_the_runner_goes_on() {
        QFETCH(QByteArray, body);
        QFETCH(bool, executable);
        QFETCH(QString, level);
        QFETCH(QString, message);
        QTemporaryDir work;
        const QString path = write_script(work.path(), "s.sh", body, executable);
        LogCapture log;
        ScriptRunner runner;
        QSignalSpy finished(&runner, &ScriptRunner::sig_finished);
        runner.run(path, work.path());
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        bool found = false;
        for (const auto& line : log.lines()) {
            found = found || (line.level == level && line.text.startsWith(message));
        }
        QVERIFY2(found, qPrintable(log.texts().join('\n')));
        QCOMPARE(runner.running(), 0);
    }

    void a_missing_script_or_work_directory_is_logged() {
        QTemporaryDir work;
        LogCapture log;
        ScriptRunner runner;
        QSignalSpy finished(&runner, &ScriptRunner::sig_finished);
        runner.run("absent.sh", work.path());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(1).toBool(), false);
        QVERIFY(log.contains("error", QString("Script %1/absent.sh not found").arg(work.path())));

        const QString path = write_script(work.path(), "ok.sh", "#!/bin/sh\necho hi\n");
        runner.run(path, work.path() + "/no/such/folder");
        QVERIFY(finished.count() == 2 || finished.wait(10000));
        QCOMPARE(finished.at(1).at(1).toBool(), false);
        QVERIFY(log.texts().filter("Script ok.sh could not be started").size() == 1);
    }

    void destroying_the_runner_stops_its_scripts() {
        QTemporaryDir work;
        const QString pid_file = work.path() + "/pid";
        const QString path = write_script(
            work.path(), "long.sh",
            QString("#!/bin/sh\necho $$ > '%1'\nexec sleep 30\n").arg(pid_file).toUtf8());
        auto runner = std::make_unique<ScriptRunner>();
        runner->run(path, work.path());
        QTRY_VERIFY_WITH_TIMEOUT(QFile(pid_file).size() > 0, 10000);
        QFile file(pid_file);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t pid = file.readAll().trimmed().toInt();
        QVERIFY(pid > 0);
        runner.reset();
        QVERIFY(::kill(pid, 0) != 0);
    }
};

KORVEX_TEST_GUILESS_MAIN(ScriptRunnerTest)
#include "tst_script_runner.moc"

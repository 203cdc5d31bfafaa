#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"
#include "tests/app/large_project.h"
#include "tests/support/test_main.h"

using korvex::app::ProjectDatabase;
using korvex::app::ProjectError;
using korvex::app::ProjectSnapshot;
using korvex::testing::large_project;

namespace {

// Enough to outgrow SQLite's page cache: a save writes into the file before committing.
constexpr int LARGE = 2000;

struct WriterRun {
    bool killed = false;  // before it finished by itself
    int exit_code = 0;
    QString error;       // what it wrote on standard error
    qint64 save_ms = 0;  // from its announcement of the save to its end
};

// Runs the writer once, saving large_project(label, objects) to `path`, and kills it
// `kill_after_ms` after it announces the save (never when negative).
WriterRun run_writer(const QString& path, const QString& label, int objects, int kill_after_ms) {
    QProcess writer;
    QSignalSpy finished(&writer, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    writer.start(PROJECT_WRITER, {path, QString::number(objects), label, "once"});
    WriterRun run;
    if (!writer.waitForStarted() || !writer.waitForReadyRead(60000)) {
        run.error = "the writer did not start its save: " + writer.errorString();
        return run;
    }
    QElapsedTimer clock;
    clock.start();
    if (kill_after_ms >= 0) QTimer::singleShot(kill_after_ms, &writer, &QProcess::kill);
    if (finished.isEmpty() && !finished.wait(120000)) {
        writer.kill();
        writer.waitForFinished();
    }
    run.save_ms = clock.elapsed();
    run.killed = writer.exitStatus() == QProcess::CrashExit;
    run.exit_code = writer.exitCode();
    run.error = QString::fromUtf8(writer.readAllStandardError()).trimmed();
    return run;
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The program's output and exit status, for mount and umount.
QString run_command(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) return program + ": " + process.errorString();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return program + ": " + QString::fromUtf8(process.readAll()).trimmed();
    }
    return {};
}

// A small memory file system mounted on a folder of its own for the life of the object.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString& size) {
        if (!dir_.isValid()) {
            failure_ = "no temporary folder";
        } else if (geteuid() != 0) {
            failure_ = "mounting a file system needs root";
        } else {
            failure_ =
                run_command("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", dir_.path()});
        }
    }
    ~SmallFileSystem() {
        if (failure_.isEmpty()) run_command("umount", {dir_.path()});
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    // Why it could not be mounted; empty when it is.
    const QString& failure() const { return failure_; }
    QString path() const { return dir_.path(); }
    QString make_read_only() { return run_command("mount", {"-o", "remount,ro", dir_.path()}); }

private:
    QTemporaryDir dir_;
    QString failure_;
};

}  // namespace

// Saves killed at random moments, on a full disk and into a folder that cannot be
// written: after each, the project file holds exactly the previous project or the new
// one, never a mixture, a damaged file or nothing.
class InterruptedSavesTest : public QObject {
    Q_OBJECT

    const quint32 random_start_ = QRandomGenerator::global()->generate();
    QRandomGenerator random_{random_start_};

    // Kills `attempts` saves of large projects at random moments of the save and checks
    // each reload. Returns how many of the kills interrupted a save.
    int kill_saves(const QString& path, int attempts, int objects, qint64 save_ms) {
        ProjectSnapshot current = ProjectDatabase(path).load();
        int interrupted = 0;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            const QString label = QStringLiteral("attempt %1").arg(attempt);
            const int delay = random_.bounded(int(save_ms) + 1);
            const WriterRun run = run_writer(path, label, objects, delay);
            const QString context =
                QStringLiteral("killed %1 ms into the save: %2").arg(delay).arg(run.error);
            if (run.killed) ++interrupted;

            ProjectSnapshot loaded;
            try {
                loaded = ProjectDatabase(path).load();
            } catch (const ProjectError& e) {
                QTest::qFail(qPrintable(context + "; reload failed: " + e.message()), __FILE__,
                             __LINE__);
                return interrupted;
            }
            const ProjectSnapshot written = large_project(label, objects);
            if (loaded != current && loaded != written) {
                QTest::qFail(
                    qPrintable(context + "; the reload is neither the old nor the new project"),
                    __FILE__, __LINE__);
                return interrupted;
            }
            current = loaded;
        }
        return interrupted;
    }

private slots:
    void initTestCase() {
        qRegisterMetaType<QProcess::ExitStatus>();
        qInfo("kill moments drawn from random start %u", random_start_);
    }

    void a_save_killed_at_any_moment_leaves_the_old_or_the_new_project() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        ProjectDatabase(path).save(large_project("first", LARGE));
        // One whole save tells how long the kills may wait.
        const WriterRun whole = run_writer(path, "whole", LARGE, -1);
        QVERIFY2(!whole.killed && whole.exit_code == 0, qPrintable(whole.error));
        QVERIFY(ProjectDatabase(path).load() == large_project("whole", LARGE));

        const int interrupted = kill_saves(path, 20, LARGE, whole.save_ms);
        if (QTest::currentTestFailed()) return;
        qInfo("%d of 20 saves killed midway (a whole save took %lld ms)", interrupted,
              whole.save_ms);
        QVERIFY(interrupted > 0);
    }

    void a_full_disk_keeps_the_old_project() {
        SmallFileSystem disk("1m");
        if (!disk.failure().isEmpty()) QSKIP(qPrintable("no small file system: " + disk.failure()));
        const QString path = disk.path() + "/p.kvd";
        const ProjectSnapshot old = large_project("old", 50);
        ProjectDatabase(path).save(old);

        const WriterRun full = run_writer(path, "too large", LARGE, -1);
        QVERIFY(!full.killed);
        QCOMPARE(full.exit_code, 1);
        QVERIFY2(full.error.contains("Could not save") && full.error.contains("full"),
                 qPrintable(full.error));
        QVERIFY(ProjectDatabase(path).load() == old);

        // Killed while it fills the disk.
        kill_saves(path, 5, LARGE, full.save_ms);
        if (QTest::currentTestFailed()) return;
        QVERIFY(ProjectDatabase(path).load() == old);
    }

    void a_read_only_folder_keeps_the_old_project() {
        QTemporaryDir dir;
        const QString path = dir.filePath("p.kvd");
        const ProjectSnapshot old = large_project("old", 50);
        ProjectDatabase(path).save(old);
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const auto writable_again = qScopeGuard([&] {
            QFile::setPermissions(dir.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });

        // Root writes through permissions; a read-only mount stops it.
        QString folder = dir.path();
        std::unique_ptr<SmallFileSystem> mounted;
        if (access(qPrintable(dir.path()), W_OK) == 0) {
            mounted = std::make_unique<SmallFileSystem>("1m");
            if (!mounted->failure().isEmpty()) {
                QSKIP(qPrintable(
                    "folder permissions do not stop this user, and no read-only file system: " +
                    mounted->failure()));
            }
            folder = mounted->path();
            ProjectDatabase(folder + "/p.kvd").save(old);
            const QString failure = mounted->make_read_only();
            if (!failure.isEmpty())
                QSKIP(qPrintable("cannot make a file system read-only: " + failure));
        }
        const QString project = folder + "/p.kvd";
        const QByteArray before = read_all(project);

        const WriterRun run = run_writer(project, "new", LARGE, -1);
        QVERIFY(!run.killed);
        QCOMPARE(run.exit_code, 1);
        QVERIFY2(run.error.contains("Could not save " + project +
                                    ": the file is read-only; save "
                                    "the project elsewhere with Save as"),
                 qPrintable(run.error));
        QCOMPARE(read_all(project), before);
        QVERIFY(ProjectDatabase(project).load() == old);
    }
};

KORVEX_TEST_GUILESS_MAIN(InterruptedSavesTest)
#include "tst_interrupted_saves.moc"

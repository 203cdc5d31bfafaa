#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/volume_cache_pass.h"
#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::app::data::CacheStore;
using korvex::app::data::VolumeCachePass;
using korvex::seismic::CacheFolder;
using korvex::seismic::SectionCache;
using korvex::seismic::SegyVolumeFile;

namespace {
constexpr long long LIMIT = 1LL << 40;
}  // namespace

class VolumeCachePassTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    std::shared_ptr<const SegyVolumeFile> large_volume() {
        const QString path = dir_.filePath("large.sgy");
        if (!QFile::exists(path))
            korvex::testing::write_volume(path, korvex::testing::large_survey());
        return std::make_shared<const SegyVolumeFile>(path);
    }

private slots:
    // The status bar's Cancel: the pass ends as cancelled, never as ready, and leaves no
    // half-written cache behind to be trusted on the next opening.
    void a_cancelled_pass_ends_cancelled_without_a_cache() {
        const auto volume = large_volume();
        const QString folder = dir_.filePath("cancelled");
        VolumeCachePass pass(volume, {folder}, LIMIT);
        QSignalSpy cancelled(&pass, &VolumeCachePass::sig_cancelled);
        QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
        pass.cancel();
        pass.start();
        QVERIFY(cancelled.wait());
        QCOMPARE(ready.count(), 0);
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        QVERIFY(!SectionCache::open(*volume, CacheFolder(folder).path_for(*volume)));
    }

    // Closing the volume cancels its pass; once the pass has ended that must not touch the
    // cache it built, which the next opening reuses, also when that opening would build
    // elsewhere (a project saved since, whose caches go beside it).
    void a_finished_pass_keeps_its_cache_for_the_next_opening() {
        const auto volume = large_volume();
        const QString folder = dir_.filePath("finished");
        {
            VolumeCachePass pass(volume, {folder}, LIMIT);
            QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
            pass.start();
            QVERIFY(ready.wait(60000));
            QCOMPARE(ready[0][1].toBool(), true);  // built, not reused
        }
        QVERIFY(SectionCache::open(*volume, CacheFolder(folder).path_for(*volume)));

        const QString beside_project = dir_.filePath("project.cache");
        VolumeCachePass pass(volume, {beside_project, folder}, LIMIT);
        QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
        pass.start();
        QVERIFY(ready.wait(60000));
        QCOMPARE(ready[0][1].toBool(), false);  // reused
        QVERIFY(!QFileInfo::exists(beside_project));
    }

    // Two viewers (or two processes) opening one volume: the second waits for the first's
    // pass and reuses its cache rather than building a second copy. The cache is readable
    // by the group, as the umask allows.
    void two_passes_on_one_volume_build_once() {
        const auto volume = large_volume();
        const QString folder = dir_.filePath("shared");
        VolumeCachePass first(volume, {folder}, LIMIT);
        VolumeCachePass second(volume, {folder}, LIMIT);
        QSignalSpy first_ready(&first, &VolumeCachePass::sig_ready);
        QSignalSpy second_ready(&second, &VolumeCachePass::sig_ready);
        first.start();
        second.start();
        QTRY_VERIFY_WITH_TIMEOUT(first_ready.count() == 1 && second_ready.count() == 1, 60000);
        QCOMPARE(first_ready[0][1].toBool() + second_ready[0][1].toBool(), 1);
        const mode_t mask = ::umask(022);
        ::umask(mask);
        const auto permissions = QFileInfo(CacheFolder(folder).path_for(*volume)).permissions();
        QCOMPARE(bool(permissions & QFileDevice::ReadGroup), !(mask & 040));
    }

    // A project folder that cannot be written: the cache goes to the user's folder.
    void an_unwritable_first_folder_falls_back_to_the_next() {
        const auto volume = large_volume();
        const QString blocked = dir_.filePath("blocked");  // a file, so no folder can be made
        QFile(blocked).open(QIODevice::WriteOnly);
        const QString user = dir_.filePath("user");
        VolumeCachePass pass(volume, {blocked, user}, LIMIT);
        QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
        pass.start();
        QVERIFY(ready.wait(60000));
        QVERIFY(SectionCache::open(*volume, CacheFolder(user).path_for(*volume)));
    }

    // No folder at all can be written: the pass fails naming them, not as if cancelled.
    void no_writable_folder_fails_naming_it() {
        const QString blocked = dir_.filePath("blocked_only");  // a file, so no folder
        QFile(blocked).open(QIODevice::WriteOnly);
        VolumeCachePass pass(large_volume(), {blocked}, LIMIT);
        QSignalSpy failed(&pass, &VolumeCachePass::sig_failed);
        QSignalSpy cancelled(&pass, &VolumeCachePass::sig_cancelled);
        pass.start();
        QTRY_VERIFY_WITH_TIMEOUT(failed.count() + cancelled.count() > 0, 60000);
        QCOMPARE(cancelled.count(), 0);
        QVERIFY2(failed[0][0].toString().contains(blocked), qPrintable(failed[0][0].toString()));
    }

    // A cache whose SEG-Y file is gone is removed by the next pass in its folder; beyond the
    // size limit, the least recently used caches go.
    void orphans_and_the_least_recently_used_caches_are_removed() {
        const QString folder = dir_.filePath("kept");
        const QString copy = dir_.filePath("copy.sgy");
        QFile::copy(large_volume()->path(), copy);
        QString orphan;
        {
            const auto doomed = std::make_shared<const SegyVolumeFile>(copy);
            orphan = CacheFolder(folder).path_for(*doomed);
            VolumeCachePass pass(doomed, {folder}, LIMIT);
            QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
            pass.start();
            QVERIFY(ready.wait(60000));
        }
        QVERIFY(QFile::remove(copy));
        QCOMPARE(CacheFolder(folder).remove_orphans(), QStringList{orphan});
        QVERIFY(!QFileInfo::exists(orphan) && !QFileInfo::exists(orphan + ".lock"));

        const QDateTime now = QDateTime::currentDateTime();
        for (int age : {3, 1, 2}) {
            QFile cache(QDir(folder).filePath(QString("v%1.sections").arg(age)));
            QVERIFY(cache.open(QIODevice::WriteOnly) && cache.resize(1000));
            QVERIFY(cache.setFileTime(now.addSecs(-age), QFileDevice::FileModificationTime));
        }
        const QStringList removed = CacheFolder(folder).trim(2500);
        QCOMPARE(removed, QStringList{QDir(folder).filePath("v3.sections")});
    }

    // Caches go to the user's folder unless the user asks for them beside the project.
    void the_store_keeps_caches_beside_a_project_only_when_asked() {
        CacheStore store(dir_.filePath("user"));
        store.set_beside_project(false);
        store.set_project(dir_.filePath("survey.kvd"));
        QCOMPARE(store.folders(), QStringList{dir_.filePath("user")});
        store.set_beside_project(true);
        QCOMPARE(store.folders(),
                 (QStringList{dir_.filePath("survey.cache"), dir_.filePath("user")}));
    }
};

KORVEX_TEST_MAIN(VolumeCachePassTest)
#include "tst_volume_cache_pass.moc"

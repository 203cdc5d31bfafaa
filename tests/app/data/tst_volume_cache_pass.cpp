#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "korvex/app/data/volume_cache_pass.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/test_main.h"

using korvex::app::data::VolumeCachePass;
using korvex::seismic::SectionCache;
using korvex::seismic::SegyVolumeFile;

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
        VolumeCachePass pass(volume, {folder});
        QSignalSpy cancelled(&pass, &VolumeCachePass::sig_cancelled);
        QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
        pass.cancel();
        pass.start();
        QVERIFY(cancelled.wait());
        QCOMPARE(ready.count(), 0);
        QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
        QVERIFY(!SectionCache::open(*volume, SectionCache::path_for(*volume, folder)));
    }

    // Closing the volume cancels its pass; once the pass has ended that must not touch the
    // cache it built, which the next opening reuses, also when that opening would build
    // elsewhere (a project saved since, whose caches go beside it).
    void a_finished_pass_keeps_its_cache_for_the_next_opening() {
        const auto volume = large_volume();
        const QString folder = dir_.filePath("finished");
        {
            VolumeCachePass pass(volume, {folder});
            QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
            pass.start();
            QVERIFY(ready.wait(60000));
            QCOMPARE(ready[0][1].toBool(), true);  // built, not reused
        }
        QVERIFY(SectionCache::open(*volume, SectionCache::path_for(*volume, folder)));

        const QString beside_project = dir_.filePath("project.cache");
        VolumeCachePass pass(volume, {beside_project, folder});
        QSignalSpy ready(&pass, &VolumeCachePass::sig_ready);
        pass.start();
        QVERIFY(ready.wait(60000));
        QCOMPARE(ready[0][1].toBool(), false);  // reused
        QVERIFY(!QFileInfo::exists(beside_project));
    }
};

KORVEX_TEST_MAIN(VolumeCachePassTest)
#include "tst_volume_cache_pass.moc"

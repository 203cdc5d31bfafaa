// Failures that reach the window from its event loop, in the real window with a volume:
// each is told in the log by what failed, and the window goes on with what it holds.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>
#include <functional>
#include <stdexcept>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/app/open_and_wait.h"
#include "tests/app/raw_sql.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::data::SeismicVolume;
using korvex::seismic::SectionKind;

namespace {

struct Window {
    Window() {
        window.setup();
        window.resize(1200, 800);
        window.show();
        window.post_visible_setup();
    }
    SeismicVolume* load(const QString& path) {
        return static_cast<SeismicVolume*>(
            korvex::testing::load_data(window, path, SeismicVolume::header_settings({})));
    }

    korvex::testing::DialogCatcher unexpected;
    MainWindow window;
};

// Keeps the textual and binary headers and the first trace: the rest of the file is gone.
void truncate(const QString& path) { QVERIFY(QFile::resize(path, 3600 + 240 + 24)); }

using Mishap = std::function<void(Window&, SeismicVolume&)>;

}  // namespace

Q_DECLARE_METATYPE(Mishap)

class FailuresToldTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void a_failure_is_told_and_the_window_goes_on_data() {
        QTest::addColumn<Mishap>("mishap");
        QTest::addColumn<QString>("told");
        QTest::newRow("a section moved in 3D after its file was truncated")
            << Mishap([](Window&, SeismicVolume& volume) {
                   truncate(volume.source_path());
                   volume.set_section_index(SectionKind::iline, 3);
               })
            << "survey: the inline section cannot be read";
        QTest::newRow("a section view stepped after its file was truncated")
            << Mishap([](Window& w, SeismicVolume& volume) {
                   w.window.open_section_view();
                   QTRY_VERIFY(w.window.section_views()->feed(0)->drawn());
                   truncate(volume.source_path());
                   QTest::keyClick(w.window.section_views()->view(0), Qt::Key_PageDown);
               })
            << "survey: a section view's section cannot be read";
        QTest::newRow("a section sent past the volume's end on the map")
            << Mishap([](Window& w, SeismicVolume&) {
                   w.window.tree()->tree_item("survey")->child(0)->setCheckState(0, Qt::Checked);
                   w.window.open_map_view();
                   auto& map = w.window.map_views()->view(0)->canvas();
                   QTRY_COMPARE(int(map.scene().sections.size()), 1);
                   emit map.sig_section_moved(0, 99);
               })
            << "Moving a section on the map failed: iline index 99 is outside the volume";
        QTest::newRow("a project whose viewer's camera is no camera")
            << Mishap([](Window& w, SeismicVolume& volume) {
                   const QString project = QFileInfo(volume.source_path()).dir().filePath("p.kvd");
                   QVERIFY(w.window.save_project_as(project));
                   korvex::testing::run_sql(project, "UPDATE viewers SET state = '{\"fov\": []}'");
                   QVERIFY(korvex::testing::open_project(w.window, project));
               })
            << "Restoring the view of 3D View 1 failed";
        QTest::newRow("a folder named where a data file goes")
            << Mishap([](Window& w, SeismicVolume& volume) {
                   w.window.load_data_file(QFileInfo(volume.source_path()).path());
               })
            << ": it is a folder, not a data file";
        QTest::newRow("a script's own step failing on the volume it opened")
            << Mishap([](Window& w, SeismicVolume& volume) {
                   const QString other = QFileInfo(volume.source_path()).dir().filePath("b.sgy");
                   QVERIFY(QFile::copy(volume.source_path(), other));
                   w.window.load_data_file(other, SeismicVolume::header_settings({}),
                                           [](korvex::host::DataObject*) {
                                               throw std::runtime_error("the script broke");
                                           });
               })
            << "b.sgy failed: the script broke";
    }

    void a_failure_is_told_and_the_window_goes_on() {
        QFETCH(Mishap, mishap);
        QFETCH(QString, told);
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), korvex::testing::VolumeLayout());
        Window w;
        SeismicVolume* volume = w.load(dir.filePath("survey.sgy"));
        QVERIFY(volume);
        korvex::testing::LogCapture log;

        mishap(w, *volume);
        if (QTest::currentTestFailed()) return;
        const auto said = [&] {
            for (const auto& line : log.lines())
                if (line.level == "error" && line.text.contains(told)) return true;
            return false;
        };
        QTRY_VERIFY2(said(), qPrintable(log.texts().join('\n')));
        QVERIFY(w.window.model()->object("survey"));
        QVERIFY(w.window.isVisible());
        QCOMPARE(w.unexpected.titles, QStringList());
    }
};

KORVEX_TEST_MAIN(FailuresToldTest)
#include "tst_failures_told.moc"

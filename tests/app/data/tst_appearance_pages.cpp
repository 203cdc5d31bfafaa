#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <numeric>

#include "korvex/app/data/amplitude_histogram_view.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/colormap_box.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/point_set_page.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/scene/image_section.h"
#include "korvex/utils/errors.h"
#include "tests/app/open_volume.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/fake_data_tree.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::data::AppearanceDialog;
using korvex::app::data::PointSet;
using korvex::app::data::PointSetPage;
using korvex::app::data::SeismicVolume;
using korvex::app::data::SeismicVolumePage;
using korvex::seismic::SectionKind;
using korvex::testing::FakeDataTree;
using korvex::testing::image;

class AppearancePagesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString volume_path_;

private slots:
    void init() {
        korvex::testing::VolumeLayout layout;
        layout.samples = 12;
        volume_path_ = dir_.filePath("survey_c.sgy");
        korvex::testing::write_volume(volume_path_, layout);
    }

    void volume_page_moves_sections_and_restyles_every_viewer() {
        const auto volume_held = korvex::testing::open_volume(volume_path_);
        SeismicVolume& volume = *volume_held;
        FakeDataTree tree;
        tree.add_object(volume);
        for (const char* viewer : {"one", "two"})
            for (const char* type : {"iline", "xline", "depth"}) volume.make_image_3d(type, viewer);

        AppearanceDialog dialog(tree, "survey_c");
        auto* page = qobject_cast<SeismicVolumePage*>(dialog.page());
        QVERIFY(page);
        QCOMPARE(page->get_name(), std::optional<QString>("Seismic volume"));
        QCOMPARE(page->get_icon(), std::optional<QString>("seismic_volume"));
        QCOMPARE(dialog.windowTitle(), QString("Seismic volume: survey_c"));
        QCOMPARE(page->section_slider(SectionKind::iline)->maximum(), 3);
        QCOMPARE(page->section_slider(SectionKind::depth)->value(), 6);
        QCOMPARE(page->findChild<QTableWidget*>()->rowCount(), volume.prop().size());

        page->section_slider(SectionKind::iline)->setValue(3);
        QCOMPARE(volume.section_index(SectionKind::iline), 3);
        QTRY_COMPARE(image(volume, "iline", "one")->position(), 13.0);
        QCOMPARE(image(volume, "iline", "two")->position(), 13.0);

        // A time slice read costs the window nothing now: a held slider moves it as it goes.
        QSlider* time = page->section_slider(SectionKind::depth);
        time->setSliderDown(true);
        time->setSliderPosition(2);
        QCOMPARE(volume.section_index(SectionKind::depth), 2);
        time->setSliderDown(false);

        volume.set_section_index(SectionKind::xline, 0);  // keys or a project: the page follows
        QTRY_COMPARE(page->section_slider(SectionKind::xline)->value(), 0);

        page->colormap_box()->setCurrentText("gray");
        page->clip_box()->setValue(3.5);
        page->opacity_slider()->setValue(40);
        for (const char* viewer : {"one", "two"}) {
            const auto depth = image(volume, "depth", viewer);
            QCOMPARE(depth->colormap(), QString("gray"));
            QCOMPARE(depth->clim()[1], 3.5);
            QCOMPARE(depth->opacity(), 0.4);
        }
        page->findChild<QPushButton*>()->click();  // the clip from the statistics again
        QCOMPARE(volume.clip(), double(volume.stats().clip));
        QCOMPARE(page->clip_box()->value(), volume.clip());
    }

    // Once the cache pass has read every sample, the page shows their figures.
    void volume_page_shows_the_amplitudes_of_every_sample_after_the_cache_pass() {
        const auto volume_held = korvex::testing::open_volume(volume_path_);
        SeismicVolume& volume = *volume_held;
        FakeDataTree tree;
        tree.add_object(volume);
        AppearanceDialog dialog(tree, "survey_c");
        auto* page = qobject_cast<SeismicVolumePage*>(dialog.page());
        QVERIFY(page->histogram()->counts().empty());

        QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
        volume.make_image_3d("iline", "one");  // the first picture starts the pass
        QVERIFY(ended.wait());
        QVERIFY(ended.first().first().toBool());
        const auto& counts = page->histogram()->counts();
        QCOMPARE(std::accumulate(counts.begin(), counts.end(), uint64_t(0)), uint64_t(4 * 5 * 12));
        const QString range = volume.prop()["Amplitude range"].toString();
        QVERIFY2(range.endsWith(" (all traces)"), qPrintable(range));
        QCOMPARE(volume.clip(), double(volume.stats().clip));
    }

    void a_typed_line_or_time_goes_to_the_nearest_and_says_so_data() {
        QTest::addColumn<SectionKind>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("note");
        QTest::newRow("an inline") << SectionKind::iline << "12" << 2 << "";
        QTest::newRow("between crosslines")
            << SectionKind::xline << "21.4" << 1 << "Crossline 21.4 is not in survey_c: showing 21";
        QTest::newRow("between samples")
            << SectionKind::depth << "13" << 3 << "Time 13 is not in survey_c: showing 12";
        QTest::newRow("past the end")
            << SectionKind::iline << "99" << 3 << "Inline 99 is not in survey_c: showing 13";
    }

    void a_typed_line_or_time_goes_to_the_nearest_and_says_so() {
        QFETCH(SectionKind, kind);
        QFETCH(QString, typed);
        QFETCH(int, index);
        QFETCH(QString, note);
        const auto volume_held = korvex::testing::open_volume(volume_path_);
        FakeDataTree tree;
        tree.add_object(*volume_held);
        AppearanceDialog dialog(tree, "survey_c");
        auto* page = qobject_cast<SeismicVolumePage*>(dialog.page());
        QLineEdit& edit = *page->position_edit(kind);
        edit.setText(typed);
        QTest::keyClick(&edit, Qt::Key_Return);
        QCOMPARE(volume_held->section_index(kind), index);
        QCOMPARE(page->note()->text(), note);
        // A line chosen on the slider is one the volume holds.
        page->section_slider(kind)->setValue(0);
        QCOMPARE(page->note()->text(), QString());
    }

    void a_failed_move_is_logged_and_the_slider_shows_where_the_section_is() {
        const auto volume_held = korvex::testing::open_volume(volume_path_);
        SeismicVolume& volume = *volume_held;
        FakeDataTree tree;
        tree.add_object(volume);
        AppearanceDialog dialog(tree, "survey_c");
        auto* page = qobject_cast<SeismicVolumePage*>(dialog.page());
        QVERIFY(QFile(volume_path_).resize(3700));

        korvex::testing::LogCapture log;
        QSignalSpy failed(&volume, &SeismicVolume::sig_section_failed);
        page->section_slider(SectionKind::iline)->setValue(0);
        QVERIFY(failed.wait());
        QCOMPARE(volume.section_index(SectionKind::iline), 2);
        QCOMPARE(page->section_slider(SectionKind::iline)->value(), 2);
        QVERIFY2(log.texts().join("\n").contains("survey_c: the inline section cannot be read: " +
                                                 volume_path_),
                 qPrintable(log.texts().join("\n")));
    }

    void point_page_sets_size_colouring_and_colormap() {
        const QString path = dir_.filePath("wells.csv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("X,Y,Z,PORO\n1,2,3,0.1\n4,5,6,0.3\n");
        file.close();
        PointSet points(path);
        FakeDataTree tree;
        tree.add_object(points);

        AppearanceDialog dialog(tree, "wells");
        auto* page = qobject_cast<PointSetPage*>(dialog.page());
        QVERIFY(page);
        QCOMPARE(page->color_by_box()->currentText(), QString("Z"));
        QCOMPARE(page->color_by_box()->count(), 4);
        page->color_by_box()->setCurrentText("PORO");
        page->size_box()->setValue(11);
        page->colormap_box()->setCurrentText("gray");
        QCOMPARE(points.color_by(), QString("PORO"));
        QCOMPARE(points.point_size(), 11.0);
        QCOMPARE(points.colormap(), QString("gray"));
        QCOMPARE(page->findChild<QTableWidget*>()->rowCount(), points.prop().size());
    }

    void show_for_reuses_open_dialogs_and_survives_bad_requests() {
        QWidget window;
        auto volume = korvex::testing::open_volume(volume_path_);
        korvex::testing::FakeDataObject other("well");
        FakeDataTree tree;
        tree.add_object(*volume);
        tree.add_object(other);

        AppearanceDialog* first = AppearanceDialog::show_for(tree, "survey_c", &window);
        QVERIFY(first && first->isVisible());
        QCOMPARE(AppearanceDialog::show_for(tree, "survey_c", &window), first);

        korvex::testing::LogCapture log;
        QCOMPARE(AppearanceDialog::show_for(tree, "nothing", &window), nullptr);
        QCOMPARE(AppearanceDialog::show_for(tree, "well", &window), nullptr);
        QVERIFY(log.contains(
            "error", "Opening the appearance of well failed: well has no appearance settings"));

        // The dialog goes with its object.
        QPointer<AppearanceDialog> watched(first);
        tree.remove_object("survey_c");
        volume.reset();
        QTRY_VERIFY(!watched);
    }
};

KORVEX_TEST_MAIN(AppearancePagesTest)
#include "tst_appearance_pages.moc"

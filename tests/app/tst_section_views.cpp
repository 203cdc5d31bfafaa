// Section views in the real window: what they show of a volume, stepping and going to a
// line, and a project that keeps them.
#include <QComboBox>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/scene/colormap.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/app/open_and_wait.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::SectionViewArea;
using korvex::app::VolumeSectionFeed;
using korvex::app::data::SeismicVolume;
using korvex::seismic::SectionKind;
using korvex::widgets::SectionView;

namespace {

// Inlines 200..220 by 5, crosslines 7 down to 4, 8 samples from 100 ms every 2 ms.
const korvex::testing::VolumeLayout LAYOUT = korvex::testing::irregular_survey(8);
constexpr double CLIP = 60.0;

struct Window {
    Window() {
        window.setup();
        window.resize(1200, 800);
        window.show();
        window.post_visible_setup();
    }
    SectionViewArea& views() const { return *window.section_views(); }
    VolumeSectionFeed& feed(int index = 0) const { return *views().feed(index); }
    SectionView& view(int index = 0) const { return *views().view(index); }
    // Whether the view's section, as last asked for, is drawn.
    bool drawn(int index = 0) const { return views().count() > index && feed(index).drawn(); }

    korvex::testing::DialogCatcher unexpected;
    MainWindow window;
};

// The colour the 3D view gives `value`.
QRgb colour_of(float value) {
    const auto jet = korvex::scene::colormap_colors("jet");
    const int bin = int(std::floor((value + CLIP) / (2 * CLIP) * int(jet.size())));
    return jet[std::clamp(bin, 0, int(jet.size()) - 1)];
}

}  // namespace

class SectionViewsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir_.isValid());
        volume_path_ = dir_.filePath("survey.sgy");
        korvex::testing::write_volume(volume_path_, LAYOUT);
    }

    void a_view_paints_the_samples_of_the_section_it_names_data() {
        QTest::addColumn<SectionKind>("kind");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("line");
        QTest::newRow("inline 215") << SectionKind::iline << 3 << "215";
        QTest::newRow("crossline 5") << SectionKind::xline << 2 << "5";
        QTest::newRow("time 110 ms") << SectionKind::depth << 5 << "110";
    }

    // Traces run left to right in file order and time down; a time slice has its inlines
    // left to right and crosslines down.
    void a_view_paints_the_samples_of_the_section_it_names() {
        QFETCH(SectionKind, kind);
        QFETCH(int, index);
        QFETCH(QString, line);
        Window w;
        auto* volume = static_cast<SeismicVolume*>(
            korvex::testing::load_data(w.window, volume_path_, SeismicVolume::header_settings({})));
        QVERIFY(volume);
        volume->set_colormap("jet");
        volume->set_clip(CLIP);
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        w.feed().show_section(kind, index);
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), line);
        korvex::widgets::SectionCanvas& canvas = w.view().canvas();
        QTRY_VERIFY(canvas.isVisible() && canvas.width() > 0);
        const QImage shot = canvas.grab().toImage();
        const auto& samples = canvas.samples();
        QCOMPARE(samples.columns, kind == SectionKind::iline   ? 4
                                  : kind == SectionKind::xline ? 5
                                                               : 5);
        for (int row = 0; row < samples.rows; ++row) {
            for (int column = 0; column < samples.columns; ++column) {
                const float expected = kind == SectionKind::iline ? LAYOUT.value(index, column, row)
                                       : kind == SectionKind::xline
                                           ? LAYOUT.value(column, index, row)
                                           : LAYOUT.value(column, row, index);
                const QPoint at =
                    canvas.transform().to_pixel(QPointF(column + 0.5, row + 0.5)).toPoint();
                QVERIFY2(QColor(shot.pixel(at)) == QColor(colour_of(expected)),
                         qPrintable(QString("column %1, row %2").arg(column).arg(row)));
            }
        }
        // The volume's colours are followed.
        volume->set_colormap("gray");
        QCOMPARE(canvas.picture().colormap(), QString("gray"));
    }

    void page_down_steps_a_line_and_a_typed_line_lands_on_the_nearest() {
        Window w;
        QVERIFY(
            korvex::testing::load_data(w.window, volume_path_, SeismicVolume::header_settings({})));
        w.window.open_section_view();
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), QString("210"));
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageDown);
        QTRY_VERIFY(w.drawn());
        QCOMPARE(w.view().line_edit()->text(), QString("215"));

        QLineEdit& line = *w.view().line_edit();
        line.selectAll();
        QTest::keyClicks(&line, "202");
        QTest::keyClick(&line, Qt::Key_Return);
        QTRY_VERIFY(w.drawn() && w.feed().index() == 0);
        QCOMPARE(line.text(), QString("200"));
        QCOMPARE(w.view().note(), QString("Inline 202 is not in survey: showing 200"));
        // Past the last line, the last.
        QTest::keyClick(&w.view().canvas(), Qt::Key_PageDown, Qt::ShiftModifier);
        QTRY_VERIFY(w.drawn() && w.feed().index() == 4);
        QVERIFY(w.view().note().isEmpty());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

    void a_project_brings_its_section_views_back() {
        const QString project = dir_.filePath("views.kvd");
        QJsonObject zoom;
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            QVERIFY(korvex::testing::load_data(w.window, volume_path_,
                                               SeismicVolume::header_settings({})));
            w.window.open_section_view();
            w.window.open_section_view();
            QTRY_VERIFY(w.drawn(1));
            w.feed(1).show_section(SectionKind::xline, 1);
            QTRY_VERIFY(w.drawn(1));
            w.view(1).canvas().set_exaggeration(3.0);
            QWheelEvent wheel(QPointF(100, 100), QPointF(), {}, {0, 240}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&w.view(1).canvas(), &wheel);
            zoom = w.view(1).canvas().zoom_state();
            QVERIFY(w.window.has_unsaved_changes());
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(w.views().count(), 2);
        QCOMPARE(w.views().tabText(1), QString("Section View 2"));
        QCOMPARE(w.feed(1).kind(), SectionKind::xline);
        QCOMPARE(w.feed(1).position(), 6.0);
        QTRY_VERIFY(w.drawn(1));
        QCOMPARE(w.view(1).canvas().zoom_state(), zoom);
        QVERIFY(!w.window.has_unsaved_changes());

        // A view goes with its volume.
        w.window.model()->remove_all_objects();
        QTRY_COMPARE(w.views().count(), 0);
        QVERIFY(!w.views().isVisible());
        QVERIFY(w.unexpected.titles.isEmpty());
    }

private:
    QTemporaryDir dir_;
    QString volume_path_;
};

KORVEX_TEST_MAIN(SectionViewsTest)
#include "tst_section_views.moc"

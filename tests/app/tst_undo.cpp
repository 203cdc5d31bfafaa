// Undo and Redo of what the user changes in the whole window, and the journal line each
// change leaves.
#include <qtermwidget.h>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QInputDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/colormap_box.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/seismic_volume_page.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/edit_menu.h"
#include "korvex/app/window/main_window.h"
#include "korvex/modules/workspace_shell/workspace_shell.h"
#include "korvex/scene/point_visual.h"
#include "korvex/utils/undo_service.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/terminal/terminal.h"
#include "tests/app/open_and_wait.h"
#include "tests/app/sample_pick.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::data::SeismicVolume;
using korvex::app::data::SeismicVolumePage;
using korvex::testing::DialogCatcher;
using korvex::widgets::CanvasWidget;

namespace {

QAction* menu_action(const MainWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text) return action;
    return nullptr;
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;
    std::unique_ptr<MainWindow> window_;
    SeismicVolume* volume_ = nullptr;

    void keys(QWidget* where, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(where, Qt::Key_Z, modifiers);
    }
    int steps() const { return window_->undo_service()->stack().index(); }
    SeismicVolumePage* open_page() {
        window_->show_appearance("survey");
        auto* dialog = window_->findChild<korvex::app::data::AppearanceDialog*>();
        return dialog ? qobject_cast<SeismicVolumePage*>(dialog->page()) : nullptr;
    }

private slots:
    void init() {
        korvex::testing::VolumeLayout layout;
        const QString path = work_.filePath("survey.sgy");
        korvex::testing::write_volume(path, layout);
        korvex::app::MainWindowOptions options;
        options.working_directory = work_.path();
        window_ = std::make_unique<MainWindow>(options);
        window_->setup();
        window_->show();
        window_->post_visible_setup();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QApplication::setActiveWindow(window_.get());  // no window manager under Xvfb
        // The header bytes given, as a project gives them: no dialog asks for them.
        QVERIFY(korvex::testing::load_data(*window_, path, SeismicVolume::header_settings({})));
        window_->tree()->set_checked("survey", true);
        volume_ = dynamic_cast<SeismicVolume*>(window_->tree()->object_data().at("survey"));
        QVERIFY(volume_);
    }
    void cleanup() { window_.reset(); }

    // Ctrl+Z takes back a deleted pick, the pick, the clip and the colormap, newest first, each
    // change having left its line; Ctrl+Shift+Z makes the colormap change again.
    void picks_and_looks_go_back_and_forth() {
        korvex::testing::LogCapture log;
        DialogCatcher dialogs(DialogCatcher::Catch::modal);
        SeismicVolumePage* page = open_page();
        QVERIFY(page);
        const QString colormap = volume_->colormap();
        const double clip = volume_->clip();
        const QString other = colormap == "gray" ? "viridis" : "gray";
        page->colormap_box()->setCurrentText(other);
        page->clip_box()->setValue(clip * 2);

        CanvasWidget& viewer = window_->viewer_area()->viewer(0)->base();
        korvex::app::PicksPanel& picks = *window_->picks();
        emit window_->viewer_area()->sig_picked_sample(&viewer,
                                                       korvex::testing::sample_pick("survey"));
        QCOMPARE(picks.count(), 1);
        picks.table()->selectRow(0);
        QTest::mouseClick(picks.findChild<QPushButton*>("delete_picks"), Qt::LeftButton);
        QCOMPARE(picks.count(), 0);
        QVERIFY(log.contains(
            "info", QString("Changed the colormap of survey from %1 to %2").arg(colormap, other)));
        QVERIFY(log.contains("info",
                             QString("Changed the clip of survey from %1 to %2")
                                 .arg(QVariant(clip).toString(), QVariant(clip * 2).toString())));
        QVERIFY(log.contains("info",
                             "Pick deleted: inline 1010, crossline 2020, time 48 ms on survey"));

        QApplication::setActiveWindow(window_.get());
        window_->tree()->setFocus();
        keys(window_->tree(), Qt::ControlModifier);
        QCOMPARE(picks.count(), 1);
        QCOMPARE(picks.pick(0), korvex::testing::sample_pick("survey"));
        QCOMPARE(picks.viewer_name(0), viewer.name());
        keys(window_->tree(), Qt::ControlModifier);
        QCOMPARE(picks.count(), 0);
        keys(window_->tree(), Qt::ControlModifier);
        QCOMPARE(volume_->clip(), clip);
        QCOMPARE(page->clip_box()->value(), clip);
        keys(window_->tree(), Qt::ControlModifier);
        QCOMPARE(volume_->colormap(), colormap);
        QCOMPARE(window_->edit_menu()->redo_action()->text(), QString("Redo colormap of survey"));
        keys(window_->tree(), Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(volume_->colormap(), other);
        QCOMPARE(page->colormap_box()->currentText(), other);
        QVERIFY(log.contains("info", "Undo delete pick"));
        QVERIFY(log.contains("info", "Redo colormap of survey"));
        QCOMPARE(dialogs.titles, QStringList());
    }

    // A pick made by mistake goes with one Ctrl+Z; a step whose volume is closed is
    // dropped with its reason logged, and the app goes on.
    void a_pick_is_undone_and_a_closed_volume_is_passed_over() {
        korvex::testing::LogCapture log;
        SeismicVolumePage* page = open_page();
        QVERIFY(page);
        page->clip_box()->setValue(volume_->clip() * 3);
        CanvasWidget& viewer = window_->viewer_area()->viewer(0)->base();
        emit window_->viewer_area()->sig_picked_sample(&viewer,
                                                       korvex::testing::sample_pick("survey"));
        window_->undo_service()->undo();
        QCOMPARE(window_->picks()->count(), 0);
        window_->undo_service()->redo();
        QCOMPARE(window_->picks()->count(), 1);
        window_->undo_service()->undo();

        window_->model()->remove_object("survey");
        QTRY_VERIFY(!window_->tree()->object_data().count("survey"));
        window_->undo_service()->undo();
        QVERIFY(log.contains("error",
                             "Going back or forth: clip of survey failed: its object is closed"));
        QVERIFY(!window_->undo_service()->stack().canUndo());
    }

    void markers_follow_the_picks_data() {
        QTest::addColumn<QString>("steps");
        QTest::newRow("picks in two viewers") << "p0 p1 p0";
        QTest::newRow("one deleted in the middle and put back") << "p0 p1 p0 p1 d1 u";
        QTest::newRow("several deleted, put back, deleted again") << "p0 p1 p0 p1 p0 d024 u r u";
        QTest::newRow("picks undone and redone") << "p0 p1 p0 u u r";
        QTest::newRow("every pick undone") << "p0 p1 u u";
        QTest::newRow("a viewer closed over its picks") << "p0 p1 p1 p0 c1 d1 u d0";
    }

    // Whatever the user makes, deletes, undoes and redoes, each viewer marks its own picks.
    void markers_follow_the_picks() {
        QFETCH(QString, steps);
        menu_action(*window_, "New 3D viewer")->trigger();
        korvex::app::ViewerArea& viewers = *window_->viewer_area();
        korvex::app::PicksPanel& picks = *window_->picks();
        int made = 0;
        for (const QString& step : steps.split(' ')) {
            const QString argument = step.mid(1);
            switch (step[0].toLatin1()) {
                case 'p': {
                    korvex::widgets::PickedSample pick = korvex::testing::sample_pick("survey");
                    pick.position[0] += ++made;
                    emit viewers.sig_picked_sample(&viewers.viewer(argument.toInt())->base(), pick);
                    break;
                }
                case 'd':
                    picks.table()->clearSelection();
                    for (const QChar row : argument)
                        picks.table()->selectionModel()->select(
                            picks.table()->model()->index(row.digitValue(), 0),
                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
                    picks.remove_selected();
                    break;
                case 'u':
                    window_->undo_service()->undo();
                    break;
                case 'r':
                    window_->undo_service()->redo();
                    break;
                default:
                    viewers.close_viewer(argument.toInt());
            }
            for (int index = 0; index < viewers.count(); ++index) {
                const QString name = viewers.viewer(index)->base().name();
                std::multiset<korvex::scene::Point3> picked, marked;
                for (int row = 0; row < picks.count(); ++row)
                    if (picks.viewer_name(row) == name) picked.insert(picks.pick(row).position);
                if (const korvex::scene::PointVisual* markers = picks.markers(name))
                    marked.insert(markers->positions().begin(), markers->positions().end());
                QVERIFY2(marked == picked, qPrintable(step + " in " + name));
            }
        }
    }

    // The vertical scale chosen from the View menu is a step; a new viewer leaves a line.
    void vertical_scale_and_new_viewer() {
        korvex::testing::LogCapture log;
        CanvasWidget& viewer = window_->viewer_area()->viewer(0)->base();
        const double before = viewer.z_scale();
        korvex::testing::answer_next_modal([before](QWidget* dialog) {
            auto* input = qobject_cast<QInputDialog*>(dialog);
            input->setDoubleValue(before * 4);
            input->accept();
        });
        menu_action(*window_, "Vertical scale...")->trigger();
        QCOMPARE(viewer.z_scale(), before * 4);
        window_->undo_service()->undo();
        QCOMPARE(viewer.z_scale(), before);

        menu_action(*window_, "New 3D viewer")->trigger();
        QVERIFY(log.contains("info", "New 3D viewer: 3D View 2"));
    }

    // A text field keeps Ctrl+Z for its own text, and the shell both keys.
    void undo_keys_stay_with_text_fields_and_the_shell() {
        DialogCatcher dialogs(DialogCatcher::Catch::modal);
        SeismicVolumePage* page = open_page();
        QVERIFY(page);
        // A step to undo and one to redo, so that either key would show.
        page->colormap_box()->setCurrentIndex(page->colormap_box()->currentIndex() == 0 ? 1 : 0);
        page->colormap_box()->setCurrentIndex(2);
        window_->undo_service()->undo();
        QCOMPARE(steps(), 1);

        QDoubleSpinBox* field = page->clip_box();
        QApplication::setActiveWindow(page->window());
        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        keys(field, Qt::ControlModifier);
        keys(field, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(steps(), 1);

        auto* shell = window_->findChild<korvex::modules::WorkspaceShell*>("workspace_shell");
        shell->dockwidget()->raise();
        QTermWidget* console = shell->findChild<korvex::widgets::Terminal*>()->console();
        QApplication::setActiveWindow(window_.get());
        console->setFocus();
        QTRY_VERIFY(console->isAncestorOf(QApplication::focusWidget()));
        keys(QApplication::focusWidget(), Qt::ControlModifier | Qt::ShiftModifier);
        keys(QApplication::focusWidget(), Qt::ControlModifier);
        QCOMPARE(steps(), 1);

        // From elsewhere in the window the same key is Undo.
        window_->tree()->setFocus();
        keys(window_->tree(), Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(steps(), 2);
        QCOMPARE(dialogs.titles, QStringList());
    }
};

KORVEX_RENDER_TEST_MAIN(UndoTest)
#include "tst_undo.moc"

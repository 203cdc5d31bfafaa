// The application as a user meets it: a project is built through the menus and the
// tree, saved, closed with the quit button, and opened again.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <cstdlib>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_opener.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/appearance_dialog.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/segy_open_dialog.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/project/recent_files.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/app/window/shortcuts_dialog.h"
#include "korvex/app/window/user_guide_dialog.h"
#include "korvex/scene/map_grid.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "tests/app/open_and_wait.h"
#include "tests/app/raw_sql.h"
#include "tests/app/sample_pick.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/scene_window.h"
#include "tests/support/screen_grab.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::testing::answer_next_modal;
using korvex::testing::on_screen;
using korvex::utils::is_shown;
using korvex::widgets::CanvasWidget;

namespace {

QAction* menu_action(QMainWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

// File > Open data..., waiting for the files chosen to be shown or to fail: a volume is
// read on a worker after the menu returns.
bool open_data_from_menu(korvex::app::MainWindow& window) {
    QSignalSpy opened(window.opener(), &korvex::app::DataOpener::sig_opened);
    menu_action(window, "Open data...")->trigger();
    return !opened.isEmpty() || opened.wait();
}

// Types `path` into the next file dialog and accepts it; `then` arms what comes next.
void answer_file_dialog(const QString& path, std::function<void()> then = {}) {
    answer_next_modal([path, then](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY2(dialog, "the file dialog did not open");
        if (then) then();
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        QPushButton* accept = buttons->button(QDialogButtonBox::Open);
        if (!accept) accept = buttons->button(QDialogButtonBox::Save);
        QTest::mouseClick(accept, Qt::LeftButton);
    });
}

// Keeps the text of the message box that opens next, and closes it.
void read_message_box(QString& text) {
    answer_next_modal([&text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY2(box, "no message box");
        text = box->text();
        box->accept();
    });
}

void accept_segy_dialog() {
    answer_next_modal([](QWidget* modal) {
        auto* dialog = qobject_cast<korvex::app::data::SegyOpenDialog*>(modal);
        QVERIFY2(dialog, "the SEG-Y dialog did not open");
        dialog->accept();
    });
}

// Clicks an item's check box the way a user does.
void click_check_box(QTreeWidget& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(&tree);
    option.rect = tree.visualItemRect(item);
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box.center());
}

// Clicks the button of a viewer's row that has this tooltip.
void click_viewer_button(QWidget* viewer, const QString& tip) {
    for (QToolButton* button : viewer->findChildren<QToolButton*>()) {
        if (button->toolTip() == tip) return QTest::mouseClick(button, Qt::LeftButton);
    }
    QFAIL(qPrintable("no button " + tip));
}

// Pixels that differ between two pictures of the same size, outside `hidden`.
// Pixels of the seismic colours, far from grey, as a section shows them and lines do not.
int coloured_pixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += std::abs(qRed(pixel) - qBlue(pixel)) > 100;
        }
    return count;
}

int differing_pixels_outside(const QImage& a, const QImage& b, const QRect& hidden) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!hidden.contains(x, y) && a.pixel(x, y) != b.pixel(x, y)) ++count;
        }
    }
    return count;
}

struct Window {
    Window() {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        window.setup();
        window.show();
        window.post_visible_setup();
    }
    CanvasWidget& canvas(int index = 0) const {
        return window.viewer_area()->viewer(index)->base();
    }
    QTreeWidgetItem* item(const QString& name) const { return window.tree()->tree_item(name); }
    MainWindow window;
};

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The settings of the test, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        QSettings().clear();
    }

    void a_project_built_through_the_ui_comes_back_exactly() {
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), {});
        const QString project = dir.filePath("field.kvd");
        QByteArray camera_one;
        QByteArray camera_two;
        {
            Window w;
            QVERIFY(korvex::testing::wait_until_drawn(w.window));
            answer_file_dialog(project);
            menu_action(w.window, "New project...")->trigger();
            QCOMPARE(w.window.project_path(), project);

            answer_file_dialog(dir.filePath("survey.sgy"), accept_segy_dialog);
            QVERIFY(open_data_from_menu(w.window));
            QCOMPARE(int(w.window.model()->objects().size()), 1);

            // Opened, it is shown with its sections, checked in the tree, in the viewer's
            // registry and in its display state.
            QVERIFY(w.window.tree()->is_checked("survey"));
            QVERIFY(is_shown(w.canvas().dpState(), "survey", "object", "self"));
            QVERIFY(is_shown(w.canvas().dpState(), "survey", "sections", "iline"));
            QCOMPARE(int(w.canvas().canvas().visuals().size()), 4);
            click_check_box(*w.window.tree(), w.item("survey")->child(1));
            QVERIFY(!is_shown(w.canvas().dpState(), "survey", "sections", "xline"));
            QCOMPARE(int(w.canvas().canvas().visuals().size()), 3);

            // Uncheck all, from the tree's menu: nothing shown, nothing recorded.
            std::unique_ptr<QMenu> menu(w.window.tree()->create_context_menu(nullptr));
            menu->actions().front()->trigger();
            QVERIFY(w.canvas().dpState().empty());
            QVERIFY(w.canvas().canvas().visuals().empty());
            QVERIFY(!w.window.tree()->is_checked("survey"));
            QVERIFY(!w.window.tree()->is_section_checked("survey", "iline"));

            // Shown again, with the depth section only, then in a second viewer too, with
            // its own camera.
            click_check_box(*w.window.tree(), w.item("survey"));
            click_check_box(*w.window.tree(), w.item("survey")->child(0));
            click_check_box(*w.window.tree(), w.item("survey")->child(1));
            click_viewer_button(w.window.viewer_area()->viewer(0), "View from top");
            camera_one = korvex::widgets::view_state_to_json(w.canvas().state());
            menu_action(w.window, "New 3D viewer")->trigger();
            QCOMPARE(w.window.viewer_area()->currentIndex(), 1);
            QVERIFY(!w.window.tree()->is_checked("survey"));
            click_check_box(*w.window.tree(), w.item("survey"));
            for (int i = 0; i < 3; ++i)
                click_check_box(*w.window.tree(), w.item("survey")->child(i));
            click_viewer_button(w.window.viewer_area()->viewer(1), "View from east");
            camera_two = korvex::widgets::view_state_to_json(w.canvas(1).state());
            QVERIFY(camera_one != camera_two);
            QVERIFY(is_shown(w.canvas(1).dpState(), "survey", "object", "self"));

            // "Hide all" in the second viewer leaves the first one alone.
            click_viewer_button(w.window.viewer_area()->viewer(1), "Hide all");
            QVERIFY(w.canvas(1).dpState().empty());
            QVERIFY(!w.window.tree()->is_checked("survey"));
            QVERIFY(is_shown(w.canvas(0).dpState(), "survey", "object", "self"));
            click_check_box(*w.window.tree(), w.item("survey"));
            for (int i = 0; i < 3; ++i)
                click_check_box(*w.window.tree(), w.item("survey")->child(i));

            QVERIFY(w.window.has_unsaved_changes());
            menu_action(w.window, "Save")->trigger();
            QVERIFY(!w.window.has_unsaved_changes());

            // Nothing left to lose: the quit button asks, without offering to save.
            answer_next_modal([](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box && !box->button(QMessageBox::Save));
                QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            });
            QTest::mouseClick(w.window.btn_quit, Qt::LeftButton);
            QVERIFY(!w.window.isVisible());
        }

        Window w;
        answer_file_dialog(project);
        menu_action(w.window, "Open project...")->trigger();
        // The project is the window's once its volume has arrived.
        QTRY_COMPARE_WITH_TIMEOUT(w.window.project_path(), project, 60000);
        QCOMPARE(w.window.viewer_area()->count(), 2);
        QCOMPARE(w.window.viewer_area()->currentIndex(), 1);
        QCOMPARE(w.window.viewer_area()->tabText(1), QString("3D View 2"));
        QCOMPARE(korvex::widgets::view_state_to_json(w.canvas(0).state()), camera_one);
        QCOMPARE(korvex::widgets::view_state_to_json(w.canvas(1).state()), camera_two);
        QVERIFY(is_shown(w.canvas(0).dpState(), "survey", "object", "self"));
        QVERIFY(is_shown(w.canvas(0).dpState(), "survey", "sections", "depth"));
        QCOMPARE(int(w.canvas(0).canvas().visuals().size()), 2);
        QVERIFY(is_shown(w.canvas(1).dpState(), "survey", "object", "self"));
        QCOMPARE(int(w.canvas(1).canvas().visuals().size()), 1);
        // The tree shows what the viewer in front shows.
        QVERIFY(w.window.tree()->is_checked("survey"));
        QVERIFY(!w.window.tree()->is_section_checked("survey", "depth"));
        QVERIFY(!w.window.has_unsaved_changes());
        w.window.viewer_area()->setCurrentIndex(0);
        QVERIFY(w.window.tree()->is_section_checked("survey", "depth"));
    }

    void the_vertical_scale_is_chosen_set_by_the_user_and_kept_with_the_project() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1010, 1020, 1030, 1040};
        layout.xlines = {2000, 2010, 2020, 2030};
        layout.samples = 26;
        layout.interval_us = 10000;  // 250 ms deep, 40 lines wide
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        const QString project = dir.filePath("scaled.kvd");
        QByteArray camera;
        {
            Window w;
            QVERIFY(korvex::testing::wait_until_drawn(w.window));
            QVERIFY(
                korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
            QCOMPARE(w.canvas().z_scale(), 1.0);
            click_check_box(*w.window.tree(), w.item("survey"));
            // Chosen on first display: the box half as tall as it is wide.
            QCOMPARE(w.canvas().z_scale(), 0.08);
            // The first thing shown is framed where it is, far from the origin.
            QVERIFY(std::abs(w.canvas().center()[0] - 1020) < 1e-6);
            QVERIFY(std::abs(w.canvas().center()[1] - 2015) < 1e-6);

            // View all fits the survey, not the axis at the origin, and looks from the top.
            click_viewer_button(w.window.viewer_area()->viewer(0), "View all");
            const auto centre = w.canvas().center();
            QVERIFY2(std::abs(centre[0] - 1020) < 1e-6 && std::abs(centre[1] - 2015) < 1e-6 &&
                         std::abs(centre[2] + 125 * 0.08) < 1e-6,
                     qPrintable(QString("%1 %2 %3").arg(centre[0]).arg(centre[1]).arg(centre[2])));
            QCOMPARE(w.canvas().elevation(), 90.0);

            // The user's own factor, from the View menu: the box and its labels follow, the
            // centre stays on the data.
            double offered = 0;
            answer_next_modal([&offered](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                offered = dialog->doubleValue();
                dialog->setDoubleValue(0.2);
                dialog->accept();
            });
            menu_action(w.window, "Vertical scale...")->trigger();
            QCOMPARE(offered, 0.08);
            QCOMPARE(w.canvas().z_scale(), 0.2);
            QVERIFY(std::abs(w.canvas().center()[2] + 125 * 0.2) < 1e-6);
            const auto& box_item =
                w.window.tree()->object_data().at("survey")->visuals_in_volume.at(
                    w.canvas().name());
            QCOMPARE(box_item.visuals().front()->bounds()[4], -250 * 0.2);
            camera = korvex::widgets::view_state_to_json(w.canvas().state());
            QVERIFY(w.window.save_project_as(project));
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(w.canvas().z_scale(), 0.2);
        QCOMPARE(korvex::widgets::view_state_to_json(w.canvas().state()), camera);
        QVERIFY(!w.window.has_unsaved_changes());
    }

    // View > Map grid lays a grid numbered in map X/Y over the survey in front; each viewer
    // has its own, and the menu's mark follows the viewer in front.
    void the_map_grid_is_numbered_in_map_units_per_viewer() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1001, 1002, 1003, 1004};
        layout.xlines = {2000, 2001, 2002, 2003};
        layout.cdp = [](int il, int xl) {  // 25 m bins, north-east of (612000, 6543000)
            return korvex::seismic::CdpCoordinates{(612000 + (il - 1000) * 25) * 100,
                                                   (6543000 + (xl - 2000) * 25) * 100, -100};
        };
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        Window w;
        QVERIFY(korvex::testing::wait_until_drawn(w.window));
        QVERIFY(korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
        click_check_box(*w.window.tree(), w.item("survey"));
        QAction* grid = menu_action(w.window, "Map grid");
        grid->trigger();
        const korvex::scene::MapGrid* shown = w.canvas().canvas().map_grid();
        QVERIFY(shown);
        QCOMPARE(shown->step(), 20.0);
        QCOMPARE(shown->numbers(),
                 QStringList({"612000", "612020", "612040", "612060", "612080", "612100", "6543000",
                              "6543020", "6543040", "6543060"}));

        menu_action(w.window, "New 3D viewer")->trigger();
        QVERIFY(!grid->isChecked());
        QVERIFY(!w.canvas(1).canvas().map_grid());
        w.window.viewer_area()->setCurrentIndex(0);
        QVERIFY(grid->isChecked());
        grid->trigger();
        QVERIFY(!w.canvas().canvas().map_grid());
    }

    void picks_are_kept_deleted_and_written_as_csv() {
        QTemporaryDir dir;
        Window w;
        korvex::app::PicksPanel& picks = *w.window.picks();
        korvex::widgets::PickedSample pick = korvex::testing::sample_pick("survey, migrated");
        const std::size_t unpicked = w.canvas().view().children().size();
        picks.add_pick(w.canvas(), pick);
        pick.iline = 1020;
        pick.position[0] = 1020;
        pick.map_x = 612345.5;
        pick.map_y = 6012345.25;
        picks.add_pick(w.canvas(), pick);
        QCOMPARE(picks.table()->model()->rowCount(), 2);
        // The viewer's picks are one point set: many picks stay one prop to draw and to remove.
        QCOMPARE(w.canvas().view().children().size(), unpicked + 1);
        QCOMPARE(picks.markers(w.canvas().name())->point_count(), std::size_t(2));
        QCOMPARE(picks.markers(w.canvas().name())->parent(), &w.canvas().view());
        // Each column is as wide as its title or its widest text and no wider, so that in a
        // dock of 560 pixels the map coordinates show whole.
        const QAbstractItemView& table = *picks.table();
        const QHeaderView& header = *picks.table()->horizontalHeader();
        for (int column = 0; column < table.model()->columnCount(); ++column) {
            QCOMPARE(header.sectionSize(column),
                     std::max(header.sectionSizeHint(column), table.sizeHintForColumn(column)));
        }
        auto* dock = w.window.findChild<QDockWidget*>("picks_dock");
        w.window.resizeDocks({dock}, {560}, Qt::Horizontal);
        QTRY_VERIFY(header.sectionViewportPosition(4) + header.sectionSize(4) <=
                    header.viewport()->width());

        const QString csv = dir.filePath("picks.csv");
        picks.export_csv(csv);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QString("inline,crossline,time_ms,map_x,map_y,amplitude,volume\n"
                         "1010,2020,48,,,-0.5,\"survey, migrated\"\n"
                         "1020,2020,48,612345.50,6012345.25,-0.5,\"survey, migrated\"\n"));
        QVERIFY_EXCEPTION_THROWN(picks.export_csv(dir.filePath("no/such/folder/picks.csv")),
                                 std::runtime_error);
        // A name typed without a suffix is written as CSV.
        answer_file_dialog(dir.filePath("bare"));
        QTest::mouseClick(picks.findChild<QPushButton*>("export_picks"), Qt::LeftButton);
        QVERIFY(QFile::exists(dir.filePath("bare.csv")));

        // Deleting a row takes its marker out of the scene; the last one, the point set.
        picks.table()->selectRow(0);
        QTest::mouseClick(picks.findChild<QPushButton*>("delete_picks"), Qt::LeftButton);
        QCOMPARE(picks.count(), 1);
        QCOMPARE(picks.pick(0).iline, 1020);
        QCOMPARE(picks.markers(w.canvas().name())->point_count(), std::size_t(1));
        QCOMPARE(picks.markers(w.canvas().name())->bounds()[0], 1020.0);
        picks.table()->selectRow(0);
        QTest::mouseClick(picks.findChild<QPushButton*>("delete_picks"), Qt::LeftButton);
        QVERIFY(!picks.markers(w.canvas().name()));
        QCOMPARE(w.canvas().view().children().size(), unpicked);
    }

    void picks_are_saved_with_the_project_and_come_back_in_their_viewers() {
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), {});
        const QString project = dir.filePath("picked.kvd");
        const korvex::widgets::PickedSample first = korvex::testing::sample_pick("survey");
        korvex::widgets::PickedSample second = first;
        second.iline = 1020;
        second.map_x = 612345.5;
        second.map_y = 6012345.25;
        second.position[0] = 1020;
        {
            Window w;
            korvex::app::PicksPanel& picks = *w.window.picks();
            answer_file_dialog(dir.filePath("survey.sgy"), accept_segy_dialog);
            QVERIFY(open_data_from_menu(w.window));
            menu_action(w.window, "New 3D viewer")->trigger();
            QVERIFY(w.window.save_project_as(project));
            QVERIFY(!w.window.has_unsaved_changes());

            // A pick is a change to save; deleted again, there is nothing left to save.
            emit w.canvas(1).sig_picked_sample(first);
            QCOMPARE(picks.count(), 1);
            QVERIFY(w.window.has_unsaved_changes());
            picks.table()->selectRow(0);
            QTest::mouseClick(picks.findChild<QPushButton*>("delete_picks"), Qt::LeftButton);
            QCOMPARE(picks.count(), 0);
            QVERIFY(!w.window.has_unsaved_changes());

            emit w.canvas(0).sig_picked_sample(first);
            emit w.canvas(1).sig_picked_sample(second);
            QVERIFY(w.window.has_unsaved_changes());
            menu_action(w.window, "Save")->trigger();
            QVERIFY(!w.window.has_unsaved_changes());
        }

        Window w;
        korvex::app::PicksPanel& picks = *w.window.picks();
        QVERIFY(korvex::testing::open_project(w.window, project));
        QVERIFY(w.window.restored_completely());
        QCOMPARE(picks.count(), 2);
        QVERIFY(picks.pick(0) == first);
        QVERIFY(picks.pick(1) == second);
        const QAbstractItemModel& rows = *picks.table()->model();
        QCOMPARE(rows.index(0, 3).data().toString(), QString());
        QCOMPARE(rows.index(1, 3).data().toString(), QString("612345.50"));
        QCOMPARE(picks.markers(w.canvas(0).name())->parent(), &w.canvas(0).view());
        QCOMPARE(picks.markers(w.canvas(1).name())->parent(), &w.canvas(1).view());
        QVERIFY(!w.window.has_unsaved_changes());

        // With the viewer of a pick closed, the pick is kept, its marker at once in the
        // first viewer, where it also comes back.
        w.window.viewer_area()->close_viewer(1);
        QCOMPARE(picks.markers(w.canvas(0).name())->point_count(), std::size_t(2));
        QCOMPARE(picks.viewer_name(1), w.canvas(0).name());
        QVERIFY(w.window.save_project());
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(picks.count(), 2);
        QCOMPARE(picks.markers(w.canvas(0).name())->point_count(), std::size_t(2));
        QVERIFY(picks.pick(1) == second);

        // A new project starts without the picks of the one before.
        QVERIFY(w.window.create_new_project(dir.filePath("fresh.kvd")));
        QCOMPARE(picks.count(), 0);
        QCOMPARE(picks.table()->model()->rowCount(), 0);
        QVERIFY(!w.window.has_unsaved_changes());
    }

    void a_bad_project_file_is_reported_and_the_session_kept() {
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), {});
        const QString bad = dir.filePath("bad.kvd");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(300, '\x7f'));
        file.close();

        Window w;
        answer_file_dialog(dir.filePath("survey.sgy"), accept_segy_dialog);
        QVERIFY(open_data_from_menu(w.window));

        // The session has unsaved changes: the window asks first, and is told to go on;
        // then the file is chosen, and the box that says what is wrong is read.
        QString message;
        answer_next_modal([&](QWidget* modal) {
            answer_file_dialog(bad, [&message] { read_message_box(message); });
            QTest::mouseClick(static_cast<QMessageBox*>(modal)->button(QMessageBox::Discard),
                              Qt::LeftButton);
        });
        menu_action(w.window, "Open project...")->trigger();
        QTRY_VERIFY(!message.isEmpty());
        QCOMPARE(message, QString("Cannot open %1: it is not a korvex project").arg(bad));
        QVERIFY(w.window.tree()->is_checked("survey"));
        QVERIFY(is_shown(w.canvas().dpState(), "survey", "object", "self"));
    }

    void the_open_dialog_lists_every_kind_and_starts_where_data_was_last_taken() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("surveys"));
        const QString surveys = dir.filePath("surveys");
        korvex::testing::write_volume(surveys + "/survey.sgy", {});
        QStringList filters;
        QString folder;
        const auto look_and_cancel = [&] {
            answer_next_modal([&](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY2(dialog, "the file dialog did not open");
                filters = dialog->nameFilters();
                folder = dialog->directory().absolutePath();
                dialog->reject();
            });
        };
        {
            Window w;
            answer_file_dialog(surveys + "/survey.sgy", accept_segy_dialog);
            QVERIFY(open_data_from_menu(w.window));
            look_and_cancel();
            QVERIFY(open_data_from_menu(w.window));
            QCOMPARE(folder, surveys);
            QCOMPARE(filters.front(), QString("All data files (*.sgy *.segy *.csv *.txt *.xyz "
                                              "*.pts *.dat)"));
            QVERIFY(filters.contains("Point sets (*.csv *.txt *.xyz *.pts *.dat)"));
            QCOMPARE(filters.back(), QString("All files (*)"));
        }
        folder.clear();
        Window next_run;
        look_and_cancel();
        QVERIFY(open_data_from_menu(next_run.window));
        QCOMPARE(folder, surveys);
    }

    // Cancelling the header bytes' dialog is the user's choice: said, not reported as an error.
    void cancelling_the_segy_dialog_is_no_error() {
        QTemporaryDir dir;
        const QString path = dir.filePath("survey.sgy");
        korvex::testing::write_volume(path, {});
        Window w;
        korvex::testing::LogCapture log;
        answer_file_dialog(path, [] {
            answer_next_modal([](QWidget* modal) {
                auto* dialog = qobject_cast<korvex::app::data::SegyOpenDialog*>(modal);
                QVERIFY2(dialog, "the SEG-Y dialog did not open");
                dialog->reject();
            });
        });
        QVERIFY(open_data_from_menu(w.window));
        QVERIFY2(log.contains("info", QString("Opening %1 cancelled").arg(path)),
                 qPrintable(log.texts().join("\n")));
        for (const auto& line : log.lines()) QVERIFY2(line.level != "error", qPrintable(line.text));
        QVERIFY(w.window.model()->objects().empty());
    }

    void a_volume_opened_from_the_menu_is_shown_and_its_tick_moves_its_sections() {
        QTemporaryDir dir;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), {});
        Window w;
        answer_file_dialog(dir.filePath("survey.sgy"), accept_segy_dialog);
        QVERIFY(open_data_from_menu(w.window));
        auto& tree = *w.window.tree();
        const auto visuals = [&w] { return int(w.canvas().canvas().visuals().size()); };
        const auto all_ticked = [&] {
            bool ticked = tree.is_checked("survey");
            for (const char* section : {"iline", "xline", "depth"})
                ticked = ticked && tree.is_section_checked("survey", section);
            return ticked;
        };
        QVERIFY(all_ticked());
        QCOMPARE(visuals(), 4);
        QCOMPARE(w.window.recent_files()->files().front(), dir.filePath("survey.sgy"));

        click_check_box(tree, w.item("survey"));
        QCOMPARE(visuals(), 0);
        QVERIFY(!is_shown(w.canvas().dpState(), "survey", "sections", "depth"));
        QVERIFY(!tree.is_section_checked("survey", "depth"));
        click_check_box(tree, w.item("survey"));
        QCOMPARE(visuals(), 4);

        // After "Hide all" the object's tick brings its sections back.
        click_viewer_button(w.window.viewer_area()->viewer(0), "Hide all");
        QCOMPARE(visuals(), 0);
        click_check_box(tree, w.item("survey"));
        QCOMPARE(visuals(), 4);
        QVERIFY(all_ticked());

        // A double click opens the appearance page and leaves the item as it was.
        QVERIFY(w.item("survey")->isExpanded());
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {},
                           tree.visualItemRect(w.item("survey")).center());
        korvex::app::data::AppearanceDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = w.window.findChild<korvex::app::data::AppearanceDialog*>()));
        QVERIFY(w.item("survey")->isExpanded());

        // Enter in the clip box applies the typed clip, not the statistics' one.
        auto* clip = dialog->findChild<QDoubleSpinBox*>();
        clip->setFocus();
        clip->selectAll();
        QTest::keyClicks(clip, "3.5");
        QTest::keyClick(clip, Qt::Key_Return);
        const auto* volume =
            dynamic_cast<korvex::app::data::SeismicVolume*>(tree.object_data().at("survey"));
        QCOMPARE(volume->clip(), 3.5);
        QCOMPARE(clip->value(), 3.5);
    }

    void a_failed_action_is_told_in_the_status_bar_and_in_a_box() {
        QTemporaryDir dir;
        const QString bad = dir.filePath("tops.csv");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("x,y,z\nnorth,east,deep\n");
        file.close();
        Window w;
        QString told;
        answer_file_dialog(bad, [&told] { read_message_box(told); });
        QVERIFY(open_data_from_menu(w.window));
        QTRY_VERIFY(!told.isEmpty());
        QVERIFY2(told.startsWith("Cannot load " + bad + ": "), qPrintable(told));
        QCOMPARE(w.window.statusBar()->currentMessage(), told);
        QVERIFY(w.window.model()->objects().empty());

        // The picture export fails where it cannot write, with the reason.
        told.clear();
        const QString nowhere = dir.filePath("missing/folder/view.png");
        read_message_box(told);
        w.canvas().export_canvas();
        auto* export_dialog = w.window.findChild<korvex::widgets::CanvasExportDialog*>();
        QVERIFY(export_dialog);
        export_dialog->findChild<QLineEdit*>()->setText(nowhere);
        for (QAbstractButton* button : export_dialog->findChild<QDialogButtonBox*>()->buttons()) {
            if (button->text() == "Export") QTest::mouseClick(button, Qt::LeftButton);
        }
        QTRY_VERIFY(!told.isEmpty());
        QVERIFY2(told.contains("Picture not saved"), qPrintable(told));
        QVERIFY(w.window.statusBar()->currentMessage().contains("Picture not saved"));
    }

    void restrictive_view_springs_back_and_says_so_in_the_status_bar() {
        Window w;
        QVERIFY(korvex::testing::wait_until_drawn(w.window));
        click_viewer_button(w.window.viewer_area()->viewer(0), "Restrictive view");
        QTRY_COMPARE(w.window.statusBar()->currentMessage(),
                     QString("Restrictive view is not implemented"));
    }

    void the_journal_finds_what_its_note_promises() {
        Window w;
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QTextBrowser* log = w.window.findChild<QTextBrowser*>();
        for (const char* line : {"zanzibar first", "hay", "zanzibar second"})
            korvex::utils::logger().info(line);
        QTRY_VERIFY(log->toPlainText().contains("zanzibar second"));
        const QTextCursor first = log->document()->find("zanzibar");
        const QTextCursor second = log->document()->find("zanzibar", first);
        QVERIFY(second.position() > first.position());

        // A double-clicked word, then Ctrl+F: its next place; F3: the next again, round.
        log->setTextCursor(first);
        log->setFocus();
        QTest::keyClick(&w.window, Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(log->textCursor().position(), second.position());
        QTest::keyClick(&w.window, Qt::Key_F3);
        QTRY_COMPARE(log->textCursor().position(), first.position());
        QCOMPARE(log->textCursor().selectedText(), QString("zanzibar"));
    }

    void keys_are_told_in_tooltips_and_in_the_help() {
        Window w;
        QAbstractButton* pick = w.window.viewer_area()->active_viewer()->pick_btn();
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), pick->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(pick, &tip);
        QTRY_COMPARE(QToolTip::text(), QString("Pick mode (P)"));
        QCOMPARE(pick->toolTip(), QString("Pick mode"));

        QVERIFY(menu_action(w.window, "About korvex"));
        QVERIFY(menu_action(w.window, "Keyboard shortcuts"));
        const korvex::app::ShortcutsDialog help(&w.window);
        QStringList rows;
        for (int row = 0; row < help.table()->rowCount(); ++row)
            rows << help.table()->item(row, 0)->text() + " " + help.table()->item(row, 1)->text();
        for (const char* row :
             {"Ctrl+S Save", "P Pick mode", "Ctrl+L Hide all", "Ctrl+L Clear text",
              "Ctrl+F Find the selected word in the run journal"})
            QVERIFY2(rows.contains(row), qPrintable(row + QString(" not in\n") + rows.join('\n')));
        QVERIFY(!rows.contains("Ctrl+S View from south"));
    }

    // The guide covers the first steps, and every key it names is one the window has.
    void the_help_menu_opens_a_user_guide_whose_keys_work() {
        Window w;
        QString guide;
        answer_next_modal([&guide](QWidget* modal) {
            if (auto* dialog = qobject_cast<korvex::app::UserGuideDialog*>(modal))
                guide = dialog->text()->toPlainText();
            modal->close();
        });
        QAction* open_guide = menu_action(w.window, "User guide");
        QVERIFY(open_guide);
        open_guide->trigger();
        for (const char* topic : {"Opening data", "The views", "Picking", "Keys"})
            QVERIFY2(guide.contains(topic), qPrintable(guide));

        const korvex::app::ShortcutsDialog help(&w.window);
        QStringList keys;
        for (int row = 0; row < help.table()->rowCount(); ++row)
            keys << help.table()->item(row, 0)->text();
        const QRegularExpression named(R"(\(((?:Ctrl\+)?\w+)\))");
        int checked = 0;
        for (auto it = named.globalMatch(guide); it.hasNext(); ++checked) {
            const QString key = it.next().captured(1);
            QVERIFY2(keys.contains(key), qPrintable(key + " is no key of the window"));
        }
        QVERIFY(checked >= 5);
    }

    // Well tops in UTM land on the survey through its CDP coordinates, and stay there.
    void map_points_land_at_their_inline_and_crossline() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1002, 1004, 1006, 1008};
        layout.xlines = {2000, 2001, 2002, 2003};
        layout.samples = 26;
        // A grid turned 30 degrees: inlines 25 m apart, crosslines 12.5 m; centimetres.
        const auto map_of = [](double il, double xl) {
            const double a = M_PI / 6.0, u = (il - 1000) * 25.0, v = (xl - 2000) * 12.5;
            return std::array<double, 2>{612345.5 + u * std::cos(a) - v * std::sin(a),
                                         6543210.25 + u * std::sin(a) + v * std::cos(a)};
        };
        layout.cdp = [map_of](int il, int xl) {
            const auto p = map_of(il, xl);
            return korvex::seismic::CdpCoordinates{int(std::lround(p[0] * 100)),
                                                   int(std::lround(p[1] * 100)), -100};
        };
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        const auto tops = map_of(1005, 2002.5);
        QFile csv(dir.filePath("tops.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(QStringLiteral("X,Y,Z\n%1,%2,120\n")
                      .arg(tops[0], 0, 'f', 2)
                      .arg(tops[1], 0, 'f', 2)
                      .toUtf8());
        csv.close();
        const QString project = dir.filePath("wells.kvd");
        {
            Window w;
            QVERIFY(
                korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
            const auto* volume = dynamic_cast<korvex::app::data::SeismicVolume*>(
                w.window.tree()->object_data().at("survey"));
            const QVariantMap shown = volume->prop();
            QCOMPARE(shown.value("Inline spacing").toString(), QString("50.00 m"));
            QCOMPARE(shown.value("Crossline spacing").toString(), QString("12.50 m"));
            QCOMPARE(shown.value("Corner IL 1000 XL 2000").toString(),
                     QString("612345.50, 6543210.25"));
            QVERIFY(shown.value("Map transform residual").toString().startsWith("0"));
            // Read as a formula: x grows along the inlines and falls along the crosslines.
            const QString map_x = shown.value("Map X").toString();
            QVERIFY2(map_x.startsWith("6031") && map_x.contains(" + 21.65") &&
                         map_x.contains(QString(" IL %1 6.25").arg(QChar(0x2212))),
                     qPrintable(map_x));

            // Values far from the line numbers, near the survey once mapped: map X/Y,
            // without a question (a box here would block the test).
            QVERIFY(korvex::testing::load_data(w.window, csv.fileName()));
            const auto* points = dynamic_cast<korvex::app::data::PointSet*>(
                w.window.tree()->object_data().at("tops"));
            QCOMPARE(points->columns(), korvex::app::data::PointSet::Columns::map);
            // Drawn on the map about the survey's centre, the scene's origin.
            const auto centre = volume->geometry().centre();
            const auto at = points->position(0);
            QVERIFY2(std::abs(at[0] + centre[0] - tops[0]) < 0.01 &&
                         std::abs(at[1] + centre[1] - tops[1]) < 0.01 && at[2] == -120,
                     qPrintable(QString("%1 %2 %3").arg(at[0]).arg(at[1]).arg(at[2])));
            QVERIFY(w.window.save_project_as(project));
        }
        {
            // The project brings them back in map coordinates, asking nothing.
            Window w;
            QVERIFY(korvex::testing::open_project(w.window, project));
            const auto* points = dynamic_cast<korvex::app::data::PointSet*>(
                w.window.tree()->object_data().at("tops"));
            QVERIFY(points);
            QCOMPARE(points->columns(), korvex::app::data::PointSet::Columns::map);
            const auto* volume = dynamic_cast<korvex::app::data::SeismicVolume*>(
                w.window.tree()->object_data().at("survey"));
            QVERIFY(std::abs(points->position(0)[0] + volume->geometry().centre()[0] - tops[0]) <
                    0.01);
        }
        // Without a survey, map points have nowhere to go: the file is refused, saying why.
        Window alone;
        korvex::testing::LogCapture log;
        QVERIFY(!korvex::testing::load_data(alone.window, csv.fileName(), {{"columns", "map"}}));
        QVERIFY(log.texts().join('\n').contains("open a survey"));
    }

    // A survey whose textual header names its system proposes it, in the log and on the
    // project's page, and only the user's OK sets it.
    void a_survey_proposes_the_system_its_header_names() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.text = QStringList{"C 1 CLIENT: NORTH SEA", "C 5 PROJECTION ED50 / UTM zone 31N"};
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        Window w;
        korvex::testing::LogCapture log;
        QVERIFY(korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
        QVERIFY(log.contains("info",
                             "The textual header of survey names the coordinate reference system "
                             "EPSG:23031 (ED50 / UTM zone 31N): File > Coordinate reference "
                             "system... sets it for the project"));
        const QString set = "The project's coordinate reference system is EPSG:23031";
        QVERIFY(log.texts().filter(set).isEmpty());
        QString offered;
        answer_next_modal([&offered](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            QVERIFY2(dialog, "the coordinate reference system page did not open");
            QVERIFY(dialog->labelText().endsWith(
                "Proposed from the textual header of survey: ED50 / UTM zone 31N"));
            offered = dialog->textValue();
            dialog->accept();
        });
        menu_action(w.window, "Coordinate reference system...")->trigger();
        QCOMPARE(offered, QString("EPSG:23031"));
        QCOMPARE(log.texts().filter(set).size(), 1);
    }

    // Map points opened into a project with a system are asked theirs, and moved into the
    // project's (reference values from PROJ's cs2cs, EPSG:23031 to EPSG:32631).
    void opening_map_points_asks_their_system() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1001, 1002, 1003};
        layout.xlines = {2000, 2001, 2002};
        layout.cdp = [](int il, int xl) {
            return korvex::seismic::CdpCoordinates{498500 + (il - 1000) * 500,
                                                   5998500 + (xl - 2000) * 1000, 1};
        };
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        QFile csv(dir.filePath("ed50.csv"));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("X,Y,Z\n500000,6000000,10\n");
        csv.close();
        Window w;
        QVERIFY(korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
        const auto answer_crs = [](const QString& crs) {
            answer_next_modal([crs](QWidget* modal) {
                auto* dialog = qobject_cast<QInputDialog*>(modal);
                QVERIFY2(dialog, "no question for the coordinate reference system");
                dialog->setTextValue(crs);
                dialog->accept();
            });
        };
        answer_crs("EPSG:32631");
        menu_action(w.window, "Coordinate reference system...")->trigger();
        answer_file_dialog(csv.fileName(), [&] { answer_crs("EPSG:23031"); });
        QVERIFY(open_data_from_menu(w.window));
        const auto* points =
            dynamic_cast<korvex::app::data::PointSet*>(w.window.tree()->object_data().at("ed50"));
        QVERIFY(points);
        QCOMPARE(points->settings()["crs"].toString(), QString("EPSG:23031"));
        QVERIFY(std::abs(points->table().column(0)[0] - 499908.722) < 0.01);
        QVERIFY(std::abs(points->table().column(1)[0] - 5999788.529) < 0.01);
    }

    // The status bar tells the map X/Y under the mouse and, with the project's system, the
    // latitude and longitude there (reference from PROJ's cs2cs: 500000, 6000000 in
    // EPSG:32631 is 3 E, 54.1481041 N); over nothing drawn, it tells nothing.
    void the_status_bar_tells_the_place_under_the_mouse() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1001, 1002};
        layout.xlines = {2000, 2001, 2002};
        layout.cdp = [](int il, int xl) {
            return korvex::seismic::CdpCoordinates{499250 + (il - 1000) * 500,
                                                   5999250 + (xl - 2000) * 1000, 1};
        };
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        Window w;
        answer_next_modal([](QWidget* modal) {
            auto* dialog = qobject_cast<QInputDialog*>(modal);
            QVERIFY2(dialog, "the coordinate reference system page did not open");
            dialog->setTextValue("EPSG:32631");
            dialog->accept();
        });
        menu_action(w.window, "Coordinate reference system...")->trigger();
        QVERIFY(korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
        auto* volume = dynamic_cast<korvex::app::data::SeismicVolume*>(
            w.window.tree()->object_data().at("survey"));
        CanvasWidget& canvas = w.canvas();
        canvas.add_cube_section(*volume, "depth");
        QTRY_VERIFY(volume->sections_drawn());
        canvas.set_view_orthogonal();
        canvas.set_view_top();
        const auto centre = volume->geometry().centre();
        canvas.set_center({500000 - centre[0], 6000000 - centre[1], 0.0});
        canvas.set_scale_factor(40);
        // The mouse meets a viewer that has drawn, at its size, from this camera.
        QVERIFY(korvex::testing::wait_until_drawn(w.window));
        canvas.canvas().render();
        QWidget* native = canvas.canvas().native();
        auto* readout = w.window.statusBar()->findChild<QLabel*>("cursor_readout");
        QVERIFY(readout);
        // Moves sent to the viewer itself: the window system's pointer, moved for real, can
        // enter and leave the window on its own time on a loaded display.
        const auto move_to = [native](const QPoint& at) {
            QMouseEvent move(QEvent::MouseMove, at, native->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(native, &move);
        };
        const QRegularExpression place(
            QString("(?:^|  )X (\\S+), Y (\\S+)  (\\S+)%1 N, (\\S+)%1 E$").arg(QChar(0x00B0)));
        const std::array<double, 4> expected{500000, 6000000, 54.1481041, 3.0};
        const std::array<double, 4> within{0.5, 0.5, 1e-5, 1e-5};
        const auto tells_the_centre = [&] {
            const auto told = place.match(readout->text());
            for (int i = 0; i < 4; ++i)
                if (!told.hasMatch() ||
                    !(std::abs(told.captured(i + 1).toDouble() - expected[i]) < within[i]))
                    return false;
            return true;
        };
        // Again while waiting: a move of the display's own pointer may come between.
        QTRY_VERIFY2((move_to(native->rect().center()), tells_the_centre()),
                     qPrintable(readout->text()));
        // Beyond the survey's east edge.
        canvas.set_center({501000 - centre[0], 6000000 - centre[1], 0.0});
        move_to(native->rect().center() + QPoint(1, 0));
        QTRY_COMPARE(readout->text(), QString());
    }

    // A project from before the scene was the map: its camera looked at line numbers and its
    // pick markers lay there. Its objects and picks open, the picks on their samples, and
    // its view is reset to View all, said once in the log.
    void a_project_saved_before_the_map_opens_at_view_all() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1001, 1002, 1003};
        layout.xlines = {2000, 2001, 2002};
        layout.cdp = [](int il, int xl) {
            return korvex::seismic::CdpCoordinates{612345 + (il - 1000) * 25,
                                                   6543210 + (xl - 2000) * 25, 1};
        };
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        const QString project = dir.filePath("old.kvd");
        QByteArray old_camera;
        {
            Window w;
            QVERIFY(
                korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
            click_check_box(*w.window.tree(), w.item("survey"));
            w.canvas().set_center({1002, 2001, 0});
            w.canvas().set_scale_factor(5);
            old_camera = korvex::widgets::view_state_to_json(w.canvas().state());
            QVERIFY(w.window.save_project_as(project));
            korvex::testing::run_sql(project, "DELETE FROM project WHERE key = 'scene'");
            korvex::testing::run_sql(
                project, QString("INSERT INTO picks VALUES (0, '%1', 'survey', 1002, 2001, 8, "
                                 "NULL, NULL, 0.5, 1002, 2001, -8)")
                             .arg(w.canvas().name()));
        }
        Window w;
        korvex::testing::LogCapture log;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QVERIFY(w.window.restored_completely());
        const auto* volume = dynamic_cast<korvex::app::data::SeismicVolume*>(
            w.window.tree()->object_data().at("survey"));
        QVERIFY(volume);
        QCOMPARE(w.window.picks()->count(), 1);
        QCOMPARE(w.window.picks()->pick(0).position,
                 volume->placement().to_scene({1002, 2001, -8}));
        const QByteArray opened = korvex::widgets::view_state_to_json(w.canvas().state());
        QVERIFY(opened != old_camera);
        w.canvas().set_view_all();
        QCOMPARE(korvex::widgets::view_state_to_json(w.canvas().state()), opened);
        QCOMPARE(log.texts().filter("View all").size(), 1);
        QVERIFY(log.contains("info", project + " was saved before objects lay on the map: its "
                                               "views are reset to View all"));
        // Saved again, it is a project of the map: opened, its camera stays.
        w.canvas().set_scale_factor(5);
        const QByteArray moved = korvex::widgets::view_state_to_json(w.canvas().state());
        QVERIFY(w.window.save_project());
        QVERIFY(korvex::testing::open_project(w.window, project));
        QCOMPARE(korvex::widgets::view_state_to_json(w.canvas().state()), moved);
        QCOMPARE(log.texts().filter("View all").size(), 1);
    }

    // A dialog takes the keyboard from the window, which repaints the viewer: what shows
    // around the dialog must still be the viewer's last picture, not one drawn while the
    // project's sections were arriving. The project is opened as the command line does,
    // into a window not yet drawn, so that its first viewer is replaced.
    void a_dialog_over_the_viewer_leaves_the_picture_around_it_as_it_was() {
        QTemporaryDir dir;
        korvex::testing::VolumeLayout layout;
        layout.ilines = {1000, 1010, 1020, 1030, 1040, 1050};
        layout.xlines = {2000, 2010, 2020, 2030, 2040};
        layout.samples = 30;
        korvex::testing::write_volume(dir.filePath("survey.sgy"), layout);
        const QString project = dir.filePath("shown.kvd");
        {
            Window w;
            QVERIFY(
                korvex::testing::load_data(w.window, dir.filePath("survey.sgy"),
                                           korvex::app::data::SeismicVolume::header_settings({})));
            click_check_box(*w.window.tree(), w.item("survey"));
            QVERIFY(w.window.save_project_as(project));
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, project));
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        const auto* volume = dynamic_cast<korvex::app::data::SeismicVolume*>(
            w.window.tree()->object_data().at("survey"));
        QTRY_VERIFY(!volume->sections_pending() && volume->sections_drawn());
        // Drawn now and handed to the window now: a frame still queued would come later.
        w.canvas().canvas().render();
        auto* view = w.window.viewer_area()->viewer(0)->findChild<QOpenGLWidget*>();
        view->repaint();
        // Qt may compose the window over several turns rather than within the repaint: the
        // picture to compare with is one that two grabs in a row agree on, with the
        // sections in it (the axes' lines alone would pass a look at one pixel).
        QImage before;
        const auto settled_with_sections = [&] {
            const QImage now = on_screen(*view);
            const bool settled = now == before;
            before = now;
            return settled && coloured_pixels(now) > now.width() * now.height() / 20;
        };
        QTRY_VERIFY2(settled_with_sections(), "the sections are not drawn, or not still");

        QImage during;
        QRect dialog_area;
        bool exposed = false;
        answer_next_modal([&](QWidget* modal) {
            exposed = QTest::qWaitForWindowExposed(modal);
            // What the loss of the keyboard does, at once rather than at some later event.
            view->repaint();
            during = on_screen(*view);
            dialog_area = QRect(view->mapFromGlobal(modal->frameGeometry().topLeft()),
                                modal->frameGeometry().size());
            static_cast<QDialog*>(modal)->accept();
        });
        click_viewer_button(w.window.viewer_area()->viewer(0), "Help");
        QVERIFY(exposed && !during.isNull());
        QVERIFY(view->rect().intersects(dialog_area));
        const int changed = differing_pixels_outside(before, during, dialog_area);
        if (changed > 0) {
            before.save(dir.filePath("before.png"));
            during.save(dir.filePath("during.png"));
            dir.setAutoRemove(false);
        }
        QVERIFY2(changed == 0, qPrintable(QString("%1 pixels changed around the dialog; see %2")
                                              .arg(changed)
                                              .arg(dir.path())));
    }

    void a_plug_in_that_fails_does_not_stop_the_application() {
        korvex::testing::LogCapture log;
        MainWindow window({QStringLiteral(KORVEX_TEST_PLUGIN_DIR "/failing_plugin"), {}, false});
        window.setup();
        window.show();
        QCOMPARE(window.menu_toggle()->cb_mode()->count(), 1);
        bool logged = false;
        for (const auto& line : log.lines())
            logged = logged || (line.level == "error" && line.text.contains("failing"));
        QVERIFY2(logged, qPrintable(log.texts().join('\n')));
    }
};

KORVEX_RENDER_TEST_MAIN(EndToEndTest)
#include "tst_end_to_end.moc"

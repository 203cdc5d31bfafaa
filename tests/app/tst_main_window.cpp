#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QOpenGLWidget>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/data_opener.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/recent_files.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "tests/app/open_and_wait.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using korvex::app::DataOpener;
using korvex::app::MainWindow;
using korvex::app::ProjectDatabase;
using korvex::app::data::SeismicVolume;
using korvex::testing::answer_next_modal;
using korvex::testing::LogCapture;
using korvex::testing::SyntheticObject;

namespace {

// Answers the next modal message box with `button`, and records its text, with " Save"
// when it offers to save.
void answer_next_box(QMessageBox::StandardButton button, QStringList* seen = nullptr) {
    answer_next_modal([=](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            modal->close();
            QFAIL("the modal dialog is not a message box");
        }
        if (seen) *seen << box->text() + (box->button(QMessageBox::Save) ? " Save" : "");
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

QByteArray read_all(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Records each dialog shown while it lives, and rejects it: code that must never ask
// then fails its test instead of waiting for an answer.
class DialogRefusal final : public QObject {
public:
    DialogRefusal() { qApp->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && event->type() == QEvent::Show) {
            shown << dialog->metaObject()->className();
            QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

struct Window {
    Window() {
        window.data_object_factory().register_type(
            {SyntheticObject::TYPE, "Synthetic objects", {"syn"}, &SyntheticObject::load});
        window.setup();
        window.show();
        window.post_visible_setup();
    }
    MainWindow window;
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The settings of the test, never the user's.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init() {
        QVERIFY(dir_.isValid());
        QSettings().clear();
    }

    void the_window_remembers_its_layout_and_recent_files() {
        const QString project = dir_.filePath("recent.kvd");
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            w.window.resize(900, 640);
            w.window.findChild<QDockWidget*>("data_tree_dock")->hide();
            w.window.recent_files()->add(project);
            w.window.close();
            QVERIFY(!w.window.isVisible());
        }
        Window w;
        QTRY_COMPARE(w.window.size(), QSize(900, 640));
        QVERIFY(w.window.findChild<QDockWidget*>("data_tree_dock")->isHidden());

        // File > Open recent opens the project again.
        QMenu* recent = nullptr;
        for (QMenu* menu : w.window.findChildren<QMenu*>()) {
            if (menu->title() == "Open recent") recent = menu;
        }
        QVERIFY(recent);
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().front()->text(), QString("recent.kvd"));
        recent->actions().front()->trigger();
        QCOMPARE(w.window.project_path(), project);

        QSettings().clear();
        QVERIFY(w.window.open_project(project));  // as the command line opens it
        QCOMPARE(w.window.recent_files()->files(), QStringList{project});
    }

    // A message too long for the room the read-out of the mouse leaves it is cut short
    // beside the read-out, not drawn on into it, and given whole as a tooltip.
    void a_long_message_stays_clear_of_the_cursor_readout() {
        Window w;
        korvex::app::CursorPlace place;
        place.survey = "survey";
        place.iline = 210;
        place.xline = 6;
        place.map = std::array{612345.5, 6543210.25};
        w.window.linked_cursor()->move_to(place);
        const QString told = "survey: amplitude at " + QString("inline 210, ").repeated(40);
        korvex::utils::logger().info(told);
        const QStatusBar& bar = *w.window.statusBar();
        const auto* readout = bar.findChild<QLabel*>("cursor_readout");
        const auto* message = bar.findChild<QLabel*>("status_message");
        QVERIFY(message);
        QTRY_VERIFY(!readout->text().isEmpty() &&
                    message->geometry().right() < readout->geometry().left());
        QVERIFY(message->text().startsWith("survey: amplitude") &&
                message->text().endsWith(QChar(0x2026)));
        QVERIFY(message->fontMetrics().horizontalAdvance(message->text()) <=
                message->contentsRect().width());
        QCOMPARE(message->toolTip(), told);
    }

    void the_window_feeds_its_journal_until_it_is_gone() {
        const std::size_t listeners = korvex::utils::logger().sink_count();
        {
            Window w;
            QVERIFY(korvex::utils::logger().sink_count() > listeners);
        }
        QCOMPARE(korvex::utils::logger().sink_count(), listeners);
    }

    void the_quit_button_asks_every_time_and_offers_save_for_unsaved_work() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QStringList offered;
        answer_next_box(QMessageBox::Cancel, &offered);
        QTest::mouseClick(w.window.btn_quit, Qt::LeftButton);
        QVERIFY(w.window.isVisible());

        QVERIFY(w.window.create_new_project(dir_.filePath("q.kvd")));
        QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
        answer_next_box(QMessageBox::Cancel, &offered);
        QTest::mouseClick(w.window.btn_quit, Qt::LeftButton);
        QVERIFY(w.window.isVisible());
        // Save saves, then quits.
        answer_next_box(QMessageBox::Save, &offered);
        QTest::mouseClick(w.window.btn_quit, Qt::LeftButton);
        QVERIFY(!w.window.isVisible());
        QCOMPARE(offered, (QStringList{"Quit?", "Quit? Save", "Quit? Save"}));
        QCOMPARE(int(ProjectDatabase(dir_.filePath("q.kvd")).load().objects.size()), 1);
    }

    void yes_quits_without_saving_once_the_box_is_in_front() {
        Window w;
        QVERIFY(QTest::qWaitForWindowExposed(&w.window));
        QVERIFY(w.window.create_new_project(dir_.filePath("y.kvd")));
        QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
        // Scripted runs answer the box once it is the application's active window.
        bool in_front = false;
        answer_next_modal([&in_front](QWidget* modal) {
            in_front =
                QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; }, 20000);
            QTest::mouseClick(qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Yes),
                              Qt::LeftButton);
        });
        QTest::mouseClick(w.window.btn_quit, Qt::LeftButton);
        QVERIFY2(in_front, "the confirmation never became the active window");
        QVERIFY(!w.window.isVisible());
        QVERIFY(ProjectDatabase(dir_.filePath("y.kvd")).load().objects.empty());
    }

    void ctrl_s_saves_the_project_even_from_inside_a_viewer() {
        Window w;
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QVERIFY(w.window.create_new_project(dir_.filePath("s.kvd")));
        QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
        QWidget* viewer = w.window.viewer_area()->active_viewer();
        viewer->setFocus();
        QTest::keyClick(viewer, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!w.window.has_unsaved_changes());
        QCOMPARE(int(ProjectDatabase(dir_.filePath("s.kvd")).load().objects.size()), 1);
        // The south view gave its key up to Save; the other presets keep theirs.
        QList<QKeySequence> keys;
        for (const QShortcut* shortcut : viewer->findChildren<QShortcut*>())
            keys << shortcut->key();
        QVERIFY(!keys.contains(QKeySequence::Save));
        QVERIFY(keys.contains(QKeySequence("Ctrl+N")));
    }

    void closing_with_unsaved_changes_asks_to_save_them() {
        Window w;
        // A fresh window has nothing to lose.
        QVERIFY(!w.window.has_unsaved_changes());
        QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
        QVERIFY(w.window.has_unsaved_changes());

        answer_next_box(QMessageBox::Cancel);
        w.window.close();
        QVERIFY(w.window.isVisible());

        answer_next_box(QMessageBox::Discard);
        w.window.close();
        QVERIFY(!w.window.isVisible());
    }

    // The volumes of a project open on workers: the restore returns at once, an event posted
    // meanwhile is served by the main loop rather than inside an open, and the objects come
    // in the saved order, a missing file told once.
    void a_project_restores_its_volumes_in_order_without_waiting() {
        const QString project = dir_.filePath("volumes.kvd");
        const QStringList names{"first", "gone", "last"};
        {
            Window w;
            QVERIFY(w.window.create_new_project(project));
            for (const QString& name : names) {
                korvex::testing::write_volume(dir_.filePath(name + ".sgy"), {});
                QVERIFY(korvex::testing::load_data(w.window, dir_.filePath(name + ".sgy"),
                                                   SeismicVolume::header_settings({})));
            }
            QVERIFY(w.window.save_project());
        }
        QFile::remove(dir_.filePath("gone.sgy"));
        Window w;
        LogCapture log;
        bool opening = true;
        bool served_inside = false;
        bool restored = false;
        QTimer::singleShot(0, &w.window, [&] { served_inside = opening; });
        QVERIFY(w.window.open_project(project, [&] { restored = true; }));
        opening = false;
        QVERIFY(!restored);
        QTRY_VERIFY_WITH_TIMEOUT(restored, 60000);
        QVERIFY(!served_inside);
        QStringList order;
        for (const auto* dob : w.window.model()->objects()) order << dob->name();
        QCOMPARE(order, names);
        QVERIFY(dynamic_cast<korvex::app::MissingDataObject*>(w.window.model()->objects()[1]));
        QCOMPARE(log.texts().filter("is missing from the project").size(), 1);
    }

    void a_project_comes_back_as_it_was_saved() {
        const QString path = dir_.filePath("p.kvd");
        {
            Window w;
            QVERIFY(w.window.create_new_project(dir_.filePath("p")));
            QCOMPARE(w.window.project_path(), path);
            QCOMPARE(w.window.workdir(), dir_.path());
            QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
            QVERIFY(korvex::testing::load_data(w.window, data_file("wells", false)));
            QVERIFY(w.window.has_unsaved_changes());
            QVERIFY(w.window.save_project());
            QVERIFY(!w.window.has_unsaved_changes());
        }
        QFile::remove(dir_.filePath("wells.syn"));
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, path));
        const auto objects = w.window.model()->objects();
        QCOMPARE(int(objects.size()), 2);
        QCOMPARE(objects[0]->name(), QString("vol"));
        QVERIFY(dynamic_cast<SyntheticObject*>(objects[0]));
        // The moved file leaves its object in the project, marked missing.
        QVERIFY(dynamic_cast<korvex::app::MissingDataObject*>(objects[1]));
        QVERIFY(!w.window.has_unsaved_changes());

        // Saved again, the missing object is kept.
        QVERIFY(w.window.save_project());
        QCOMPARE(int(ProjectDatabase(path).load().objects.size()), 2);
    }

    void bad_project_files_leave_the_session_alone() {
        Window w;
        QVERIFY(w.window.create_new_project(dir_.filePath("good.kvd")));
        QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
        const QString bad = dir_.filePath("bad.kvd");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is no project");
        file.close();

        LogCapture log;
        QVERIFY(!korvex::testing::open_project(w.window, bad));
        QVERIFY(!w.window.create_new_project(bad));
        QVERIFY(!w.window.save_project_as(bad));
        QCOMPARE(read_all(bad), QByteArray("this is no project"));
        QCOMPARE(log.lines().size(), std::size_t(3));
        QVERIFY(log.texts().front().contains("is not a korvex project"));
        QCOMPARE(w.window.project_path(), dir_.filePath("good.kvd"));
        QCOMPARE(int(w.window.model()->objects().size()), 1);

        // A data file of no known kind is refused the same way.
        QVERIFY(!korvex::testing::load_data(w.window, bad));
        QCOMPARE(int(w.window.model()->objects().size()), 1);
    }

    // The File menu and the command line open through one routine: files are shown in the
    // order asked, a volume's file read on a worker while the event loop goes on, a file
    // it cannot read is told as nullptr, and the end is told once.
    void files_open_ticked_in_order_and_the_end_is_told() {
        const QString volume = dir_.filePath("c.sgy");
        korvex::testing::write_volume(volume, {});
        Window w;
        QSignalSpy opened(w.window.opener(), &DataOpener::sig_opened);
        QStringList names;
        w.window.opener()->open_and_show(
            {data_file("a"), volume, dir_.filePath("none.syn"), data_file("b")},
            DataOpener::Settings::guessed, [&](const QString&, korvex::host::DataObject* dob) {
                names << (dob ? dob->name() : QString("failed"));
            });
        // The point past the volume waits for it: files open in turn.
        QCOMPARE(names, QStringList{"a"});
        QVERIFY(opened.wait());
        QCOMPARE(names, (QStringList{"a", "c", "failed", "b"}));
        QVERIFY(w.window.tree()->is_checked("c") && w.window.tree()->is_checked("b"));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.front(), (QVariantList{3, 1}));
    }

    // A window closed while its file is read is handed nothing: the worker's result is
    // dropped with the window.
    void a_window_closed_while_a_volume_opens_is_left_alone() {
        const QString volume = dir_.filePath("late.sgy");
        korvex::testing::write_volume(volume, {});
        auto w = std::make_unique<Window>();
        w->window.opener()->open_and_show({volume}, DataOpener::Settings::guessed);
        QCOMPARE(int(w->window.model()->objects().size()), 0);
        w.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    void a_new_project_over_an_existing_one_opens_it() {
        const QString path = dir_.filePath("kept.kvd");
        {
            Window w;
            QVERIFY(w.window.create_new_project(path));
            QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(w.window.create_new_project(path));
        QCOMPARE(int(w.window.model()->objects().size()), 1);
    }

    // A restore runs unattended (from a script, for --export) and never stops to ask: a
    // value the project lacks, or a file that is no regular file, marks the object missing.
    void a_restore_never_asks() {
        const QString volume = dir_.filePath("survey.sgy");
        korvex::testing::write_volume(volume, {});
        const QString fifo = dir_.filePath("wells.xyz");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        korvex::app::ProjectSnapshot snapshot;
        snapshot.objects = {{"seismic_volume", "survey", volume, {{"xline_byte", 193}}},
                            {"point_set", "wells", fifo, {}}};
        const QString path = dir_.filePath("unattended.kvd");
        ProjectDatabase(path).save(snapshot);

        Window w;
        DialogRefusal refusal;
        QVERIFY(korvex::testing::open_project(w.window, path));
        QCOMPARE(refusal.shown, QStringList());
        const auto objects = w.window.model()->objects();
        QCOMPARE(int(objects.size()), 2);
        const auto reason = [&](int index) {
            const auto* missing = dynamic_cast<korvex::app::MissingDataObject*>(objects[index]);
            return missing ? missing->reason() : QString("loaded");
        };
        QCOMPARE(reason(0), QString("survey: the project gives no iline_byte"));
        QCOMPARE(reason(1), "its file " + fifo + " is not a regular file");
    }

    // Opening a project sets up only the viewer in front; another is drawn when it comes
    // to the front. Drawing every viewer on the way made projects of many viewers slow.
    void a_project_draws_only_the_viewer_in_front() {
        const QString path = dir_.filePath("viewers.kvd");
        {
            Window w;
            QVERIFY(w.window.create_new_project(path));
            QVERIFY(korvex::testing::load_data(w.window, data_file("vol")));
            for (int i = 1; i < 6; ++i) w.window.viewer_area()->add_viewer();
            w.window.tree()->set_checked("vol", true);
            QVERIFY(w.window.save_project());
        }
        Window w;
        QVERIFY(korvex::testing::open_project(w.window, path));
        korvex::app::ViewerArea& area = *w.window.viewer_area();
        QCOMPARE(area.count(), 6);
        QCOMPARE(area.currentIndex(), 5);
        const auto drawn = [&area](int index) {
            return area.viewer(index)->findChild<QOpenGLWidget*>()->isValid();
        };
        // The first stands in front while the others come in; none of the others is drawn.
        for (int i = 1; i < 5; ++i) QVERIFY2(!drawn(i), qPrintable(QString::number(i)));
        QVERIFY(w.window.tree()->is_checked("vol"));

        area.setCurrentIndex(2);
        QTRY_VERIFY(drawn(2));
        QVERIFY(!w.window.tree()->is_checked("vol"));
        area.setCurrentIndex(5);
        QTRY_VERIFY(drawn(5));
        QVERIFY(w.window.tree()->is_checked("vol"));
    }

private:
    QString data_file(const QString& name, bool volume = true) {
        const QString path = dir_.filePath(name + ".syn");
        SyntheticObject::write(path, name, volume);
        return path;
    }

    QTemporaryDir dir_;
};

KORVEX_TEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"

// Where the keyboard goes in the whole window: what is typed into the workspace shell
// is the shell's, and the viewer's keys act while the keyboard is in the viewer.
#include <fcntl.h>
#include <qtermwidget.h>
#include <termios.h>
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/modules/workspace_shell/workspace_shell.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/terminal/terminal.h"
#include "tests/app/open_and_wait.h"
#include "tests/support/dialog_catcher.h"
#include "tests/support/scene_window.h"
#include "tests/support/synthetic_object.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::testing::DialogCatcher;
using korvex::testing::SyntheticObject;
using korvex::utils::is_shown;
using korvex::widgets::CanvasWidget;
using korvex::widgets::Terminal;

namespace {

constexpr int SHELL_TIMEOUT_MS = 20000;

QString read_text(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

// Whether the shell waits at its prompt: it has the terminal, and its line editor has
// taken the terminal out of line mode (only then do Ctrl+A, Ctrl+E... edit the line).
bool at_prompt(const Terminal& terminal) {
    if (!terminal.shell_in_foreground()) return false;
    const QByteArray tty = QStringLiteral("/proc/%1/fd/0").arg(terminal.shell_pid()).toLocal8Bit();
    const int fd = ::open(tty.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    termios modes{};
    const bool editing = tcgetattr(fd, &modes) == 0 && !(modes.c_lflag & ICANON);
    ::close(fd);
    return editing;
}

// What the keys of the viewer's row would change.
struct ViewerLook {
    bool pick_mode;
    double fov, azimuth, elevation, scale_factor;
    QList<bool> checked;

    static ViewerLook of(korvex::widgets::CubeViewer& viewer) {
        CanvasWidget& base = viewer.base();
        QList<bool> checked;
        for (QToolButton* button : viewer.findChildren<QToolButton*>())
            checked << button->isChecked();
        return {base.canvas().pick_mode(), base.fov(),          base.azimuth(),
                base.elevation(),          base.scale_factor(), checked};
    }
    bool operator==(const ViewerLook& o) const {
        return pick_mode == o.pick_mode && fov == o.fov && azimuth == o.azimuth &&
               elevation == o.elevation && scale_factor == o.scale_factor && checked == o.checked;
    }
};

}  // namespace

class KeyboardFocusTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;

    korvex::app::MainWindowOptions options() const {
        korvex::app::MainWindowOptions options;
        options.working_directory = work_.path();
        return options;
    }
    void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void ctrl(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    }

private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        qputenv("SHELL", "/bin/bash");  // the line-editing keys below are bash's
    }

    void typing_in_the_shell_reaches_the_shell_only() {
        MainWindow window(options());
        window.data_object_factory().register_type(
            {SyntheticObject::TYPE, "Synthetic objects", {"syn"}, &SyntheticObject::load});
        window.setup();
        window.show();
        window.post_visible_setup();
        QVERIFY(korvex::testing::wait_until_drawn(window));
        QApplication::setActiveWindow(&window);  // no window manager under Xvfb
        const QString cube = work_.filePath("cube.syn");
        SyntheticObject::write(cube, "cube", true);
        QVERIFY(korvex::testing::load_data(window, cube));
        window.tree()->set_checked("cube", true);
        korvex::widgets::CubeViewer& viewer = *window.viewer_area()->viewer(0);
        QSignalSpy hidden(&viewer.base(), &CanvasWidget::sig_hide_all);
        const ViewerLook before = ViewerLook::of(viewer);

        auto* shell = window.findChild<korvex::modules::WorkspaceShell*>("workspace_shell");
        shell->dockwidget()->raise();
        Terminal& terminal = *shell->findChild<Terminal*>();
        QTRY_VERIFY_WITH_TIMEOUT(at_prompt(terminal), SHELL_TIMEOUT_MS);
        terminal.console()->setFocus();
        QTRY_VERIFY(terminal.console()->isAncestorOf(QApplication::focusWidget()));

        DialogCatcher dialogs;
        ctrl(Qt::Key_O);  // at an empty prompt: runs the empty line
        type("echo proper > x");
        ctrl(Qt::Key_W);  // drops "x"
        type("out.txt");
        for (Qt::Key key : {Qt::Key_A, Qt::Key_E, Qt::Key_B, Qt::Key_E, Qt::Key_T, Qt::Key_T,
                            Qt::Key_N, Qt::Key_D, Qt::Key_L, Qt::Key_S, Qt::Key_Q}) {
            ctrl(key);  // each moves back or leaves the line as it was
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(read_text(work_.filePath("out.txt")), QString("proper"),
                                  SHELL_TIMEOUT_MS);

        // Ctrl+D ends a program's input.
        QTRY_VERIFY_WITH_TIMEOUT(at_prompt(terminal), SHELL_TIMEOUT_MS);
        type("cat > typed.txt");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!terminal.shell_in_foreground(), SHELL_TIMEOUT_MS);
        type("pro");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ctrl(Qt::Key_D);
        QTRY_VERIFY_WITH_TIMEOUT(at_prompt(terminal), SHELL_TIMEOUT_MS);
        QCOMPARE(read_text(work_.filePath("typed.txt")), QString("pro"));

        QCOMPARE(dialogs.titles, QStringList());
        QVERIFY(ViewerLook::of(viewer) == before);
        QCOMPARE(hidden.count(), 0);
        QVERIFY(is_shown(viewer.base().dpState(), "cube", "object", "self"));
        QVERIFY(window.isVisible());

        // A click into the picture gives the viewer the keyboard, and its keys act again.
        QWidget* picture = viewer.base().canvas().native();
        QTest::mouseClick(picture, Qt::LeftButton, {}, picture->rect().center());
        QTRY_VERIFY(viewer.isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P);
        QTRY_VERIFY(viewer.base().canvas().pick_mode());
        QVERIFY(viewer.pick_btn()->isChecked());
    }

    // The log's "clear" and the viewer's "Hide all" share Ctrl+L; the key goes to the
    // panel the keyboard is in, and to neither from elsewhere.
    void ctrl_l_acts_where_the_keyboard_is() {
        MainWindow window(options());
        window.setup();
        window.show();
        window.post_visible_setup();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
        CanvasWidget& viewer = window.viewer_area()->viewer(0)->base();
        QSignalSpy hidden(&viewer, &CanvasWidget::sig_hide_all);
        QTextBrowser* log = window.findChild<QTextBrowser*>();
        QTRY_VERIFY(!log->toPlainText().isEmpty());

        window.tree()->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), window.tree());
        QTest::keyClick(window.tree(), Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!log->toPlainText().isEmpty());
        QCOMPARE(hidden.count(), 0);

        log->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), log);
        QTest::keyClick(log, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(log->toPlainText().isEmpty());
        QCOMPARE(hidden.count(), 0);

        viewer.setFocus();
        QTRY_VERIFY(viewer.isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == &viewer);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(hidden.count(), 1);
    }
};

KORVEX_RENDER_TEST_MAIN(KeyboardFocusTest)
#include "tst_keyboard_focus.moc"

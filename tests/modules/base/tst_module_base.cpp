#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "korvex/modules/base/dock_module.h"
#include "korvex/modules/base/korvex_module_widget.h"
#include "korvex/utils/errors.h"
#include "tests/support/docking_main_window.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::modules::KorvexModuleWidget;
using korvex::testing::DockingMainWindow;
using korvex::testing::LogCapture;

namespace {

// The smallest module: an editor as focus widget and one action of its own.
class ProbeModule final : public KorvexModuleWidget {
public:
    ProbeModule(korvex::host::WindowHost* parent, const QString& title)
        : KorvexModuleWidget(parent),
          title_(title),
          editor_(new QLineEdit(this)),
          action_(new QAction("Probe action", this)) {
        initialize_module();
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(editor_);
    }

    QString get_module_title() const override { return title_; }
    QWidget* get_focus_widget() const override {
        if (focus_fails) throw std::runtime_error("no focus today");
        return editor_;
    }
    QList<QAction*> get_module_actions() const override { return {action_}; }
    void register_module() override { require_main().add_dockwidget(this); }
    void refresh_module(const std::optional<QString>& = std::nullopt, bool = true) override {}
    bool closing_module(bool = false) override { return true; }

    QLineEdit* editor() const { return editor_; }
    QAction* action() const { return action_; }
    bool focus_fails = false;

private:
    QString title_;
    QLineEdit* editor_;
    QAction* action_;
};

QAction* menu_action(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

}  // namespace

class ModuleBaseTest : public QObject {
    Q_OBJECT

private slots:
    void module_reaches_its_main_window() {
        DockingMainWindow window;
        ProbeModule module(&window, "Probe");
        QCOMPARE(module.main(), &window);
        QCOMPARE(module.parentWidget(), &window);
        QVERIFY(module.options_button());
        QVERIFY(module.dockwidget() == nullptr);

        ProbeModule orphan(nullptr, "Orphan");
        QVERIFY(orphan.main() == nullptr);
        QVERIFY_EXCEPTION_THROWN(orphan.register_module(), korvex::utils::AttributeError);
    }

    void docking_wraps_the_module_and_fills_the_view_menu_once() {
        DockingMainWindow window;
        auto* module = new ProbeModule(&window, "Probe");
        module->register_module();
        QDockWidget* dock = module->dockwidget();
        QVERIFY(dock);
        QCOMPARE(dock->windowTitle(), QString("Probe"));
        QCOMPARE(dock->widget(), module);
        QCOMPARE(window.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        const QList<QAction*> expected{dock->toggleViewAction(), module->action()};
        QCOMPARE(window.view_menu()->actions(), expected);

        module->register_module();
        QCOMPARE(module->dockwidget(), dock);
        QCOMPARE(window.findChildren<QDockWidget*>().size(), 1);
        QCOMPARE(window.view_menu()->actions(), expected);
    }

    void raising_a_dock_focuses_its_focus_widget() {
        DockingMainWindow window;
        auto* first = new ProbeModule(&window, "First");
        auto* second = new ProbeModule(&window, "Second");
        first->register_module();
        second->register_module();
        window.tabifyDockWidget(first->dockwidget(), second->dockwidget());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);

        first->dockwidget()->raise();
        QTRY_VERIFY(first->editor()->hasFocus());
        second->dockwidget()->raise();
        QTRY_VERIFY(second->editor()->hasFocus());

        // A module failing to name its focus widget is logged; the window carries on.
        LogCapture log;
        first->focus_fails = true;
        first->dockwidget()->raise();
        QTRY_VERIFY(log.contains("error", "First failed: no focus today"));
        QVERIFY(window.isVisible());
    }

    void options_menu_floats_and_closes_the_dock() {
        DockingMainWindow window;
        auto* module = new ProbeModule(&window, "Probe");
        QMenu* menu = module->options_button()->menu();
        QVERIFY(menu);
        emit menu->aboutToShow();
        QCOMPARE(menu->actions().first(), module->action());
        QVERIFY(!menu_action(menu, "Floating")->isEnabled());  // nothing to float yet
        menu_action(menu, "Close")->trigger();                 // and nothing to close

        module->register_module();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        emit menu->aboutToShow();
        QAction* floating = menu_action(menu, "Floating");
        QVERIFY(floating->isEnabled());
        QVERIFY(!floating->isChecked());
        floating->trigger();
        QVERIFY(module->dockwidget()->isFloating());
        emit menu->aboutToShow();
        QVERIFY(menu_action(menu, "Floating")->isChecked());
        menu_action(menu, "Floating")->trigger();
        QVERIFY(!module->dockwidget()->isFloating());

        menu_action(menu, "Close")->trigger();
        QVERIFY(!module->dockwidget()->isVisible());
        module->dockwidget()->toggleViewAction()->trigger();
        QVERIFY(module->dockwidget()->isVisible());
    }
};

KORVEX_TEST_MAIN(ModuleBaseTest)
#include "tst_module_base.moc"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "korvex/app/window/menu_toggle_builder.h"
#include "korvex/app/window/plugin_manager.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"
#include "korvex/widgets/menu_toggle/plugout_menu_bar.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/fake_data_tree.h"
#include "tests/support/fake_holder_window.h"
#include "tests/support/fake_main_window.h"
#include "tests/support/log_capture.h"
#include "tests/support/stdout_capture.h"
#include "tests/support/test_main.h"

using korvex::testing::FakeDataObject;
using korvex::testing::FakeDataTree;
using korvex::testing::FakeHolderWindow;
using korvex::testing::FakeMainWindow;
using korvex::widgets::MenuToggle;
using korvex::widgets::PluginMenuBar;
using korvex::widgets::PlugoutMenuBar;

namespace {

// A main window with one data object in its tree and the test plug-ins of `folders`.
struct Host {
    explicit Host(const QStringList& folders) : plugins(paths(folders)) {
        main.plugins = &plugins;
        tree().add_object(object);
    }
    FakeDataTree& tree() { return *main.treebase(); }
    static QStringList paths(const QStringList& folders) {
        QStringList result;
        for (const QString& name : folders) {
            result << qEnvironmentVariable("KORVEX_TEST_PLUGIN_DIR") + "/" + name;
        }
        return result;
    }

    FakeDataObject object{"survey"};
    korvex::app::PluginManager plugins;
    FakeMainWindow main;
    FakeHolderWindow window{&main};
};

QStringList combo_items(const MenuToggle& toggle) {
    QStringList items;
    for (int i = 0; i < toggle.cb_mode()->count(); ++i) items << toggle.cb_mode()->itemText(i);
    return items;
}

// Titles of a bar's menus: the test plug-ins add one, named after their library.
QStringList menu_titles(const QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions()) titles << action->text();
    return titles;
}

PlugoutMenuBar* built_in_bar(const MenuToggle& toggle) {
    return toggle.findChild<PlugoutMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

void show_in(QMainWindow& window, MenuToggle* toggle) {
    window.addToolBar(toggle);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

}  // namespace

class MenuToggleTest : public QObject {
    Q_OBJECT

private slots:
    void without_an_owner_only_the_built_in_mode_is_offered() {
        MenuToggle toggle;
        QVERIFY(!toggle.owner());
        QCOMPARE(combo_items(toggle), QStringList{"Plugout Mode"});
        QCOMPARE(toggle.plugin_modes().keys(), std::vector<QString>{"Plugout Mode"});
        auto* plugout = qobject_cast<PlugoutMenuBar*>(toggle.currentMenuBar());
        QVERIFY(plugout);
        QCOMPARE(plugout->owner(), &toggle);
        QVERIFY(!plugout->main());
        QVERIFY(!plugout->treebase());
        QVERIFY(!plugout->database());
        QCOMPARE(toggle.actions().last(), toggle.currentAction());
    }

    void with_an_owner_the_built_in_bar_reaches_the_host() {
        Host host({});
        MenuToggle toggle(&host.window);
        QCOMPARE(toggle.owner(), &host.window);
        QCOMPARE(toggle.parentWidget(), &host.window);
        QCOMPARE(combo_items(toggle), QStringList{"Plugout Mode"});
        auto* plugout = built_in_bar(toggle);
        QCOMPARE(plugout->main(), &host.main);
        QCOMPARE(plugout->treebase(), &host.tree());
        QVERIFY(plugout->database() == host.tree().object_data());
        // read afresh, not a copy taken at construction
        FakeDataObject later("horizon");
        host.tree().add_object(later);
        QCOMPARE(plugout->database()->size(), std::size_t(2));
    }

    void missing_host_links_abort_construction() {
        QWidget not_a_holder;
        QVERIFY_EXCEPTION_THROWN(MenuToggle{&not_a_holder}, korvex::utils::AttributeError);
        FakeHolderWindow no_main(nullptr);
        QVERIFY_EXCEPTION_THROWN(MenuToggle{&no_main}, korvex::utils::AttributeError);
        FakeMainWindow main;
        FakeHolderWindow no_manager(&main);
        QVERIFY_EXCEPTION_THROWN(MenuToggle{&no_manager}, korvex::utils::AttributeError);
        QVERIFY_EXCEPTION_THROWN(PlugoutMenuBar{}, korvex::utils::AttributeError);
        QVERIFY(no_manager.findChildren<MenuToggle*>().isEmpty());
    }

    void plugins_become_modes_and_a_repeated_name_selects_the_later() {
        Host host({"good_plugin", "twin_plugin"});
        const auto records = host.plugins.getPluginsOfCategory("PluginMenuBar");
        auto* good = qobject_cast<PluginMenuBar*>(records.at(0).plugin_object);
        auto* twin = qobject_cast<PluginMenuBar*>(records.at(1).plugin_object);

        MenuToggle toggle(&host.window);
        QCOMPARE(combo_items(toggle), (QStringList{"Plugout Mode", "Test Mode", "Test Mode"}));
        QCOMPARE(toggle.plugin_modes().keys(), (std::vector<QString>{"Plugout Mode", "Test Mode"}));
        QCOMPARE(toggle.plugin_modes().at("Test Mode"), twin);
        for (PluginMenuBar* bar : {good, twin}) QCOMPARE(bar->treebase(), &host.tree());
        QCOMPARE(menu_titles(good), QStringList{"Good"});  // set up exactly once
        QCOMPARE(menu_titles(twin), QStringList{"Twin"});
        QVERIFY(qobject_cast<PlugoutMenuBar*>(toggle.currentMenuBar()));

        for (int index : {1, 2}) {
            toggle.cb_mode()->setCurrentIndex(index);
            QCOMPARE(toggle.currentMenuBar(), twin);
        }
    }

    void a_plugin_named_plugout_mode_replaces_the_built_in_bar() {
        Host host({"plugout_plugin"});
        MenuToggle* toggle = new MenuToggle(&host.window);
        show_in(host.window, toggle);
        QCOMPARE(combo_items(*toggle), (QStringList{"Plugout Mode", "Plugout Mode"}));
        QCOMPARE(menu_titles(toggle->currentMenuBar()), QStringList{"Replacement"});
        QVERIFY(toggle->currentMenuBar()->isVisible());
        QVERIFY(!built_in_bar(*toggle)->isVisible());
        toggle->cb_mode()->setCurrentIndex(1);
        toggle->cb_mode()->setCurrentIndex(0);
        QVERIFY(!built_in_bar(*toggle)->isVisible());
    }

    void a_failing_plugin_aborts_construction_with_its_own_error() {
        Host host({"good_plugin", "failing_plugin"});
        QVERIFY_EXCEPTION_THROWN(MenuToggle{&host.window}, korvex::utils::NotImplementedError);
        QVERIFY(host.window.findChildren<MenuToggle*>().isEmpty());
    }

    // The host's switcher: each failing plug-in logged and left out, the others set up once.
    void the_host_leaves_out_failing_plugins_and_keeps_the_others() {
        // By library name: setup fails first, then two good ones, then NAME fails.
        Host host({"good_plugin", "failing_plugin", "twin_plugin", "unnamed_plugin"});
        korvex::testing::LogCapture log;

        auto* toggle = korvex::app::build_menu_toggle(&host.window, host.plugins);
        show_in(host.window, toggle);
        QCOMPARE(combo_items(*toggle), (QStringList{"Plugout Mode", "Test Mode", "Test Mode"}));
        const auto records = host.plugins.getPluginsOfCategory("PluginMenuBar");
        QCOMPARE(records.size(), std::size_t(2));
        auto* good = qobject_cast<PluginMenuBar*>(records.at(0).plugin_object);
        auto* twin = qobject_cast<PluginMenuBar*>(records.at(1).plugin_object);
        QCOMPARE(menu_titles(good), QStringList{"Good"});
        QCOMPARE(menu_titles(twin), QStringList{"Twin"});
        QCOMPARE(toggle->plugin_modes().at("Test Mode"), twin);

        QStringList errors;
        for (const auto& line : log.lines()) {
            if (line.level == "error") errors << line.text;
        }
        QCOMPARE(errors.size(), 2);
        QVERIFY2(errors[0].startsWith(
                     "Menu-bar plug-in \"Failing Mode\" (libfailing_plugin.so) failed: ") &&
                     errors[0].contains("setup"),
                 qPrintable(errors[0]));
        QCOMPARE(errors[1], QString("Menu-bar plug-in \"Unnamed Mode\" (libunnamed_plugin.so) "
                                    "failed: no name configured. Its mode is left out."));

        toggle->cb_mode()->setCurrentIndex(2);
        QTRY_VERIFY(twin->isVisible());
    }

    void switching_hides_the_old_bar_and_shows_the_new_one_and_back() {
        Host host({"good_plugin"});
        auto* toggle = new MenuToggle(&host.window);
        show_in(host.window, toggle);
        QMenuBar* plugout = toggle->currentMenuBar();
        QMenuBar* good = toggle->plugin_modes().at("Test Mode");
        QVERIFY(plugout->isVisible());
        QVERIFY(!good->isVisible());

        for (int round = 0; round < 2; ++round) {
            toggle->cb_mode()->setCurrentIndex(1);
            QCOMPARE(toggle->currentMenuBar(), good);
            QTRY_VERIFY(good->isVisible());
            QCOMPARE(good->parentWidget(), toggle);
            QVERIFY(!plugout->isVisible());
            QCOMPARE(toggle->actions().size(), 2);  // the combo box and the bar shown

            toggle->cb_mode()->setCurrentIndex(0);
            QCOMPARE(toggle->currentMenuBar(), plugout);
            QTRY_VERIFY(plugout->isVisible());
            QVERIFY(!good->isVisible());
            QCOMPARE(toggle->actions().size(), 2);
        }
        QCOMPARE(menu_titles(good), QStringList{"Good"});
    }

    void choosing_the_current_mode_changes_nothing() {
        Host host({"good_plugin"});
        MenuToggle toggle(&host.window);
        toggle.cb_mode()->setCurrentIndex(1);
        QAction* action = toggle.currentAction();
        QSignalSpy changes(toggle.cb_mode(), qOverload<int>(&QComboBox::currentIndexChanged));
        toggle.cb_mode()->setCurrentIndex(1);
        QCOMPARE(changes.count(), 0);
        QCOMPARE(toggle.currentAction(), action);
        QCOMPARE(toggle.actions().size(), 2);
    }

    void todo_writes_test_once_from_either_menu() {
        QMainWindow window;
        auto* toggle = new MenuToggle;
        show_in(window, toggle);
        auto* bar = qobject_cast<PlugoutMenuBar*>(toggle->currentMenuBar());
        QCOMPARE(bar->new_menu()->title(), QString("New"));
        QCOMPARE(bar->edit_menu()->title(), QString("Edit"));
        QCOMPARE(bar->act_todo()->text(), QString("TODO"));
        QCOMPARE(bar->new_menu_actions(), QList<QAction*>{bar->act_todo()});
        QCOMPARE(bar->edit_menu_actions(), QList<QAction*>{bar->act_todo()});
        for (QMenu* menu : {bar->new_menu(), bar->edit_menu()}) {
            korvex::testing::StdoutCapture out;
            menu->popup(window.mapToGlobal(QPoint(20, 40)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {},
                              menu->actionGeometry(bar->act_todo()).center());
            QTRY_COMPARE(out.text(), QString("test\n"));
            QVERIFY(!menu->isVisible());
        }
    }

    void a_closed_switcher_leaves_plugin_bars_to_their_manager() {
        Host host({"good_plugin"});
        auto* toggle = new MenuToggle(&host.window);
        show_in(host.window, toggle);
        toggle->cb_mode()->setCurrentIndex(1);
        QPointer<QMenuBar> good = toggle->currentMenuBar();
        QPointer<QMenuBar> plugout = built_in_bar(*toggle);
        delete toggle;
        QVERIFY(plugout.isNull());
        QVERIFY(!good.isNull());
        QVERIFY(!good->parent());
        QVERIFY(!good->isVisible());
        QCOMPARE(host.plugins.getPluginsOfCategory("PluginMenuBar").at(0).plugin_object,
                 static_cast<QObject*>(good.data()));
    }
};

KORVEX_TEST_MAIN(MenuToggleTest)
#include "tst_menu_toggle.moc"

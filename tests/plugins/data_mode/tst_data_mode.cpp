#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "korvex/app/window/main_window.h"
#include "korvex/app/window/menu_toggle_builder.h"
#include "korvex/app/window/plugin_manager.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/fake_data_tree.h"
#include "tests/support/fake_holder_window.h"
#include "tests/support/fake_main_window.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::testing::FakeDataObject;
using korvex::testing::FakeDataTree;
using korvex::testing::FakeHolderWindow;
using korvex::testing::FakeMainWindow;
using korvex::widgets::MenuToggle;

namespace {

// A main window over the shipped plug-in folder, its switcher mounted and shown.
struct Host {
    Host() {
        main.plugins = &plugins;
        toggle = korvex::app::build_menu_toggle(&window, plugins);
        window.addToolBar(toggle);
        window.show();
    }

    korvex::app::PluginManager plugins{{qEnvironmentVariable("KORVEX_PLUGIN_DIR")}};
    FakeMainWindow main;
    FakeDataTree& tree = *main.treebase();
    FakeHolderWindow window{&main};
    MenuToggle* toggle = nullptr;
};

QMenuBar* data_mode_bar(const Host& host) { return host.toggle->plugin_modes().at("Data Mode"); }

QMenu* menu_titled(const QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->text() == title) return action->menu();
    }
    return nullptr;
}

QMenu* open(QMenu* menu) {
    menu->popup(QPoint(40, 60));
    if (!QTest::qWaitForWindowExposed(menu)) return nullptr;
    return menu;
}

QAction* entry(const QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

// The entries of an open menu: their texts, "-" for a separator, "[x]"/"[ ]" for check marks.
QStringList entries(const QMenu* menu) {
    QStringList result;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            result << "-";
        } else if (action->isCheckable()) {
            result << (action->isChecked() ? "[x] " : "[ ] ") + action->text();
        } else {
            result << action->text();
        }
    }
    return result;
}

void click(QMenu* menu, const QString& text) {
    QAction* action = entry(menu, text);
    QVERIFY2(action, qPrintable(text));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    QTRY_VERIFY(!menu->isVisible());
}

}  // namespace

class DataModeTest : public QObject {
    Q_OBJECT

private slots:
    void the_switcher_offers_data_mode_and_shows_each_bar() {
        Host host;
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        QComboBox* modes = host.toggle->cb_mode();
        QCOMPARE(modes->count(), 2);
        QCOMPARE(modes->itemText(0), QString("Plugout Mode"));
        QCOMPARE(modes->itemText(1), QString("Data Mode"));

        QMenuBar* plugout = host.toggle->currentMenuBar();
        QMenuBar* data = data_mode_bar(host);
        modes->setCurrentIndex(1);
        QTRY_VERIFY(data->isVisible());
        QVERIFY(!plugout->isVisible());
        QVERIFY(menu_titled(data, "Objects"));
        QVERIFY(menu_titled(data, "Select"));
        modes->setCurrentIndex(0);
        QTRY_VERIFY(plugout->isVisible());
        QVERIFY(!data->isVisible());
    }

    void objects_menu_shows_and_hides_the_loaded_objects() {
        Host host;
        FakeDataObject survey("survey"), horizon("horizon");
        host.tree.add_object(survey);
        host.tree.add_object(horizon);
        host.tree.set_checked("horizon", true);
        QMenu* objects = menu_titled(data_mode_bar(host), "Objects");

        QVERIFY(open(objects));
        QCOMPARE(entries(objects),
                 (QStringList{"[x] horizon", "[ ] survey", "-", "Show all", "Hide all"}));
        click(objects, "survey");
        QVERIFY(host.tree.is_checked("survey"));

        QVERIFY(open(objects));
        click(objects, "horizon");
        QVERIFY(!host.tree.is_checked("horizon"));
        QVERIFY(host.tree.is_checked("survey"));

        QVERIFY(open(objects));
        QCOMPARE(entries(objects),
                 (QStringList{"[ ] horizon", "[x] survey", "-", "Show all", "Hide all"}));
        click(objects, "Show all");
        QVERIFY(host.tree.is_checked("horizon") && host.tree.is_checked("survey"));

        QVERIFY(open(objects));
        QSignalSpy unchecked_all(&host.tree, &FakeDataTree::sig_unchecked_all);
        click(objects, "Hide all");
        QCOMPARE(unchecked_all.count(), 1);
        QVERIFY(!host.tree.is_checked("horizon") && !host.tree.is_checked("survey"));
    }

    void an_empty_tree_is_said_so() {
        Host host;
        for (const char* title : {"Objects", "Select"}) {
            QMenu* menu = open(menu_titled(data_mode_bar(host), title));
            QVERIFY(menu);
            QAction* note = entry(menu, "No data loaded");
            QVERIFY(note);
            QVERIFY(!note->isEnabled());
            menu->close();
        }
    }

    void select_menu_selects_the_object_in_the_tree() {
        Host host;
        FakeDataObject survey("survey"), horizon("horizon");
        host.tree.add_object(survey);
        host.tree.add_object(horizon);
        QMenu* select = menu_titled(data_mode_bar(host), "Select");
        QVERIFY(open(select));
        QCOMPARE(entries(select), (QStringList{"horizon", "survey"}));
        click(select, "survey");
        QCOMPARE(host.tree.current_name(), QString("survey"));
    }

    void an_object_removed_while_its_menu_is_open_is_reported_not_thrown() {
        Host host;
        FakeDataObject survey("survey");
        korvex::testing::LogCapture log;
        for (const char* title : {"Objects", "Select"}) {
            host.tree.add_object(survey);
            QMenu* menu = open(menu_titled(data_mode_bar(host), title));
            QVERIFY(menu);
            host.tree.remove_object("survey");
            click(menu, "survey");
        }
        QVERIFY(!host.tree.currentItem());
        QCOMPARE(log.lines().size(), std::size_t(2));
        for (const auto& line : log.lines()) {
            QCOMPARE(line.level, QString("error"));
            QVERIFY2(line.text.startsWith("survey failed: ") && line.text.contains("survey"),
                     qPrintable(line.text));
        }
    }

    // The application window starts in the shipped mode; the switcher keeps its order.
    void the_main_window_starts_in_data_mode() {
        korvex::app::MainWindow window({qEnvironmentVariable("KORVEX_PLUGIN_DIR"), {}, false});
        window.setup();
        MenuToggle& toggle = *window.menu_toggle();
        QCOMPARE(toggle.cb_mode()->itemText(0), QString("Plugout Mode"));
        QCOMPARE(toggle.cb_mode()->currentText(), QString("Data Mode"));
        QCOMPARE(toggle.currentMenuBar(), toggle.plugin_modes().at("Data Mode"));
        QVERIFY(!toggle.plugin_modes().at("Plugout Mode")->isVisibleTo(&window));
    }
};

KORVEX_TEST_MAIN(DataModeTest)
#include "tst_data_mode.moc"

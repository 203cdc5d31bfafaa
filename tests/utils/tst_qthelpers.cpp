#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <stdexcept>

#include "korvex/utils/qthelpers.h"
#include "tests/support/log_capture.h"

using namespace korvex::utils;

class QtHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void triggered_button_calls_its_slot_on_click() {
        QWidget parent;
        int calls = 0;
        auto* button = create_toolbutton(
            &parent, ToolButtonOptions().tip("View all").triggered([&] { ++calls; }));
        QCOMPARE(button->parent(), &parent);
        QCOMPARE(button->toolTip(), QString("View all"));
        QVERIFY(!button->isCheckable());
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(calls, 1);
    }

    void toggled_button_starts_unchecked_and_reports_each_state() {
        QWidget parent;
        QList<bool> states;
        auto* button = create_toolbutton(
            &parent, ToolButtonOptions().toggled([&](bool on) { states << on; }));
        QVERIFY(button->isCheckable());
        QVERIFY(!button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(states, (QList<bool>{true, false}));
    }

    void shortcut_works_while_the_parent_window_is_active() {
        QWidget window;
        auto* row = new QHBoxLayout;
        int calls = 0;
        row->addWidget(create_toolbutton(
            &window, ToolButtonOptions().shortcut("Ctrl+L").triggered([&] { ++calls; })));
        auto* toggle = create_toolbutton(&window, ToolButtonOptions().shortcut("P").toggled([](bool) {}));
        row->addWidget(toggle);
        window.setLayout(create_module_layout(row, new QWidget));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);  // no window manager under Xvfb
        QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
        QTRY_COMPARE(calls, 1);  // a button's shortcut clicks it with a short animation
        QTest::keyClick(&window, Qt::Key_P);
        QTRY_VERIFY(toggle->isChecked());
    }

    void exception_in_a_slot_is_logged_not_thrown() {
        korvex::testing::LogCapture log;
        QWidget parent;
        auto* button = create_toolbutton(&parent, ToolButtonOptions().tip("Restrict").triggered([] {
            throw std::runtime_error("not implemented yet");
        }));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(log.contains("error", "Restrict failed: not implemented yet"));
    }

    void actions_go_into_several_menus_in_order() {
        QWidget parent;
        int calls = 0;
        QAction* first = create_action(&parent, "First", [&] { ++calls; });
        QAction* second = create_action(&parent, "Second", nullptr);
        QCOMPARE(first->parent(), &parent);
        QMenu one, two;
        add_actions(&one, {first, second});
        add_actions(&two, {second, first});
        QCOMPARE(one.actions(), (QList<QAction*>{first, second}));
        QCOMPARE(two.actions(), (QList<QAction*>{second, first}));
        first->trigger();
        QCOMPARE(calls, 1);
    }

    void module_layout_puts_buttons_above_the_main_widget() {
        auto* row = new QHBoxLayout;
        auto* main_widget = new QWidget;
        QWidget host;
        auto* help = create_toolbutton_help(&host, [] {});
        row->addWidget(help);
        QLayout* layout = create_module_layout(row, main_widget);
        host.setLayout(layout);
        QCOMPARE(layout->count(), 2);
        QCOMPARE(layout->itemAt(0)->layout(), row);
        QCOMPARE(layout->itemAt(1)->widget(), main_widget);
        QVERIFY(!help->icon().isNull());
    }
};

QTEST_MAIN(QtHelpersTest)
#include "tst_qthelpers.moc"

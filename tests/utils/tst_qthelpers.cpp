#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <stdexcept>

#include "korvex/utils/qthelpers.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

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
        auto* button =
            create_toolbutton(&parent, ToolButtonOptions().toggled([&](bool on) { states << on; }));
        QVERIFY(button->isCheckable());
        QVERIFY(!button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(states, (QList<bool>{true, false}));
    }

    // Two panels of one window answer the same keys, each while the keyboard is in it;
    // a key typed in a text field elsewhere in the window is the field's.
    void shortcut_works_while_the_keyboard_is_in_the_parent() {
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        int left_calls = 0;
        int right_calls = 0;
        QToolButton* left_toggle = nullptr;
        auto panel = [&](int& calls, QToolButton** toggle) {
            auto* holder = new QWidget;
            auto* row = new QHBoxLayout;
            row->addWidget(create_toolbutton(
                holder, ToolButtonOptions().shortcut("Ctrl+L").triggered([&calls] { ++calls; })));
            auto* created =
                create_toolbutton(holder, ToolButtonOptions().shortcut("P").toggled([](bool) {}));
            if (toggle) *toggle = created;
            row->addWidget(created);
            auto* body = new QWidget;
            body->setFocusPolicy(Qt::StrongFocus);
            holder->setLayout(create_module_layout(row, body));
            layout->addWidget(holder);
            return body;
        };
        QWidget* left = panel(left_calls, &left_toggle);
        QWidget* right = panel(right_calls, nullptr);
        auto* field = new QLineEdit;
        layout->addWidget(field);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);  // no window manager under Xvfb

        left->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), left);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_P);
        QCOMPARE(left_calls, 1);
        QVERIFY(left_toggle->isChecked());
        QCOMPARE(right_calls, 0);

        right->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(right_calls, 1);
        QCOMPARE(left_calls, 1);

        field->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClick(field, Qt::Key_L, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_P);
        QCOMPARE(field->text(), QString("p"));
        QCOMPARE(left_calls + right_calls, 2);
        QVERIFY(left_toggle->isChecked());
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

KORVEX_TEST_MAIN(QtHelpersTest)
#include "tst_qthelpers.moc"

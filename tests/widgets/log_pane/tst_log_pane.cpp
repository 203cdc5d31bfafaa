#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include "korvex/widgets/log_pane/log_pane.h"
#include "tests/support/modal_answer.h"
#include "tests/support/test_main.h"

using korvex::widgets::LogPane;

namespace {

QHBoxLayout* button_row(LogPane& pane) {
    return qobject_cast<QHBoxLayout*>(pane.layout()->itemAt(0)->layout());
}

QToolButton* row_button(LogPane& pane, int index) {
    return qobject_cast<QToolButton*>(button_row(pane)->itemAt(index)->widget());
}

}  // namespace

class LogPaneTest : public QObject {
    Q_OBJECT

private slots:
    void alone_the_row_holds_exactly_the_three_buttons() {
        LogPane pane;
        QVERIFY(pane.parentWidget() == nullptr);
        QHBoxLayout* row = button_row(pane);
        QVERIFY(row);
        QCOMPARE(row->count(), 3);
        const QStringList tips{"Clear text", "Do nothing", "Help"};
        for (int i = 0; i < 3; ++i) {
            QToolButton* button = row_button(pane, i);
            QVERIFY2(button, "every row item is a tool button: no stretch");
            QCOMPARE(button->toolTip(), tips[i]);
            QCOMPARE(button->iconSize(), QSize(16, 16));
            QVERIFY(!button->icon().isNull());
            QCOMPARE(button->parent(), &pane);
        }
        QCOMPARE(pane.textBrowser()->parent(), &pane);
        QVERIFY(pane.textBrowser()->isReadOnly());
    }

    void options_button_sits_at_the_right_end_after_a_stretch() {
        auto* options = new QToolButton;
        options->setIconSize(QSize(24, 24));
        LogPane pane(nullptr, options);
        QHBoxLayout* row = button_row(pane);
        QCOMPARE(row->count(), 5);
        QVERIFY(row->itemAt(3)->spacerItem());
        QCOMPARE(row->itemAt(4)->widget(), options);
        QCOMPARE(row->itemAt(4)->alignment(), Qt::AlignRight);
        QCOMPARE(options->parent(), &pane);
        QCOMPARE(options->iconSize(), QSize(24, 24));
    }

    void clear_button_and_ctrl_l_empty_the_view() {
        LogPane pane;
        pane.textBrowser()->append("first line");
        QTest::mouseClick(row_button(pane, 0), Qt::LeftButton);
        QVERIFY(pane.textBrowser()->document()->isEmpty());

        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        QApplication::setActiveWindow(&pane);
        pane.textBrowser()->append("second line");
        QTest::keyClick(&pane, Qt::Key_L, Qt::ControlModifier);
        QTRY_VERIFY(pane.textBrowser()->document()->isEmpty());
        QTest::keyClick(&pane, Qt::Key_L, Qt::ControlModifier);  // already empty
        QVERIFY(pane.textBrowser()->document()->isEmpty());

        pane.textBrowser()->append("after clearing");
        QCOMPARE(pane.textBrowser()->toPlainText(), QString("after clearing"));
    }

    void placeholder_button_changes_nothing() {
        LogPane pane;
        pane.textBrowser()->append("kept");
        QTest::mouseClick(row_button(pane, 1), Qt::LeftButton);
        QCOMPARE(pane.textBrowser()->toPlainText(), QString("kept"));
    }

    void help_button_opens_the_usage_note() {
        LogPane pane;
        pane.textBrowser()->append("kept");
        pane.show();
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        korvex::testing::answer_next_modal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY2(box, "the usage note is not a message box");
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::mouseClick(row_button(pane, 2), Qt::LeftButton);
        QCOMPARE(title, QString("How to use"));
        QCOMPARE(text,
                 QString("Double click a word to highlight then Ctrl+F to find.<br><b>TODO</b> "
                         "add more.<br>"));
        QVERIFY(Qt::mightBeRichText(text));
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(pane.textBrowser()->toPlainText(), QString("kept"));
    }
};

KORVEX_TEST_MAIN(LogPaneTest)
#include "tst_log_pane.moc"

// The aspect-ratio dialog: shows a state, applies a choice, stays out of the way.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "korvex/widgets/aspect_ratio_dialog/aspect_ratio_dialog.h"
#include "tests/support/test_main.h"

using korvex::widgets::AspectRatioDialog;
using State = korvex::utils::OrderedMap<QString, QVariant>;

class TestAspectRatioDialog : public QObject {
    Q_OBJECT

private slots:
    void it_shows_the_state_it_is_given() {
        AspectRatioDialog dialog;
        QVERIFY(!dialog.isModal());
        QCOMPARE(dialog.windowTitle(), QString("Aspect ratio"));
        QCOMPARE(dialog.method(), QString("Equal"));
        QVERIFY(!dialog.findChild<QDoubleSpinBox*>()->isEnabled());
        dialog.load_state(
            State{{"distance", 3.0}, {"aspect_method", "Fixed"}, {"aspect_ratio", 2.5}});
        QCOMPARE(dialog.method(), QString("Fixed"));
        QCOMPARE(dialog.ratio(), 2.5);
        QVERIFY(dialog.findChild<QDoubleSpinBox*>()->isEnabled());
        // Unknown methods and absent ratios leave the fields as they were.
        dialog.load_state(State{{"aspect_method", "equal"}, {"aspect_ratio", QVariant()}});
        QCOMPARE(dialog.method(), QString("Fixed"));
        QCOMPARE(dialog.ratio(), 2.5);
    }

    void apply_sends_the_choice_and_close_deletes_the_dialog() {
        QWidget owner;
        auto* dialog = new AspectRatioDialog(&owner);
        QSignalSpy applied(dialog, &AspectRatioDialog::sigApply);
        QPointer<AspectRatioDialog> alive(dialog);
        dialog->show();
        dialog->findChild<QComboBox*>()->setCurrentText("Fixed");
        dialog->findChild<QDoubleSpinBox*>()->setValue(0.5);
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Apply), Qt::LeftButton);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(applied[0][0].toString(), QString("Fixed"));
        QCOMPARE(applied[0][1].toDouble(), 0.5);
        QVERIFY(dialog->isVisible());  // stays open for another try
        QTest::mouseClick(buttons->button(QDialogButtonBox::Close), Qt::LeftButton);
        QTRY_VERIFY(alive.isNull());
    }
};

KORVEX_TEST_MAIN(TestAspectRatioDialog)
#include "tst_aspect_ratio_dialog.moc"

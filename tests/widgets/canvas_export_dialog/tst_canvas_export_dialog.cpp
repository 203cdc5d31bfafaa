// The picture-export dialog: asks for a path and the clipboard flag, then starts.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "tests/support/test_main.h"

using korvex::widgets::CanvasExportDialog;

namespace {
QPushButton* export_button(CanvasExportDialog& dialog) {
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) {
        if (button->text() == "Export") return qobject_cast<QPushButton*>(button);
    }
    return nullptr;
}
}  // namespace

class TestCanvasExportDialog : public QObject {
    Q_OBJECT

private slots:
    void it_offers_a_png_path_and_an_unchecked_clipboard_box() {
        CanvasExportDialog dialog;
        QVERIFY(!dialog.isModal());
        QVERIFY(dialog.path().endsWith(".png"));
        QVERIFY(!dialog.copy_to_clipboard());
        QCOMPARE(QString(CanvasExportDialog::FILTER), QString("PNG image (*.png)"));
        dialog.findChild<QLineEdit*>()->setText("  ");
        QVERIFY(!export_button(dialog)->isEnabled());  // nowhere to write
    }

    void export_sends_path_and_flag_then_closes() {
        QWidget owner;
        auto* dialog = new CanvasExportDialog(&owner);
        QPointer<CanvasExportDialog> alive(dialog);
        QSignalSpy started(dialog, &CanvasExportDialog::sig_start);
        dialog->show();
        dialog->set_path("/tmp/picture.png");
        dialog->findChild<QCheckBox*>()->setChecked(true);
        QTest::mouseClick(export_button(*dialog), Qt::LeftButton);
        QCOMPARE(started.count(), 1);
        QCOMPARE(started[0][0].toString(), QString("/tmp/picture.png"));
        QCOMPARE(started[0][1].toBool(), true);
        QTRY_VERIFY(alive.isNull());
    }
};

KORVEX_TEST_MAIN(TestCanvasExportDialog)
#include "tst_canvas_export_dialog.moc"

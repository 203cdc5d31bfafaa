// The picture on the clipboard: image and URL together, or nothing at all.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/utils/clipboard.h"
#include "korvex/utils/errors.h"
#include "tests/support/test_main.h"

class TestClipboard : public QObject {
    Q_OBJECT

private slots:
    void a_picture_goes_on_as_image_and_url() {
        QTemporaryDir dir;
        const QString path = dir.filePath("shot.png");
        QImage picture(12, 7, QImage::Format_ARGB32);
        picture.fill(QColor(200, 10, 10));
        QVERIFY(picture.save(path));
        korvex::utils::copy_to_clipboard(path);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasImage());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(12, 7));
        QCOMPARE(data->urls(), QList<QUrl>({QUrl::fromLocalFile(path)}));
    }

    void an_unreadable_file_leaves_the_clipboard_alone() {
        QGuiApplication::clipboard()->setText("before");
        QTemporaryDir dir;
        QVERIFY_EXCEPTION_THROWN(korvex::utils::copy_to_clipboard(dir.filePath("none.png")),
                                 korvex::utils::ValueError);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
    }
};

KORVEX_TEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"

// Pictures of the canvas and the background colour, as a user gets them.
#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/scene/image_section.h"
#include "korvex/scene/text_visual.h"
#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/screen_grab.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using testing::LogCapture;
using testing::on_screen;
using testing::ViewerFixture;

namespace {

// A shown viewer with one volume's three sections.
struct PictureScene : ViewerFixture {
    testing::FakeDataObject cube{"cube"};
    QTemporaryDir dir;

    PictureScene() {
        show(240, 180);
        for (const char* section : {"iline", "xline", "depth"})
            widget.add_cube_section(cube, section);
        widget.set_view_all();
        widget.set_elevation(30);
        widget.set_azimuth(30);
    }
};

QImage rgba(const QImage& image) { return image.convertToFormat(QImage::Format_RGBA8888); }

// `picture` as a viewer shows it over an opaque backdrop.
QImage over(const QImage& picture, const QColor& backdrop) {
    QImage shown(picture.size(), QImage::Format_RGB32);
    shown.fill(backdrop);
    QPainter painter(&shown);
    painter.drawImage(0, 0, picture);
    return shown;
}

// The number of pixels whose channels differ by more than a rounding step.
int differing_pixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 2 || std::abs(p.green() - q.green()) > 2 ||
                std::abs(p.blue() - q.blue()) > 2)
                ++count;
        }
    }
    return count;
}

}  // namespace

class TestExportAndBackground : public QObject {
    Q_OBJECT

private slots:
    void an_export_writes_what_is_on_screen() {
        PictureScene scene;
        const QString path = scene.dir.filePath("canvas.png");
        QGuiApplication::clipboard()->setText("untouched");
        LogCapture log;
        scene.widget.export_canvas_worker(path, false);
        QCOMPARE(log.texts(), QStringList({"Save picture to " + path}));
        const QImage written(path);
        QVERIFY(written.hasAlphaChannel());
        const QImage screen = scene.widget.canvas().render();
        QCOMPARE(written.size(), scene.widget.canvas().native()->size() *
                                     scene.widget.canvas().native()->devicePixelRatioF());
        QCOMPARE(rgba(written), rgba(screen));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("untouched"));
    }

    void an_exported_picture_looks_as_the_screen_over_any_backdrop_data() {
        QTest::addColumn<QString>("background");
        QTest::addColumn<QString>("ink");
        QTest::newRow("dark labels on white") << "white"
                                              << "black";
        QTest::newRow("light labels on navy") << "navy"
                                              << "white";
    }

    void an_exported_picture_looks_as_the_screen_over_any_backdrop() {
        QFETCH(QString, background);
        QFETCH(QString, ink);
        PictureScene scene;
        scene.widget.set_bgcolor(scene::Color(background));
        // Labels are drawn with soft edges: the pixels a plain copy of the canvas gets wrong.
        auto label = std::make_shared<scene::TextVisual>(
            "IL 100 / XL 200", scene::Point3{0.5, 0.5, 0.5}, scene::Color(ink), 18);
        scene.widget.add_item(scene::Item(label));
        const QString path = scene.dir.filePath("labels.png");
        scene.widget.export_canvas_worker(path, false);
        const QImage written(path);
        QVERIFY(written.hasAlphaChannel());
        const QImage over_black = over(written, Qt::black);
        QCOMPARE(differing_pixels(over_black, over(written, Qt::white)), 0);
        QWidget& native = *scene.widget.canvas().native();
        QTRY_COMPARE(differing_pixels(over_black, on_screen(native)), 0);
    }

    void a_second_export_replaces_the_first() {
        PictureScene scene;
        const QString path = scene.dir.filePath("canvas.png");
        scene.widget.export_canvas_worker(path, false);
        scene.widget.set_bgcolor(scene::Color("black"));
        scene.widget.export_canvas_worker(path, false);
        QCOMPARE(QImage(path).pixelColor(1, 1), QColor(Qt::black));
    }

    void an_export_can_go_to_the_clipboard_too() {
        PictureScene scene;
        const QString path = scene.dir.filePath("clip.png");
        scene.widget.export_canvas_worker(path, true);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasImage());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QImage(path).size());
        QCOMPARE(data->urls(), QList<QUrl>({QUrl::fromLocalFile(path)}));
    }

    void a_picture_that_cannot_be_written_is_reported_and_nothing_else_happens() {
        PictureScene scene;
        const QString path = scene.dir.filePath("missing/folder/canvas.png");
        QGuiApplication::clipboard()->setText("untouched");
        LogCapture log;
        scene.widget.export_canvas_worker(path, true);
        QCOMPARE(log.lines().size(), std::size_t(2));
        QCOMPARE(log.lines()[0].text, "Save picture to " + path);
        QCOMPARE(log.lines()[1].level, QString("error"));
        QVERIFY(log.lines()[1].text.contains(path));
        QVERIFY(log.lines()[1].text.contains("No such file or directory"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("untouched"));
        scene.widget.export_canvas_worker(scene.dir.filePath("fine.png"), false);  // still working
        QVERIFY(QFile::exists(scene.dir.filePath("fine.png")));
    }

    void the_export_dialog_starts_the_export() {
        PictureScene scene;
        scene.widget.export_canvas();
        auto* dialog = scene.widget.findChild<widgets::CanvasExportDialog*>();
        QVERIFY(dialog && dialog->isVisible() && !dialog->isModal());
        const QString path = scene.dir.filePath("from_dialog.png");
        dialog->set_path(path);
        for (auto* button : dialog->findChildren<QPushButton*>()) {
            if (button->text() == "Export") QTest::mouseClick(button, Qt::LeftButton);
        }
        QVERIFY(QFile::exists(path));
    }

    void a_chosen_colour_becomes_the_opaque_background() {
        PictureScene scene;
        QColor shown;
        testing::answer_next_modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            shown = dialog->currentColor();
            dialog->setCurrentColor(QColor(10, 200, 30));
            dialog->accept();
        });
        scene.widget.set_background_color();
        // The view's own colour, transparent black, not the canvas's white behind it.
        QCOMPARE(QColor(shown.rgb()), QColor(Qt::black));
        QCOMPARE(scene.widget.bgcolor().RGBA(), (std::array<int, 4>{10, 200, 30, 255}));
        QCOMPARE(scene.widget.bgcolor().rgba()[3], 1.0);
        QCOMPARE(scene.widget.canvas().render().pixelColor(1, 1), QColor(10, 200, 30));
    }

    void cancelling_the_colour_dialog_keeps_the_background() {
        PictureScene scene;
        scene.widget.set_bgcolor(scene::Color(0.2, 0.4, 0.6, 1.0));
        QColor shown;
        testing::answer_next_modal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            shown = dialog->currentColor();
            dialog->setCurrentColor(QColor(Qt::yellow));
            dialog->reject();
        });
        scene.widget.set_background_color();
        QCOMPARE(shown, QColor(51, 102, 153));
        QCOMPARE(scene.widget.bgcolor(), scene::Color(0.2, 0.4, 0.6, 1.0));
    }
};

KORVEX_RENDER_TEST_MAIN(TestExportAndBackground)
#include "tst_export_and_background.moc"

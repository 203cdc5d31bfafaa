// The viewer panel as a user meets it: its button row, keys, clicks and help.
#include <QColorDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QProcess>
#include <QShortcut>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QXmlStreamReader>

#include "korvex/utils/errors.h"
#include "korvex/widgets/canvas_export_dialog/canvas_export_dialog.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "tests/support/fake_data_object.h"
#include "tests/support/fake_host.h"
#include "tests/support/log_capture.h"
#include "tests/support/modal_answer.h"
#include "tests/support/scene_window.h"
#include "tests/support/test_main.h"

using namespace korvex;
using testing::LogCapture;
using widgets::CubeViewer;

namespace {

struct Expected {
    const char* tip;
    const char* shortcut;
};

const std::vector<Expected> BUTTONS{
    {"Hide all", "Ctrl+L"},
    {"View all", "Ctrl+A"},
    {"View from top", "Ctrl+T"},
    {"View from bottom", "Ctrl+B"},
    {"View from north", "Ctrl+N"},
    {"View from south", "Ctrl+S"},
    {"View from west", "Ctrl+W"},
    {"View from east", "Ctrl+E"},
    {"View Persp/Ortho", "O"},
    {"Restrictive view", "R"},
    {"Pick mode", "P"},
    {"Background color", ""},
    {"Export canvas to picture", ""},
    {"Help", ""},
};

QStringList tips(const std::vector<Expected>& buttons) {
    QStringList texts;
    for (const Expected& button : buttons) texts << button.tip;
    return texts;
}

// The source texts of one context of a translation file.
QStringList sources_in_context(const QString& ts_path, const QString& context) {
    QFile file(ts_path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    QString current;
    QStringList sources;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) {
            current = xml.readElementText();
        } else if (xml.name() == QLatin1String("source") && current == context) {
            sources << xml.readElementText();
        }
    }
    return sources;
}

QHBoxLayout* button_row(CubeViewer& viewer) {
    return qobject_cast<QHBoxLayout*>(viewer.layout()->itemAt(0)->layout());
}

QList<QToolButton*> row_buttons(CubeViewer& viewer) {
    QList<QToolButton*> buttons;
    QHBoxLayout* row = button_row(viewer);
    for (int i = 0; i < row->count(); ++i) {
        if (auto* button = qobject_cast<QToolButton*>(row->itemAt(i)->widget())) buttons << button;
    }
    return buttons;
}

QToolButton* button(CubeViewer& viewer, const QString& tip) {
    for (QToolButton* candidate : row_buttons(viewer)) {
        if (candidate->toolTip() == tip) return candidate;
    }
    return nullptr;
}

// A viewer panel named "viewer", shown and active.
struct ShownViewer {
    testing::FakeHost host;
    CubeViewer viewer{&host, nullptr, "viewer"};

    ShownViewer() {
        viewer.setParent(nullptr);
        viewer.resize(600, 400);
        testing::wait_until_drawn(viewer);
        // No window manager under Xvfb: make the panel the active window by hand; its
        // keys then act, the keyboard being in the panel.
        QApplication::setActiveWindow(&viewer);
    }

    widgets::CanvasWidget& base() { return viewer.base(); }
    void key(const QKeySequence& keys) { QTest::keySequence(&viewer, keys); }
};

}  // namespace

class TestCubeViewer : public QObject {
    Q_OBJECT

private slots:
    void the_row_holds_the_fourteen_buttons_in_order() {
        testing::FakeHost host;
        CubeViewer viewer(&host, nullptr, "viewer");
        QCOMPARE(viewer.owner(), &host);
        QCOMPARE(viewer.base().name(), QString("viewer"));
        QCOMPARE(viewer.base().owner(), &viewer);
        const QList<QToolButton*> buttons = row_buttons(viewer);
        // No stretch without an options button.
        QCOMPARE(button_row(viewer)->count(), 14);
        QCOMPARE(buttons.size(), 14);
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(buttons[i]->toolTip(), QString(BUTTONS[i].tip));
            QCOMPARE(buttons[i]->iconSize(), QSize(16, 16));
            QVERIFY(!buttons[i]->icon().isNull());
            QCOMPARE(buttons[i]->parentWidget(), &viewer);
        }
        QCOMPARE(buttons[10], viewer.pick_btn());
        for (int checkable : {8, 9, 10}) {
            QVERIFY(buttons[checkable]->isCheckable());
            QVERIFY(!buttons[checkable]->isChecked());
        }
        QVERIFY(viewer.layout()->indexOf(&viewer.base()) >= 0);
        // The panel shows the canvas once its row is built.
        QVERIFY(!viewer.base().canvas().native()->isHidden());
        // The keys are the panel's, in row order; colour and export have none.
        QList<QKeySequence> keys, expected_keys;
        for (QShortcut* shortcut : viewer.findChildren<QShortcut*>()) keys << shortcut->key();
        for (const Expected& expected : BUTTONS) {
            if (*expected.shortcut) expected_keys << QKeySequence(expected.shortcut);
        }
        QCOMPARE(keys, expected_keys);
    }

    // Made in row order, the buttons are the panel's children and its Tab order in that
    // order too.
    void children_and_tab_order_follow_the_row() {
        testing::FakeHost host;
        CubeViewer viewer(&host, nullptr, "viewer");
        const QStringList row = tips(BUTTONS);
        QStringList children;
        for (auto* child :
             viewer.findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly)) {
            children << child->toolTip();
        }
        QCOMPARE(children, row);
        QStringList tab_order;
        for (QWidget* next = viewer.nextInFocusChain(); next != &viewer;
             next = next->nextInFocusChain()) {
            auto* tool_button = qobject_cast<QToolButton*>(next);
            if (tool_button && tool_button->parentWidget() == &viewer)
                tab_order << tool_button->toolTip();
        }
        QCOMPARE(tab_order, row);
    }

    // What the translators' template gets from the panel's source: every tip of the
    // row but the host's help button, in the application's context.
    void the_catalogue_template_holds_every_tooltip() {
        QTemporaryDir dir;
        const QString ts = dir.filePath("korvex.ts");
        QProcess lupdate;
        lupdate.start(LUPDATE_EXECUTABLE,
                      {"-silent", "-tr-function-alias", "tr+=_", CUBE_VIEWER_SOURCE, "-ts", ts});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        const QStringList extracted = sources_in_context(ts, "korvex");
        const QStringList row = tips(BUTTONS).mid(0, 13);
        for (const QString& tip : row) QVERIFY2(extracted.contains(tip), qPrintable(tip));
    }

    void an_options_button_goes_to_the_right_end() {
        testing::FakeHost host;
        auto* options = new QToolButton;
        options->setIconSize(QSize(24, 24));
        CubeViewer viewer(&host, options, "viewer");
        QHBoxLayout* row = button_row(viewer);
        QCOMPARE(row->count(), 16);
        QVERIFY(row->itemAt(14)->spacerItem() != nullptr);
        QCOMPARE(row->itemAt(15)->widget(), options);
        QCOMPARE(row->itemAt(15)->alignment(), Qt::AlignRight);
        QCOMPARE(options->iconSize(), QSize(24, 24));
        QCOMPARE(options->parentWidget(), &viewer);
    }

    void setup_buttons_makes_a_fresh_row_with_the_pick_button_eleventh() {
        testing::FakeHost host;
        CubeViewer viewer(&host);
        const QList<QToolButton*> buttons = viewer.setup_buttons();
        QCOMPARE(buttons.size(), 14);
        QCOMPARE(buttons[10], viewer.pick_btn());
        QCOMPARE(buttons[10]->toolTip(), QString("Pick mode"));
    }

    void a_panel_without_a_host_cannot_reach_the_main_window() {
        QVERIFY_EXCEPTION_THROWN(CubeViewer(nullptr), utils::AttributeError);
    }

    void keys_drive_the_camera_pick_mode_and_hiding() {
        ShownViewer shown;
        QSignalSpy hidden(&shown.base(), &widgets::CanvasWidget::sig_hide_all);
        shown.key(QKeySequence("Ctrl+T"));
        QTRY_COMPARE(shown.base().elevation(), 90.0);
        shown.key(QKeySequence("Ctrl+S"));
        QTRY_COMPARE(shown.base().elevation(), 0.0);
        QCOMPARE(shown.base().azimuth(), 0.0);
        shown.key(QKeySequence("O"));
        QTRY_COMPARE(shown.base().fov(), 0.0);
        shown.key(QKeySequence("O"));
        QTRY_COMPARE(shown.base().fov(), 90.0);  // not the 45 it started with
        shown.key(QKeySequence("P"));
        QTRY_VERIFY(shown.base().canvas().pick_mode());
        QCOMPARE(shown.base().cursor().shape(), Qt::ArrowCursor);
        shown.key(QKeySequence("P"));
        QTRY_VERIFY(!shown.base().canvas().pick_mode());
        shown.key(QKeySequence("Ctrl+L"));
        QTRY_COMPARE(hidden.count(), 1);
    }

    // Each press says so, as news rather than as a failure, and the button springs back.
    void restrictive_view_is_reported_and_the_viewer_goes_on() {
        ShownViewer shown;
        LogCapture log;
        QToolButton* restrictive = button(shown.viewer, "Restrictive view");
        QSignalSpy toggled(restrictive, &QToolButton::toggled);
        shown.key(QKeySequence("R"));
        QTRY_COMPARE(log.lines().size(), std::size_t(1));
        QVERIFY(log.contains("info", "Restrictive view is not implemented"));
        shown.key(QKeySequence("R"));
        QTRY_COMPARE(log.lines().size(), std::size_t(2));
        QCOMPARE(toggled.count(), 2);  // both presses turned it on
        QVERIFY(!restrictive->isChecked());
        QVERIFY_EXCEPTION_THROWN(shown.viewer.toggle_restrictive_view(true),
                                 utils::NotImplementedError);
        shown.key(QKeySequence("Ctrl+B"));
        QTRY_COMPARE(shown.base().elevation(), -90.0);
    }

    void every_button_works_when_clicked() {
        ShownViewer shown;
        testing::FakeDataObject cube("cube");
        shown.base().add_cube_section(cube, "depth");
        QSignalSpy hidden(&shown.base(), &widgets::CanvasWidget::sig_hide_all);
        auto click = [&](const char* tip) {
            QTest::mouseClick(button(shown.viewer, tip), Qt::LeftButton);
        };
        auto angles = [&] {
            return std::make_pair(shown.base().elevation(), shown.base().azimuth());
        };

        click("Hide all");
        QCOMPARE(hidden.count(), 1);
        shown.base().set_scale_factor(1000);
        click("View all");
        QVERIFY(shown.base().scale_factor() < 10);
        QCOMPARE(angles(), std::make_pair(90.0, 0.0));
        click("View from bottom");
        QCOMPARE(angles(), std::make_pair(-90.0, 0.0));
        click("View from top");
        QCOMPARE(angles(), std::make_pair(90.0, 0.0));
        click("View from north");
        QCOMPARE(angles(), std::make_pair(0.0, 180.0));
        click("View from south");
        QCOMPARE(angles(), std::make_pair(0.0, 0.0));
        click("View from west");
        QCOMPARE(angles(), std::make_pair(0.0, -90.0));
        click("View from east");
        QCOMPARE(angles(), std::make_pair(0.0, 90.0));
        click("View Persp/Ortho");
        QCOMPARE(shown.base().fov(), 0.0);
        {
            LogCapture log;
            click("Restrictive view");
            QCOMPARE(log.lines().size(), std::size_t(1));
        }
        click("Pick mode");
        QVERIFY(shown.base().canvas().pick_mode());

        testing::answer_next_modal([](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            dialog->setCurrentColor(Qt::darkGray);
            dialog->accept();
        });
        click("Background color");
        QCOMPARE(shown.base().bgcolor().to_qcolor(), QColor(Qt::darkGray));

        click("Export canvas to picture");
        auto* exporter = shown.base().findChild<widgets::CanvasExportDialog*>();
        QVERIFY(exporter && exporter->isVisible());
        exporter->close();

        QString title, text;
        testing::answer_next_modal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            title = box->windowTitle();
            text = box->text();
            box->accept();
        });
        click("Help");
        QCOMPARE(title, QString("How to use"));
        QCOMPARE(text, QString("<b>Interaction</b> <br>* LMB: orbits the view around its center "
                               "point. <br>* RMB or scroll: change scale_factor (i.e. zoom level) "
                               "<br>* SHIFT + LMB: translate the center point <br>* SHIFT + RMB: "
                               "change FOV <br>"));
        QVERIFY(shown.viewer.isVisible());
    }
};

KORVEX_RENDER_TEST_MAIN(TestCubeViewer)
#include "tst_cube_viewer.moc"

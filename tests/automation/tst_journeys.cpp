#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "korvex/app/catalog/data_opener.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/window/main_window.h"
#include "korvex/automation/automate.h"
#include "korvex/scene/point_visual.h"
#include "korvex/scene/view_box.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "tests/automation/user.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::testing::User;

namespace {

const QStringList SECTIONS{"iline", "xline", "depth"};

// One launched window and the parts of it a user looks at.
// Launches a second apart in name, so a session never reopens the previous one's project
// (the project is named after the launch second, and a test can launch twice within one).
QDateTime next_launch_time() {
    static QDateTime launch_time = QDateTime::currentDateTime();
    launch_time = launch_time.addSecs(1);
    return launch_time;
}

struct Session {
    std::unique_ptr<MainWindow> window = korvex::automation::launch(next_launch_time());
    User user{window.get()};

    korvex::app::DataTree& tree() const { return *window->tree(); }
    korvex::widgets::CubeViewer& viewer() const { return *window->viewer_area()->active_viewer(); }
    korvex::widgets::CanvasWidget& canvas_widget() const { return viewer().base(); }
    QImage picture() const { return canvas_widget().canvas().render(); }
    QString journal() const {
        return window->findChild<korvex::widgets::LogPane*>()->textBrowser()->toPlainText();
    }

    // File > Open data..., the file chosen in the dialog, the SEG-Y header bytes as offered.
    bool open_data(const QString& path) const {
        user.answer_file_dialog(path);
        user.answer_dialog("korvex::app::data::SegyOpenDialog", QDialogButtonBox::Ok);
        // The volume is read on a worker after the menu returns.
        QSignalSpy opened(window->opener(), &korvex::app::DataOpener::sig_opened);
        return user.choose("File", "Open data...") && (!opened.isEmpty() || opened.wait());
    }

    QTreeWidgetItem* item(const QString& name, const QString& section = QString()) const {
        QTreeWidgetItem* object = tree().tree_item(name);
        if (section.isEmpty()) return object;
        // The tree names the time slices for what they are.
        const QString label = section == "depth" ? "time" : section;
        for (int i = 0; i < object->childCount(); ++i) {
            if (object->child(i)->text(0) == label) return object->child(i);
        }
        return nullptr;
    }

    // Ticks the object, or one of its sections, in the tree.
    void tick(const QString& name, const QString& section = QString()) const {
        if (!section.isEmpty()) user.expand(&tree(), item(name));
        user.toggle(&tree(), item(name, section));
    }

    // A section is shown once the user sees it: ticked, and its data read.
    bool shown(const QString& name, const QString& section = QString()) const {
        if (section.isEmpty()) return tree().is_checked(name);
        const auto objects = tree().object_data();
        const auto found = objects.find(name);
        const auto* volume =
            found != objects.end()
                ? dynamic_cast<const korvex::app::data::SeismicVolume*>(found->second)
                : nullptr;
        const bool read = !volume || (!volume->sections_pending() && volume->sections_drawn());
        return tree().is_section_checked(name, section) && read;
    }
};

QString volume_name(const QString& path) { return QFileInfo(path).completeBaseName(); }

// A point well inside whatever is drawn on the white canvas: the median column and row
// of its coloured pixels. Enough for one section seen face on.
QPoint inside_drawing(const QImage& image) {
    std::vector<int> xs, ys;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() < 3 * 230) {
                xs.push_back(x);
                ys.push_back(y);
            }
        }
    }
    if (xs.empty()) return {};
    std::nth_element(xs.begin(), xs.begin() + xs.size() / 2, xs.end());
    std::nth_element(ys.begin(), ys.begin() + ys.size() / 2, ys.end());
    return {xs[xs.size() / 2], ys[ys.size() / 2]};
}

// Mean difference of two same-sized pictures, per channel, 0..255.
double mean_difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGBA8888);
    const QImage y = b.convertToFormat(QImage::Format_RGBA8888);
    double sum = 0.0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 4; ++i) sum += std::abs(int(p[i]) - int(q[i]));
    }
    return sum / (double(x.width()) * x.height() * 4);
}

bool near(double a, double b) {
    return std::abs(a - b) <= 1e-6 * std::max({1.0, std::abs(a), std::abs(b)});
}

}  // namespace

class JourneysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QElapsedTimer clock;
        clock.start();
        volume_ = korvex::app::data::DemoSurvey::ensure().volume;
        qInfo("demo survey ready in %lld ms", clock.elapsed());
    }

    void init() { clock_.start(); }
    void cleanup() { qInfo("%s took %lld ms", QTest::currentTestFunction(), clock_.elapsed()); }

    void the_demo_volume_and_its_sections_make_a_picture() {
        Session s;
        const QString name = volume_name(volume_);
        QVERIFY(s.open_data(volume_));
        QTRY_VERIFY(s.tree().object_items().count(name));

        // Opened, it is shown with its sections.
        QTRY_VERIFY(s.shown(name));
        for (const QString& section : SECTIONS)
            QTRY_VERIFY2(s.shown(name, section), qPrintable(section));
        QCOMPARE(int(s.canvas_widget().canvas().visuals().size()), 4);
        QVERIFY(s.user.click_tool(&s.viewer(), "View all"));

        QVERIFY(s.user.click_tool(&s.viewer(), "Export canvas to picture"));
        QDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = find_dialog(*s.window, "Export canvas to picture")));
        const QString png = dir_.filePath("demo.png");
        s.user.retype(dialog->findChild<QLineEdit*>(), png);
        QVERIFY(click_button(s.user, dialog, "Export"));
        QTRY_VERIFY(s.journal().contains("Save picture to " + png));

        QFile file(png);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray header = file.read(26);
        QCOMPARE(header.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
        QCOMPARE(int(uchar(header[24])), 8);  // bits per channel
        QCOMPARE(int(uchar(header[25])), 6);  // red, green, blue and alpha
        const QImage picture(png);
        const QWidget* native = s.canvas_widget().canvas().native();
        QCOMPARE(picture.size(), native->size() * native->devicePixelRatio());
        // The sections in the seismic colours: troughs blue, peaks red, both plenty.
        int red = 0, blue = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                red += c.red() - c.blue() > 100;
                blue += c.blue() - c.red() > 100;
            }
        }
        const int enough = picture.width() * picture.height() / 1000;
        QVERIFY2(red > enough && blue > enough,
                 qPrintable(QString("%1 red, %2 blue").arg(red).arg(blue)));

        korvex::automation::quit(s.user.bot(), *s.window);
        QVERIFY(!s.window->isVisible());
    }

    void a_pick_on_a_section_reports_its_point_and_amplitude() {
        Session s;
        const QString name = volume_name(volume_);
        QVERIFY(s.open_data(volume_));
        QTRY_VERIFY(s.tree().object_items().count(name));
        s.tick(name, "iline");
        s.tick(name, "xline");
        QTRY_VERIFY(s.shown(name, "depth") && !s.shown(name, "iline") && !s.shown(name, "xline"));
        QVERIFY(s.user.click_tool(&s.viewer(), "View all"));
        QVERIFY(s.user.click_tool(&s.viewer(), "View from top"));
        QVERIFY(s.user.click_tool(&s.viewer(), "Pick mode"));
        QVERIFY(s.viewer().pick_btn()->isChecked());

        QWidget* native = s.canvas_widget().canvas().native();
        const QPoint on_section = inside_drawing(s.picture()) / native->devicePixelRatio();
        QVERIFY(!on_section.isNull());
        s.user.bot().mouseClick(native, Qt::RightButton, -1, on_section);

        const QRegularExpression amplitude(
            QRegularExpression::escape(name) +
            R"(: amplitude (\S+) at inline (\d+), crossline (\d+), time (\S+) ms)");
        QTRY_VERIFY2(amplitude.match(s.journal()).hasMatch(), qPrintable(s.journal()));
        const QRegularExpressionMatch picked = amplitude.match(s.journal());
        const int iline = picked.captured(2).toInt();
        const int xline = picked.captured(3).toInt();
        const double time = picked.captured(4).toDouble();
        // The pick stays: a row of the picks table, and a marker on the sample in the viewer.
        const korvex::app::PicksPanel& picks = *s.window->picks();
        QTRY_COMPARE(picks.count(), 1);
        QCOMPARE(picks.pick(0).iline, iline);
        QCOMPARE(picks.pick(0).xline, xline);
        QCOMPARE(picks.pick(0).time, time);
        const QAbstractItemModel& rows = *picks.table()->model();
        QCOMPARE(rows.index(0, 0).data().toString(), QString::number(iline));
        QCOMPARE(rows.index(0, 6).data().toString(), name);
        const korvex::scene::PointVisual* markers = picks.markers(s.canvas_widget().name());
        QVERIFY(markers);
        QCOMPARE(markers->parent(), &s.canvas_widget().view());
        // On the map where the survey's grid puts the picked trace.
        const auto marked = markers->bounds();
        const auto* volume =
            dynamic_cast<korvex::app::data::SeismicVolume*>(s.tree().object_data().at(name));
        QVERIFY(volume && volume->geometry().has_coordinates());
        const auto lines = volume->placement().to_own({marked[0], marked[2], marked[4]});
        QVERIFY2(std::abs(lines[0] - iline) < 1e-6 && std::abs(lines[1] - xline) < 1e-6,
                 qPrintable(QString("%1, %2").arg(lines[0]).arg(lines[1])));
        QVERIFY(std::abs(marked[4] + time * s.canvas_widget().z_scale()) < 1e-9);
        // The journal reads as a sentence: no addresses, no raw screen coordinates.
        QVERIFY2(
            !s.journal().contains(" at 0x") && !s.journal().contains("Mouse pressed at coordinate"),
            qPrintable(s.journal()));

        // The amplitude is the file's own sample there.
        const korvex::seismic::SegyVolumeFile file(volume_);
        const auto& g = file.geometry();
        const int iline_index = (iline - g.ilines.front()) / g.iline_increment();
        const int xline_index = (xline - g.xlines.front()) / g.xline_increment();
        const int sample = int(std::lround((time - g.delay_ms) / g.sample_interval_ms));
        QVERIFY(iline_index >= 0 && iline_index < g.iline_count());
        QVERIFY(xline_index >= 0 && xline_index < g.xline_count());
        QCOMPARE(sample, g.samples / 2);  // the depth section starts in the middle
        QCOMPARE(picked.captured(1).toFloat(), file.read_trace(iline_index, xline_index)[sample]);

        korvex::automation::quit(s.user.bot(), *s.window);
        QVERIFY(!s.window->isVisible());
    }

    void a_saved_project_reopens_as_it_was_left() {
        const QString name = volume_name(volume_);
        QString project;
        QByteArray state;
        QImage picture;
        {
            Session s;
            QVERIFY(s.open_data(volume_));
            QTRY_VERIFY(s.tree().object_items().count(name));
            s.tick(name, "xline");
            QTRY_VERIFY(s.shown(name) && s.shown(name, "iline") && s.shown(name, "depth"));
            QVERIFY(s.user.click_tool(&s.viewer(), "View all"));
            QVERIFY(s.user.click_tool(&s.viewer(), "View from east"));

            QVERIFY(s.user.choose("File", "Save"));
            project = s.window->project_path();
            QTRY_VERIFY(s.journal().contains("Saved project " + project));
            QVERIFY(!s.window->has_unsaved_changes());
            state = view_state(s);
            picture = s.picture();

            korvex::automation::quit(s.user.bot(), *s.window);
            QVERIFY(!s.window->isVisible());
        }

        Session s;
        // A fresh window looks elsewhere; opening the project must bring the view back.
        QVERIFY(!same_view_state(state, view_state(s)));
        s.user.answer_file_dialog(project);
        QVERIFY(s.user.choose("File", "Open project..."));
        QTRY_COMPARE(s.window->project_path(), project);
        QVERIFY(s.tree().object_items().count(name));
        QVERIFY(s.shown(name));
        QTRY_VERIFY(s.shown(name, "iline") && !s.shown(name, "xline") && s.shown(name, "depth"));
        QVERIFY2(same_view_state(state, view_state(s)), state + "\n" + view_state(s));
        const QImage again = s.picture();
        QCOMPARE(again.size(), picture.size());
        QVERIFY2(mean_difference(picture, again) < 1.0,
                 qPrintable(QString::number(mean_difference(picture, again))));

        korvex::automation::quit(s.user.bot(), *s.window);
        QVERIFY(!s.window->isVisible());
    }

    void a_default_launch_offers_the_shipped_data_mode() {
        Session s;
        korvex::widgets::MenuToggle* toggle = s.window->menu_toggle();
        const int data_mode = toggle->cb_mode()->findText("Data Mode");
        QVERIFY2(data_mode > 0, qPrintable(s.window->options().plugins_paths));
        toggle->cb_mode()->setCurrentIndex(data_mode);
        QCOMPARE(toggle->currentMenuBar(), toggle->plugin_modes().at("Data Mode"));
        QTRY_VERIFY(toggle->currentMenuBar()->isVisible());
        QStringList menus;
        for (QAction* action : toggle->currentMenuBar()->actions()) menus << action->text();
        QCOMPARE(menus, (QStringList{"Objects", "Select"}));
    }

private:
    static QDialog* find_dialog(const QWidget& window, const QString& title) {
        for (QDialog* dialog : window.findChildren<QDialog*>()) {
            if (dialog->isVisible() && dialog->windowTitle() == title) return dialog;
        }
        return nullptr;
    }

    static bool click_button(const User& user, QWidget* area, const QString& text) {
        for (QPushButton* button : area->findChildren<QPushButton*>()) {
            if (button->text().remove('&') == text) {
                user.bot().mouseClick(button, Qt::LeftButton);
                return true;
            }
        }
        return false;
    }

    static QByteArray view_state(const Session& s) {
        return korvex::widgets::view_state_to_json(s.canvas_widget().state());
    }

    // Same keys in the same order, numbers equal but for rounding.
    static bool same_view_state(const QByteArray& a, const QByteArray& b) {
        const QJsonObject x = QJsonDocument::fromJson(a).object();
        const QJsonObject y = QJsonDocument::fromJson(b).object();
        if (x.keys() != y.keys()) return false;
        for (const QString& key : x.keys()) {
            const QJsonValue u = x[key], v = y[key];
            if (u.isArray() && v.isArray()) {
                const QJsonArray p = u.toArray(), q = v.toArray();
                if (p.size() != q.size()) return false;
                for (int i = 0; i < p.size(); ++i) {
                    if (!near(p[i].toDouble(), q[i].toDouble())) return false;
                }
            } else if (u.isDouble() && v.isDouble()) {
                if (!near(u.toDouble(), v.toDouble())) return false;
            } else if (u != v) {
                return false;
            }
        }
        return true;
    }

    QString volume_;
    QTemporaryDir dir_;
    QElapsedTimer clock_;
};

KORVEX_TEMPORARY_HOME_TEST_MAIN(JourneysTest)
#include "tst_journeys.moc"

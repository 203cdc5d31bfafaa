// The section view on its own: the colours it paints, wiggles, how its zoom moves, the keys
// that step it, the zoom a project keeps, and the axes.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <limits>

#include "korvex/scene/colormap.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/section_view/axis_ticks.h"
#include "korvex/widgets/section_view/section_view.h"
#include "tests/support/test_main.h"

using korvex::widgets::AxisKnot;
using korvex::widgets::SectionAxis;
using korvex::widgets::SectionCanvas;
using korvex::widgets::SectionSamples;
using korvex::widgets::SectionView;

namespace {

const float HOLE = std::numeric_limits<float>::quiet_NaN();

// A shown view of `columns` x `rows` samples, amplitudes rising to the right.
void show(SectionView& view, int columns, int rows) {
    SectionSamples samples{rows, columns, {}};
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) samples.values.push_back(float(c) / columns);
    view.show_section("iline", 100, std::move(samples), {"Crossline", 10, 2}, {"Time (ms)", 0, 4});
    view.resize(640, 480);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
}

// Twenty rows of `samples` shown in jet with the clip at 1, its traces drawn as `display`.
void show_traces(SectionView& view, SectionSamples samples, const QString& display) {
    view.show_section("iline", 1, std::move(samples), {"Crossline", 1, 1}, {"Time (ms)", 0, 4});
    view.canvas().set_style("jet", 1.0);
    view.resize(640, 480);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (QAction* action : view.traces_button()->menu()->actions())
        if (action->text() == display) action->trigger();
}

// A drag as the mouse makes it: press, one move, release.
void drag(QWidget& canvas, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
          const QPoint& from, const QPoint& to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, button, button, modifiers);
    QMouseEvent move(QEvent::MouseMove, to, Qt::NoButton, button, modifiers);
    QMouseEvent release(QEvent::MouseButtonRelease, to, button, Qt::NoButton, modifiers);
    for (QMouseEvent* event : {&press, &move, &release}) QApplication::sendEvent(&canvas, event);
}

QPointF data_under(const SectionCanvas& canvas, const QPointF& pixel) {
    return canvas.transform().to_data(pixel);
}

}  // namespace

class TestSectionView : public QObject {
    Q_OBJECT

private slots:
    void each_sample_is_painted_in_its_colormap_colour() {
        SectionView view;
        // Both ends of the clip, the middle, beyond the clip, and a hole.
        view.show_section("iline", 1, {1, 5, {-1.0f, 0.0f, 1.0f, 5.0f, HOLE}}, {"Crossline", 1, 1},
                          {"Time (ms)", 0, 4});
        view.canvas().set_style("jet", 1.0);
        view.resize(500, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage shot = view.canvas().grab().toImage();
        const auto jet = korvex::scene::colormap_colors("jet");
        const QRgb expected[] = {jet.front(), jet[128], jet.back(), jet.back(),
                                 view.canvas().palette().mid().color().rgb()};
        for (int column = 0; column < 5; ++column) {
            const QPoint at =
                view.canvas().transform().to_pixel(QPointF(column + 0.5, 0.5)).toPoint();
            QCOMPARE(QColor(shot.pixel(at)).name(), QColor(expected[column]).name());
        }
    }

    void wiggles_fill_their_positive_lobes_once_traces_are_apart_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("display");
        // Beside the middle trace's baseline, in the positive half and the negative half.
        QTest::addColumn<QString>("right_of_positive");
        QTest::addColumn<QString>("left_of_positive");
        QTest::addColumn<QString>("right_of_negative");
        const auto jet = korvex::scene::colormap_colors("jet");
        const QString high = QColor(jet[jet.size() * 3 / 4]).name();
        const QString low = QColor(jet[jet.size() / 4]).name();
        QTest::newRow("wiggles") << 5 << "Wiggles"
                                 << "#000000"
                                 << "#ffffff"
                                 << "#ffffff";
        QTest::newRow("both") << 5 << "Density and wiggles"
                              << "#000000" << high << low;
        QTest::newRow("too close: colours") << 300 << "Wiggles" << high << high << low;
    }

    void wiggles_fill_their_positive_lobes_once_traces_are_apart() {
        QFETCH(int, columns);
        QFETCH(QString, display);
        // Every trace at half the clip in its upper half and at minus that below: a lobe
        // reaches half way to the next trace.
        SectionSamples samples{20, columns, {}};
        for (int r = 0; r < 20; ++r)
            samples.values.insert(samples.values.end(), columns, r < 10 ? .5f : -.5f);
        SectionView view;
        show_traces(view, std::move(samples), display);
        QCOMPARE(view.traces_button()->text(), display);
        QCOMPARE(view.canvas().wiggles_shown(), columns == 5);

        const QImage shot = view.canvas().grab().toImage();
        const auto& transform = view.canvas().transform();
        const double middle = columns / 2 + 0.5, quarter = 0.25;
        const auto colour = [&](double column, double row) {
            return QColor(shot.pixel(transform.to_pixel(QPointF(column, row)).toPoint())).name();
        };
        QTEST(colour(middle + quarter, 5), "right_of_positive");
        QTEST(colour(middle - quarter, 5), "left_of_positive");
        QTEST(colour(middle + quarter, 15), "right_of_negative");
        // Out to the section's top and bottom edges, as the colours.
        QTEST(colour(middle + quarter, 0.25), "right_of_positive");
        QTEST(colour(middle + quarter, 19.75), "right_of_negative");
    }

    // Wiggles alone, the middle trace missing: its column shows the plot's background, as
    // the colours do, rather than the white of a dead trace, and no wiggle runs down it.
    void a_hole_among_wiggles_shows_the_plot_background() {
        SectionSamples samples{20, 5, {}};
        for (int r = 0; r < 20; ++r)
            for (int c = 0; c < 5; ++c) samples.values.push_back(c == 2 ? HOLE : .5f);
        SectionView view;
        show_traces(view, std::move(samples), "Wiggles");
        QVERIFY(view.canvas().wiggles_shown());

        const QImage shot = view.canvas().grab().toImage();
        const auto& transform = view.canvas().transform();
        const auto colour = [&](double column, double row) {
            return QColor(shot.pixel(transform.to_pixel(QPointF(column, row)).toPoint())).name();
        };
        const QString background = view.canvas().palette().mid().color().name();
        // Where its baseline and its lobe would be; the neighbours' lobes end at its edges.
        for (const double column : {2.5, 2.75})
            for (const double row : {0.25, 10.0, 19.75}) QCOMPARE(colour(column, row), background);
        QCOMPARE(colour(1.75, 10.0), QString("#000000"));
        QCOMPARE(colour(1.25, 10.0), QString("#ffffff"));
    }

    void an_axis_with_knots_runs_straight_between_them_data() {
        QTest::addColumn<double>("data");
        QTest::addColumn<double>("value");
        QTest::newRow("before the first") << 0.0 << -12.5;
        QTest::newRow("first piece") << 3.0 << 62.5;
        QTest::newRow("at a knot") << 5.5 << 125.0;
        QTest::newRow("second piece") << 7.0 << 162.5;
        QTest::newRow("past the last") << 9.5 << 225.0;
    }

    // An arbitrary line's distance: 25 a column up to the bend, then 25 a column again
    // after 3 columns of 75.
    void an_axis_with_knots_runs_straight_between_them() {
        QFETCH(double, data);
        QFETCH(double, value);
        const SectionAxis axis(
            "Distance", 0, 1,
            {AxisKnot{0.5, 0, "A"}, AxisKnot{5.5, 125, "B"}, AxisKnot{8.5, 200, "C"}});
        QCOMPARE(axis.value_at(data), value);
        QCOMPARE(axis.data_at(value), data);
    }

    void the_wheel_zooms_about_the_cursor_data() {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<int>("notches");
        QTest::newRow("in, left top") << QPoint(120, 90) << 2;
        QTest::newRow("out, right bottom") << QPoint(500, 400) << -3;
    }

    void the_wheel_zooms_about_the_cursor() {
        QFETCH(QPoint, cursor);
        QFETCH(int, notches);
        SectionView view;
        show(view, 300, 200);
        SectionCanvas& canvas = view.canvas();
        const QPointF held = data_under(canvas, cursor);
        const double scale = canvas.transform().scale();
        QWheelEvent wheel(cursor, canvas.mapToGlobal(cursor), {}, {0, 120 * notches}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        QCOMPARE(canvas.transform().scale(),
                 scale * std::pow(SectionCanvas::WHEEL_FACTOR, notches));
        const QPointF now = data_under(canvas, cursor);
        QVERIFY2(std::abs(now.x() - held.x()) < 1e-9 && std::abs(now.y() - held.y()) < 1e-9,
                 qPrintable(QString("%1,%2 moved to %3,%4")
                                .arg(held.x())
                                .arg(held.y())
                                .arg(now.x())
                                .arg(now.y())));
    }

    void a_rectangle_drawn_with_the_right_button_or_shift_fills_the_view_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("right button") << int(Qt::RightButton) << Qt::KeyboardModifiers();
        QTest::newRow("shift") << int(Qt::LeftButton) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }

    void a_rectangle_drawn_with_the_right_button_or_shift_fills_the_view() {
        QFETCH(int, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        SectionView view;
        show(view, 300, 200);
        SectionCanvas& canvas = view.canvas();
        const QRectF wanted(QPointF(40, 30), QPointF(90, 60));
        const QPoint from = canvas.transform().to_pixel(wanted.topLeft()).toPoint();
        const QPoint to = canvas.transform().to_pixel(wanted.bottomRight()).toPoint();
        drag(canvas, Qt::MouseButton(button), modifiers, from, to);
        const QRectF shown = canvas.transform().visible();
        QVERIFY(shown.contains(wanted.adjusted(1, 1, -1, -1)));
        // As large as it can be: it touches the view on one side or the other.
        QVERIFY(std::abs(shown.width() - wanted.width()) < 1.0 ||
                std::abs(shown.height() - wanted.height()) < 1.0);
        QTest::mouseDClick(&canvas, Qt::LeftButton);
        QVERIFY(canvas.transform().visible().contains(QRectF(0.5, 0.5, 299, 199)));
    }

    void a_drag_pans_and_the_vertical_exaggeration_keeps_the_width() {
        SectionView view;
        show(view, 300, 200);
        SectionCanvas& canvas = view.canvas();
        const QPointF grabbed = data_under(canvas, QPointF(300, 200));
        drag(canvas, Qt::LeftButton, {}, {300, 200}, {340, 150});
        const QPointF now = data_under(canvas, QPointF(340, 150));
        QVERIFY(std::abs(now.x() - grabbed.x()) < 1e-9 && std::abs(now.y() - grabbed.y()) < 1e-9);
        const double scale = canvas.transform().scale();
        view.exaggeration_box()->setValue(view.exaggeration_box()->value() * 2);
        QCOMPARE(canvas.transform().scale(), scale);
        QCOMPARE(*canvas.transform().exaggeration(), view.exaggeration_box()->value());
    }

    void the_exaggeration_fills_the_view_until_one_is_chosen() {
        SectionView view;
        show(view, 300, 200);
        const SectionCanvas& canvas = view.canvas();
        const double filling = *canvas.transform().exaggeration();
        view.resize(400, 480);
        QTRY_VERIFY(*canvas.transform().exaggeration() > filling);
        view.exaggeration_box()->setValue(2.0);
        const int width = canvas.width();
        view.resize(640, 300);
        QTRY_VERIFY(canvas.width() != width);
        QCOMPARE(*canvas.transform().exaggeration(), 2.0);
        QCOMPARE(canvas.zoom_state()["exaggeration"].toDouble(), 2.0);
    }

    void page_keys_step_and_enter_asks_for_the_typed_line() {
        SectionView view;
        show(view, 30, 20);
        QSignalSpy steps(&view, &SectionView::sig_step);
        QSignalSpy entered(&view, &SectionView::sig_line_entered);
        QTest::keyClick(&view.canvas(), Qt::Key_PageDown);
        QTest::keyClick(&view.canvas(), Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(steps.count(), 2);
        QCOMPARE(steps[0][0].toInt(), 1);
        QCOMPARE(steps[1][0].toInt(), -SectionView::SHIFT_STEP);
        view.line_edit()->setFocus();
        view.line_edit()->selectAll();
        QTest::keyClicks(view.line_edit(), "1234");
        QCOMPARE(entered.count(), 0);
        QTest::keyClick(view.line_edit(), Qt::Key_Return);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(entered[0][0].toDouble(), 1234.0);
    }

    // Long texts in the row are shortened to its room: the view asks no more width for
    // them, so neither does the window it sits in.
    void long_texts_in_the_row_never_widen_the_view_data() {
        QTest::addColumn<QString>("place");
        for (const char* place : {"volume name", "note", "line through points"})
            QTest::newRow(place) << place;
    }
    void long_texts_in_the_row_never_widen_the_view() {
        QFETCH(QString, place);
        SectionView view;
        show(view, 30, 20);
        const auto least_width = [&](const QString& text) {
            if (place == "volume name") view.set_volume_name(text);
            if (place == "note") view.say(text);
            if (place == "line through points") view.set_line(text);
            view.layout()->activate();
            return view.minimumSizeHint().width();
        };
        const QString text = "north_block_pstm_final_2019 ";
        QCOMPARE(least_width(text.repeated(8)), least_width(text));
    }

    // A view made an arbitrary line once shown names its kind whole, not "Arbitrary".
    void an_arbitrary_lines_kind_reads_whole() {
        SectionView view;
        show(view, 30, 20);
        view.set_line("A → B");
        view.layout()->activate();
        QComboBox whole;
        for (int i = 0; i < view.type_box()->count(); ++i)
            whole.addItem(view.type_box()->itemText(i));
        QVERIFY(view.type_box()->width() >= whole.sizeHint().width());
    }

    void the_zoom_comes_back_from_its_state_and_a_bad_state_changes_nothing() {
        SectionView view;
        show(view, 300, 200);
        SectionCanvas& canvas = view.canvas();
        QVERIFY(canvas.zoom_state()["fitted"].toBool());
        canvas.set_exaggeration(2.5);
        QWheelEvent wheel(QPointF(200, 150), canvas.mapToGlobal(QPoint(200, 150)), {}, {0, 240},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&canvas, &wheel);
        const QJsonObject zoomed = canvas.zoom_state();

        SectionView other;
        other.canvas().set_zoom_state(zoomed);
        show(other, 300, 200);
        QCOMPARE(other.canvas().zoom_state(), zoomed);
        QCOMPARE(other.exaggeration_box()->value(), 2.5);
        for (const QJsonObject& bad : {QJsonObject{{"centre", QJsonArray{1}}, {"scale", 2}},
                                       QJsonObject{{"centre", QJsonArray{1, 2}}, {"scale", -2}},
                                       QJsonObject{{"fitted", true}, {"exaggeration", "tall"}}}) {
            QVERIFY_EXCEPTION_THROWN(other.canvas().set_zoom_state(bad), korvex::utils::ValueError);
            QCOMPARE(other.canvas().zoom_state(), zoomed);
        }
    }

    void ticks_are_round_numbers_within_the_range_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<int>("most");
        QTest::addColumn<QVector<double>>("ticks");
        QTest::newRow("lines") << 100.0 << 351.0 << 5 << QVector<double>{100, 200, 300};
        QTest::newRow("reversed") << 20.0 << 0.0 << 4 << QVector<double>{0, 5, 10, 15, 20};
        QTest::newRow("fractions") << -0.3 << 0.3 << 3 << QVector<double>{-0.2, 0, 0.2};
        QTest::newRow("one value") << 7.0 << 7.0 << 3 << QVector<double>{7};
    }

    void ticks_are_round_numbers_within_the_range() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(int, most);
        QFETCH(QVector<double>, ticks);
        const auto found = korvex::widgets::axis_ticks(low, high, most);
        QCOMPARE(int(found.size()), ticks.size());
        for (int i = 0; i < ticks.size(); ++i) QVERIFY(std::abs(found[i] - ticks[i]) < 1e-9);
    }
};

KORVEX_TEST_MAIN(TestSectionView)
#include "tst_section_view.moc"

// The view state: what is read, what assigning does, how bad maps are refused, JSON,
// and the aspect setting that travels with it.
#include <QTest>
#include <cmath>
#include <limits>

#include "korvex/scene/turntable_camera.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/aspect_ratio_dialog/aspect_ratio_dialog.h"
#include "korvex/widgets/cube_viewer/view_state.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"
#include "tests/widgets/cube_viewer/viewer_fixture.h"

using namespace korvex;
using testing::LogCapture;
using testing::ViewerFixture;
using widgets::ViewState;

namespace {

const QStringList KEYS{"distance", "elevation", "azimuth",       "fov",
                       "center",   "bgcolor",   "aspect_method", "aspect_ratio"};

QStringList keys_of(const ViewState& state) {
    QStringList keys;
    for (const auto& entry : state) keys << entry.first;
    return keys;
}

// Moves every value the state carries away from its default.
void change_everything(widgets::CanvasWidget& widget) {
    widget.set_scale_factor(77);
    widget.set_elevation(-12);
    widget.set_azimuth(123);
    widget.set_fov(0);
    widget.set_center({9, 8, 7});
    widget.set_bgcolor(scene::Color(0.1, 0.2, 0.3, 1.0));
}

}  // namespace

class TestViewState : public QObject {
    Q_OBJECT

private slots:
    void a_fresh_state_holds_the_eight_keys_in_order() {
        ViewerFixture viewer;
        const ViewState state = viewer.widget.state();
        QCOMPARE(keys_of(state), KEYS);
        QCOMPARE(state.at("aspect_method").toString(), QString("Equal"));
        QCOMPARE(state.at("aspect_ratio").toDouble(), 1.0);
        QCOMPARE(state.at("fov").toDouble(), 45.0);
        QCOMPARE(state.at("center").toList().size(), 3);
        QCOMPARE(state.at("bgcolor").toList(), (QVariantList{0.0, 0.0, 0.0, 0.0}));
        viewer.widget.set_distance(5.5);
        QCOMPARE(viewer.widget.state().at("distance").toDouble(), 5.5);
        QCOMPARE(viewer.widget.state().at("distance").toDouble(), viewer.widget.scale_factor());
    }

    void assigning_a_saved_state_brings_camera_and_background_back() {
        ViewerFixture viewer;
        const ViewState saved = viewer.widget.state();
        change_everything(viewer.widget);
        viewer.widget.set_state(saved);
        QCOMPARE(viewer.widget.state(), saved);

        change_everything(viewer.widget);
        const ViewState changed = viewer.widget.state();
        viewer.widget.set_state(
            widgets::view_state_from_json(widgets::view_state_to_json(changed)));
        QCOMPARE(viewer.widget.state(), changed);  // through the project file and back
    }

    void a_partial_state_applies_only_its_keys() {
        ViewerFixture viewer;
        ViewState before = viewer.widget.state();
        viewer.widget.set_state(ViewState{{"fov", 10.0}, {"unknown", "ignored"}});
        before.insert_or_assign("fov", 10.0);
        QCOMPARE(viewer.widget.state(), before);
        viewer.widget.set_state(ViewState{{"bgcolor", "navy"}});
        QCOMPARE(viewer.widget.bgcolor(), scene::Color("navy"));
    }

    void values_written_through_the_state_pass_unchanged() {
        ViewerFixture viewer;
        ViewState state = viewer.widget.state();
        state.insert_or_assign("elevation", 135.0);
        state.insert_or_assign("azimuth", -400.0);
        viewer.widget.set_state(state);
        QCOMPARE(viewer.widget.state(), state);
        state.insert_or_assign("elevation", -120.0);
        viewer.widget.set_state(widgets::view_state_from_json(widgets::view_state_to_json(state)));
        QCOMPARE(viewer.widget.elevation(), -120.0);
    }

    void the_aspect_in_a_state_is_not_applied_by_assigning_it() {
        ViewerFixture viewer;
        ViewState state = viewer.widget.state();
        state.insert_or_assign("aspect_method", "Fixed");
        state.insert_or_assign("aspect_ratio", 3.0);
        viewer.widget.set_state(state);
        QCOMPARE(viewer.widget.aspect_method(), QString("Equal"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>(1.0));
    }

    void a_state_of_the_wrong_shape_changes_nothing_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("centre of two numbers") << "center" << QVariant(QVariantList{1.0, 2.0});
        QTest::newRow("centre of text") << "center" << QVariant(QVariantList{1.0, "2", 3.0});
        QTest::newRow("unknown colour name") << "bgcolor" << QVariant("no-such-colour");
        QTest::newRow("colour out of range") << "bgcolor" << QVariant(QVariantList{2.0, 0.0, 0.0});
        QTest::newRow("text for a number") << "fov" << QVariant("wide");
        QTest::newRow("fov beyond 180") << "fov" << QVariant(200.0);
        QTest::newRow("zero distance") << "distance" << QVariant(0.0);
        QTest::newRow("null elevation") << "elevation" << QVariant();
        QTest::newRow("boolean azimuth") << "azimuth" << QVariant(true);
    }

    void a_state_of_the_wrong_shape_changes_nothing() {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        ViewerFixture viewer;
        const ViewState before = viewer.widget.state();
        // Good values come first: none of them may be applied either.
        ViewState bad{{"distance", 3.0},
                      {"elevation", 10.0},
                      {"azimuth", 20.0},
                      {"fov", 30.0},
                      {"center", QVariantList{1, 2, 3}},
                      {"bgcolor", "red"}};
        bad.insert_or_assign(key, value);
        try {
            viewer.widget.set_state(bad);
            QFAIL("a bad view state must be refused");
        } catch (const utils::ValueError& e) {
            QVERIFY2(QString(e.what()).contains("\"" + key + "\""), e.what());
        }
        QCOMPARE(viewer.widget.state(), before);
    }

    void json_keeps_the_key_order_both_ways() {
        const ViewState state{
            {"zeta", 1.5}, {"alpha", QVariantList{1, 2}}, {"mid", "text"}, {"none", QVariant()}};
        const QByteArray json = widgets::view_state_to_json(state);
        QCOMPARE(json, QByteArray(
                           "{\"zeta\": 1.5, \"alpha\": [1,2], \"mid\": \"text\", \"none\": null}"));
        const ViewState back = widgets::view_state_from_json(json);
        QCOMPARE(keys_of(back), (QStringList{"zeta", "alpha", "mid", "none"}));
        QCOMPARE(back.at("zeta").toDouble(), 1.5);
        QVERIFY(back.at("none").isNull());
        const ViewState nested = widgets::view_state_from_json(
            "{\"b\": {\"x\": [1, {\"y\": \"}\"}]}, \"a\\\"q\": 2, \"c\": \"a,b\"}");
        QCOMPARE(keys_of(nested), (QStringList{"b", "a\"q", "c"}));
        QVERIFY_EXCEPTION_THROWN(widgets::view_state_from_json("[1, 2]"), utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(widgets::view_state_from_json("{\"a\": "), utils::ValueError);
    }

    void a_camera_value_that_is_not_finite_is_never_written() {
        const ViewState state{{"distance", std::numeric_limits<double>::infinity()},
                              {"elevation", 30.0},
                              {"center", QVariantList{0.0, std::nan(""), 1.0}}};
        QCOMPARE(widgets::view_state_to_json(state), QByteArray("{\"elevation\": 30}"));
    }

    void apply_aspect_derives_the_ratio_from_the_method() {
        ViewerFixture viewer;
        widgets::CanvasWidget& widget = viewer.widget;
        LogCapture log;
        widget.apply_aspect("Equal", 3.0);
        QCOMPARE(widget.aspect_ratio(), std::optional<double>(1.0));
        widget.apply_aspect("Fixed");
        QCOMPARE(widget.aspect_ratio(), std::optional<double>(1.0));
        widget.apply_aspect("Fixed", 2.5);
        QCOMPARE(widget.aspect_method(), QString("Fixed"));
        QCOMPARE(widget.aspect_ratio(), std::optional<double>(2.5));
        QVERIFY(log.texts().isEmpty());
        widget.apply_aspect("equal", 2.0);
        QCOMPARE(widget.aspect_method(), QString("equal"));
        QCOMPARE(widget.aspect_ratio(), std::optional<double>());
        QVERIFY(log.contains("error", "Unknown value"));
        QVERIFY(widget.state().at("aspect_ratio").isNull());
    }

    void set_aspect_with_a_map_applies_it_without_a_dialog() {
        ViewerFixture viewer;
        const ViewState camera = viewer.widget.state();
        viewer.widget.set_aspect(ViewState{{"aspect_method", "Fixed"}, {"aspect_ratio", 0.5}});
        QCOMPARE(viewer.widget.aspect_method(), QString("Fixed"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>(0.5));
        QVERIFY(viewer.widget.findChildren<widgets::AspectRatioDialog*>().isEmpty());
        QCOMPARE(viewer.widget.fov(), camera.at("fov").toDouble());

        QVERIFY_EXCEPTION_THROWN(viewer.widget.set_aspect(ViewState{{"aspect_ratio", 2.0}}),
                                 utils::LookupError);
        QVERIFY_EXCEPTION_THROWN(viewer.widget.set_aspect(ViewState{{"aspect_method", "Fixed"}}),
                                 utils::LookupError);
        QVERIFY_EXCEPTION_THROWN(viewer.widget.set_aspect(ViewState{{"aspect_method", "Fixed"},
                                                                    {"aspect_ratio", "big"}}),
                                 utils::ValueError);
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>(0.5));

        // A saved state whose ratio is null comes back as it was saved.
        viewer.widget.apply_aspect("Fixed", std::nullopt);
        const ViewState saved = viewer.widget.state();
        QVERIFY(saved.at("aspect_ratio").isNull());
        viewer.widget.apply_aspect("Equal", std::nullopt);
        viewer.widget.set_aspect(saved);
        QCOMPARE(viewer.widget.aspect_method(), QString("Fixed"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>());
    }

    void set_aspect_reads_the_ratio_only_for_a_fixed_aspect() {
        ViewerFixture viewer;
        LogCapture log;
        viewer.widget.set_aspect(ViewState{{"aspect_method", "Equal"}, {"aspect_ratio", "big"}});
        QCOMPARE(viewer.widget.aspect_method(), QString("Equal"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>(1.0));
        viewer.widget.set_aspect(ViewState{{"aspect_method", "Odd"}, {"aspect_ratio", true}});
        QCOMPARE(viewer.widget.aspect_method(), QString("Odd"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>());
        QVERIFY(log.contains("error", "Unknown value"));
        viewer.widget.set_aspect(
            ViewState{{"aspect_method", "Fixed"}, {"aspect_ratio", QVariant()}});
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>());
        try {
            viewer.widget.set_aspect(ViewState{{"aspect_method", 2}, {"aspect_ratio", 1.0}});
            QFAIL("a method that is not text must be refused");
        } catch (const utils::ValueError& e) {
            QVERIFY2(QString(e.what()).contains("\"aspect_method\""), e.what());
        }
        QCOMPARE(viewer.widget.aspect_method(), QString("Fixed"));
    }

    void set_aspect_without_a_map_opens_a_dialog_that_applies() {
        ViewerFixture viewer;
        viewer.widget.apply_aspect("Fixed", 4.0);
        viewer.widget.set_aspect();
        viewer.widget.set_aspect();  // each call opens one more
        const auto dialogs = viewer.widget.findChildren<widgets::AspectRatioDialog*>();
        QCOMPARE(dialogs.size(), 2);
        QVERIFY(dialogs[0]->isVisible() && !dialogs[0]->isModal());
        QCOMPARE(dialogs[0]->method(), QString("Fixed"));
        QCOMPARE(dialogs[0]->ratio(), 4.0);
        emit dialogs[1]->sigApply("Equal", 7.0);
        QCOMPARE(viewer.widget.aspect_method(), QString("Equal"));
        QCOMPARE(viewer.widget.aspect_ratio(), std::optional<double>(1.0));
    }
};

KORVEX_RENDER_TEST_MAIN(TestViewState)
#include "tst_view_state.moc"

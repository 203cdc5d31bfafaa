#include <QtTest>

#include "korvex/utils/functions.h"

using korvex::utils::DisplayState;
using korvex::utils::save_display_state;

class FunctionsTest : public QObject {
    Q_OBJECT

private slots:
    void creates_inner_maps_and_leaves_siblings_alone() {
        DisplayState state;
        save_display_state(state, "vol", "object", "self", true);
        QCOMPARE(state["vol"]["object"]["self"], true);

        save_display_state(state, "vol", "sections", "iline", true);
        save_display_state(state, "vol", "sections", "xline", false);
        save_display_state(state, "pts", "properties", "Z", true);
        QCOMPARE(state.size(), std::size_t(2));
        QCOMPARE(state["vol"].size(), std::size_t(2));
        QCOMPARE(state["vol"]["object"]["self"], true);
        QCOMPARE(state["vol"]["sections"]["iline"], true);
        QCOMPARE(state["vol"]["sections"]["xline"], false);

        save_display_state(state, "vol", "sections", "iline", false);
        QCOMPARE(state["vol"]["sections"]["iline"], false);
        QCOMPARE(state["vol"]["sections"].size(), std::size_t(2));
        QCOMPARE(state["pts"]["properties"]["Z"], true);
    }
};

QTEST_GUILESS_MAIN(FunctionsTest)
#include "tst_functions.moc"

#include <QTest>

#include "korvex/utils/excerpt.h"
#include "korvex/utils/functions.h"
#include "tests/support/test_main.h"

using korvex::utils::DisplayState;
using korvex::utils::excerpt;
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

    // What an error message quotes from a file: short, on one line, every byte visible.
    void excerpts_are_short_and_printable() {
        QCOMPARE(excerpt("1.5e3"), QString("1.5e3"));
        QCOMPARE(excerpt(QString::fromLatin1("a\0b\nc\x7f\td", 8)),
                 QString("a\\x00b\\nc\\x7f\\td"));
        QCOMPARE(excerpt(QString(100000, 'x'), 10), QString(10, 'x') + "... (100000 characters)");
        QCOMPARE(excerpt(QString(40, 'y')), QString(40, 'y'));
    }
};

KORVEX_TEST_GUILESS_MAIN(FunctionsTest)
#include "tst_functions.moc"

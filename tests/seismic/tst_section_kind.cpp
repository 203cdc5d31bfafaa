#include <QTest>

#include "korvex/seismic/section_kind.h"
#include "tests/support/test_main.h"

using korvex::seismic::section_kind;
using korvex::seismic::section_type;
using korvex::seismic::SectionKind;

class SectionKindTest : public QObject {
    Q_OBJECT

private slots:
    void names_and_kinds_map_both_ways() {
        QCOMPARE(section_type(SectionKind::iline), QString("iline"));
        QCOMPARE(section_type(SectionKind::xline), QString("xline"));
        QCOMPARE(section_type(SectionKind::depth), QString("depth"));
        for (const SectionKind kind : korvex::seismic::SECTION_KINDS)
            QCOMPARE(section_kind(section_type(kind)), std::optional<SectionKind>(kind));
    }

    // Whole names only: the viewer, not this mapping, reads a type off a longer name.
    void other_texts_name_no_kind() {
        for (const char* text : {"arbline", "iline 5", "Iline", "time", ""})
            QVERIFY2(!section_kind(text), text);
    }
};

KORVEX_TEST_GUILESS_MAIN(SectionKindTest)
#include "tst_section_kind.moc"

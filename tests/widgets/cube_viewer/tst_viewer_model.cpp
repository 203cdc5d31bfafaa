// What a viewer counts as shown, without a window.
#include <QTest>

#include "korvex/widgets/cube_viewer/viewer_model.h"
#include "tests/support/test_main.h"

using korvex::widgets::ViewerModel;

class TestViewerModel : public QObject {
    Q_OBJECT

private slots:
    void section_types_come_from_the_first_five_characters_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");  // null: not a section the viewer draws
        QTest::newRow("bare") << "iline"
                              << "iline";
        QTest::newRow("numbered") << "xline 1200"
                                  << "xline";
        QTest::newRow("glued") << "depthslice"
                               << "depth";
        QTest::newRow("arbitrary line") << "arb-line 3" << QString();
        QTest::newRow("too short") << "dept" << QString();
        QTest::newRow("capitals") << "ILINE" << QString();
        QTest::newRow("empty") << "" << QString();
    }

    void section_types_come_from_the_first_five_characters() {
        QFETCH(QString, name);
        QFETCH(QString, type);
        const auto found = ViewerModel::section_type(name);
        QCOMPARE(found.has_value(), !type.isNull());
        if (found) QCOMPARE(*found, type);
    }

    void an_entry_is_shown_only_while_recorded_true() {
        ViewerModel model;
        QVERIFY(!model.is_shown("well", "object", "self"));
        model.record("well", "sections", "iline", true);
        QVERIFY(!model.object_shown("well"));  // another group of the same object
        QVERIFY(!model.is_shown("well", "sections", "xline"));
        QVERIFY(model.is_shown("well", "sections", "iline"));
        model.record("well", "object", "self", true);
        QVERIFY(model.object_shown("well"));
        QVERIFY(!model.object_shown("other"));

        // Hiding keeps the entry, false.
        model.record("well", "object", "self", false);
        QVERIFY(!model.object_shown("well"));
        QCOMPARE(model.dpState().at("well").at("object").count("self"), std::size_t(1));
    }

    void everything_hidden_again_is_nothing_shown_but_not_empty() {
        ViewerModel model;
        QVERIFY(model.empty() && model.nothing_shown());
        model.record("well", "properties", "gamma", true);
        QVERIFY(!model.nothing_shown());
        model.record("well", "properties", "gamma", false);
        QVERIFY(model.nothing_shown());
        QVERIFY(!model.empty());
        model.clear();
        QVERIFY(model.empty());
    }
};

KORVEX_TEST_GUILESS_MAIN(TestViewerModel)
#include "tst_viewer_model.moc"

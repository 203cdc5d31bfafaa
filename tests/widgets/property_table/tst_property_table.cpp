#include <QTableWidget>
#include <QTest>
#include <cmath>
#include <limits>

#include "korvex/utils/errors.h"
#include "korvex/widgets/property_table/property_table.h"
#include "tests/support/test_main.h"

namespace property_table = korvex::widgets::property_table;

namespace {

QStringList column(const QTableWidget& table, int index) {
    QStringList texts;
    for (int row = 0; row < table.rowCount(); ++row) texts << table.item(row, index)->text();
    return texts;
}

}  // namespace

class PropertyTableTest : public QObject {
    Q_OBJECT

private slots:
    void rows_are_sorted_by_name_and_replace_the_previous_ones() {
        QWidget parent;
        QTableWidget* table = property_table::create(&parent);
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QString("Property"));
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QString("Value"));

        property_table::refresh(table, {{"old", 1}, {"older", 2}, {"oldest", 3}, {"x", 4}});
        property_table::refresh(
            table,
            {{"traces", 1200}, {"File", "/data/a.sgy"}, {"format", "IEEE float"}, {"dt", 0.004}});
        QCOMPARE(column(*table, 0), (QStringList{"dt", "File", "format", "traces"}));
        QCOMPARE(column(*table, 1), (QStringList{"0.004", "/data/a.sgy", "IEEE float", "1200"}));
        QVERIFY(!(table->item(0, 1)->flags() & Qt::ItemIsEditable));
        QCOMPARE(table->item(3, 1)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));

        property_table::refresh(table, {});
        QCOMPARE(table->rowCount(), 0);
    }

    void names_differing_only_in_case_keep_a_fixed_order() {
        QTableWidget table;
        property_table::refresh(&table, {{"b", 1}, {"a", 2}, {"A", 3}});
        QCOMPARE(column(table, 0), (QStringList{"A", "a", "b"}));
    }

    void values_are_formatted_for_reading_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("int") << QVariant(1234567) << "1234567";
        QTest::newRow("negative long long") << QVariant(qint64(-9000000000)) << "-9000000000";
        QTest::newRow("whole real") << QVariant(2.0) << "2";
        QTest::newRow("interval") << QVariant(0.004) << "0.004";
        QTest::newRow("long fraction") << QVariant(1.0 / 3.0) << "0.333333";
        QTest::newRow("large real") << QVariant(123456789.0) << "1.23457e+08";
        QTest::newRow("tiny real") << QVariant(1e-9) << "1e-09";
        QTest::newRow("float") << QVariant(0.5f) << "0.5";
        QTest::newRow("nan") << QVariant(std::nan("")) << "nan";
        QTest::newRow("-inf") << QVariant(-std::numeric_limits<double>::infinity()) << "-inf";
        QTest::newRow("bool") << QVariant(true) << "yes";
        QTest::newRow("list") << QVariant(QVariantList{1, 2.5, "x"}) << "1, 2.5, x";
        QTest::newRow("string list") << QVariant(QStringList{"iline", "xline"}) << "iline, xline";
        QTest::newRow("map") << QVariant(QVariantMap{{"min", -1.5}, {"max", 2}})
                             << "max: 2, min: -1.5";
        QTest::newRow("absent") << QVariant() << "";
    }
    void values_are_formatted_for_reading() {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(property_table::format_value(value), text);
    }

    void refreshing_no_table_is_refused() {
        QVERIFY_EXCEPTION_THROWN(property_table::refresh(nullptr, {{"a", 1}}),
                                 korvex::utils::ValueError);
    }
};

KORVEX_TEST_MAIN(PropertyTableTest)
#include "tst_property_table.moc"

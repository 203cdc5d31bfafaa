#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "korvex/app/data/point_table.h"
#include "korvex/utils/errors.h"

using korvex::app::data::PointTable;

class PointTableTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QByteArray& text) {
        const QString path = dir_.filePath("points.txt");
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }

private slots:
    void reads_columns_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("comma, header") << QByteArray("X,Y,Z,AMP\n1,2,3,4\n5, 6 ,7,8\n") << "comma"
                                       << QStringList{"X", "Y", "Z", "AMP"};
        QTest::newRow("space, no header") << QByteArray("1 2  3 4\n\n# note\n 5\t6 7 8\n") << " "
                                          << QStringList{"X", "Y", "Z", "A"};
        QTest::newRow("comma char, CRLF") << QByteArray("1,2,3,4\r\n5,6,7,8\r\n") << ","
                                          << QStringList{"X", "Y", "Z", "A"};
    }
    void reads_columns() {
        QFETCH(QByteArray, text);
        QFETCH(QString, delimiter);
        QFETCH(QStringList, names);
        const auto table = PointTable::read(write(text), delimiter);
        QCOMPARE(table.names(), names);
        QCOMPARE(table.size(), 2);
        QCOMPARE(table.column(0), std::vector<double>({1, 5}));
        QCOMPARE(table.column(names[3]), std::vector<double>({4, 8}));
        QVERIFY_EXCEPTION_THROWN(table.column("nope"), korvex::utils::LookupError);
    }

    void bad_input_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("message");
        QTest::newRow("ragged") << QByteArray("X,Y,Z\n1,2,3\n4,5\n") << "comma"
                                << "line 3: 2 columns, expected 3";
        QTest::newRow("not a number") << QByteArray("1 2 3\n\n4 five 6\n") << "space"
                                      << "line 3, column 2: \"five\" is not a number";
        QTest::newRow("text after header") << QByteArray("X,Y,Z\n1,2,abc\n") << "comma"
                                           << "line 2, column 3";
        QTest::newRow("two columns") << QByteArray("1,2\n") << "comma" << "at least three";
        QTest::newRow("empty") << QByteArray("# nothing\n") << "comma" << "no points";
        QTest::newRow("header only") << QByteArray("X,Y,Z\n") << "comma" << "no points";
        QTest::newRow("duplicate names") << QByteArray("X,Y,X\n1,2,3\n") << "comma" << "twice";
        QTest::newRow("tab delimiter") << QByteArray("1\t2\t3\n") << "tab" << "unknown delimiter";
        QTest::newRow("too many unnamed")
            << QByteArray("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19\n") << " "
            << "no header row";
    }
    void bad_input() {
        QFETCH(QByteArray, text);
        QFETCH(QString, delimiter);
        QFETCH(QString, message);
        const QString path = write(text);
        try {
            PointTable::read(path, delimiter);
            QFAIL("no error");
        } catch (const korvex::utils::ValueError& error) {
            const QString what = error.what();
            QVERIFY2(what.startsWith(path + ": ") && what.contains(message), qPrintable(what));
        }
    }
};

QTEST_GUILESS_MAIN(PointTableTest)
#include "tst_point_table.moc"

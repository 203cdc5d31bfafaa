#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/app/data/point_table.h"
#include "korvex/app/data/text_lines.h"
#include "korvex/utils/errors.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

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
        QTest::newRow("comma and space, header")
            << QByteArray("X, Y, Z, AMP\n1, 2, 3, 4\n5, 6, 7, 8\n") << "comma"
            << QStringList{"X", "Y", "Z", "AMP"};
        QTest::newRow("space, no header") << QByteArray("1 2  3 4\n\n# note\n 5\t6 7 8\n") << " "
                                          << QStringList{"X", "Y", "Z", "A"};
        QTest::newRow("comma char, CRLF")
            << QByteArray("1,2,3,4\r\n5,6,7,8\r\n") << "," << QStringList{"X", "Y", "Z", "A"};
        QTest::newRow("CR only") << QByteArray("X Y Z V\r1 2 3 4\r\r5 6 7 8") << "space"
                                 << QStringList{"X", "Y", "Z", "V"};
        QTest::newRow("byte order mark") << QByteArray(
                                                "\xEF\xBB\xBF"
                                                "1,2,3,4\n5,6,7,8")
                                         << "comma" << QStringList{"X", "Y", "Z", "A"};
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
        QTest::newRow("two columns") << QByteArray("1,2\n") << "comma"
                                     << "at least three";
        QTest::newRow("empty") << QByteArray("# nothing\n") << "comma"
                               << "no points";
        QTest::newRow("header only") << QByteArray("X,Y,Z\n") << "comma"
                                     << "no points";
        QTest::newRow("duplicate names") << QByteArray("X,Y,X\n1,2,3\n") << "comma"
                                         << "twice";
        QTest::newRow("tab delimiter") << QByteArray("1\t2\t3\n") << "tab"
                                       << "unknown delimiter";
        // Lines counted right whatever ends them: LF, CR LF, CR.
        QTest::newRow("mixed line ends") << QByteArray("1 2 3\r\n4 5 6\r7 8 9\n1 x 3\n") << "space"
                                         << "line 4, column 2";
        QTest::newRow("huge field") << "1,2,3\n" + QByteArray(5000, 'x') + ",2,3\n"
                                    << "comma"
                                    << "line 2, column 1: \"" + QString(40, 'x') +
                                           "... (5000 characters)\" is not a number";
        QTest::newRow("NUL in a field") << QByteArray("1,2,3\n1,2,3\0z\n", 14) << "comma"
                                        << "line 2, column 3: \"3\\x00z\" is not a number";
        QTest::newRow("endless line")
            << QByteArray("1 2 3\n") +
                   QByteArray(korvex::app::data::TextLines::MAX_LINE_BYTES + 1, '1')
            << "space"
            << "line 2 is longer than 65536 bytes";
        QTest::newRow("all not finite")
            << QByteArray("X,Y,Z\n1,nan,3\ninf,2,3\n1,2,-inf\n") << "comma"
            << "all 3 rows hold a value that is not a finite number (the "
               "first on line 2)";
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
            QVERIFY2(what.size() < 200, qPrintable(what));
        }
    }

    // One nan or inf would spoil the bounds and colours of every point: such rows are
    // left out, and the log says how many.
    void rows_not_finite_are_skipped_and_counted() {
        korvex::testing::LogCapture log;
        const QString path = write("1 2 3\n4 nan 6\n7 8 9 \n1 2 inf\n-inf 5 5\n2 3 4\n");
        const auto table = PointTable::read(path, "space");
        QCOMPARE(table.column(0), std::vector<double>({1, 7, 2}));
        QCOMPARE(table.column(2), std::vector<double>({3, 9, 4}));
        QVERIFY2(log.contains("warning", path + ": 3 rows skipped, each holding a value that is "
                                                "not a finite number (the first on line 2)"),
                 qPrintable(log.texts().join('\n')));
    }

    // Only X, Y and Z must be numbers: a column with any text (a well name) is an
    // attribute of texts, and the first such column names the points.
    void text_attributes_are_kept_and_the_first_names_the_points_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("header") << QByteArray("X,Y,Z,AMP,WELL,NOTE\n1,2,3,4,W-1,a\n5,6,7,8,W-2,7\n")
                                << QStringList{"X", "Y", "Z", "AMP", "WELL", "NOTE"};
        QTest::newRow("no header") << QByteArray("1,2,3,4,W-1,a\n5,6,7,8,W-2,7\n")
                                   << QStringList{"X", "Y", "Z", "A", "B", "C"};
    }
    void text_attributes_are_kept_and_the_first_names_the_points() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, names);
        const auto table = PointTable::read(write(text), "comma");
        QCOMPARE(table.names(), names);
        QCOMPARE(table.number_names(), names.mid(0, 4));
        QCOMPARE(table.label_column(), std::optional<int>(4));
        QCOMPARE(table.texts(4), QStringList({"W-1", "W-2"}));
        QCOMPARE(table.texts(5), QStringList({"a", "7"}));  // one text makes a column of texts
        QCOMPARE(table.column(3), std::vector<double>({4, 8}));
        QVERIFY_EXCEPTION_THROWN(table.column(names[4]), korvex::utils::LookupError);
    }

    // A FIFO would block the reader until something writes to it, maybe forever.
    void files_that_are_not_regular_are_refused() {
        const QString fifo = dir_.filePath("points.fifo");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString& path : {fifo, dir_.path()}) {
            QCOMPARE(PointTable::sniff_delimiter(path), QString("space"));
            try {
                PointTable::read(path, "space");
                QFAIL("no error");
            } catch (const korvex::utils::ValueError& error) {
                QCOMPARE(QString(error.what()), path + ": not a regular file");
            }
        }
    }
};

KORVEX_TEST_GUILESS_MAIN(PointTableTest)
#include "tst_point_table.moc"

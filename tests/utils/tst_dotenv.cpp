#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "korvex/utils/dotenv.h"
#include "korvex/utils/dotenv_parser.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"
#include "tests/utils/dotenv_corpus.h"

using korvex::testing::LogCapture;
using korvex::utils::dotenv_values;
using korvex::utils::DotenvParser;
using korvex::utils::DotenvPrecedence;
using korvex::utils::DotenvValues;
using korvex::utils::load_dotenv;

namespace {

QJsonObject reference(const QStringList& arguments) {
    QProcess python;
    python.start("/usr/bin/python3", QStringList{DOTENV_REFERENCE} + arguments);
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("%s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

QJsonArray as_json(const DotenvValues& values) {
    QJsonArray pairs;
    for (const auto& [key, value] : values) {
        pairs.append(QJsonArray{key, value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null)});
    }
    return pairs;
}

// Shows the first differing pair rather than two long arrays.
void compare_pairs(const QJsonArray& ours, const QJsonArray& expected) {
    for (int i = 0; i < std::min(ours.size(), expected.size()); ++i) {
        QCOMPARE(QJsonDocument(ours[i].toArray()).toJson(QJsonDocument::Compact),
                 QJsonDocument(expected[i].toArray()).toJson(QJsonDocument::Compact));
    }
    QCOMPARE(ours.size(), expected.size());
}

}  // namespace

class DotenvTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QString& name, const QByteArray& content) {
        QFile file(dir_.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(content);
        return file.fileName();
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        qputenv("DOTENV_TEST_HOME", "/home/ref");
        qputenv("DOTENV_TEST_EMPTY", "");
        qputenv("DOTENV_TEST_SHADOWED", "from environment");
    }

    void agrees_with_the_reference_data() {
        QTest::addColumn<QByteArray>("content");
        for (const auto& [name, content] : dotenv_corpus()) QTest::newRow(name) << content;
    }

    // Both orders of precedence, and the number of statements skipped.
    void agrees_with_the_reference() {
        QFETCH(QByteArray, content);
        const QString path = write(QTest::currentDataTag(), content);
        const QJsonObject expected = reference({path});
        QVERIFY(!expected.isEmpty());

        LogCapture log;
        compare_pairs(as_json(dotenv_values(path)), expected["file_first"].toArray());
        if (QTest::currentTestFailed()) return;
        const int faults = log.texts().filter("was skipped").size();
        compare_pairs(as_json(dotenv_values(path, DotenvPrecedence::Environment)),
                      expected["environment_first"].toArray());
        QCOMPARE(faults, expected["faults"].toInt());
    }

    void load_keeps_what_is_set_and_agrees_with_the_reference() {
        const QString path = write("load.env", R"(DOTENV_LOAD_PRESET=from file
DOTENV_LOAD_NEW=${DOTENV_LOAD_PRESET}+new
DOTENV_LOAD_BARE
DOTENV_LOAD_EMPTY=
DOTENV_LOAD_LAST='last'
)");
        qputenv("DOTENV_LOAD_PRESET", "kept");
        const QJsonObject expected = reference({"--load", path});
        QVERIFY(!expected.isEmpty());

        QVERIFY(load_dotenv(path));
        QJsonObject ours;
        for (const QString& key : expected["environment"].toObject().keys()) {
            const QByteArray name = key.toUtf8();
            ours[key] = qEnvironmentVariableIsSet(name) ? QJsonValue(qEnvironmentVariable(name))
                                                        : QJsonValue();
        }
        QCOMPARE(ours, expected["environment"].toObject());
        QCOMPARE(expected["loaded"].toBool(), true);
        QCOMPARE(qgetenv("DOTENV_LOAD_NEW"), QByteArray("kept+new"));
        QVERIFY(!qEnvironmentVariableIsSet("DOTENV_LOAD_BARE"));
        QVERIFY(qEnvironmentVariableIsSet("DOTENV_LOAD_EMPTY"));
    }

    void names_the_environment_cannot_hold_are_skipped() {
        const QString path =
            write("unsettable.env",
                  QByteArray("'DOTENV_BAD=NAME'=x\nDOTENV_NUL=a@b\nDOTENV_AFTER_BAD=set\n")
                      .replace('@', '\0'));
        LogCapture log;
        QVERIFY(load_dotenv(path));
        QCOMPARE(qgetenv("DOTENV_AFTER_BAD"), QByteArray("set"));
        QVERIFY(!qEnvironmentVariableIsSet("DOTENV_NUL"));
        QCOMPARE(log.texts().filter("cannot set the variable").size(), 2);
    }

    void nothing_to_read_is_not_an_error() {
        LogCapture log;
        QVERIFY(!load_dotenv(dir_.filePath("missing.env")));
        QVERIFY(!load_dotenv(dir_.path()));
        QVERIFY(!load_dotenv(QString()));
        QVERIFY(!load_dotenv(write("empty.env", "# only a comment\n")));
        QVERIFY(log.texts().isEmpty());
    }

    void skipped_lines_are_named() {
        const QString path = write("faulty.env", "A=1\n\n\n  'broken\nB=2\n");
        LogCapture log;
        const DotenvValues values = dotenv_values(path);
        QCOMPARE(values.keys(), (std::vector<QString>{"A", "B"}));
        QCOMPARE(log.texts().size(), 1);
        QVERIFY2(log.texts()[0].contains("line 4") && log.texts()[0].contains("'broken"),
                 qPrintable(log.texts()[0]));
    }

    // Far more lines than anyone writes by hand: every key keeps its first place and
    // its last value, and every skipped line is named by its own number.
    void a_large_file_keeps_its_order_and_line_numbers() {
        constexpr int LINES = 160000;
        QByteArray text;
        for (int line = 1; line <= LINES; ++line) {
            const QByteArray number = QByteArray::number(line);
            switch (line % 4) {
                case 1:
                    text += "K" + number + "=first\n";
                    break;
                case 2:
                    text += "K" + QByteArray::number(line - 1) + "=last\n";
                    break;
                case 3:
                    text += "# comment " + number + "\n";
                    break;
                default:
                    text += "not a statement " + number + "\n";
            }
        }

        const DotenvParser parser(QString::fromUtf8(text));
        QCOMPARE(int(parser.faults().size()), LINES / 4);
        for (int i = 0; i < LINES / 4; ++i) {
            const int line = 4 * (i + 1);
            QCOMPARE(parser.faults()[i].line, line);
            QCOMPARE(parser.faults()[i].text, QStringLiteral("not a statement %1").arg(line));
        }

        LogCapture log;
        const DotenvValues values = dotenv_values(write("large.env", text));
        QCOMPARE(int(values.size()), LINES / 4);
        int line = 1;
        for (const auto& [key, value] : values) {
            QCOMPARE(key, QStringLiteral("K%1").arg(line));
            QCOMPARE(value, std::optional<QString>("last"));
            line += 4;
        }
        QVERIFY(values.contains("K1") && !values.contains("K2"));
        QCOMPARE(values.at(QStringLiteral("K%1").arg(LINES - 3)), std::optional<QString>("last"));
    }

    void a_file_that_is_not_utf8_is_refused() {
        LogCapture log;
        QVERIFY(dotenv_values(write("latin1.env", "A=caf\xe9\nB=2\n")).empty());
        QCOMPARE(log.texts().filter("not UTF-8").size(), 1);
    }

    // The reference keeps a byte-order mark as part of the first key, which breaks it.
    void a_byte_order_mark_is_not_part_of_the_first_key() {
        const DotenvValues values = dotenv_values(write("bom.env",
                                                        "\xef\xbb\xbf"
                                                        "FIRST=1\n"));
        QCOMPARE(values.keys(), std::vector<QString>{"FIRST"});
    }
};

KORVEX_TEST_GUILESS_MAIN(DotenvTest)
#include "tst_dotenv.moc"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "korvex/utils/dotenv.h"
#include "tests/support/log_capture.h"
#include "tests/utils/dotenv_corpus.h"

using korvex::testing::LogCapture;
using korvex::utils::dotenv_values;
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
            ours[key] = qEnvironmentVariableIsSet(name) ? QJsonValue(qEnvironmentVariable(name)) : QJsonValue();
        }
        QCOMPARE(ours, expected["environment"].toObject());
        QCOMPARE(expected["loaded"].toBool(), true);
        QCOMPARE(qgetenv("DOTENV_LOAD_NEW"), QByteArray("kept+new"));
        QVERIFY(!qEnvironmentVariableIsSet("DOTENV_LOAD_BARE"));
        QVERIFY(qEnvironmentVariableIsSet("DOTENV_LOAD_EMPTY"));
    }

    void names_the_environment_cannot_hold_are_skipped() {
        const QString path = write(
            "unsettable.env",
            QByteArray("'DOTENV_BAD=NAME'=x\nDOTENV_NUL=a@b\nDOTENV_AFTER_BAD=set\n").replace('@', '\0'));
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
        QVERIFY2(log.texts()[0].contains("line 4") && log.texts()[0].contains("'broken"), qPrintable(log.texts()[0]));
    }

    void a_file_that_is_not_utf8_is_refused() {
        LogCapture log;
        QVERIFY(dotenv_values(write("latin1.env", "A=caf\xe9\nB=2\n")).empty());
        QCOMPARE(log.texts().filter("not UTF-8").size(), 1);
    }

    // The reference keeps a byte-order mark as part of the first key, which breaks it.
    void a_byte_order_mark_is_not_part_of_the_first_key() {
        const DotenvValues values = dotenv_values(write("bom.env", "\xef\xbb\xbf" "FIRST=1\n"));
        QCOMPARE(values.keys(), std::vector<QString>{"FIRST"});
    }
};

QTEST_GUILESS_MAIN(DotenvTest)
#include "tst_dotenv.moc"

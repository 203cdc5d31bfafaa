#include <QFile>
#include <QProcess>
#include <QTest>

#include "korvex/utils/appconsts/appconsts.h"
#include "tests/support/test_main.h"

namespace consts = korvex::utils::appconsts;

// The environment is read when the library loads, so each case runs a fresh process.
static QMap<QString, QString> probe(const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(APPCONSTS_PROBE, QStringList());
    process.waitForFinished();
    QMap<QString, QString> values;
    for (const QString& line :
         QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0) values[line.left(equals)] = line.mid(equals + 1);
    }
    return values;
}

class AppconstsTest : public QObject {
    Q_OBJECT

private slots:
    void environment_is_read_at_load_data() {
        QTest::addColumn<QStringList>("settings");  // NAME=VALUE; a bare NAME is unset
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("secondaries");
        QTest::newRow("unset") << QStringList{"JAVASEIS_DATA_HOME", "JAVASEIS_DATA_SECONDARIES"}
                               << "<absent>"
                               << "<absent>";
        QTest::newRow("empty") << QStringList{"JAVASEIS_DATA_HOME=", "JAVASEIS_DATA_SECONDARIES="}
                               << ""
                               << "";
        QTest::newRow("separators kept whole")
            << QStringList{"JAVASEIS_DATA_HOME=/data/js", "JAVASEIS_DATA_SECONDARIES=/a;/b,/c:/d"}
            << "/data/js"
            << "/a;/b,/c:/d";
        QTest::newRow("blanks and unicode")
            << QStringList{"JAVASEIS_DATA_HOME= /données sismiques ", "JAVASEIS_DATA_SECONDARIES"}
            << " /données sismiques "
            << "<absent>";
    }

    void environment_is_read_at_load() {
        QFETCH(QStringList, settings);
        QFETCH(QString, home);
        QFETCH(QString, secondaries);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& setting : settings) {
            const int equals = setting.indexOf('=');
            if (equals < 0) {
                environment.remove(setting);
            } else {
                environment.insert(setting.left(equals), setting.mid(equals + 1));
            }
        }
        const auto values = probe(environment);
        QCOMPARE(values.value("JAVASEIS_DATA_HOME"), home);
        QCOMPARE(values.value("SECONDARIES_SIZE"), QString("1"));
        QCOMPARE(values.value("JAVASEIS_DATA_SECONDARIES"), secondaries);
    }

    void processor_count_is_the_machines() {
        // Counted another way: the processors the kernel lists.
        QFile cpuinfo("/proc/cpuinfo");
        QVERIFY(cpuinfo.open(QIODevice::ReadOnly | QIODevice::Text));
        int listed = 0;
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("processor")) ++listed;
        }
        QVERIFY(listed > 0);
        QCOMPARE(consts::NCORE, std::optional<int>(listed));
        QCOMPARE(probe(QProcessEnvironment::systemEnvironment()).value("NCORE"),
                 QString::number(listed));
    }

    void fixed_values() {
        QCOMPARE(consts::LMT_LST_DELTA, std::chrono::seconds(1));
        QCOMPARE(consts::SQLITE_LIMIT_LENGTH, 1000000000LL);
        QCOMPARE(consts::SURVEY_BOX_LINE, QString("SURVEY_BOX_LINE"));
        QCOMPARE(consts::SURVEY_BOX_LABEL, QString("SURVEY_BOX_LABEL"));
        QCOMPARE(consts::FILTER_ALL_FILES, QString(";;All files (*)"));
        QCOMPARE(QStringList(consts::SECTION_TYPES.begin(), consts::SECTION_TYPES.end()),
                 QStringList({"iline", "xline", "depth"}));
    }

    void property_names_begin_with_the_coordinates() {
        QCOMPARE(consts::DEFAULT_PROPERTY_NAMES.size(), std::size_t(18));
        for (std::size_t i = 0; i < consts::COORDINATE_PROPERTY_NAMES.size(); ++i) {
            QCOMPARE(consts::DEFAULT_PROPERTY_NAMES[i], consts::COORDINATE_PROPERTY_NAMES[i]);
        }
        QCOMPARE(consts::DEFAULT_PROPERTY_NAMES[3], QString("A"));
        QCOMPARE(consts::DEFAULT_PROPERTY_NAMES[17], QString("O"));
    }

    void delimiters_by_name_or_character() {
        const auto& map = consts::DELIMITER2CHAR;
        QCOMPARE(map.keys(), (std::vector<QString>{"comma", ",", "space", " "}));
        QCOMPARE(map.at("comma"), QString(","));
        QCOMPARE(map.at(","), QString(","));
        QCOMPARE(map.at("space"), QString(" "));
        QCOMPARE(map.at(" "), QString(" "));
        for (const char* missing : {"tab", "\t", ";"}) QVERIFY(!map.contains(missing));
    }
};

KORVEX_TEST_GUILESS_MAIN(AppconstsTest)
#include "tst_appconsts.moc"

#include <QDir>
#include <QFile>
#include <QTest>
#include <exception>
#include <functional>

#include "fuzz/entries.h"
#include "tests/support/test_main.h"

namespace {

using Entry = std::function<void(const QByteArray&)>;

}  // namespace

Q_DECLARE_METATYPE(Entry)

// The inputs on which a fuzzer once found a fault, kept one folder per entry. Each is
// read again as the fuzzer read it: a crash fails the run, and an exception other than
// the reader's own refusal fails the case.
class FuzzRegressionsTest : public QObject {
    Q_OBJECT

private slots:
    void past_findings_are_read_cleanly_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<Entry>("entry");
        QTest::newRow("segy") << "segy" << Entry(korvex::fuzz::open_segy);
        QTest::newRow("points") << "points" << Entry(korvex::fuzz::read_points);
        QTest::newRow("dotenv") << "dotenv" << Entry(korvex::fuzz::read_dotenv);
        QTest::newRow("project") << "project" << Entry(korvex::fuzz::load_project);
        QTest::newRow("view_state") << "view_state" << Entry(korvex::fuzz::read_view_state);
    }

    void past_findings_are_read_cleanly() {
        QFETCH(QString, folder);
        QFETCH(Entry, entry);
        const QDir dir(QStringLiteral(FUZZ_REGRESSIONS "/") + folder);
        const QStringList inputs = dir.entryList(QDir::Files, QDir::Name);
        if (inputs.isEmpty()) QSKIP("no finding kept for this reader");
        for (const QString& input : inputs) {
            QFile file(dir.filePath(input));
            QVERIFY(file.open(QIODevice::ReadOnly));
            try {
                entry(file.readAll());
            } catch (const std::exception& e) {
                QFAIL(qPrintable(QStringLiteral("%1: %2").arg(input, e.what())));
            }
        }
    }
};

KORVEX_TEST_GUILESS_MAIN(FuzzRegressionsTest)
#include "tst_fuzz_regressions.moc"

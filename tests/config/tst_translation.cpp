#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include "korvex/config/base.h"
#include "tests/support/test_main.h"

using korvex::config::_;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void untranslated_text_is_returned_unchanged() {
        QCOMPARE(_("cube viewer"), QString("cube viewer"));
        QCOMPARE(_(QString::fromUtf8("Profondeur µs")), QString::fromUtf8("Profondeur µs"));
    }

    void installed_catalogue_translates_in_the_application_context() {
        QTemporaryDir dir;
        const QString ts = dir.filePath("korvex_xx.ts");
        QFile file(ts);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS><TS version="2.1" language="fr">
<context><name>korvex</name>
<message><source>cube viewer</source><translation>visionneuse de cube</translation></message>
</context>
<context><name>other</name>
<message><source>Hide all</source><translation>Tout cacher</translation></message>
</context></TS>)");
        file.close();
        QCOMPARE(QProcess::execute(LRELEASE_EXECUTABLE, {"-silent", ts}), 0);

        QTranslator translator;
        QVERIFY(translator.load("korvex_xx", dir.path()));
        QCoreApplication::installTranslator(&translator);
        QCOMPARE(_("cube viewer"), QString("visionneuse de cube"));
        QCOMPARE(_("Hide all"), QString("Hide all"));  // other contexts are not ours
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(_("cube viewer"), QString("cube viewer"));
    }
};

KORVEX_TEST_GUILESS_MAIN(TranslationTest)
#include "tst_translation.moc"

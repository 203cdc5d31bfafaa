#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "korvex/app/window/main_window.h"
#include "korvex/modules/run_journal/run_journal.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/log_pane/log_pane.h"
#include "korvex/widgets/menu_toggle/menu_toggle.h"
#include "tests/support/test_main.h"

using korvex::app::MainWindow;
using korvex::app::MainWindowOptions;

// Its own program: the lines logged before any journal existed go to the first journal
// of the process, and here that is the main window's.
class StartUpJournalTest : public QObject {
    Q_OBJECT

private slots:
    void the_journal_shows_what_happened_before_it_existed_in_order() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("no_such_folder");
        const QString plugins = qEnvironmentVariable("KORVEX_TEST_PLUGIN_DIR");
        MainWindowOptions options;
        options.plugins_paths = QStringList{missing, plugins + "/not_a_library",
                                            plugins + "/failing_plugin", plugins + "/good_plugin"}
                                    .join(QDir::listSeparator());
        korvex::utils::logger().info("before the window");

        MainWindow window(options);
        window.setup();
        window.show();
        window.post_visible_setup();
        QTextBrowser* view =
            window.findChild<korvex::modules::RunJournal*>()->logpane()->textBrowser();
        QTRY_VERIFY(view->toPlainText().contains("korvex is ready"));

        const QStringList expected{
            "[info] before the window",
            "[info] Plug-in folder " + missing + " does not exist",
            "[warning] Plug-in " + plugins + "/not_a_library/libnot_a_library.so skipped: ",
            "[error] Menu-bar plug-in \"Failing Mode\" (libfailing_plugin.so) failed: ",
            "[info] korvex is ready",
        };
        const QStringList lines = view->toPlainText().split('\n');
        int previous = -1;
        for (const QString& start : expected) {
            QStringList found;
            int at = -1;
            for (int i = 0; i < lines.size(); ++i) {
                if (lines[i].mid(lines[i].indexOf(' ') + 1).startsWith(start)) {
                    found << lines[i];
                    at = i;
                }
            }
            QVERIFY2(found.size() == 1,
                     qPrintable(start + " found " + QString::number(found.size()) + " times"));
            QVERIFY2(at > previous, qPrintable(start + " is out of order"));
            previous = at;
        }
        // The failing plug-in is left out, the good one stays.
        QCOMPARE(window.menu_toggle()->cb_mode()->count(), 2);
        QCOMPARE(window.menu_toggle()->cb_mode()->itemText(1), QString("Test Mode"));
    }
};

KORVEX_TEST_MAIN(StartUpJournalTest)
#include "tst_start_up_journal.moc"

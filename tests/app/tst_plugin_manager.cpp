#include <QPointer>
#include <QTest>

#include "korvex/app/window/plugin_manager.h"
#include "korvex/widgets/menu_toggle/plugin_menu_bar.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::PluginManager;
using korvex::host::PluginRecord;
using korvex::widgets::PluginMenuBar;

namespace {

QString folder(const QString& name) {
    return qEnvironmentVariable("KORVEX_TEST_PLUGIN_DIR") + "/" + name;
}

QString library(const QString& name) { return folder(name) + "/lib" + name + ".so"; }

bool logged_warning_about(const korvex::testing::LogCapture& log, const QString& path,
                          const QString& reason_part) {
    for (const auto& line : log.lines()) {
        if (line.level == "warning" && line.text.startsWith("Plug-in " + path + " skipped: ") &&
            line.text.contains(reason_part)) {
            return true;
        }
    }
    return false;
}

}  // namespace

class PluginManagerTest : public QObject {
    Q_OBJECT

private slots:
    void records_come_in_file_name_order_over_all_folders() {
        // twin's folder is listed first, yet libgood_plugin.so sorts before libtwin_plugin.so
        PluginManager manager({folder("twin_plugin"), folder("good_plugin")});
        const auto records = manager.getPluginsOfCategory("PluginMenuBar");
        QCOMPARE(records.size(), std::size_t(2));
        QCOMPARE(records[0].path, library("good_plugin"));
        QCOMPARE(records[1].path, library("twin_plugin"));
        for (const PluginRecord& record : records) {
            QCOMPARE(record.name, QString("Test Mode"));
            QCOMPARE(record.category, QString("PluginMenuBar"));
            auto* bar = qobject_cast<PluginMenuBar*>(record.plugin_object);
            QVERIFY(bar);
            QVERIFY(!bar->parent());
        }
        QVERIFY(manager.getPluginsOfCategory("SomethingElse").empty());
    }

    void broken_libraries_are_logged_with_file_and_reason_and_skipped() {
        korvex::testing::LogCapture log;
        const QString missing = folder("no_such_folder");
        PluginManager manager(
            {folder("not_a_library"), folder("stray_plugin"), missing, folder("good_plugin")});
        const auto records = manager.getPluginsOfCategory("PluginMenuBar");
        QCOMPARE(records.size(), std::size_t(1));
        QCOMPARE(records[0].path, library("good_plugin"));

        QVERIFY2(logged_warning_about(log, library("not_a_library"), "not_a_library"),
                 qPrintable(log.texts().join("\n")));
        QVERIFY(logged_warning_about(log, library("stray_plugin"), "unknown category \"Unknown\""));
        // On a search list a missing folder is worth a note; named alone, a warning.
        QVERIFY(log.contains("info", "Plug-in folder " + missing + " does not exist"));
        QVERIFY(log.contains(
            "info", "Plug-in \"Test Mode\" (PluginMenuBar) loaded from " + library("good_plugin")));
        log.clear();
        PluginManager alone({missing});
        QVERIFY(log.contains("warning", "Plug-in folder " + missing + " does not exist"));
    }

    void a_folder_listed_twice_is_searched_once() {
        PluginManager manager({folder("good_plugin"), folder("good_plugin") + "/../good_plugin/"});
        QCOMPARE(manager.getPluginsOfCategory("PluginMenuBar").size(), std::size_t(1));
    }

    void each_manager_owns_its_own_plugin_objects() {
        // Qt keeps one root object per library; the bars must still be separate.
        QPointer<QObject> first_bar;
        {
            PluginManager first({folder("good_plugin")});
            PluginManager second({folder("good_plugin")});
            first_bar = first.getPluginsOfCategory("PluginMenuBar").at(0).plugin_object;
            QVERIFY(first_bar != second.getPluginsOfCategory("PluginMenuBar").at(0).plugin_object);
        }
        QVERIFY(first_bar.isNull());  // deleted with its manager
    }

    void a_plugin_object_deleted_elsewhere_is_no_longer_offered() {
        PluginManager manager({folder("good_plugin"), folder("twin_plugin")});
        delete manager.getPluginsOfCategory("PluginMenuBar").at(0).plugin_object;
        const auto records = manager.getPluginsOfCategory("PluginMenuBar");
        QCOMPARE(records.size(), std::size_t(1));
        QCOMPARE(records[0].path, library("twin_plugin"));
    }
};

KORVEX_TEST_MAIN(PluginManagerTest)
#include "tst_plugin_manager.moc"

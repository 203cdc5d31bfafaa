#include "tests/support/test_main.h"

#include <QApplication>
#include <QFileInfo>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>

#include "korvex/scene/surface_format.h"

namespace korvex::testing {
namespace {

struct Registration {
    TestApplication application;
    TestFactory make;
};

// Filled by static initialisers, before main(): a function-local map is built on first use.
std::map<std::string, Registration>& registry() {
    static std::map<std::string, Registration> classes;
    return classes;
}

void prepare_rendering() {
    scene::prepare_default_surface_format();
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setSamples(0);
    QSurfaceFormat::setDefaultFormat(format);
}

int run(const Registration& registration, int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = [&]() -> std::unique_ptr<QCoreApplication> {
        switch (registration.application) {
            case TestApplication::core:
                return std::make_unique<QCoreApplication>(argc, argv);
            case TestApplication::widgets:
                break;
            case TestApplication::rendering:
                prepare_rendering();
                break;
            case TestApplication::launched_application:
                prepare_rendering();
                QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
                break;
        }
        auto gui = std::make_unique<QApplication>(argc, argv);
        gui->setAttribute(Qt::AA_Use96Dpi, true);
        return gui;
    }();
    const std::unique_ptr<QObject> test = registration.make();
    return QTest::qExec(test.get(), argc, argv);
}

int list_classes(const char* program) {
    std::fprintf(stderr, "usage: %s TEST_FILE [QTest options]; test files:\n", program);
    for (const auto& entry : registry()) std::fprintf(stderr, "  %s\n", entry.first.c_str());
    return 2;
}

}  // namespace

bool register_test_class(const char* source_file, TestApplication application, TestFactory make) {
    registry()[QFileInfo(QString::fromUtf8(source_file)).completeBaseName().toStdString()] = {
        application, make};
    return true;
}

}  // namespace korvex::testing

int main(int argc, char** argv) {
    using namespace korvex::testing;
    if (argc < 2) return list_classes(argv[0]);
    const auto found = registry().find(argv[1]);
    if (found == registry().end()) return list_classes(argv[0]);
    // QTest reads its own options from what follows the test file's name.
    argv[1] = argv[0];
    if (found->second.application != TestApplication::launched_application) {
        return run(found->second, argc - 1, argv + 1);
    }
    QTemporaryDir home;
    if (!home.isValid() || !qputenv("HOME", home.path().toLocal8Bit())) {
        std::fputs("cannot make a temporary home folder\n", stderr);
        return 1;
    }
    return run(found->second, argc - 1, argv + 1);
}

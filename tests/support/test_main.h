#pragma once

// Several test files share one executable per module: each file registers its test class
// here under its own name, and the executable runs the class named by its first argument
// (`<executable> tst_logger [QTest options]`), in a process of its own as before.

#include <QObject>
#include <memory>

namespace korvex::testing {

// What the process around a test class is.
enum class TestApplication {
    core,     // a QCoreApplication: no display needed
    widgets,  // a QApplication
    // A QApplication whose windows draw with the 3D views' OpenGL format; multisampling
    // off, so that read pixels and picks are exact.
    rendering,
    // The whole application launched by the test: rendering as above, $HOME a fresh
    // folder before anything reads it (launched projects never land in the real
    // ~/Documents), and Qt's own file dialogs, which a test can fill in.
    launched_application,
};

using TestFactory = std::unique_ptr<QObject> (*)();

// Adds the test class of `source_file` (its __FILE__) to the executable's runner.
bool register_test_class(const char* source_file, TestApplication application, TestFactory make);

}  // namespace korvex::testing

#define KORVEX_TEST_CLASS_(TestClass, application)                                          \
    static const bool korvex_test_class_registered_ = korvex::testing::register_test_class( \
        __FILE__, korvex::testing::TestApplication::application,                            \
        [] { return std::unique_ptr<QObject>(new TestClass); });

#define KORVEX_TEST_GUILESS_MAIN(TestClass) KORVEX_TEST_CLASS_(TestClass, core)
#define KORVEX_TEST_MAIN(TestClass) KORVEX_TEST_CLASS_(TestClass, widgets)
#define KORVEX_RENDER_TEST_MAIN(TestClass) KORVEX_TEST_CLASS_(TestClass, rendering)
#define KORVEX_TEMPORARY_HOME_TEST_MAIN(TestClass) \
    KORVEX_TEST_CLASS_(TestClass, launched_application)

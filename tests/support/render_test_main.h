#pragma once

// main() for tests that draw with VTK: the OpenGL format must be the default before
// the application exists, and multisampling off so that read pixels and picks are exact.

#include <QApplication>
#include <QSurfaceFormat>
#include <QTest>

#include "korvex/scene/surface_format.h"

#define KORVEX_RENDER_TEST_MAIN(TestClass)                            \
    int main(int argc, char** argv) {                                 \
        QSurfaceFormat format = korvex::scene::view_surface_format(); \
        format.setSamples(0);                                         \
        QSurfaceFormat::setDefaultFormat(format);                     \
        QApplication app(argc, argv);                                 \
        TestClass test;                                               \
        return QTest::qExec(&test, argc, argv);                       \
    }

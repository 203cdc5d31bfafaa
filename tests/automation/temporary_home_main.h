#pragma once

// main() for tests that launch the whole application: $HOME points at a fresh folder
// before anything reads it, so launched projects never land in the real ~/Documents;
// OpenGL is set up as the viewers need it, without multisampling so picks are exact;
// file dialogs are Qt's own, which a test can fill in.

#include <QApplication>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "korvex/scene/surface_format.h"

#define KORVEX_TEMPORARY_HOME_TEST_MAIN(TestClass)                            \
    int main(int argc, char** argv) {                                         \
        QTemporaryDir home;                                                   \
        if (!home.isValid() || !qputenv("HOME", home.path().toLocal8Bit())) { \
            std::fputs("cannot make a temporary home folder\n", stderr);      \
            return 1;                                                         \
        }                                                                     \
        QSurfaceFormat format = korvex::scene::view_surface_format();         \
        format.setSamples(0);                                                 \
        QSurfaceFormat::setDefaultFormat(format);                             \
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);          \
        QApplication app(argc, argv);                                         \
        TestClass test;                                                       \
        return QTest::qExec(&test, argc, argv);                               \
    }

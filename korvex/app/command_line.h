#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

class MainWindow;

// What `korvex` is asked on its command line besides its own options:
//   korvex [--demo] [FILES...] [PROJECT.kvd] [--export PATH [--view top|...] [--size WxH]]
// The demo survey and the files open in the active viewer with their sections shown;
// with --export the picture of that viewer is written and the application ends.
class CommandLine final {
public:
    static const QStringList VIEWS;

    // Adds --demo, --export, --view, --size and the FILES arguments to `parser`.
    static void add_options(QCommandLineParser& parser);
    // Reads them from a processed parser. Throws utils::ValueError for an unknown view,
    // a malformed size, or --view / --size without --export.
    static CommandLine from(const QCommandLineParser& parser);

    bool demo = false;
    // A project (.kvd) among the arguments, opened first; empty when none.
    QString project;
    QStringList files;
    // Where to write the picture; empty: no picture, the application stays open.
    QString export_path;
    // One of VIEWS; empty: the camera's default three-quarter view.
    QString view;
    QSize size{1280, 960};

    bool exports() const { return !export_path.isEmpty(); }

    // Throws utils::ValueError, giving the limit, when the picture is larger than
    // `largest`, what the display's OpenGL can draw; an empty `largest` is no limit.
    void check_size(const QSize& largest) const;

    // Opens the project, then the demo survey and the files in `window` (SEG-Y files with
    // the usual header bytes, without asking), shows each object with its sections in the
    // active viewer, views all and turns to the chosen view. Failures are logged; returns
    // whether everything opened and showed, every object of the project among it.
    bool open_in(MainWindow& window) const;

    // The picture run on a window set up but not yet shown: opens everything, shows the
    // window, writes the picture and returns the exit code, 0 when the picture is written.
    // Failures go to standard error.
    int export_picture(MainWindow& window) const;

private:
    // Fits the view to what is shown, then looks from the chosen direction.
    void frame(widgets::CanvasWidget& viewer) const;
    // Waits until the viewer's canvas is drawn at the picture's size (turning it to the
    // view again if it had to be resized), and writes the PNG. Throws std::runtime_error.
    void write_picture(widgets::CanvasWidget& viewer) const;
};

}  // namespace korvex::app

#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

#include "korvex/app/app_export.h"

class QCommandLineParser;

namespace korvex::app {

// What `korvex` is asked on its command line besides its own options:
//   korvex [--demo] [FILES...] [PROJECT.kvd]
//          [--export PATH [--view top|...|inline:N|crossline:N|time:T|map] [--size WxH]]
// A CommandLineRun does what it asks.
class KORVEX_APP_EXPORT CommandLine final {
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
    // One of VIEWS, a section view's "inline:N", "crossline:N" or "time:T", or "map";
    // empty: the camera's default three-quarter view.
    QString view;
    QSize size{1280, 960};

    bool exports() const { return !export_path.isEmpty(); }
    // The section a --view of a section view names: its type ("iline", "xline" or "depth")
    // and line number or time; none for the 3D views.
    std::optional<std::pair<QString, double>> section_view() const;
    // Whether --view asks for the map view's picture.
    bool map_view() const { return view == QLatin1String("map"); }

    // Throws utils::ValueError, giving the limit, when the picture is larger than
    // `largest`, what the display's OpenGL can draw; an empty `largest` is no limit.
    void check_size(const QSize& largest) const;
};

}  // namespace korvex::app

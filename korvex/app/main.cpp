#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <iostream>

#include "korvex/app/command_line.h"
#include "korvex/app/main_window.h"
#include "korvex/config/base.h"

using korvex::config::_;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("korvex");
    korvex::config::install_translator(app, QLocale().name());

    QCommandLineParser parser;
    parser.setApplicationDescription(_("korvex, a viewer for seismic data"));
    parser.addHelpOption();
    const QCommandLineOption plugins("plugins", _("Load plug-ins from <folder>."), "folder");
    const QCommandLineOption workdir("workdir", _("Start file dialogs and the shell in <folder>."), "folder");
    const QCommandLineOption debug("debug", _("Log Qt's own diagnostics too."));
    parser.addOptions({plugins, workdir, debug});
    korvex::app::CommandLine::add_options(parser);
    parser.process(app);
    korvex::app::CommandLine command_line;
    try {
        command_line = korvex::app::CommandLine::from(parser);
    } catch (const std::exception& error) {
        std::cerr << "korvex: " << error.what() << '\n';
        return 2;
    }

    korvex::app::MainWindowOptions options;
    if (parser.isSet(plugins)) options.plugins_paths = parser.value(plugins);
    if (parser.isSet(workdir)) options.working_directory = parser.value(workdir);
    options.debug = parser.isSet(debug);

    korvex::app::MainWindow window(options);
    window.setup();
    window.show();
    window.post_visible_setup();
    if (!command_line.project.isEmpty()) window.open_project(command_line.project);
    if (command_line.exports()) return command_line.export_picture(window);
    command_line.open_in(window);
    return QApplication::exec();
}

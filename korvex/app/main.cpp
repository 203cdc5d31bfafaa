#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <iostream>

#include "korvex/app/start_up/command_line.h"
#include "korvex/app/start_up/command_line_run.h"
#include "korvex/app/start_up/start_up.h"
#include "korvex/app/window/main_window.h"
#include "korvex/app/window/user_notifier.h"
#include "korvex/config/base.h"
#include "korvex/scene/surface_format.h"
#include "korvex/utils/logger.h"

using korvex::config::_;

namespace {

// The program's own options; their texts are translated when they are made.
struct ProgramOptions {
    QCommandLineOption plugins{"plugins", _("Load plug-ins from <folder>."), "folder"};
    QCommandLineOption workdir{"workdir", _("Start file dialogs and the shell in <folder>."),
                               "folder"};
    QCommandLineOption debug{"debug", _("Log Qt's own diagnostics too.")};

    // Every option korvex knows, --help and --version among them.
    void add_to(QCommandLineParser& parser) const {
        parser.setApplicationDescription(_("korvex, a viewer for seismic data"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOptions({plugins, workdir, debug});
        korvex::app::CommandLine::add_options(parser);
    }
};

QStringList arguments_of(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Help and version are answered before anything needs a display. Qt's own options
// (-platform, -display...) are unknown to the parser here and do not matter.
bool asks_for_help_or_version(const QStringList& arguments) {
    QCommandLineParser parser;
    ProgramOptions().add_to(parser);
    parser.parse(arguments);
    return parser.isSet("help") || parser.isSet("help-all") || parser.isSet("version");
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName("korvex");
    // QSettings keeps the window layout and recent files under this name.
    QCoreApplication::setOrganizationName("korvex");
    QCoreApplication::setApplicationVersion(KORVEX_VERSION);
    const QStringList arguments = arguments_of(argc, argv);
    if (asks_for_help_or_version(arguments)) {
        QCoreApplication console(argc, argv);
        korvex::config::install_translator(console, QLocale().name());
        QCommandLineParser parser;
        ProgramOptions().add_to(parser);
        parser.process(console);  // prints the answer and ends the process
        return 0;
    }
    const QString no_display = korvex::app::prepare_graphics(arguments);
    if (!no_display.isEmpty()) {
        std::cerr << "korvex: " << no_display.toStdString() << '\n';
        return 1;
    }

    QApplication app(argc, argv);
    korvex::config::install_translator(app, QLocale().name());
    const ProgramOptions program_options;
    QCommandLineParser parser;
    program_options.add_to(parser);
    parser.process(app);
    korvex::app::CommandLine command_line;
    try {
        command_line = korvex::app::CommandLine::from(parser);
    } catch (const std::exception& error) {
        std::cerr << "korvex: " << error.what() << '\n';
        return 2;
    }
    // Found now, an OpenGL too old for the 3D views is named; found later, it would be a
    // blank view or a failure deep in the drawing.
    const korvex::scene::OpenGLProfile opengl = korvex::scene::probe_opengl();
    const QString no_opengl = korvex::scene::opengl_shortfall(opengl);
    if (!no_opengl.isEmpty()) {
        korvex::utils::logger().error(no_opengl);
        return 1;
    }
    korvex::scene::fit_multisampling_to_renderer(opengl);
    try {
        command_line.check_size(opengl.largest_picture);
    } catch (const std::exception& error) {
        std::cerr << "korvex: " << error.what() << '\n';
        return 2;
    }

    korvex::app::MainWindowOptions options;
    if (parser.isSet(program_options.plugins))
        options.plugins_paths = parser.value(program_options.plugins);
    if (parser.isSet(program_options.workdir))
        options.working_directory = parser.value(program_options.workdir);
    options.debug = parser.isSet(program_options.debug);
    // A picture run ends before anyone could type into a terminal.
    options.shell = !command_line.exports();
    options.section_caches = !command_line.exports();

    korvex::app::MainWindow window(options);
    window.setup();
    korvex::app::CommandLineRun run(command_line, window);
    // Queued: a run that ends at once must still reach the event loop to end it.
    QObject::connect(
        &run, &korvex::app::CommandLineRun::sig_finished, &app,
        [](int exit_code) { QCoreApplication::exit(exit_code); }, Qt::QueuedConnection);
    run.start();
    return QApplication::exec();
}

#include "korvex/app/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data_model.h"
#include "korvex/app/data_object_factory.h"
#include "korvex/app/data_tree.h"
#include "korvex/app/main_window.h"
#include "korvex/app/missing_data_object.h"
#include "korvex/app/user_notifier.h"
#include "korvex/app/viewer_area.h"
#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/write_png.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

namespace korvex::app {

using config::_;
using utils::format;
using utils::logger;

namespace {

const QString DEMO = QStringLiteral("demo");
const QString EXPORT = QStringLiteral("export");
const QString VIEW = QStringLiteral("view");
const QString SIZE = QStringLiteral("size");
constexpr int DRAW_TIMEOUT_MS = 30000;

QSize parse_size(const QString& text) {
    const auto match = QRegularExpression(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$")).match(text);
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.width() < 1 || size.height() < 1)
        throw utils::ValueError(
            _("--size wants WIDTHxHEIGHT in pixels, such as 1280x960, not \"%1\"")
                .arg(text)
                .toStdString());
    return size;
}

void turn(widgets::CanvasWidget& viewer, const QString& view) {
    if (view == "top")
        viewer.set_view_top();
    else if (view == "bottom")
        viewer.set_view_bot();
    else if (view == "north")
        viewer.set_view_north();
    else if (view == "south")
        viewer.set_view_south();
    else if (view == "west")
        viewer.set_view_west();
    else if (view == "east")
        viewer.set_view_east();
    else {
        viewer.set_elevation(scene::TurntableCamera::DEFAULT_ELEVATION);
        viewer.set_azimuth(scene::TurntableCamera::DEFAULT_AZIMUTH);
    }
}

// Files named on the command line open without questions: SEG-Y with the usual bytes,
// point files with the columns their values suggest.
QVariantMap settings_for(const QString& path) {
    const auto* type = data_object_factory().type_for_file(path);
    if (type && type->name == data::SeismicVolume::TYPE)
        return data::SeismicVolume::header_settings(seismic::SegyHeaderBytes());
    if (type && type->name == data::PointSet::TYPE) return data::PointSet::guessed_settings(path);
    return {};
}

// The project with everything it holds: an object marked missing is a failure too.
bool open_project(MainWindow& window, const QString& path) {
    if (!window.open_project(path) || !window.restored_completely()) return false;
    const auto objects = window.model()->objects();
    return std::none_of(objects.begin(), objects.end(), [](const host::DataObject* dob) {
        return dynamic_cast<const MissingDataObject*>(dob);
    });
}

// The picture must show the volumes' data, not the planes still waiting for it. Reads end
// by arriving or by failing, so there is no time limit.
bool wait_for_sections(const DataModel& model) {
    std::vector<const data::SeismicVolume*> volumes;
    for (const host::DataObject* dob : model.objects())
        if (const auto* volume = dynamic_cast<const data::SeismicVolume*>(dob))
            volumes.push_back(volume);
    const auto pending = [&volumes] {
        return std::any_of(volumes.begin(), volumes.end(), [](const data::SeismicVolume* volume) {
            return volume->sections_pending();
        });
    };
    while (pending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return std::all_of(volumes.begin(), volumes.end(),
                       [](const data::SeismicVolume* volume) { return volume->sections_drawn(); });
}

widgets::CanvasWidget& active_viewer(MainWindow& window) {
    return window.viewer_area()->active_viewer()->base();
}

}  // namespace

const QStringList CommandLine::VIEWS{"top", "bottom", "north", "south", "west", "east"};

void CommandLine::add_options(QCommandLineParser& parser) {
    parser.addOptions({
        {DEMO, _("Open the demo survey (written once into the cache folder).")},
        {EXPORT, _("Write a picture of the 3D view to <png> and quit."), QStringLiteral("png")},
        {VIEW, _("With --export: look from <view>: %1.").arg(VIEWS.join(", ")),
         QStringLiteral("view")},
        {SIZE, _("With --export: the picture's size, such as 1280x960."), QStringLiteral("WxH")},
    });
    parser.addPositionalArgument(
        QStringLiteral("files"),
        _("Data files (SEG-Y volumes, point files) and at most one project "
          "(.kvd) to open."),
        QStringLiteral("[files...]"));
}

CommandLine CommandLine::from(const QCommandLineParser& parser) {
    CommandLine line;
    line.demo = parser.isSet(DEMO);
    line.export_path = parser.value(EXPORT);
    if (!line.exports() && (parser.isSet(VIEW) || parser.isSet(SIZE)))
        throw utils::ValueError(_("--view and --size only go with --export").toStdString());
    if (parser.isSet(VIEW)) {
        line.view = parser.value(VIEW);
        if (!VIEWS.contains(line.view))
            throw utils::ValueError(_("--view wants one of %1, not \"%2\"")
                                        .arg(VIEWS.join(", "), line.view)
                                        .toStdString());
    }
    if (parser.isSet(SIZE)) line.size = parse_size(parser.value(SIZE));
    for (const QString& argument : parser.positionalArguments()) {
        if (QFileInfo(argument).suffix().toLower() != QLatin1String("kvd")) {
            line.files << argument;
        } else if (line.project.isEmpty()) {
            line.project = argument;
        } else {
            throw utils::ValueError(_("only one project can be opened at a time").toStdString());
        }
    }
    return line;
}

void CommandLine::check_size(const QSize& largest) const {
    if (!exports() || largest.isEmpty()) return;
    if (size.width() > largest.width() || size.height() > largest.height())
        throw utils::ValueError(_("--size %1x%2 is larger than this display's OpenGL can draw: "
                                  "at most %3x%4")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(largest.width())
                                    .arg(largest.height())
                                    .toStdString());
}

bool CommandLine::open_in(MainWindow& window) const {
    bool complete = project.isEmpty() || open_project(window, project);
    QStringList paths;
    if (demo) {
        try {
            const auto survey = data::DemoSurvey::ensure();
            paths << survey.volume << survey.horizon;
        } catch (const std::exception& error) {
            logger().error(format("The demo survey cannot be written: {}", error.what()));
            complete = false;
        }
    }
    paths << files;
    DataTree& tree = *window.tree();
    for (const QString& path : paths) {
        if (!window.load_data_file(path, settings_for(path))) {
            complete = false;
            continue;
        }
        try {
            // The model appends what it loads; the tree's tick shows an object with its
            // sections.
            tree.set_checked(window.model()->objects().back()->name(), true);
        } catch (const std::exception& error) {
            logger().error(format("Showing {} failed: {}", path, error.what()));
            complete = false;
        }
    }
    if (!paths.isEmpty()) frame(active_viewer(window));
    return complete;
}

void CommandLine::frame(widgets::CanvasWidget& viewer) const {
    viewer.set_view_all();
    turn(viewer, view);
}

int CommandLine::export_picture(MainWindow& window) const {
    window.notifier()->set_message_boxes(false);
    // Opened before the window is shown, at the picture's size: the sections are read while
    // the window comes up, and its first frame already holds them. The frames a section
    // arriving would ask for are not drawn: the picture is drawn once, when all are in.
    QWidget* canvas = active_viewer(window).canvas().native();
    canvas->setFixedSize(size);
    canvas->setUpdatesEnabled(false);
    const bool opened = open_in(window);
    window.show();
    window.post_visible_setup();
    if (!opened) {
        std::cerr
            << "korvex: not everything could be opened (see the log above); no picture written\n";
        return 1;
    }
    if (!wait_for_sections(*window.model())) {
        std::cerr
            << "korvex: a section could not be read (see the log above); no picture written\n";
        return 1;
    }
    try {
        write_picture(active_viewer(window));
    } catch (const std::exception& error) {
        std::cerr << "korvex: no picture written: " << error.what() << '\n';
        return 1;
    }
    // Flushed now: a script waiting for the picture need not wait for the window to close.
    std::cout << "Picture written to " << QFileInfo(export_path).absoluteFilePath().toStdString()
              << std::endl;
    return 0;
}

void CommandLine::write_picture(widgets::CanvasWidget& viewer) const {
    QWidget* native = viewer.canvas().native();
    const bool resized = native->size() != size;
    native->setFixedSize(size);
    native->window()->adjustSize();
    // The canvas's surface, size and visibility arrive as window-system events: wait for
    // them rather than spin, which would take the processor from the drawing.
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.start(DRAW_TIMEOUT_MS);
    while (!(native->isVisible() && viewer.canvas().has_surface() && native->size() == size)) {
        if (!timeout.isActive())
            throw std::runtime_error(
                "the 3D view was not drawn in time; is there a display (run under xvfb-run)?");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // Fitted again when the canvas has only now taken its final size.
    if (resized && !viewer.dpState.empty()) frame(viewer);
    const QImage image = viewer.canvas().render();
    scene::write_png(export_path, image);
    logger().info(format("Picture of {} x {} pixels written to {}", image.width(), image.height(),
                         export_path));
}

}  // namespace korvex::app

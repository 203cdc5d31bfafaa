#include "korvex/app/start_up/command_line_run.h"

#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <iostream>
#include <vector>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_opener.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/map_view_area.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/app/window/main_window.h"
#include "korvex/app/window/user_notifier.h"
#include "korvex/host/data_object.h"
#include "korvex/scene/write_png.h"
#include "korvex/utils/logger.h"
#include "korvex/widgets/cube_viewer/canvas.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using utils::format;
using utils::logger;

namespace {

constexpr int DRAW_TIMEOUT_MS = 30000;

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
}

// Whether the project came back with everything it holds: an object marked missing is a
// failure too.
bool restored_whole(MainWindow& window) {
    if (!window.restored_completely()) return false;
    const auto objects = window.model()->objects();
    return std::none_of(objects.begin(), objects.end(), [](const host::DataObject* dob) {
        return dynamic_cast<const MissingDataObject*>(dob);
    });
}

std::vector<const data::SeismicVolume*> volumes_of(const DataModel& model) {
    std::vector<const data::SeismicVolume*> volumes;
    for (const host::DataObject* dob : model.objects())
        if (const auto* volume = dynamic_cast<const data::SeismicVolume*>(dob))
            volumes.push_back(volume);
    return volumes;
}

}  // namespace

CommandLineRun::CommandLineRun(CommandLine line, MainWindow& window, QObject* parent)
    : QObject(parent), line_(std::move(line)), window_(window) {
    draw_timeout_.setSingleShot(true);
    connect(&draw_timeout_, &QTimer::timeout, this, [this] {
        finish(1,
               "korvex: no picture written: the 3D view was not drawn in time; is there a "
               "display (run under xvfb-run)?");
    });
}

template <typename Step>
void CommandLineRun::guarded(Step step) {
    try {
        step();
    } catch (const std::exception& error) {
        logger().error(format("The command line's run failed: {}", error.what()));
        if (line_.exports()) finish(1, std::string("korvex: no picture written: ") + error.what());
    }
}

void CommandLineRun::start() {
    guarded([this] {
        if (line_.exports()) {
            window_.notifier()->set_message_boxes(false);
            // Opened before the window is shown, at the picture's size: the sections are
            // read while the window comes up, and its first frame already holds them. The
            // frames a section arriving would ask for are not drawn: the picture is drawn
            // once, when all are in.
            QWidget* canvas = viewer().canvas().native();
            canvas->setFixedSize(line_.size);
            canvas->setUpdatesEnabled(false);
            connect(window_.opener(), &DataOpener::sig_opened, this, &CommandLineRun::on_opened);
        } else {
            window_.show();
            window_.post_visible_setup();
        }
        // The files after the project's own objects, which a project's restore replaces.
        const auto restored = [this] {
            opened_whole_ = restored_whole(window_);
            open_files();
        };
        if (line_.project.isEmpty()) return open_files();
        if (!window_.open_project(line_.project, restored)) {
            opened_whole_ = false;
            open_files();
        }
    });
}

void CommandLineRun::open_files() {
    guarded([this] {
        QStringList paths;
        if (line_.demo) {
            try {
                const auto survey = data::DemoSurvey::ensure();
                paths << survey.volume << survey.horizon;
            } catch (const std::exception& error) {
                logger().error(format("The demo survey cannot be written: {}", error.what()));
                opened_whole_ = false;
            }
        }
        window_.opener()->open_and_show(paths + line_.files, DataOpener::Settings::guessed);
    });
}

void CommandLineRun::on_opened(int shown, int failures) {
    if (stage_ != Stage::opening) return;
    stage_ = Stage::sections;
    guarded([&] {
        window_.show();
        window_.post_visible_setup();
        if (shown > 0) turn(viewer(), line_.view);
        if (!opened_whole_ || failures > 0)
            return finish(1,
                          "korvex: not everything could be opened (see the log above); no "
                          "picture written");
        // The picture must show the volumes' data, not the planes still waiting for it.
        // Reads end by arriving or by failing, so there is no time limit.
        for (const data::SeismicVolume* volume : volumes_of(*window_.model()))
            connect(volume, &data::SeismicVolume::sig_sections_settled, this,
                    &CommandLineRun::check_sections);
        check_sections();
    });
}

void CommandLineRun::check_sections() {
    if (stage_ != Stage::sections) return;
    guarded([this] {
        const auto volumes = volumes_of(*window_.model());
        if (std::any_of(volumes.begin(), volumes.end(), [](const data::SeismicVolume* volume) {
                return volume->sections_pending();
            }))
            return;
        if (!std::all_of(volumes.begin(), volumes.end(), [](const data::SeismicVolume* volume) {
                return volume->sections_drawn();
            }))
            return finish(1,
                          "korvex: a section could not be read (see the log above); no "
                          "picture written");
        if (line_.section_view())
            show_section_view();
        else if (line_.map_view())
            show_map_view();
        else
            await_canvas();
    });
}

void CommandLineRun::show_section_view() {
    stage_ = Stage::canvas;
    const auto [type, position] = *line_.section_view();
    const auto kind = *seismic::section_kind(type);
    data::SeismicVolume* volume = nullptr;
    for (host::DataObject* dob : window_.model()->objects())
        if (!volume) volume = dynamic_cast<data::SeismicVolume*>(dob);
    if (!volume)
        return finish(1, "korvex: no picture written: a section view needs a seismic volume");
    SectionViewArea& views = *window_.section_views();
    widgets::SectionView* view = views.add_view(*volume, kind, 0);
    VolumeSectionFeed* feed = views.feed(views.count() - 1);
    view->canvas().setFixedSize(line_.size);
    connect(feed, &VolumeSectionFeed::sig_drawn, this, [this, view] {
        if (stage_ == Stage::canvas) guarded([&] { write_section_picture(view->canvas()); });
    });
    draw_timeout_.start(DRAW_TIMEOUT_MS);
    feed->go_to(position);
}

void CommandLineRun::show_map_view() {
    stage_ = Stage::writing;
    // The map draws what is open when it is made: nothing is left to wait for.
    widgets::MapCanvas& canvas = window_.map_views()->add_view()->canvas();
    canvas.setFixedSize(line_.size);
    written(canvas.grab().toImage().convertToFormat(QImage::Format_ARGB32));
}

void CommandLineRun::write_section_picture(QWidget& canvas) {
    stage_ = Stage::writing;
    draw_timeout_.stop();
    written(canvas.grab().toImage().convertToFormat(QImage::Format_ARGB32));
}

void CommandLineRun::await_canvas() {
    stage_ = Stage::canvas;
    QWidget* native = viewer().canvas().native();
    resized_ = native->size() != line_.size;
    native->setFixedSize(line_.size);
    native->window()->adjustSize();
    // The canvas's surface, size and visibility arrive as window-system events.
    native->installEventFilter(this);
    native->window()->installEventFilter(this);
    draw_timeout_.start(DRAW_TIMEOUT_MS);
    check_canvas();
}

bool CommandLineRun::eventFilter(QObject* /*watched*/, QEvent* /*event*/) {
    // Checked once the event has done its work, not before.
    if (stage_ == Stage::canvas)
        QMetaObject::invokeMethod(this, &CommandLineRun::check_canvas, Qt::QueuedConnection);
    return false;
}

void CommandLineRun::check_canvas() {
    if (stage_ != Stage::canvas) return;
    guarded([this] {
        const QWidget* native = viewer().canvas().native();
        if (native->isVisible() && viewer().canvas().has_surface() && native->size() == line_.size)
            write_picture();
    });
}

void CommandLineRun::write_picture() {
    stage_ = Stage::writing;
    draw_timeout_.stop();
    widgets::CanvasWidget& canvas_widget = viewer();
    // Fitted again when the canvas has only now taken its final size.
    if (resized_ && !canvas_widget.dpState().empty()) frame();
    written(canvas_widget.canvas().render());
}

void CommandLineRun::written(const QImage& image) {
    scene::write_png(line_.export_path, image);
    logger().info(format("Picture of {} x {} pixels written to {}", image.width(), image.height(),
                         line_.export_path));
    // Flushed now: a script waiting for the picture need not wait for the window to close.
    std::cout << "Picture written to "
              << QFileInfo(line_.export_path).absoluteFilePath().toStdString() << std::endl;
    finish(0);
}

void CommandLineRun::frame() {
    window_.viewer_area()->frame_active_viewer();
    turn(viewer(), line_.view);
}

void CommandLineRun::finish(int exit_code, const std::string& failure) {
    if (stage_ == Stage::done) return;
    stage_ = Stage::done;
    draw_timeout_.stop();
    if (!failure.empty()) std::cerr << failure << '\n';
    emit sig_finished(exit_code);
}

widgets::CanvasWidget& CommandLineRun::viewer() const {
    return window_.viewer_area()->active_viewer()->base();
}

}  // namespace korvex::app

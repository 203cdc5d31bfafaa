// A seismic volume as the application holds it: opened, three sections and the survey's
// box, axes and colour bar shown in a 3D view, a time slice paged through the volume at
// the keyboard's repeat rate.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/bench_volume_session FILE [CACHE_FOLDER]
//
// gui_stall: the longest time the GUI thread's event loop went without turning during
// each step of the paging, against what each step must cost it whatever the data path: a
// new section image and one frame drawn, measured in the same run (with a software
// renderer that frame is most of it). Both are printed as percentiles over every step
// and frame (p50, p95, max), so that like is compared with like; the ratio is the longest
// stall of all against the 95th-percentile frame. Also printed: a time slice read on the
// calling thread, which is what every step cost the window when sections were read there.
// rss_per_file: the private memory the open volume added at its peak, sections and the
// section cache included, against the file's size. File pages mapped for reading are the
// kernel's page cache, shared and dropped under pressure; they are reported apart.
// With `--larger-than-memory` (a file larger than the RAM) only the lines are shown and
// paged, cold from the disk: a time slice from the file itself gathers a sample from every
// trace, a read of the whole file, and so does the cache pass, which is not waited for.
// The reference is then an inline read cold on the calling thread.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QOpenGLWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "bench/figures.h"
#include "bench/section_scene.h"
#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/scene/surface_format.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"
#include "korvex/seismic/segy_volume_file.h"

namespace {

using korvex::app::data::SeismicVolume;
using korvex::bench::figure;
using korvex::bench::figure_with_ratio;
using korvex::bench::median;
using korvex::bench::status_kb;
using korvex::seismic::SectionKind;

constexpr int RUNS = 5;
constexpr int STEPS_PER_RUN = 40;
constexpr int FRAMES = 40;
constexpr int KEY_REPEAT_MS = 33;  // a held key on a desktop: about 30 presses a second

// The longest gap between two turns of the event loop, and the peak private memory,
// while it lives.
class LoopWatch {
public:
    LoopWatch() {
        turn_.setInterval(0);
        QObject::connect(&turn_, &QTimer::timeout, [this] {
            longest_ms_ = std::max(longest_ms_, since_.nsecsElapsed() / 1e6);
            since_.start();
        });
        memory_.setInterval(20);
        QObject::connect(&memory_, &QTimer::timeout, [this] { sample_memory(); });
        since_.start();
        turn_.start();
        memory_.start();
    }
    // The longest gap since the last call, and a fresh start.
    double take_longest_ms() {
        const double longest = std::max(longest_ms_, since_.nsecsElapsed() / 1e6);
        longest_ms_ = 0.0;
        since_.start();
        return longest;
    }
    void sample_memory() {
        peak_anon_kb_ = std::max(peak_anon_kb_, status_kb("RssAnon:"));
        peak_file_kb_ = std::max(peak_file_kb_, status_kb("RssFile:"));
    }
    double peak_anon_kb() const { return peak_anon_kb_; }
    double peak_file_kb() const { return peak_file_kb_; }

private:
    QTimer turn_;
    QTimer memory_;
    QElapsedTimer since_;
    double longest_ms_ = 0.0;
    double peak_anon_kb_ = 0.0;
    double peak_file_kb_ = 0.0;
};

// p50, p95 and max of `values`, printed as figures `<name>_p50`, ...
struct Percentiles {
    double p50 = 0.0, p95 = 0.0, max = 0.0;
};

Percentiles percentiles(std::vector<double> values, const char* name) {
    std::sort(values.begin(), values.end());
    const auto at = [&values](double share) {
        return values[std::size_t(std::ceil(share * double(values.size()))) - 1];
    };
    const Percentiles result{at(0.50), at(0.95), values.back()};
    for (const auto& [suffix, value] :
         {std::pair{"_p50", result.p50}, {"_p95", result.p95}, {"_max", result.max}})
        figure((std::string(name) + suffix).c_str(), value, "ms");
    return result;
}

// Pages the time slice from `first` by `step`, one request per key repeat, and adds the
// longest stall of each step to `stalls`, the last step's once its slice is drawn.
void page(SeismicVolume& volume, LoopWatch& watch, SectionKind kind, int first, int step,
          std::vector<double>& stalls) {
    QTimer key;
    key.setInterval(KEY_REPEAT_MS);
    int pressed = 0;
    QObject::connect(&key, &QTimer::timeout, [&] {
        if (pressed > 0) stalls.push_back(watch.take_longest_ms());
        volume.set_section_index(kind, first + step * pressed);
        if (++pressed == STEPS_PER_RUN) key.stop();
    });
    watch.take_longest_ms();
    key.start();
    while (key.isActive() || volume.sections_pending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    stalls.push_back(watch.take_longest_ms());
}

// Opened as the File menu opens it, on a worker; nullptr when it cannot be read.
std::unique_ptr<SeismicVolume> open_volume(const QString& path) {
    QObject context;
    std::unique_ptr<SeismicVolume> opened;
    bool ended = false;
    SeismicVolume::load_async(path, SeismicVolume::header_settings({}), &context,
                              [&](std::unique_ptr<SeismicVolume> volume, const QString& error) {
                                  opened = std::move(volume);
                                  ended = true;
                                  if (!opened) std::fprintf(stderr, "%s\n", qPrintable(error));
                              });
    while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return opened;
}

void wait_until_drawn(const SeismicVolume& volume) {
    while (volume.sections_pending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

int main(int argc, char** argv) {
    korvex::bench::prepare_opengl();
    QApplication app(argc, argv);
    korvex::scene::fit_multisampling_to_renderer(
        korvex::scene::probe_opengl());  // as the application does
    QStringList args = app.arguments();
    const bool huge = args.removeAll("--larger-than-memory") > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: %s FILE [CACHE_FOLDER] [--larger-than-memory]\n", argv[0]);
        return 2;
    }
    const QString path = args[1];
    QTemporaryDir scratch;
    korvex::app::data::CacheStore caches(args.size() > 2 ? args[2] : scratch.path());
    const double file_mb = QFileInfo(path).size() / 1e6;
    LoopWatch watch;

    // The reference: a time slice read where the caller waits, as the GUI thread once did.
    const korvex::seismic::SegyVolumeFile direct(path);
    const int samples = direct.geometry().samples;
    const auto reference_kind =
        huge ? korvex::seismic::SectionKind::iline : korvex::seismic::SectionKind::depth;
    std::vector<double> slice_read;
    for (int run = 0; run < RUNS; ++run) {
        if (huge) korvex::bench::drop_from_page_cache(path);
        slice_read.push_back(korvex::bench::elapsed_ms(
            [&] { direct.read(reference_kind, samples / 4 + 11 * run); }));
    }
    std::printf("%s: %.0f MB, %s read on the calling thread %.1f ms\n", qPrintable(path), file_mb,
                huge ? "cold inline" : "time slice", median(slice_read));

    QWidget window;
    korvex::scene::SceneCanvas canvas;
    korvex::scene::ViewBox* view = canvas.add_view();
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas.create_native());
    window.resize(1280, 960);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
    canvas.native()->repaint();  // the OpenGL context and its buffers, before the volume
    watch.sample_memory();
    const double anon_before_kb = watch.peak_anon_kb();
    if (huge) korvex::bench::drop_from_page_cache(path);
    QElapsedTimer opening;
    opening.start();
    const auto opened = open_volume(path);
    if (!opened) return 1;
    SeismicVolume& volume = *opened;
    volume.set_cache_store(&caches);
    figure("open", opening.nsecsElapsed() / 1e6, "ms");

    const QStringList types =
        huge ? QStringList{"iline", "xline"} : QStringList{"iline", "xline", "depth"};
    QSignalSpy cache_pass(&volume, &SeismicVolume::sig_cache_pass_ended);
    QElapsedTimer first_picture;
    first_picture.start();
    for (const QString& type : types) {
        volume.make_image_3d(type, "bench");
        // A time slice comes with its survey's outline.
        for (const auto& visual : volume.section_image3d.at(type).at("bench").visuals())
            view->add(*visual);
    }
    // The box, its axes and the colour bar, drawn with every frame as in the viewer.
    volume.make_visuals_in_volume("bench");
    for (const auto& visual : volume.visuals_in_volume.at("bench").visuals()) view->add(*visual);
    view->camera().set_range();
    wait_until_drawn(volume);
    figure("sections_drawn", first_picture.nsecsElapsed() / 1e6, "ms");

    // What the GUI thread cannot avoid per step: a new slice's image and a frame drawn,
    // measured just before the paging it is compared with, under the same load.
    auto slice = std::dynamic_pointer_cast<korvex::scene::ImageSection>(
        volume.section_image3d.at(types.back()).at("bench").visuals().front());
    // Drawn the way a section that arrives is drawn: the scene asks for a frame and the
    // step ends when the frame is on the screen.
    QSignalSpy swapped(qobject_cast<QOpenGLWidget*>(canvas.native()), &QOpenGLWidget::frameSwapped);
    const auto frame_with_new_section = [&] {
        std::vector<double> frames;
        for (int run = 0; run < FRAMES; ++run) {
            frames.push_back(korvex::bench::elapsed_ms([&] {
                slice->set_data(slice->array_data(), slice->rows(), slice->cols());
                swapped.clear();
                (void)swapped.wait(10000);
            }));
        }
        return percentiles(frames, "frame_with_new_section");
    };

    std::vector<double> stalls;
    if (huge) {
        for (const SectionKind kind : {SectionKind::iline, SectionKind::xline}) {
            std::vector<double> reads;
            for (int run = 0; run < RUNS; ++run) {
                korvex::bench::drop_from_page_cache(path);
                QElapsedTimer read;
                read.start();
                volume.set_section_index(kind, 3 + 97 * run);
                wait_until_drawn(volume);
                reads.push_back(read.nsecsElapsed() / 1e6);
            }
            figure(qPrintable(korvex::seismic::section_type(kind) + "_cold_drawn"), median(reads),
                   "ms");
        }
        const Percentiles frame = frame_with_new_section();
        for (int run = 0; run < RUNS; ++run)
            page(volume, watch, SectionKind::iline, 500 + 7 * run, 13, stalls);
        figure_with_ratio("gui_stall", percentiles(stalls, "gui_stall").max, frame.p95);
    } else {
        // Paging before the cache is ready: slices from the file, the cache pass running.
        for (int run = 0; run < RUNS; ++run)
            page(volume, watch, SectionKind::depth, 1 + run, (samples - 10) / STEPS_PER_RUN,
                 stalls);
        percentiles(stalls, "gui_stall_uncached");
        while (cache_pass.isEmpty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        std::printf("section cache: %s\n", cache_pass[0][0].toBool() ? "in use" : "not in use");
        stalls.clear();
        const Percentiles frame = frame_with_new_section();
        for (int run = 0; run < RUNS; ++run)
            page(volume, watch, SectionKind::depth, 2 + run, (samples - 10) / STEPS_PER_RUN,
                 stalls);
        figure_with_ratio("gui_stall", percentiles(stalls, "gui_stall").max, frame.p95);
    }

    watch.sample_memory();
    const double added_mb = (watch.peak_anon_kb() - anon_before_kb) / 1e3;
    std::printf("mapped file pages at the peak (page cache, not private): %.0f MB\n",
                watch.peak_file_kb() / 1e3);
    figure("rss_per_file", added_mb, "MB");
    figure("rss_per_file_ratio", added_mb / file_mb, "x");
    return 0;
}

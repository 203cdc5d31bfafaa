#include "korvex/app/data/seismic_volume.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QLocale>
#include <QtConcurrent>
#include <algorithm>
#include <cmath>
#include <exception>

#include "korvex/app/data/cache_store.h"
#include "korvex/app/data/live_outline_visual.h"
#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/number_text.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/survey_box.h"
#include "korvex/app/data/volume_cache_pass.h"
#include "korvex/app/data/volume_caching.h"
#include "korvex/app/data/volume_section_visual.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/app/data/volume_settings.h"
#include "korvex/config/base.h"
#include "korvex/scene/color_bar.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;
using seismic::SectionKind;

namespace {

QString format_name(int code) {
    switch (code) {
        case 1:
            return _("IBM float");
        case 2:
            return _("32-bit integer");
        case 3:
            return _("16-bit integer");
        case 5:
            return _("IEEE float");
        case 6:
            return _("IEEE double");
        case 8:
            return _("8-bit integer");
        case 10:
            return _("32-bit unsigned integer");
        case 11:
            return _("16-bit unsigned integer");
        case 12:
            return _("64-bit unsigned integer");
        default:
            return _("8-bit unsigned integer");
    }
}

QString line_range(const std::vector<int>& lines, int step) {
    return _("%1 - %2, step %3 (%4 lines)")
        .arg(lines.front())
        .arg(lines.back())
        .arg(step)
        .arg(lines.size());
}

// The colour bars among the volume's visuals in every viewer.
std::vector<std::shared_ptr<scene::ColorBar>> color_bars(
    const std::map<QString, scene::Item>& visuals) {
    std::vector<std::shared_ptr<scene::ColorBar>> bars;
    for (const auto& [viewer, item] : visuals)
        for (const auto& visual : item.visuals())
            if (auto bar = std::dynamic_pointer_cast<scene::ColorBar>(visual))
                bars.push_back(std::move(bar));
    return bars;
}

// Where a cache is looked for while the file opens, before the window hands its store over:
// the user's cache folder, where caches are kept unless a project keeps its own.
QStringList opening_cache_folders() { return CacheStore().folders(); }

struct Fitted {
    std::optional<seismic::SurveyTransform> transform;
    // Why the coordinates cannot place the survey; empty when they do.
    QString note;
};

bool all_zero(const std::vector<seismic::TracePosition>& positions) {
    return std::all_of(positions.begin(), positions.end(),
                       [](const seismic::TracePosition& p) { return p.x == 0.0 && p.y == 0.0; });
}

// The coordinates a file's traces were placed by, named as its user knows them.
QString coordinates_name(const seismic::CoordinateBytes& used) {
    if (used == seismic::CoordinateBytes()) return _("CDP coordinates");
    QString name = used.describe();
    name[0] = name[0].toUpper();
    return name;
}

// A volume whose headers cannot give its map position is still a volume: it lies on a
// grid its user sets.
Fitted fit_survey(const seismic::SegyVolumeFile& file) {
    const auto& positions = file.checked_positions();
    if (all_zero(positions)) return {std::nullopt, _("CDP coordinates are all zero")};
    const QString used = coordinates_name(file.coordinate_bytes());
    std::optional<seismic::SurveyTransform> fitted;
    try {
        fitted = seismic::SurveyTransform::fit(positions);
    } catch (const std::exception& e) {
        return {std::nullopt, _("%1 cannot be fitted: %2").arg(used, e.what())};
    }
    if (!fitted) return {std::nullopt, _("%1 do not span a grid").arg(used)};
    // Coordinates farther off a grid than half a bin would put traces on their neighbours.
    const seismic::SurveyGeometry placed(file.geometry(), fitted);
    const double bin = std::min(placed.iline_bin(), placed.xline_bin());
    if (fitted->residual() > 0.5 * bin)
        return {std::nullopt,
                _("%1 lie %2 bins off a grid (root mean square), more than half a bin")
                    .arg(used)
                    .arg(fitted->residual() / bin, 0, 'g', 2)};
    return {fitted, {}};
}

// Outside a window a survey on the map is drawn about its own centre; one without
// coordinates about the map's origin, where its line numbers are.
std::array<double, 2> own_origin(const seismic::SurveyGeometry& geometry) {
    return geometry.has_coordinates() ? geometry.centre() : std::array<double, 2>{0.0, 0.0};
}

QString map_point(const std::array<double, 2>& p) {
    return QStringLiteral("%1, %2").arg(p[0], 0, 'f', 2).arg(p[1], 0, 'f', 2);
}

// Where the survey lies on the map, as its fit or its grid gives it.
QVariantMap survey_properties(const seismic::SurveyGeometry& survey,
                              const seismic::SegyGeometry& g) {
    const auto& c = survey.transform().coefficients();
    const int il[2] = {g.ilines.front(), g.ilines.back()};
    const int xl[2] = {g.xlines.front(), g.xlines.back()};
    const double iline_bin = survey.transform().iline_spacing(),
                 xline_bin = survey.transform().xline_spacing();
    QVariantMap properties{
        // The bin: how far apart the neighbouring lines of the file lie on the map.
        {_("Inline spacing"), _("%1 m").arg(survey.iline_bin(), 0, 'f', 2)},
        {_("Crossline spacing"), _("%1 m").arg(survey.xline_bin(), 0, 'f', 2)},
        {_("Map X"), affine_text(c[0], c[1], c[2], iline_bin, xline_bin)},
        {_("Map Y"), affine_text(c[3], c[4], c[5], iline_bin, xline_bin)},
    };
    for (int i : {0, 1})
        for (int j : {0, 1})
            properties.insert(_("Corner IL %1 XL %2").arg(il[i]).arg(xl[j]),
                              map_point(survey.to_map(il[i], xl[j])));
    return properties;
}

}  // namespace

SeismicVolume::Opened SeismicVolume::open_file(const QString& path, seismic::SegyHeaderBytes bytes,
                                               const QStringList& cache_folders) {
    auto file = std::make_shared<const seismic::SegyVolumeFile>(path, bytes);
    // A cache built before holds the figures of every sample: no traces to sample.
    auto cache = VolumeCachePass::find(*file, cache_folders);
    // One built after the full check placed the traces anew says the sample misplaces them.
    if (!cache && !file->geometry().has_holes() &&
        VolumeCachePass::placed_anew(*file, cache_folders)) {
        file = std::make_shared<const seismic::SegyVolumeFile>(
            path, bytes, seismic::SegyVolumeFile::TracePlacing::every_trace);
        cache = VolumeCachePass::find(*file, cache_folders);
    }
    const seismic::AmplitudeStats stats =
        cache ? cache->amplitude_stats() : file->amplitude_stats();
    auto fitted = fit_survey(*file);
    LiveArea live_area = LiveArea::of(file->geometry());
    return Opened{std::move(file),
                  stats,
                  std::move(fitted.transform),
                  std::move(cache),
                  std::move(fitted.note),
                  std::move(live_area)};
}

SeismicVolume::Opened SeismicVolume::open_saved_file(const QString& path,
                                                     const QVariantMap& settings,
                                                     const QStringList& cache_folders) {
    const seismic::SegyHeaderBytes bytes = header_bytes_to_open(path, settings);
    std::exception_ptr failure;
    try {
        return open_file(path, bytes, cache_folders);
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    const auto found = other_header_bytes(path, bytes);
    if (!found) std::rethrow_exception(failure);
    try {
        Opened opened = open_file(path, *found, cache_folders);
        utils::logger().warning(
            utils::format("{}: the line numbers are no longer at bytes {} and {}; it is opened "
                          "with those found at bytes {} and {}",
                          path, bytes.iline, bytes.xline, found->iline, found->xline));
        return opened;
    } catch (const std::exception&) {
        std::rethrow_exception(failure);  // the bytes asked for say what is wrong
    }
}

void SeismicVolume::load_async(const QString& path, const QVariantMap& settings, QObject* context,
                               Loaded done) {
    struct Outcome {
        std::optional<Opened> opened;
        QString error;
    };
    // Owned by `context`: destroying it drops the result unseen, and the worker's file
    // goes with the result.
    auto* watcher = new QFutureWatcher<Outcome>(context);
    connect(watcher, &QFutureWatcher<Outcome>::finished, watcher, [watcher, path, settings, done] {
        watcher->deleteLater();
        // `done` goes on to whatever opening was for (the next file, a script's own step),
        // all of it reached from the event loop.
        utils::call_guarded(_("Opening %1").arg(path), [&] {
            Outcome outcome = watcher->result();
            if (!outcome.opened) return done(nullptr, outcome.error);
            std::unique_ptr<SeismicVolume> volume;
            try {
                volume.reset(new SeismicVolume(std::move(*outcome.opened), nullptr));
                restore_volume(*volume, settings);
            } catch (const std::exception& e) {
                return done(nullptr, QString::fromStdString(e.what()));
            }
            done(std::move(volume), {});
        });
    });
    watcher->setFuture(QtConcurrent::run([path, settings, folders = opening_cache_folders()] {
        Outcome outcome;
        try {
            outcome.opened.emplace(open_saved_file(path, settings, folders));
        } catch (const std::exception& e) {
            outcome.error = QString::fromStdString(e.what());
        }
        return outcome;
    }));
}

SeismicVolume::SeismicVolume(Opened opened, QObject* parent)
    : StyledObject(parent),
      file_(std::move(opened.file)),
      frame_(file_->geometry()),
      stats_(opened.stats),
      survey_(std::move(opened.survey)),
      geometry_(file_->geometry(), survey_),
      origin_(own_origin(geometry_)),
      map_note_(std::move(opened.map_note)),
      live_area_(std::move(opened.live_area)),
      sections_(new VolumeSections(*this, file_, frame_, std::move(opened.cache))),
      picker_(*this),
      caching_(new VolumeCaching(*this, file_, *sections_)),
      style_(stats_.clip) {
    if (!map_note_.isEmpty())
        utils::logger().info(utils::format(
            "{}: {}: it lies at one map unit per line number until a grid is set on its page",
            name(), map_note_));
    for (const SectionKind kind : seismic::SECTION_KINDS)
        section_image3d[seismic::section_type(kind)];
    connect(sections_, &VolumeSections::sig_section_moved, this, &SeismicVolume::sig_section_moved);
    connect(sections_, &VolumeSections::sig_section_failed, this,
            &SeismicVolume::sig_section_failed);
    connect(sections_, &VolumeSections::sig_settled, this, &SeismicVolume::sig_sections_settled);
    connect(sections_, &VolumeSections::sig_withdrawn, this, &SeismicVolume::sig_withdrawn);
    connect(caching_, &VolumeCaching::sig_ready, this,
            [this](const std::shared_ptr<const seismic::SectionCache>& cache) {
                take_stats(cache->amplitude_stats());
            });
    connect(caching_, &VolumeCaching::sig_ended, this, &SeismicVolume::sig_cache_pass_ended);
    connect(caching_, &VolumeCaching::sig_replaced, this,
            [this](std::shared_ptr<const seismic::SegyVolumeFile> file, const LiveArea& area) {
                utils::call_guarded(_("Showing the traces of %1 placed anew").arg(name()),
                                    [&] { take_placed(std::move(file), area); });
            });
}

SeismicVolume::~SeismicVolume() {
    if (open_surveys_) open_surveys_->remove(this);
    // Viewers may still hold our visuals; they must neither draw nor query a dead volume.
    const auto forget = [this](const scene::Item& item, const auto& recurse) -> void {
        for (const auto& entry : item.entries()) recurse(entry, recurse);
        if (const auto& visual = item.visual()) {
            visual->set_parent(nullptr);
            visual->host_dob = nullptr;
            visual->queryable_in_3d = false;
        }
    };
    for (const auto& [viewer, item] : visuals_in_volume) forget(item, forget);
    for (const auto& [type, images] : section_image3d)
        for (const auto& [viewer, item] : images) forget(item, forget);
}

QString SeismicVolume::name() const { return QFileInfo(file_->path()).completeBaseName(); }

QVariantMap SeismicVolume::prop() const {
    const seismic::SegyGeometry& g = file_->geometry();
    QVariantMap properties;
    if (geometry_.has_coordinates()) properties = survey_properties(geometry_, g);
    if (survey_)
        properties.insert(
            _("Map transform residual"),
            _("%1 m (root mean square over the traces)").arg(survey_->residual(), 0, 'g', 3));
    if (!map_note_.isEmpty())
        properties.insert(_("Map grid"), grid_ ? _("set by hand: %1").arg(map_note_)
                                               : _("%1: one map unit per line number until a "
                                                   "grid is set")
                                                     .arg(map_note_));
    properties.insert({
        {_("File"), file_->path()},
        {_("Size"), QLocale().formattedDataSize(file_->file_size())},
        {_("Sorting"), !g.sorted ? _("none")
                       : g.sorting == seismic::SegyGeometry::Sorting::inline_sorted
                           ? _("inline")
                           : _("crossline")},
        {_("Inlines"), line_range(g.ilines, g.iline_increment())},
        {_("Crosslines"), line_range(g.xlines, g.xline_increment())},
        {_("Samples"), g.samples},
        {_("Sample interval"),
         (file_->layout().interval > 0.0 ? _("%1 ms") : _("%1 ms, assumed: the headers give none"))
             .arg(exact_text(g.sample_interval_ms))},
        {_("Time"), _("%1 - %2 ms")
                        .arg(time_text(g.delay_ms, g.sample_interval_ms),
                             time_text(g.last_time(), g.sample_interval_ms))},
        {_("Format"), g.little_endian ? _("%1, little-endian").arg(format_name(g.format))
                                      : format_name(g.format)},
        {_("Map coordinates"), file_->coordinate_bytes().describe()},
        {_("Amplitude range"),
         (stats_.sampled ? _("%1 .. %2 (sampled traces)") : _("%1 .. %2 (all traces)"))
             .arg(amplitude_text(stats_.min), amplitude_text(stats_.max))},
        {_("RMS amplitude"), amplitude_text(stats_.rms)},
        {_("Clip"), style_.clip()},
    });
    return properties;
}

QVariantMap SeismicVolume::header_settings(const seismic::SegyHeaderBytes& bytes) {
    return {{QStringLiteral("iline_byte"), bytes.iline},
            {QStringLiteral("xline_byte"), bytes.xline}};
}

QString SeismicVolume::source_path() const { return QFileInfo(file_->path()).absoluteFilePath(); }

QVariantMap SeismicVolume::settings() const {
    QVariantMap values = header_settings(file_->header_bytes());
    style_.save(values);
    if (grid_) values.insert(QStringLiteral("map_grid"), grid_settings(*grid_));
    // Positions by line number and time, which survive a re-export of the file.
    for (const SectionKind kind : seismic::SECTION_KINDS)
        values.insert(seismic::section_type(kind),
                      frame_.position_value(kind, section_index(kind)));
    return values;
}

QString SeismicVolume::section_label(const QString& section_type) const {
    return seismic::section_kind(section_type) == SectionKind::depth ? _("time") : section_type;
}

void SeismicVolume::make_visuals_in_volume(const QString& parent) {
    visuals_in_volume[parent] =
        SurveyBox::make(*this, frame_.bounds(), placement(), style_.colormap(), style_.clip());
}

scene::Placement SeismicVolume::placement() const {
    const auto& c = geometry_.transform().coefficients();
    return scene::Placement({c[0] - origin_[0], c[1], c[2], c[3] - origin_[1], c[4], c[5]});
}

void SeismicVolume::make_image_3d(const QString& section_type, const QString& parent) {
    const auto kind = seismic::section_kind(section_type);
    if (!kind)
        throw utils::LookupError(
            utils::format("unknown section type {}", section_type).toStdString());
    auto visual = sections_->make_visual(*kind, style_.colormap(), style_.clip());
    visual->set_placement(placement());
    visual->set_opacity(style_.opacity());
    scene::Item item(visual);
    if (const auto& outline = visual->outline()) {
        outline->set_placement(placement());
        outline->set_visible(visual->visible());
        item = scene::Item(std::vector<scene::Item>{item, scene::Item(outline)});
    }
    section_image3d[section_type][parent] = item;
}

int SeismicVolume::section_index(SectionKind kind) const { return sections_->index(kind); }

void SeismicVolume::set_section_index(SectionKind kind, int index) {
    sections_->set_index(kind, index);
    emit sig_section_asked(kind, index);
}

bool SeismicVolume::sections_pending() const { return sections_->pending(); }

bool SeismicVolume::sections_drawn() const { return sections_->drawn(); }

const QString& SeismicVolume::withdrawn() const { return sections_->withdrawn(); }

void SeismicVolume::take_stats(const seismic::AmplitudeStats& stats) {
    if (!stats_.sampled) {
        // Every trace was read at opening: its percentile is exact, the pass's is binned.
        stats_.histogram = stats.histogram;
    } else {
        stats_ = stats;
        if (style_.follow_figures(stats_.clip)) show_style();
    }
    // Figures the file gave are no change of the user's: the project stays as saved.
    emit sig_stats_changed();
}

void SeismicVolume::take_placed(std::shared_ptr<const seismic::SegyVolumeFile> file,
                                const LiveArea& live_area) {
    const SurveyFrame before = frame_;
    file_ = std::move(file);
    frame_ = SurveyFrame(file_->geometry());
    live_area_ = live_area;
    // The same traces at the same line numbers: the map transform holds, and so does the
    // origin everything is drawn about.
    geometry_ = grid_ ? seismic::SurveyGeometry(file_->geometry(), *grid_)
                      : seismic::SurveyGeometry(file_->geometry(), survey_);
    if (open_surveys_) open_surveys_->replace(this, loaded_survey());
    sections_->take_file(file_, before);
    for (const auto& [viewer, item] : visuals_in_volume) SurveyBox::reshape(item, frame_.bounds());
    emit sig_geometry_changed(before);
}

void SeismicVolume::set_colormap(const QString& name) {
    style_.set_colormap(name);
    show_style();
    emit sig_style_changed();
}

void SeismicVolume::set_clip(double clip) { take_clip(clip, VolumeStyle::ClipSource::user); }

void SeismicVolume::restore_clip(double clip) { take_clip(clip, VolumeStyle::ClipSource::project); }

void SeismicVolume::take_clip(double clip, VolumeStyle::ClipSource source) {
    style_.set_clip(clip, source);
    show_style();
    emit sig_style_changed();
}

void SeismicVolume::set_opacity(double opacity) {
    style_.set_opacity(opacity);
    show_style();
    emit sig_style_changed();
}

void SeismicVolume::show_style() {
    for (const auto& visual : sections_->visuals()) style_.show_on(*visual);
    for (const auto& bar : color_bars(visuals_in_volume)) style_.show_on(*bar);
}

void SeismicVolume::set_progress_host(QMainWindow* host) {
    sections_->set_progress_host(host);
    caching_->set_progress_host(host);
}

void SeismicVolume::set_cache_store(CacheStore* store) { caching_->set_store(store); }

void SeismicVolume::set_open_surveys(OpenSurveys* surveys) {
    open_surveys_ = surveys;
    if (!surveys) return;
    // Only a survey on the map fixes where the map is drawn from.
    origin_ = geometry_.has_coordinates() ? surveys->take_origin(geometry_.centre())
                                          : surveys->origin().value_or(own_origin(geometry_));
    surveys->add(this, loaded_survey());
}

std::optional<LoadedSurvey> SeismicVolume::loaded_survey() const {
    if (!geometry_.has_coordinates()) return std::nullopt;
    const seismic::SegyGeometry& g = file_->geometry();
    return LoadedSurvey{geometry_.transform(),
                        {double(g.ilines.front()), double(g.ilines.back())},
                        {double(g.xlines.front()), double(g.xlines.back())},
                        name()};
}

void SeismicVolume::set_grid(const std::optional<seismic::SurveyGrid>& grid) {
    if (map_note_.isEmpty())
        throw utils::ValueError(
            _("%1 lies where its CDP coordinates put it: it takes no grid set by hand")
                .arg(name())
                .toStdString());
    geometry_ = grid ? seismic::SurveyGeometry(file_->geometry(), *grid)
                     : seismic::SurveyGeometry(file_->geometry(), std::nullopt);
    grid_ = grid;
    // In a window the survey is drawn about the origin a survey on the map fixed; it takes
    // none itself, as moving it would move everything else drawn about it.
    if (open_surveys_) {
        origin_ = open_surveys_->origin().value_or(origin_);
        open_surveys_->replace(this, loaded_survey());
    } else {
        origin_ = own_origin(geometry_);
    }
    const scene::Placement placed = placement();
    const auto place = [&placed](const scene::Item& item, const auto& recurse) -> void {
        for (const auto& entry : item.entries()) recurse(entry, recurse);
        if (const auto& visual = item.visual()) visual->set_placement(placed);
    };
    for (const auto& [viewer, item] : visuals_in_volume) place(item, place);
    for (const auto& [type, images] : section_image3d)
        for (const auto& [viewer, item] : images) place(item, place);
    utils::logger().info(
        grid ? utils::format("{} lies on the grid set on its page: {}", name(), grid->text())
             : utils::format("{} lies at one map unit per line number again", name()));
    emit sig_placed();
}

}  // namespace korvex::app::data

#include "korvex/app/data/volume_sections.h"

#include <QMainWindow>
#include <algorithm>

#include "korvex/app/data/live_outline_visual.h"
#include "korvex/app/data/section_reader.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/status_progress.h"
#include "korvex/app/data/volume_section_visual.h"
#include "korvex/config/base.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;
using seismic::SectionKind;

namespace {

// A section as the user names it: the tree shows a time slice, not a "depth" section.
QString section_words(SectionKind kind) {
    switch (kind) {
        case SectionKind::iline:
            return _("inline");
        case SectionKind::xline:
            return _("crossline");
        case SectionKind::depth:
            break;
    }
    return _("time");
}

}  // namespace

VolumeSections::VolumeSections(SeismicVolume& volume,
                               std::shared_ptr<const seismic::SegyVolumeFile> file,
                               const SurveyFrame& frame,
                               std::shared_ptr<const seismic::SectionCache> cache)
    : QObject(&volume),
      volume_(volume),
      file_(std::move(file)),
      frame_(frame),
      reader_(new SectionReader(file_, this)) {
    qRegisterMetaType<SectionKind>();  // so that the section signals can be watched
    connect(reader_, &SectionReader::sig_section_read, this, &VolumeSections::draw);
    connect(reader_, &SectionReader::sig_read_failed, this,
            [this](SectionKind kind, int, const QString& message) { fail_read(kind, message); });
    connect(reader_, &SectionReader::sig_idle, this, &VolumeSections::sig_settled);
    connect(reader_, &SectionReader::sig_cache_failed, this, &VolumeSections::give_up_cache);
    if (cache) {
        reader_->use_cache(std::move(cache));
        utils::logger().info(utils::format("{}: section cache reused", volume_.name()));
    }
}

VolumeSections::~VolumeSections() { delete gathering_; }

VolumeSections::State& VolumeSections::state(SectionKind kind) {
    auto it = states_.find(kind);
    if (it == states_.end()) {
        const int middle = frame_.count(kind) / 2;
        it = states_.emplace(kind, State{middle, -1, {}}).first;
        if (withdrawn_.isEmpty()) request(kind, middle);
    }
    return it->second;
}

void VolumeSections::request(SectionKind kind, int index) {
    if (!withdrawn_.isEmpty()) throw utils::ValueError(withdrawn_.toStdString());
    reader_->request(kind, index);
    if (kind == SectionKind::depth && !reader_->has_cache() && !gathering_ &&
        file_->is_cold(kind, index)) {
        gathering_ = StatusProgress::add_waiting(
            progress_host_, _("Reading a time slice of %1 from every trace").arg(volume_.name()));
    }
}

seismic::Section VolumeSections::blank_image(SectionKind kind) const {
    const auto& g = file_->geometry();
    // As drawn: the file's section transposed.
    return {g.section_columns(kind), g.section_rows(kind),
            std::vector<float>(g.section_size(kind))};
}

std::shared_ptr<VolumeSectionVisual> VolumeSections::make_visual(SectionKind kind,
                                                                 const QString& colormap,
                                                                 double clip) {
    const State& s = state(kind);
    const bool drawn = s.drawn >= 0;
    const seismic::Section blank = drawn ? seismic::Section{} : blank_image(kind);
    auto visual = std::make_shared<VolumeSectionVisual>(
        volume_, kind, drawn ? s.image : blank, frame_.plane(kind, drawn ? s.drawn : s.index),
        colormap, clip);
    visual->set_visible(drawn && withdrawn_.isEmpty());
    return visual;
}

int VolumeSections::index(SectionKind kind) const {
    const auto it = states_.find(kind);
    return it != states_.end() ? it->second.index : frame_.count(kind) / 2;
}

void VolumeSections::set_index(SectionKind kind, int index) {
    if (index < 0 || index >= frame_.count(kind))
        throw utils::LookupError(
            utils::format("{} index {} is outside the volume", seismic::section_type(kind), index)
                .toStdString());
    request(kind, index);
    states_[kind].index = index;
}

bool VolumeSections::pending() const { return reader_->busy(); }

bool VolumeSections::drawn() const {
    if (!withdrawn_.isEmpty()) return false;
    for (const auto& [kind, s] : states_)
        if (s.drawn != s.index) return false;
    return true;
}

std::optional<VolumeSections::Drawn> VolumeSections::drawn(SectionKind kind) const {
    const auto it = states_.find(kind);
    if (it == states_.end() || it->second.drawn < 0) return std::nullopt;
    return Drawn{it->second.drawn, it->second.image};
}

void VolumeSections::draw(SectionKind kind, int index, const seismic::Section& image) {
    if (!withdrawn_.isEmpty()) return;
    State& s = states_[kind];
    s.image = image;
    s.drawn = index;
    const auto plane = frame_.plane(kind, index);
    for (const auto& visual : visuals(kind)) {
        visual->show(s.image, plane);
        visual->set_visible(true);
    }
    if (kind == SectionKind::depth) delete gathering_;
    emit sig_section_moved(kind, index);
    if (!reader_->busy()) emit sig_complete();
}

void VolumeSections::fail_read(SectionKind kind, const QString& message) {
    State& s = states_[kind];
    s.index = s.drawn >= 0 ? s.drawn : frame_.count(kind) / 2;
    if (kind == SectionKind::depth) delete gathering_;
    utils::logger().error(utils::format("{}: the {} section cannot be read: {}", volume_.name(),
                                        section_words(kind), message));
    emit sig_section_failed(kind, message);
    emit sig_section_moved(kind, s.index);
}

void VolumeSections::set_progress_host(QMainWindow* host) { progress_host_ = host; }

SectionReader* VolumeSections::make_reader(QObject* parent) {
    auto* reader = new SectionReader(file_, parent);
    reader->use_cache(reader_->cache());
    connect(reader, &SectionReader::sig_cache_failed, this, &VolumeSections::give_up_cache);
    view_readers_.erase(std::remove(view_readers_.begin(), view_readers_.end(), nullptr),
                        view_readers_.end());
    view_readers_.emplace_back(reader);
    return reader;
}

void VolumeSections::use_cache(std::shared_ptr<const seismic::SectionCache> cache) {
    given_up_ = nullptr;
    for (const auto& reader : view_readers_)
        if (reader) reader->use_cache(cache);
    reader_->use_cache(std::move(cache));
}

void VolumeSections::give_up_cache(const std::shared_ptr<const seismic::SectionCache>& cache,
                                   const QString& message) {
    if (cache.get() == given_up_) return;
    given_up_ = cache.get();
    for (const auto& reader : view_readers_)
        if (reader && reader->cache() == cache) reader->use_cache(nullptr);
    if (reader_->cache() == cache) reader_->use_cache(nullptr);
    emit sig_cache_failed(cache, message);
}

bool VolumeSections::has_cache() const { return reader_->has_cache(); }

void VolumeSections::take_file(std::shared_ptr<const seismic::SegyVolumeFile> file,
                               const SurveyFrame& before) {
    file_ = std::move(file);
    given_up_ = nullptr;
    reader_->use_file(file_);
    for (const auto& reader : view_readers_)
        if (reader) reader->use_file(file_);
    for (auto& [kind, s] : states_) {
        s.index = frame_.index_of(kind, before.position_value(kind, s.index));
        s.drawn = -1;
        if (withdrawn_.isEmpty()) request(kind, s.index);
    }
    for (const auto& visual : visuals(SectionKind::depth))
        if (visual->outline()) visual->outline()->set_area(file_->geometry(), volume_.live_area());
}

void VolumeSections::withdraw(const QString& reason) {
    withdrawn_ = _("%1: sections withdrawn, the file is not a regular survey grid: %2")
                     .arg(volume_.name(), reason);
    delete gathering_;
    for (const auto& visual : visuals()) {
        visual->set_visible(false);
        if (visual->outline()) visual->outline()->set_visible(false);
        visual->queryable_in_3d = false;
    }
    utils::logger().error(withdrawn_);
    StatusProgress::tell(progress_host_, withdrawn_);
    emit sig_withdrawn(withdrawn_);
}

std::vector<std::shared_ptr<VolumeSectionVisual>> VolumeSections::visuals(SectionKind kind) const {
    std::vector<std::shared_ptr<VolumeSectionVisual>> found;
    const auto images = volume_.section_image3d.find(seismic::section_type(kind));
    if (images == volume_.section_image3d.end()) return found;
    // A time slice's item also holds the live area's outline.
    for (const auto& [viewer, item] : images->second)
        for (const auto& drawn : item.visuals())
            if (auto visual = std::dynamic_pointer_cast<VolumeSectionVisual>(drawn))
                found.push_back(std::move(visual));
    return found;
}

std::vector<std::shared_ptr<VolumeSectionVisual>> VolumeSections::visuals() const {
    std::vector<std::shared_ptr<VolumeSectionVisual>> found;
    for (const SectionKind kind : seismic::SECTION_KINDS) {
        const auto of_kind = visuals(kind);
        found.insert(found.end(), of_kind.begin(), of_kind.end());
    }
    return found;
}

}  // namespace korvex::app::data

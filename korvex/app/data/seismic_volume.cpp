#include "korvex/app/data/seismic_volume.h"

#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <functional>

#include "korvex/app/data/restore_setting.h"
#include "korvex/app/data/survey_box.h"
#include "korvex/app/data/volume_section_visual.h"
#include "korvex/config/base.h"
#include "korvex/scene/color_bar.h"
#include "korvex/scene/colormap.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/excerpt.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;
using utils::appconsts::SECTION_TYPES;

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
        default:
            return _("8-bit integer");
    }
}

// A project is a file anyone can edit: its header bytes are checked before segyio sees them.
// Without them the volume's geometry is unknown, and a restore must not stop to ask.
int saved_header_byte(const QString& path, const QVariantMap& settings, const QString& key) {
    if (!settings.contains(key))
        throw utils::ValueError(_("%1: the project gives no %2")
                                    .arg(QFileInfo(path).completeBaseName(), key)
                                    .toStdString());
    bool number = false;
    const double byte = settings[key].toDouble(&number);
    if (!number || !seismic::SegyHeaderBytes::holds_field(byte))
        throw utils::ValueError(_("%1: saved %2 \"%3\" is not a trace header byte from %4 to %5")
                                    .arg(QFileInfo(path).completeBaseName(), key,
                                         utils::excerpt(settings[key].toString()))
                                    .arg(seismic::SegyHeaderBytes::FIRST)
                                    .arg(seismic::SegyHeaderBytes::LAST)
                                    .toStdString());
    return int(byte);
}

QString line_range(const std::vector<int>& lines, int step) {
    return _("%1 - %2, step %3 (%4 lines)")
        .arg(lines.front())
        .arg(lines.back())
        .arg(step)
        .arg(lines.size());
}

// The colour bars among the volume's visuals in every viewer.
std::vector<std::shared_ptr<scene::ColorBar>> color_bars(const std::map<QString, scene::Item>& visuals) {
    std::vector<std::shared_ptr<scene::ColorBar>> bars;
    for (const auto& [viewer, item] : visuals)
        for (const auto& visual : item.visuals())
            if (auto bar = std::dynamic_pointer_cast<scene::ColorBar>(visual)) bars.push_back(std::move(bar));
    return bars;
}

}  // namespace

SeismicVolume::SeismicVolume(const QString& path, seismic::SegyHeaderBytes bytes, QObject* parent)
    : QObject(parent),
      file_(std::make_unique<seismic::SegyVolumeFile>(path, bytes)),
      frame_(file_->geometry()),
      stats_(file_->amplitude_stats()),
      clip_(stats_.clip) {
    for (const QString& type : SECTION_TYPES) section_image3d[type];
}

SeismicVolume::~SeismicVolume() {
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
    return {
        {_("File"), file_->path()},
        {_("Size"), QLocale().formattedDataSize(file_->file_size())},
        {_("Sorting"),
         g.sorting == seismic::SegyGeometry::Sorting::inline_sorted ? _("inline") : _("crossline")},
        {_("Inlines"), line_range(g.ilines, g.iline_increment())},
        {_("Crosslines"), line_range(g.xlines, g.xline_increment())},
        {_("Samples"), g.samples},
        {_("Sample interval"), _("%1 ms").arg(g.sample_interval_ms)},
        {_("Time"), _("%1 - %2 ms").arg(g.delay_ms).arg(g.last_time())},
        {_("Format"), format_name(g.format)},
        {_("Amplitude range"), (stats_.sampled ? _("%1 .. %2 (sampled traces)") : _("%1 .. %2"))
                                   .arg(stats_.min)
                                   .arg(stats_.max)},
        {_("Clip"), clip_},
    };
}

std::unique_ptr<SeismicVolume> SeismicVolume::load(const QString& path,
                                                   const QVariantMap& settings) {
    seismic::SegyHeaderBytes bytes;
    bytes.iline = saved_header_byte(path, settings, QStringLiteral("iline_byte"));
    bytes.xline = saved_header_byte(path, settings, QStringLiteral("xline_byte"));
    auto volume = std::make_unique<SeismicVolume>(path, bytes);
    const auto restore = [&](const QString& key, const std::function<void(const QVariant&)>& set) {
        restore_setting(volume->name(), settings, key, set);
    };
    for (const QString& type : SECTION_TYPES) {
        restore(type, [&](const QVariant& value) {
            volume->set_section_index(type, volume->frame_.index_of(type, value.toDouble()));
        });
    }
    restore(QStringLiteral("colormap"),
            [&](const QVariant& value) { volume->set_colormap(value.toString()); });
    restore(QStringLiteral("clip"),
            [&](const QVariant& value) { volume->set_clip(value.toDouble()); });
    restore(QStringLiteral("opacity"),
            [&](const QVariant& value) { volume->set_opacity(value.toDouble()); });
    return volume;
}

QVariantMap SeismicVolume::header_settings(const seismic::SegyHeaderBytes& bytes) {
    return {{QStringLiteral("iline_byte"), bytes.iline},
            {QStringLiteral("xline_byte"), bytes.xline}};
}

QString SeismicVolume::source_path() const { return QFileInfo(file_->path()).absoluteFilePath(); }

QVariantMap SeismicVolume::settings() const {
    QVariantMap values = header_settings(file_->header_bytes());
    values.insert(QStringLiteral("colormap"), colormap_);
    values.insert(QStringLiteral("clip"), clip_);
    values.insert(QStringLiteral("opacity"), opacity_);
    // Positions by line number and time, which survive a re-export of the file.
    for (const QString& type : SECTION_TYPES)
        values.insert(type, frame_.position_value(type, section_index(type)));
    return values;
}

QString SeismicVolume::section_label(const QString& section_type) const {
    return section_type == SECTION_TYPES[2] ? _("time") : section_type;
}

void SeismicVolume::make_visuals_in_volume(const QString& parent) {
    visuals_in_volume[parent] = SurveyBox::make(*this, frame_.bounds(), colormap_, clip_);
}

SeismicVolume::SectionState& SeismicVolume::section(const QString& type) {
    auto it = sections_.find(type);
    if (it == sections_.end()) {
        const int middle = frame_.count(type) / 2;
        it = sections_.emplace(type, SectionState{middle, read(type, middle)}).first;
    }
    return it->second;
}

seismic::Section SeismicVolume::read(const QString& type, int index) const {
    if (index < 0 || index >= frame_.count(type))
        throw utils::LookupError(
            utils::format("{} index {} is outside the volume", type, index).toStdString());
    if (type == SECTION_TYPES[0]) return file_->read_iline(index).transposed();
    if (type == SECTION_TYPES[1]) return file_->read_xline(index).transposed();
    return file_->read_depth(index).transposed();
}

void SeismicVolume::make_image_3d(const QString& section_type, const QString& parent) {
    const SectionState& state = section(section_type);
    auto visual = std::make_shared<VolumeSectionVisual>(*this, section_type, state.image,
                                                        frame_.plane(section_type, state.index),
                                                        colormap_, clip_);
    visual->set_opacity(opacity_);
    section_image3d[section_type][parent] = scene::Item(visual);
}

int SeismicVolume::section_index(const QString& type) const {
    const auto it = sections_.find(type);
    return it != sections_.end() ? it->second.index : frame_.count(type) / 2;
}

void SeismicVolume::set_section_index(const QString& type, int index) {
    seismic::Section image = read(type, index);
    SectionState& state = sections_[type];
    state.index = index;
    state.image = std::move(image);
    const auto plane = frame_.plane(type, index);
    for (const auto& visual : section_visuals(type)) visual->show(state.image, plane);
    emit sigSectionMoved(type, index);
}

std::vector<std::shared_ptr<VolumeSectionVisual>> SeismicVolume::section_visuals(
    const QString& type) const {
    std::vector<std::shared_ptr<VolumeSectionVisual>> visuals;
    const auto images = section_image3d.find(type);
    if (images == section_image3d.end()) return visuals;
    for (const auto& [viewer, item] : images->second)
        if (auto visual = std::dynamic_pointer_cast<VolumeSectionVisual>(item.visual()))
            visuals.push_back(std::move(visual));
    return visuals;
}

std::vector<std::shared_ptr<VolumeSectionVisual>> SeismicVolume::all_section_visuals() const {
    std::vector<std::shared_ptr<VolumeSectionVisual>> visuals;
    for (const QString& type : SECTION_TYPES) {
        const auto of_type = section_visuals(type);
        visuals.insert(visuals.end(), of_type.begin(), of_type.end());
    }
    return visuals;
}

void SeismicVolume::set_colormap(const QString& name) {
    if (!scene::colormap_names().contains(name))
        throw utils::ValueError(_("unknown colormap \"%1\"").arg(name).toStdString());
    colormap_ = name;
    for (const auto& visual : all_section_visuals()) visual->set_colormap(name);
    for (const auto& bar : color_bars(visuals_in_volume)) bar->set_colormap(name);
    emit sigStyleChanged();
}

void SeismicVolume::set_clip(double clip) {
    if (!std::isfinite(clip) || clip <= 0.0)
        throw utils::ValueError(_("the clip must be a positive amplitude").toStdString());
    clip_ = clip;
    for (const auto& visual : all_section_visuals()) visual->set_clim({-clip, clip});
    for (const auto& bar : color_bars(visuals_in_volume)) bar->set_clim({-clip, clip});
    emit sigStyleChanged();
}

void SeismicVolume::set_opacity(double opacity) {
    if (!(opacity >= 0.0 && opacity <= 1.0))
        throw utils::ValueError(_("the opacity must lie between 0 and 1").toStdString());
    opacity_ = opacity;
    for (const auto& visual : all_section_visuals()) visual->set_opacity(opacity);
    emit sigStyleChanged();
}

SeismicVolume::Pick SeismicVolume::pick(const QString& type,
                                        const std::array<double, 3>& world) const {
    const auto it = sections_.find(type);
    if (it == sections_.end()) throw utils::LookupError("no section of that type is drawn");
    const SectionState& state = it->second;
    // The point lies on the section's plane; only its in-plane coordinates count.
    auto on_plane = world;
    const auto plane = frame_.plane(type, state.index);
    on_plane[plane.axis - 'x'] = plane.position;
    Pick result{frame_.nearest(on_plane), 0.0f};
    const auto& s = result.sample;
    if (type == SECTION_TYPES[0])
        result.amplitude = state.image.at(s.sample_index, s.xline_index);
    else if (type == SECTION_TYPES[1])
        result.amplitude = state.image.at(s.sample_index, s.iline_index);
    else
        result.amplitude = state.image.at(s.xline_index, s.iline_index);
    return result;
}

}  // namespace korvex::app::data

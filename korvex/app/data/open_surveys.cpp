#include "korvex/app/data/open_surveys.h"

#include <algorithm>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

namespace {

std::optional<OpenSurveys::Proposal> proposal_of(const SeismicVolume& volume) {
    const auto crs = seismic::CoordinateSystem::named_in(volume.file().textual_header());
    if (!crs) return std::nullopt;
    return OpenSurveys::Proposal{*crs, volume.name()};
}

}  // namespace

void OpenSurveys::add(SeismicVolume* volume, const std::optional<LoadedSurvey>& survey) {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        open_.emplace_back(volume, survey);
    }
    if (!volume || crs()) return;
    if (const auto proposal = proposal_of(*volume))
        utils::logger().info(utils::format(
            "The textual header of {} names the coordinate reference system {} ({}): File > "
            "Coordinate reference system... sets it for the project",
            proposal->volume, proposal->crs, seismic::CoordinateSystem(proposal->crs).name()));
}

void OpenSurveys::remove(const SeismicVolume* volume) {
    const std::lock_guard<std::mutex> guard(mutex_);
    open_.erase(std::remove_if(open_.begin(), open_.end(),
                               [volume](const auto& entry) { return entry.first == volume; }),
                open_.end());
}

void OpenSurveys::replace(const SeismicVolume* volume, const std::optional<LoadedSurvey>& survey) {
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        for (auto& entry : open_)
            if (entry.first == volume) entry.second = survey;
    }
    emit sig_survey_moved(volume->name());
}

std::vector<SeismicVolume*> OpenSurveys::volumes() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    std::vector<SeismicVolume*> list;
    for (const auto& entry : open_) list.push_back(entry.first);
    return list;
}

std::vector<LoadedSurvey> OpenSurveys::surveys() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    std::vector<LoadedSurvey> list;
    for (const auto& entry : open_)
        if (entry.second) list.push_back(*entry.second);
    return list;
}

std::optional<LoadedSurvey> OpenSurveys::find(const QString& name) const {
    for (const LoadedSurvey& survey : surveys())
        if (survey.name == name) return survey;
    return std::nullopt;
}

std::array<double, 2> OpenSurveys::take_origin(const std::array<double, 2>& centre) {
    const std::lock_guard<std::mutex> guard(mutex_);
    if (!origin_) origin_ = centre;
    return *origin_;
}

std::optional<std::array<double, 2>> OpenSurveys::origin() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return origin_;
}

void OpenSurveys::set_crs(const QString& definition) {
    std::optional<seismic::CoordinateSystem> crs;
    if (!definition.trimmed().isEmpty()) crs.emplace(definition);
    {
        const std::lock_guard<std::mutex> guard(mutex_);
        crs_ = crs;
    }
    emit sig_crs_changed();
}

std::optional<seismic::CoordinateSystem> OpenSurveys::crs() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return crs_;
}

std::optional<OpenSurveys::Proposal> OpenSurveys::proposed_crs() const {
    for (const SeismicVolume* volume : volumes())
        if (const auto proposal = volume ? proposal_of(*volume) : std::nullopt) return proposal;
    return std::nullopt;
}

}  // namespace korvex::app::data

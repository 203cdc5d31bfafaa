#include "korvex/app/data/open_surveys.h"

#include <algorithm>

namespace korvex::app::data {

void OpenSurveys::add(SeismicVolume* volume, const std::optional<LoadedSurvey>& survey) {
    const std::lock_guard<std::mutex> guard(mutex_);
    open_.emplace_back(volume, survey);
}

void OpenSurveys::remove(const SeismicVolume* volume) {
    const std::lock_guard<std::mutex> guard(mutex_);
    open_.erase(std::remove_if(open_.begin(), open_.end(),
                               [volume](const auto& entry) { return entry.first == volume; }),
                open_.end());
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
    const std::lock_guard<std::mutex> guard(mutex_);
    crs_ = crs;
}

std::optional<seismic::CoordinateSystem> OpenSurveys::crs() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return crs_;
}

}  // namespace korvex::app::data

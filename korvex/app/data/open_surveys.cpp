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

std::optional<LoadedSurvey> OpenSurveys::newest() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    for (auto entry = open_.rbegin(); entry != open_.rend(); ++entry)
        if (entry->second) return entry->second;
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

}  // namespace korvex::app::data

#include "korvex/app/data/loaded_survey.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace korvex::app::data {

namespace {

// Volumes may be opened on worker threads.
std::mutex& lock() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::pair<const void*, LoadedSurvey>>& surveys() {
    static std::vector<std::pair<const void*, LoadedSurvey>> list;
    return list;
}

bool within(double value, const std::array<double, 2>& range) {
    const double low = std::min(range[0], range[1]);
    const double high = std::max(range[0], range[1]);
    const double margin = std::max(high - low, 1.0);
    return value >= low - margin && value <= high + margin;
}

}  // namespace

bool LoadedSurvey::near(double iline, double xline) const {
    return within(iline, ilines) && within(xline, xlines);
}

void LoadedSurvey::announce(const void* owner, const LoadedSurvey& survey) {
    const std::lock_guard<std::mutex> guard(lock());
    surveys().emplace_back(owner, survey);
}

void LoadedSurvey::withdraw(const void* owner) {
    const std::lock_guard<std::mutex> guard(lock());
    auto& list = surveys();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [owner](const auto& entry) { return entry.first == owner; }),
               list.end());
}

std::optional<LoadedSurvey> LoadedSurvey::newest() {
    const std::lock_guard<std::mutex> guard(lock());
    if (surveys().empty()) return std::nullopt;
    return surveys().back().second;
}

}  // namespace korvex::app::data

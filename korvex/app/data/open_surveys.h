#pragma once

#include <QObject>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/loaded_survey.h"

namespace korvex::app::data {

class SeismicVolume;

// The volumes a window holds open, and the surveys they carry. The window owns one and
// hands it to the data it opens: volumes register while they live, point sets ask it where
// they lie. Data built without one (tests) registers nowhere and finds nothing.
class KORVEX_DATA_EXPORT OpenSurveys final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // `survey` is empty for a volume whose headers give no map position.
    void add(SeismicVolume* volume, const std::optional<LoadedSurvey>& survey);
    void remove(const SeismicVolume* volume);

    // In the order they were opened.
    std::vector<SeismicVolume*> volumes() const;
    // The survey a map point is placed in: the one opened last.
    std::optional<LoadedSurvey> newest() const;

private:
    // A point file may be guessed at while a volume registers.
    mutable std::mutex mutex_;
    std::vector<std::pair<SeismicVolume*, std::optional<LoadedSurvey>>> open_;
};

}  // namespace korvex::app::data

#pragma once

#include <QObject>
#include <array>
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

    // The local origin of the window's scenes (map X/Y): world x = easting - origin x,
    // world y = northing - origin y. The first call fixes it at `centre` (the first
    // survey's centre) for the window's life, so that nothing drawn moves; later calls
    // return it unchanged.
    std::array<double, 2> take_origin(const std::array<double, 2>& centre);
    // None until something took it.
    std::optional<std::array<double, 2>> origin() const;

private:
    // A point file may be guessed at while a volume registers.
    mutable std::mutex mutex_;
    std::vector<std::pair<SeismicVolume*, std::optional<LoadedSurvey>>> open_;
    std::optional<std::array<double, 2>> origin_;
};

}  // namespace korvex::app::data

#pragma once

#include <QObject>
#include <array>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/loaded_survey.h"
#include "korvex/seismic/coordinate_system.h"

namespace korvex::app::data {

class SeismicVolume;

// The volumes a window holds open, and the surveys they carry. The window owns one and
// hands it to the data it opens: volumes register while they live, point sets ask it where
// they lie. Data built without one (tests) registers nowhere and finds nothing.
class KORVEX_DATA_EXPORT OpenSurveys final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // `survey` is empty for a volume whose headers give no map position. While the project
    // has no coordinate reference system, one the volume's textual header names is proposed
    // in the log.
    void add(SeismicVolume* volume, const std::optional<LoadedSurvey>& survey);
    void remove(const SeismicVolume* volume);
    // The survey of a volume that moved on the map, keeping its place in the order; then
    // sig_survey_moved.
    void replace(const SeismicVolume* volume, const std::optional<LoadedSurvey>& survey);

    // In the order they were opened.
    std::vector<SeismicVolume*> volumes() const;
    // The surveys of the open volumes that have one, in the order they were opened.
    std::vector<LoadedSurvey> surveys() const;
    // The open survey of that name, none when no open volume carries it.
    std::optional<LoadedSurvey> find(const QString& name) const;

    // The project's coordinate reference system, in which the surveys and points lie; none
    // for plain map coordinates. An empty definition clears it; one PROJ does not know
    // throws utils::ValueError and leaves it as it was.
    void set_crs(const QString& definition);
    std::optional<seismic::CoordinateSystem> crs() const;
    // A system named by the textual header of an open volume, as an EPSG code, with that
    // volume's name: a proposal, never applied by itself.
    struct Proposal {
        QString crs;
        QString volume;
    };
    std::optional<Proposal> proposed_crs() const;

    // The local origin of the window's scenes (map X/Y): world x = easting - origin x,
    // world y = northing - origin y. The first call fixes it at `centre` (the first
    // survey's centre) for the window's life, so that nothing drawn moves; later calls
    // return it unchanged.
    std::array<double, 2> take_origin(const std::array<double, 2>& centre);
    // None until something took it.
    std::optional<std::array<double, 2>> origin() const;

signals:
    // The volume of that name lies elsewhere on the map now (its grid was set by hand).
    void sig_survey_moved(const QString& volume);
    // The project's coordinate reference system was set or cleared.
    void sig_crs_changed();

private:
    std::optional<seismic::CoordinateSystem> crs_;
    // A point file may be guessed at while a volume registers.
    mutable std::mutex mutex_;
    std::vector<std::pair<SeismicVolume*, std::optional<LoadedSurvey>>> open_;
    std::optional<std::array<double, 2>> origin_;
};

}  // namespace korvex::app::data

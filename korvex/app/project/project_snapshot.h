#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

#include "korvex/utils/functions.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::app {

// One data object of a project: enough to load it again.
struct ObjectRecord {
    QString type;
    QString name;
    QString source;  // absolute path of the data file
    QVariantMap settings;

    bool operator==(const ObjectRecord& other) const {
        return type == other.type && name == other.name && source == other.source &&
               settings == other.settings;
    }
};

// One 3D viewer of a project: its camera and background, and what it shows.
struct ViewerRecord {
    QString name;
    QByteArray state;  // the viewer's view state as a JSON object, keys in the viewer's order
    utils::DisplayState shown;
    QVariantMap settings;  // the viewer's own settings beside the view state

    bool operator==(const ViewerRecord& other) const {
        return name == other.name && state == other.state && shown == other.shown &&
               settings == other.settings;
    }
};

// One section view of a project: its name and its state as a JSON object (the volume, the
// kind of section, the line and the zoom).
struct SectionViewRecord {
    QString name;
    QByteArray state;

    bool operator==(const SectionViewRecord& other) const {
        return name == other.name && state == other.state;
    }
};

// One map view of a project, kept as a section view is: its name and its state (the
// zoom) as a JSON object.
using MapViewRecord = SectionViewRecord;

// One pick of a project: the sample as the Picks dock shows it, and the viewer it was
// made in (where its marker goes back).
struct PickRecord {
    QString viewer;
    widgets::PickedSample sample;

    bool operator==(const PickRecord& other) const {
        return viewer == other.viewer && sample == other.sample;
    }
};

// Everything a project file holds, independent of the file and of the live session.
struct ProjectSnapshot {
    std::vector<ObjectRecord> objects;
    std::vector<ViewerRecord> viewers;
    int active_viewer = 0;
    std::vector<SectionViewRecord> section_views;
    std::vector<MapViewRecord> map_views;
    // In the order they were made.
    std::vector<PickRecord> picks;
    // The coordinate reference system of the map coordinates, an EPSG code or WKT; empty
    // for plain map coordinates.
    QString crs;
    // Whether the cameras and pick positions are in map space; projects saved before were
    // drawn in line numbers. How the file was written, not its content: left out of ==.
    bool map_scene = true;
    // What a load found unusable and left out, one text each naming it. Not part of the
    // project: two snapshots with the same content are equal whatever was left out.
    QStringList left_out;

    bool operator==(const ProjectSnapshot& other) const {
        return objects == other.objects && viewers == other.viewers &&
               active_viewer == other.active_viewer && section_views == other.section_views &&
               map_views == other.map_views && picks == other.picks && crs == other.crs;
    }
    bool operator!=(const ProjectSnapshot& other) const { return !(*this == other); }
};

}  // namespace korvex::app

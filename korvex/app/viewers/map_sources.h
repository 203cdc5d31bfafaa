#pragma once

class QTreeWidget;

namespace korvex::app {

namespace data {
class OpenSurveys;
}

class DataModel;
class LinkedCursor;
class PicksPanel;
class SectionViewArea;
class ViewerArea;

// What a map view draws and where it sends the sections it opens or moves: the window's
// data, its 3D viewers, its section views (arbitrary lines drawn on the map among them),
// its picks and the place under the mouse.
struct MapSources {
    DataModel& model;
    ViewerArea& viewers;
    SectionViewArea& sections;
    PicksPanel* picks = nullptr;
    LinkedCursor* cursor = nullptr;
    // Where sections are ticked to show in the 3D viewer in front.
    QTreeWidget* tree = nullptr;
    // The project's coordinate reference system, whose unit the scale bar names.
    data::OpenSurveys* surveys = nullptr;
};

}  // namespace korvex::app

#pragma once

class QTreeWidget;

namespace korvex::app {

class DataModel;
class LinkedCursor;
class PicksPanel;
class SectionViewArea;
class ViewerArea;

// What a map view draws and where it sends the sections it opens or moves: the window's
// data, its 3D viewers, its section views, its picks and the place under the mouse.
struct MapSources {
    DataModel& model;
    ViewerArea& viewers;
    SectionViewArea& sections;
    PicksPanel* picks = nullptr;
    LinkedCursor* cursor = nullptr;
    // Where sections are ticked to show in the 3D viewer in front.
    QTreeWidget* tree = nullptr;
};

}  // namespace korvex::app

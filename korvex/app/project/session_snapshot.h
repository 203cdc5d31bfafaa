#pragma once

#include <functional>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/project/project_snapshot.h"

class QObject;

namespace korvex::app::data {
class SeismicVolume;
}

namespace korvex::app {

class DataModel;
class DataObjectFactory;
class DisplayTarget;

// Reads the live session into a snapshot: the objects of the model that a project can
// store, in the model's order, and each viewer with its view state and what it shows of
// them.
KORVEX_APP_EXPORT ProjectSnapshot capture_session(const DataModel& model,
                                                  const std::vector<DisplayTarget*>& viewers,
                                                  int active_viewer);

// Opens the objects of a project without waiting, each on a worker where its type can,
// and adds them to the model in the project's order as they arrive. An object whose file
// is gone or cannot be read is added as missing, with the reason logged. `done` is called
// once the last is in, and never once `context` is destroyed.
KORVEX_APP_EXPORT void restore_objects(DataModel& model, const std::vector<ObjectRecord>& records,
                                       const DataObjectFactory& factory, QObject* context,
                                       std::function<void()> done);

// Shows in `target` what the record says was shown, then puts its camera back. Each
// object shown is announced as changed, so that the views of the model follow. Returns
// whether everything came back.
KORVEX_APP_EXPORT bool restore_viewer(DataModel& model, DisplayTarget& target,
                                      const ViewerRecord& record);

// Whether a section view shows a volume that came back missing in `model`: it cannot be
// shown until the volume's file is back.
KORVEX_APP_EXPORT bool waits_for_missing(const SectionViewRecord& record, const DataModel& model);

// Puts back into `now` what the project `opened` showed of the objects still missing in
// `model`: the viewers' entries and the section views of each. The live session cannot hold
// them while the object is missing, and a save without them would lose them for good,
// though the object itself is kept.
KORVEX_APP_EXPORT void keep_for_missing(ProjectSnapshot& now, const ProjectSnapshot& opened,
                                        const DataModel& model);

// The picks of a project as they go back into the viewers opened for it: a pick whose
// viewer is no longer there goes to the first viewer.
KORVEX_APP_EXPORT std::vector<PickRecord> place_picks(std::vector<PickRecord> records,
                                                      const std::vector<DisplayTarget*>& viewers);

// The picks with their markers where their volumes draw their samples now, for those whose
// volume is open: the scene's origin is the first survey a session opened, and projects
// saved before the scene was the map kept the markers in line numbers.
KORVEX_APP_EXPORT std::vector<PickRecord> place_on_volumes(std::vector<PickRecord> records,
                                                           const DataModel& model);

// The picks of `volume` where it puts their samples now, with their map X/Y: a grid set by
// hand for its survey moves them, or takes their map X/Y away when it is undone.
KORVEX_APP_EXPORT std::vector<PickRecord> place_on_survey(std::vector<PickRecord> records,
                                                          const data::SeismicVolume& volume);

}  // namespace korvex::app

#include <cmath>
#include <stdexcept>

#include "fuzz/entries.h"
#include "fuzz/scratch_file.h"
#include "korvex/app/project/project_database.h"
#include "korvex/app/project/project_error.h"

namespace korvex::fuzz {

namespace {

// A pick that is not finite empties the view it is framed in and cannot be saved again.
bool finite(const widgets::PickedSample& pick) {
    for (const double value :
         {pick.time, pick.amplitude, pick.map_x.value_or(0.0), pick.map_y.value_or(0.0),
          pick.position[0], pick.position[1], pick.position[2]})
        if (!std::isfinite(value)) return false;
    return true;
}

}  // namespace

void load_project(const QByteArray& bytes) {
    app::ProjectSnapshot snapshot;
    try {
        snapshot = app::ProjectDatabase(scratch_file("project.kvd", bytes)).load();
    } catch (const app::ProjectError&) {
        return;
    }
    for (const app::PickRecord& record : snapshot.picks)
        if (!finite(record.sample)) throw std::logic_error("a pick that is not finite was loaded");
}

}  // namespace korvex::fuzz

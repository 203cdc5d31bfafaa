#include "fuzz/entries.h"
#include "fuzz/scratch_file.h"
#include "korvex/app/project_database.h"
#include "korvex/app/project_error.h"

namespace korvex::fuzz {

void load_project(const QByteArray& bytes) {
    try {
        app::ProjectDatabase(scratch_file("project.kvd", bytes)).load();
    } catch (const app::ProjectError&) {
    }
}

}  // namespace korvex::fuzz

#pragma once

namespace korvex::testing {

// Makes this process kill itself (SIGKILL, as a crash or a power cut would stop it) just
// before its `write`th write into the main file of any SQLite database it opens from now
// on. Writes into journals are not counted: at that moment a save is under way, with its
// journal complete and the project file itself half rewritten.
void die_at_database_write(int write);

}  // namespace korvex::testing

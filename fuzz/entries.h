#pragma once

#include <QByteArray>

// One function per file format a user can hand the application. Each reads `bytes` as
// a file of that format the way the application does, and returns normally whether
// the bytes are readable or refused with the reader's own error. Anything else (a
// crash, a sanitizer report, an exception of an unexpected type) is a fault, found by
// the fuzzers and kept as a regression case for the tests.
namespace korvex::fuzz {

// A SEG-Y volume opened, then a few sections and the statistics read from it.
void open_segy(const QByteArray& bytes);
// A point file, its delimiter sniffed first as when the user opens it.
void read_points(const QByteArray& bytes);
// An environment file, with its variables expanded.
void read_dotenv(const QByteArray& bytes);
// A project file loaded from disk; every pick it gives must be finite.
void load_project(const QByteArray& bytes);
// A viewer's saved view state, read and checked as a restore does.
void read_view_state(const QByteArray& bytes);

}  // namespace korvex::fuzz

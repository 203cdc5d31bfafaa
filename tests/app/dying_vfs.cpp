#include "tests/app/dying_vfs.h"

#include <sqlite3.h>

#include <csignal>

namespace korvex::testing {

namespace {

sqlite3_vfs* real_vfs = nullptr;
sqlite3_vfs dying_vfs;
int writes_left = 0;

// The real file lives right behind the wrapper, in the memory SQLite gives for a file.
struct File {
    sqlite3_file base;
    sqlite3_file* real;
    bool main_database;
};

sqlite3_file* real(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }
const sqlite3_io_methods& methods(sqlite3_file* file) { return *real(file)->pMethods; }

int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
    if (reinterpret_cast<File*>(file)->main_database && --writes_left == 0) std::raise(SIGKILL);
    return methods(file).xWrite(real(file), data, amount, offset);
}

// Version 1: no shared memory and no memory mapping, which a rollback journal does not need.
const sqlite3_io_methods DYING_METHODS = {
    1,
    [](sqlite3_file* f) { return methods(f).xClose(real(f)); },
    [](sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
        return methods(f).xRead(real(f), data, amount, offset);
    },
    write,
    [](sqlite3_file* f, sqlite3_int64 size) { return methods(f).xTruncate(real(f), size); },
    [](sqlite3_file* f, int flags) { return methods(f).xSync(real(f), flags); },
    [](sqlite3_file* f, sqlite3_int64* size) { return methods(f).xFileSize(real(f), size); },
    [](sqlite3_file* f, int lock) { return methods(f).xLock(real(f), lock); },
    [](sqlite3_file* f, int lock) { return methods(f).xUnlock(real(f), lock); },
    [](sqlite3_file* f, int* out) { return methods(f).xCheckReservedLock(real(f), out); },
    [](sqlite3_file* f, int op, void* arg) { return methods(f).xFileControl(real(f), op, arg); },
    [](sqlite3_file* f) { return methods(f).xSectorSize(real(f)); },
    [](sqlite3_file* f) { return methods(f).xDeviceCharacteristics(real(f)); },
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

int open(sqlite3_vfs* /*vfs*/, const char* name, sqlite3_file* file, int flags, int* out_flags) {
    auto* wrapper = reinterpret_cast<File*>(file);
    wrapper->real = reinterpret_cast<sqlite3_file*>(wrapper + 1);
    wrapper->main_database = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    const int result = real_vfs->xOpen(real_vfs, name, wrapper->real, flags, out_flags);
    // SQLite closes a file whose methods are set, even after a failed open.
    wrapper->base.pMethods = wrapper->real->pMethods ? &DYING_METHODS : nullptr;
    return result;
}

}  // namespace

void die_at_database_write(int write) {
    writes_left = write;
    if (real_vfs) return;
    real_vfs = sqlite3_vfs_find(nullptr);
    dying_vfs = *real_vfs;
    dying_vfs.szOsFile = static_cast<int>(sizeof(File)) + real_vfs->szOsFile;
    dying_vfs.zName = "korvex-dying";
    dying_vfs.xOpen = open;
    sqlite3_vfs_register(&dying_vfs, 1);
}

}  // namespace korvex::testing

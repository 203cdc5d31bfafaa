#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/utils/errors.h"

class QObject;

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

// The kinds of data the application can load, by type name. A project stores each
// object's type name, and opening the project finds the loader here again; "Open data"
// picks the type from the file's suffix. The main window owns the application's one.
class KORVEX_APP_EXPORT DataObjectFactory final {
public:
    // Reads `source` into a data object, applying `settings` (as saved with a project;
    // empty for a fresh load). Throws with a clear message when the file cannot be read.
    using Loader = std::function<std::unique_ptr<host::DataObject>(const QString& source,
                                                                   const QVariantMap& settings)>;

    // Receives what an opening made: the object, or nullptr and why not.
    using Done = std::function<void(std::unique_ptr<host::DataObject> dob, const QString& error)>;
    // Reads `source` on a worker thread and calls `done` once on `context`'s thread; never
    // when `context` is destroyed first, so a closed window is not handed an object.
    using AsyncLoader = std::function<void(const QString& source, const QVariantMap& settings,
                                           QObject* context, Done done)>;

    // What an Asker throws when the user cancels: their choice, not a failure to report.
    class Cancelled final : public utils::ValueError {
    public:
        using utils::ValueError::ValueError;
    };

    // The settings a file opened afresh needs (a SEG-Y file's header bytes, say), which
    // may ask the user. Throws Cancelled when the user cancels. A project's restore never
    // asks: a setting missing from it is the loader's error.
    using Asker = std::function<QVariantMap(const QString& source)>;

    struct DataType {
        QString name;
        QString description;   // shown in the open dialog, e.g. "SEG-Y volumes"
        QStringList suffixes;  // lower case, without the dot
        Loader load;           // nullptr: the type opens only on a worker, through `load_async`
        Asker ask = nullptr;   // nullptr: a fresh file needs no settings
        // The settings of a fresh file without asking, as for files named on the command
        // line; nullptr: none.
        Asker guess = nullptr;
        // nullptr: the type's files are small enough for `load` on the calling thread.
        AsyncLoader load_async = nullptr;
    };

    // Registers a type; a later registration under the same name replaces it.
    void register_type(DataType type);
    bool has_type(const QString& name) const;

    // Throws utils::LookupError for an unknown type, utils::NotImplementedError for one that
    // opens only on a worker; the loader's errors pass through.
    std::unique_ptr<host::DataObject> load(const QString& type, const QString& source,
                                           const QVariantMap& settings = {}) const;

    // As load(), off the calling thread where the type can; every error, an unknown type
    // included, reaches `done`.
    void load_async(const QString& type, const QString& source, const QVariantMap& settings,
                    QObject* context, Done done) const;

    // The type whose suffixes match `path`, or nullptr.
    const DataType* type_for_file(const QString& path) const;

    // A Qt name filter listing all the types together, then each type, then all files.
    QString file_filter() const;

private:
    std::vector<DataType> types_;
};

}  // namespace korvex::app

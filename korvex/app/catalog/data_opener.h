#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <deque>
#include <functional>
#include <memory>

#include "korvex/app/app_export.h"
#include "korvex/app/catalog/data_object_factory.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

class DataTree;
class ViewerArea;

// Opens data files and shows them in the viewer in front: the one way in for the File
// menu and the command line, so both load, tick and frame alike.
class KORVEX_APP_EXPORT DataOpener final : public QObject {
    Q_OBJECT

public:
    // Where a fresh file's settings come from: the user, or the guess each type makes
    // without asking (a SEG-Y file's usual header bytes, say).
    enum class Settings { asked, guessed };

    DataOpener(const DataObjectFactory& factory, DataTree& tree, ViewerArea& viewers,
               QObject* parent = nullptr);

    // Called for each file of a batch as it is shown, or with nullptr when it failed.
    using Each = std::function<void(const QString& path, host::DataObject* dob)>;
    // Called once with the object an opening added to the tree, or nullptr when it failed.
    using Loaded = std::function<void(host::DataObject* dob)>;

    // Opens one file without waiting, its type chosen by the suffix, and adds it to the
    // tree. `settings` as a project gives them, empty to ask. Failures are logged.
    void open(const QString& path, const QVariantMap& settings, Loaded done = {});
    // Opens each path in turn without waiting, adds and ticks it, so that the viewer in
    // front shows it with its sections, then frames that viewer on what it shows when any
    // was shown; sig_opened tells the end. In turn, because a file may need one opened
    // before it (points in line numbers need their survey). A batch asked for while one
    // is opening waits for it. Failures are logged.
    void open_and_show(const QStringList& paths, Settings settings, Each each = {});

signals:
    // Every file of a batch has been shown or has failed.
    void sig_opened(int shown, int failures);

private:
    struct Batch {
        QStringList paths;
        Settings settings;
        Each each;
        int next = 0;
        int shown = 0;
    };

    void open_next();
    void open_typed(const DataObjectFactory::DataType& type, const QString& path,
                    QVariantMap settings, Loaded done);
    void show(const QString& path, host::DataObject* dob);

    const DataObjectFactory& factory_;
    DataTree& tree_;
    ViewerArea& viewers_;
    std::deque<Batch> batches_;  // the front one is opening
    bool looping_ = false;       // open_next() is on the stack
    bool waiting_ = false;       // a worker has the front batch's file
};

}  // namespace korvex::app

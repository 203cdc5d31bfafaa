#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "korvex/app/app_export.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

// The loaded data objects of the session, in the order they came, each under a name of
// its own. The model owns them; the data tree and the viewers follow it through its
// signals, so whoever loads or drops an object needs to know neither.
class KORVEX_APP_EXPORT DataModel final : public QObject {
    Q_OBJECT

public:
    explicit DataModel(QObject* parent = nullptr);
    ~DataModel() override;

    // Takes the object over and appends it. Throws utils::ValueError when there is no
    // object or its name is taken; nothing is announced then.
    host::DataObject* add_object(std::unique_ptr<host::DataObject> dob);
    // Announces the object as going while it still exists (its visuals can be taken out),
    // destroys it, then announces it gone. Throws utils::LookupError for an unknown name.
    void remove_object(const QString& name);
    void remove_all_objects();
    // Tells the followers that something they show of the object has changed: where or
    // how it is drawn, or its labels. An object's own style changes are told unasked.
    // Throws utils::LookupError for an unknown name.
    void notify_changed(const QString& name);

    // nullptr when no object has that name.
    host::DataObject* object(const QString& name) const;
    // In the order they were added.
    std::vector<host::DataObject*> objects() const;
    // name -> object
    std::map<QString, host::DataObject*> object_data() const;

signals:
    void sig_added(korvex::host::DataObject* dob);
    void sig_removing(korvex::host::DataObject* dob);
    void sig_removed(const QString& name);
    void sig_changed(const QString& name);

private:
    std::vector<std::unique_ptr<host::DataObject>>::iterator find(const QString& name);

    std::vector<std::unique_ptr<host::DataObject>> objects_;
};

}  // namespace korvex::app

#pragma once

#include <QObject>
#include <QString>
#include <vector>

#include "korvex/app/app_export.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

class DataModel;
class DisplayTarget;

// The viewers the data objects are shown in, and the one in front, to which the data
// tree's check marks refer. It shows and hides objects through the viewers' agents, an
// agent that fails being logged while the others go on, and takes an object the model
// drops out of every viewer before it goes. Whatever may have changed what a viewer
// shows is announced, so that the tree reads its marks again.
class KORVEX_APP_EXPORT DisplayRouter final : public QObject {
    Q_OBJECT

public:
    explicit DisplayRouter(DataModel& model, QObject* parent = nullptr);

    void add_target(DisplayTarget* target);
    void remove_target(DisplayTarget* target);
    // Also adds it; nullptr when no viewer is open.
    void set_active_target(DisplayTarget* target);
    DisplayTarget* active_target() const { return active_; }

    // Shows the object and every section of it in `target`, what is not shown yet.
    void show_in(DisplayTarget& target, host::DataObject& dob);
    // Takes the object and its sections out of `target`.
    void take_out(DisplayTarget& target, host::DataObject& dob);
    // Takes every object of the model out of `target`.
    void take_all_out(DisplayTarget& target);

    // What a viewer's display state records as shown; false for no viewer.
    static bool object_shown(const DisplayTarget* target, const QString& name);
    static bool section_shown(const DisplayTarget* target, const QString& name,
                              const QString& section);

signals:
    // What the active viewer shows of the object may have changed.
    void sig_display_changed(const QString& name);
    // Another viewer came to the front, or none is left.
    void sig_active_changed();

private:
    DataModel& model_;
    std::vector<DisplayTarget*> targets_;
    DisplayTarget* active_ = nullptr;
};

}  // namespace korvex::app

#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

#include "korvex/utils/functions.h"

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

// A 3D viewer as the data tree and the project see it: the agents that show and hide
// objects and sections, the display state that records what is shown, and the view
// state saved with a project. The tree draws its check marks from display_state(),
// so the two cannot disagree.
class DisplayTarget {
public:
    virtual ~DisplayTarget() = default;

    // The name under which data objects keep the visuals they made for this viewer.
    virtual QString viewer_name() const = 0;

    virtual void add_item_agent(host::DataObject& dob) = 0;
    virtual void remove_item_agent(host::DataObject& dob) = 0;
    virtual void add_item_prop(host::DataObject& dob, const QString& prop) = 0;
    virtual void remove_item_prop(host::DataObject& dob, const QString& prop) = 0;
    virtual void add_cube_section(host::DataObject& dob, const QString& section) = 0;
    virtual void remove_cube_section(host::DataObject& dob, const QString& section) = 0;
    virtual const utils::DisplayState& display_state() const = 0;
    // Forgets what is shown; the tree has already taken everything out through the agents.
    virtual void clear_all() = 0;

    // The camera, background and aspect as a JSON object.
    virtual QByteArray view_state() const = 0;
    virtual void set_view_state(const QByteArray& state) = 0;
    // Frames everything shown, as the View all button does.
    virtual void view_all() {}

    // The viewer's own settings saved beside its view state (the vertical scale, say);
    // set before anything is shown again.
    virtual QVariantMap viewer_settings() const { return {}; }
    virtual void set_viewer_settings(const QVariantMap& /*settings*/) {}
};

}  // namespace korvex::app

#pragma once

#include <QStringList>
#include <stdexcept>

#include "korvex/app/viewers/display_target.h"
#include "korvex/host/data_object.h"

namespace korvex::testing {

// A viewer for tree and project tests: it keeps a display state the way the 3D viewer
// does (refusing objects that cannot be drawn, removing only what is shown), logs each
// call, and can be told to fail.
class RecordingDisplayTarget final : public app::DisplayTarget {
public:
    explicit RecordingDisplayTarget(QString name = QStringLiteral("viewer"))
        : name_(std::move(name)) {}

    QString viewer_name() const override { return name_; }

    void add_item_agent(host::DataObject& dob) override {
        call("add " + dob.name());
        if (!dob.viewable_in_volume()) return;
        if (!dob.visuals_in_volume.count(name_)) dob.make_visuals_in_volume(name_);
        utils::save_display_state(state, dob.name(), "object", "self", true);
    }
    void remove_item_agent(host::DataObject& dob) override {
        call("remove " + dob.name());
        if (!shown(dob.name(), "object", "self")) return;
        utils::save_display_state(state, dob.name(), "object", "self", false);
    }
    void add_item_prop(host::DataObject& dob, const QString& prop) override {
        call("add prop " + dob.name() + " " + prop);
        utils::save_display_state(state, dob.name(), "properties", prop, true);
    }
    void remove_item_prop(host::DataObject& dob, const QString& prop) override {
        call("remove prop " + dob.name() + " " + prop);
        utils::save_display_state(state, dob.name(), "properties", prop, false);
    }
    void add_cube_section(host::DataObject& dob, const QString& section) override {
        call("add " + dob.name() + " " + section);
        if (!dob.section_image3d.at(section).count(name_)) dob.make_image_3d(section, name_);
        utils::save_display_state(state, dob.name(), "sections", section, true);
    }
    void remove_cube_section(host::DataObject& dob, const QString& section) override {
        call("remove " + dob.name() + " " + section);
        if (!shown(dob.name(), "sections", section)) return;
        utils::save_display_state(state, dob.name(), "sections", section, false);
    }
    const utils::DisplayState& display_state() const override { return state; }
    void clear_all() override {
        calls << "clear_all";
        state.clear();
    }
    QByteArray view_state() const override { return view; }
    void set_view_state(const QByteArray& value) override { view = value; }

    bool shown(const QString& name, const QString& group, const QString& entry) const {
        const auto object = state.find(name);
        if (object == state.end()) return false;
        const auto entries = object->second.find(group);
        if (entries == object->second.end()) return false;
        const auto value = entries->second.find(entry);
        return value != entries->second.end() && value->second;
    }

    utils::DisplayState state;
    QByteArray view = R"({"azimuth":30,"elevation":30})";
    QStringList calls;
    // Every agent call throws this text when it is set.
    QString fail_with;

private:
    void call(const QString& what) {
        calls << what;
        if (!fail_with.isEmpty()) throw std::runtime_error(fail_with.toStdString());
    }

    QString name_;
};

}  // namespace korvex::testing

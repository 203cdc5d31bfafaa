#include "korvex/app/viewers/display_router.h"

#include <algorithm>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/viewers/display_target.h"
#include "korvex/config/base.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;

namespace {

bool shown(const DisplayTarget* target, const QString& name, const QString& group,
           const QString& entry) {
    return target && utils::is_shown(target->display_state(), name, group, entry);
}

}  // namespace

DisplayRouter::DisplayRouter(DataModel& model, QObject* parent) : QObject(parent), model_(model) {
    connect(&model_, &DataModel::sig_removing, this, [this](host::DataObject* dob) {
        for (DisplayTarget* target : targets_) take_out(*target, *dob);
    });
}

bool DisplayRouter::object_shown(const DisplayTarget* target, const QString& name) {
    return shown(target, name, QStringLiteral("object"), QStringLiteral("self"));
}

bool DisplayRouter::section_shown(const DisplayTarget* target, const QString& name,
                                  const QString& section) {
    return shown(target, name, QStringLiteral("sections"), section);
}

void DisplayRouter::add_target(DisplayTarget* target) {
    if (std::find(targets_.begin(), targets_.end(), target) == targets_.end()) {
        targets_.push_back(target);
    }
}

void DisplayRouter::remove_target(DisplayTarget* target) {
    targets_.erase(std::remove(targets_.begin(), targets_.end(), target), targets_.end());
    if (active_ == target) set_active_target(nullptr);
}

void DisplayRouter::set_active_target(DisplayTarget* target) {
    if (target) add_target(target);
    active_ = target;
    emit sig_active_changed();
}

void DisplayRouter::show_in(DisplayTarget& target, host::DataObject& dob) {
    const QString name = dob.name();
    if (!object_shown(&target, name)) {
        utils::call_guarded(_("Showing %1").arg(name), [&] { target.add_item_agent(dob); });
    }
    for (const QString& section : utils::appconsts::SECTION_TYPES) {
        if (!dob.section_image3d.count(section) || section_shown(&target, name, section)) continue;
        utils::call_guarded(_("Showing %1 %2").arg(name, section),
                            [&] { target.add_cube_section(dob, section); });
    }
    if (&target == active_) emit sig_display_changed(name);
}

void DisplayRouter::take_out(DisplayTarget& target, host::DataObject& dob) {
    const QString name = dob.name();
    for (const QString& section : utils::appconsts::SECTION_TYPES) {
        if (!section_shown(&target, name, section)) continue;
        utils::call_guarded(_("Hiding %1 %2").arg(name, section),
                            [&] { target.remove_cube_section(dob, section); });
    }
    if (object_shown(&target, name)) {
        utils::call_guarded(_("Hiding %1").arg(name), [&] { target.remove_item_agent(dob); });
    }
    if (&target == active_) emit sig_display_changed(name);
}

void DisplayRouter::take_all_out(DisplayTarget& target) {
    for (host::DataObject* dob : model_.objects()) take_out(target, *dob);
}

}  // namespace korvex::app

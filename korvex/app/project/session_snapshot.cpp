#include "korvex/app/project/session_snapshot.h"

#include <QFileInfo>
#include <set>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/display_target.h"
#include "korvex/config/base.h"
#include "korvex/host/persistent_object.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;
using utils::format;

namespace {

std::unique_ptr<host::DataObject> load_or_missing(const ObjectRecord& record,
                                                  const DataObjectFactory& factory) {
    QString reason;
    const QFileInfo file(record.source);
    if (!file.exists()) {
        reason = format("its file {} was not found", record.source);
    } else if (!file.isFile()) {
        // A FIFO or a device would block the restore on its first read.
        reason = format("its file {} is not a regular file", record.source);
    } else {
        try {
            return factory.load(record.type, record.source, record.settings);
        } catch (const std::exception& e) {
            reason = QString::fromStdString(e.what());
        }
    }
    utils::logger().warning(format("{} is missing from the project: {}", record.name, reason));
    return std::make_unique<MissingDataObject>(record, reason);
}

void show_entry(DisplayTarget& target, host::DataObject& dob, const QString& group,
                const QString& entry) {
    if (group == QLatin1String("object") && entry == QLatin1String("self")) {
        target.add_item_agent(dob);
    } else if (group == QLatin1String("sections")) {
        target.add_cube_section(dob, entry);
    } else if (group == QLatin1String("properties")) {
        target.add_item_prop(dob, entry);
    }
}

}  // namespace

ProjectSnapshot capture_session(const DataModel& model, const std::vector<DisplayTarget*>& viewers,
                                int active_viewer) {
    ProjectSnapshot snapshot;
    std::set<QString> stored;
    for (host::DataObject* dob : model.objects()) {
        const auto* persistent = dynamic_cast<const host::PersistentObject*>(dob);
        if (!persistent) continue;
        snapshot.objects.push_back({persistent->type_name(), dob->name(), persistent->source_path(),
                                    persistent->settings()});
        stored.insert(dob->name());
    }
    for (DisplayTarget* viewer : viewers) {
        ViewerRecord record{
            viewer->viewer_name(), viewer->view_state(), {}, viewer->viewer_settings()};
        // Only what is shown now: an entry recorded as hidden carries nothing to restore.
        for (const auto& [name, groups] : viewer->display_state()) {
            if (!stored.count(name)) continue;
            for (const auto& [group, entries] : groups) {
                for (const auto& [entry, value] : entries) {
                    if (value) utils::save_display_state(record.shown, name, group, entry, true);
                }
            }
        }
        snapshot.viewers.push_back(std::move(record));
    }
    snapshot.active_viewer = active_viewer;
    return snapshot;
}

void restore_objects(DataModel& model, const std::vector<ObjectRecord>& records,
                     const DataObjectFactory& factory) {
    for (const ObjectRecord& record : records) {
        utils::call_guarded(_("Loading %1").arg(record.name),
                            [&] { model.add_object(load_or_missing(record, factory)); });
    }
}

bool restore_viewer(DataModel& model, DisplayTarget& target, const ViewerRecord& record) {
    // First, so that what is shown next does not choose its own vertical scale.
    bool complete = utils::call_guarded(_("Restoring the settings of %1").arg(record.name),
                                        [&] { target.set_viewer_settings(record.settings); });
    const auto objects = model.object_data();
    for (const auto& [name, groups] : record.shown) {
        const auto found = objects.find(name);
        if (found == objects.end() || dynamic_cast<const MissingDataObject*>(found->second))
            continue;
        for (const auto& [group, entries] : groups) {
            for (const auto& [entry, value] : entries) {
                if (!value) continue;
                complete &= utils::call_guarded(_("Showing %1").arg(name), [&] {
                    show_entry(target, *found->second, group, entry);
                });
            }
        }
    }
    complete &= utils::call_guarded(_("Restoring the view of %1").arg(record.name),
                                    [&] { target.set_view_state(record.state); });
    for (const auto& entry : record.shown) {
        if (objects.count(entry.first)) model.notify_changed(entry.first);
    }
    return complete;
}

std::vector<PickRecord> place_picks(std::vector<PickRecord> records,
                                    const std::vector<DisplayTarget*>& viewers) {
    if (viewers.empty()) return records;
    std::set<QString> names;
    for (const DisplayTarget* viewer : viewers) names.insert(viewer->viewer_name());
    // A pick is the user's work; the viewer it was made in is only where it was shown, so a
    // pick outlives its viewer rather than being dropped with it.
    for (PickRecord& record : records) {
        if (!names.count(record.viewer)) record.viewer = viewers.front()->viewer_name();
    }
    return records;
}

std::vector<PickRecord> place_on_volumes(std::vector<PickRecord> records, const DataModel& model) {
    const auto objects = model.object_data();
    for (PickRecord& record : records) {
        const auto found = objects.find(record.sample.volume);
        const auto* volume = found == objects.end()
                                 ? nullptr
                                 : dynamic_cast<const data::SeismicVolume*>(found->second);
        if (!volume) continue;
        widgets::PickedSample& s = record.sample;
        s.position = volume->placement().to_scene({double(s.iline), double(s.xline), -s.time});
    }
    return records;
}

}  // namespace korvex::app

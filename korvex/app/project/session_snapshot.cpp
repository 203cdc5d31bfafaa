#include "korvex/app/project/session_snapshot.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <set>
#include <utility>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/missing_data_object.h"
#include "korvex/app/data/demo_survey.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/display_target.h"
#include "korvex/app/viewers/section_view_state.h"
#include "korvex/config/base.h"
#include "korvex/host/persistent_object.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;
using utils::format;

namespace {

// The demo's files live in the cache folder, which the user may clear: a project built on
// them writes them again, as the first run did, rather than losing the survey.
void write_demo_again_if_gone(const ObjectRecord& record) {
    const QFileInfo file(record.source);
    if (file.exists() ||
        file.absolutePath() != QDir(data::DemoSurvey::default_folder()).absolutePath())
        return;
    try {
        data::DemoSurvey::ensure();
        utils::logger().info(format("The demo survey was written again for {}", record.name));
    } catch (const std::exception& e) {
        utils::logger().warning(format("The demo survey cannot be written again: {}", e.what()));
    }
}

// Why a project's object cannot be opened from its file before trying, or empty.
QString unreadable(const ObjectRecord& record) {
    const QFileInfo file(record.source);
    if (!file.exists()) return format("its file {} was not found", record.source);
    // A FIFO or a device would block the restore on its first read.
    if (!file.isFile()) return format("its file {} is not a regular file", record.source);
    return {};
}

std::unique_ptr<host::DataObject> missing(const ObjectRecord& record, const QString& reason) {
    utils::logger().warning(format("{} is missing from the project: {}", record.name, reason));
    return std::make_unique<MissingDataObject>(record, reason);
}

// One restore under way: the project's objects are opened in turn, because an object
// may need one before it (points in line numbers need their survey).
struct Restore {
    DataModel& model;
    const DataObjectFactory& factory;
    QObject* context;
    std::vector<ObjectRecord> records;
    std::function<void()> done;
    std::size_t next = 0;
};

void open_next(const std::shared_ptr<Restore>& restore) {
    // A type without a worker answers at once: a loop then, rather than a recursion each.
    while (restore->next < restore->records.size()) {
        const std::size_t index = restore->next;
        const ObjectRecord& record = restore->records[index];
        auto on_stack = std::make_shared<bool>(true);
        auto add = [restore, on_stack, index](std::unique_ptr<host::DataObject> dob,
                                              const QString& error) {
            const ObjectRecord& record = restore->records[index];
            if (!dob) dob = missing(record, error);
            utils::call_guarded(_("Loading %1").arg(record.name),
                                [&] { restore->model.add_object(std::move(dob)); });
            restore->next = index + 1;
            if (!*on_stack) open_next(restore);
        };
        write_demo_again_if_gone(record);
        const QString reason = unreadable(record);
        if (reason.isEmpty())
            restore->factory.load_async(record.type, record.source, record.settings,
                                        restore->context, add);
        else
            add(nullptr, reason);
        if (restore->next == index) {
            // A worker has the file: its answer goes on from the event loop.
            *on_stack = false;
            return;
        }
    }
    if (restore->done) std::exchange(restore->done, {})();
}

bool is_missing(const DataModel& model, const QString& name) {
    return dynamic_cast<const MissingDataObject*>(model.object(name)) != nullptr;
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
                     const DataObjectFactory& factory, QObject* context,
                     std::function<void()> done) {
    open_next(
        std::make_shared<Restore>(Restore{model, factory, context, records, std::move(done)}));
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

bool waits_for_missing(const SectionViewRecord& record, const DataModel& model) {
    try {
        return is_missing(model, SectionViewState::from_json(record.state).volume);
    } catch (const std::exception&) {
        return false;  // unusable either way; its restore tells why
    }
}

void keep_for_missing(ProjectSnapshot& now, const ProjectSnapshot& opened, const DataModel& model) {
    for (ViewerRecord& viewer : now.viewers) {
        const auto was = std::find_if(opened.viewers.begin(), opened.viewers.end(),
                                      [&](const ViewerRecord& v) { return v.name == viewer.name; });
        if (was == opened.viewers.end()) continue;
        for (const auto& [name, groups] : was->shown) {
            if (is_missing(model, name)) viewer.shown[name] = groups;
        }
    }
    for (const SectionViewRecord& record : opened.section_views) {
        if (!waits_for_missing(record, model)) continue;
        // A view opened since under the same name has taken its place.
        const bool taken =
            std::any_of(now.section_views.begin(), now.section_views.end(),
                        [&](const SectionViewRecord& view) { return view.name == record.name; });
        if (!taken) now.section_views.push_back(record);
    }
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

std::vector<PickRecord> place_on_survey(std::vector<PickRecord> records,
                                        const data::SeismicVolume& volume) {
    const seismic::SurveyGeometry& survey = volume.geometry();
    for (PickRecord& record : records) {
        widgets::PickedSample& s = record.sample;
        if (s.volume != volume.name()) continue;
        s.position = volume.placement().to_scene({double(s.iline), double(s.xline), -s.time});
        s.map_x = s.map_y = std::nullopt;
        if (!survey.has_coordinates()) continue;
        const auto map = survey.to_map(s.iline, s.xline);
        s.map_x = map[0];
        s.map_y = map[1];
    }
    return records;
}

}  // namespace korvex::app

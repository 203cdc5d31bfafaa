#include "korvex/app/catalog/data_opener.h"

#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/catalog/data_object_factory.h"
#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

using utils::format;
using utils::logger;

namespace {

QVariantMap settings_for(const DataObjectFactory::DataType& type, const QString& path,
                         DataOpener::Settings settings) {
    if (settings == DataOpener::Settings::asked || !type.guess) return {};
    try {
        return type.guess(path);
    } catch (const std::exception&) {
        // The load that follows meets the same fault and names it.
        return {};
    }
}

}  // namespace

DataOpener::DataOpener(const DataObjectFactory& factory, DataTree& tree, ViewerArea& viewers,
                       QObject* parent)
    : QObject(parent), factory_(factory), tree_(tree), viewers_(viewers) {}

host::DataObject* DataOpener::load(const QString& path, const QVariantMap& settings) {
    try {
        const DataObjectFactory::DataType* type = factory_.type_for_file(path);
        if (!type)
            throw std::runtime_error(
                format("{} is not a kind of file korvex can read", path).toStdString());
        const QVariantMap used = settings.isEmpty() && type->ask ? type->ask(path) : settings;
        host::DataObject* dob = tree_.model().add_object(
            factory_.load(type->name, QFileInfo(path).absoluteFilePath(), used));
        logger().info(format("Loaded {} from {}", dob->name(), path));
        return dob;
    } catch (const std::exception& e) {
        logger().error(format("Cannot load {}: {}", path, e.what()));
        return nullptr;
    }
}

void DataOpener::open_and_show(const QStringList& paths, Settings settings, Each each) {
    batches_.push_back({paths, settings, std::move(each)});
    if (batches_.size() == 1 && !looping_) open_next();
}

void DataOpener::open_next() {
    // A type without a worker answers at once: a loop then, rather than a recursion per file.
    looping_ = true;
    while (!batches_.empty()) {
        Batch& batch = batches_.front();
        if (batch.next == batch.paths.size()) {
            const int shown = batch.shown;
            const int failures = batch.paths.size() - shown;
            batches_.pop_front();
            if (shown > 0) viewers_.frame_active_viewer();
            emit sig_opened(shown, failures);
            continue;
        }
        const QString path = batch.paths[batch.next++];
        const DataObjectFactory::DataType* type = factory_.type_for_file(path);
        if (!type) {
            opened(path, nullptr, format("{} is not a kind of file korvex can read", path));
            continue;
        }
        QVariantMap used = settings_for(*type, path, batch.settings);
        try {
            if (used.isEmpty() && type->ask) used = type->ask(path);
        } catch (const std::exception& e) {
            opened(path, nullptr, QString::fromStdString(e.what()));
            continue;
        }
        waiting_ = true;
        factory_.load_async(
            type->name, QFileInfo(path).absoluteFilePath(), used, this,
            [this, path](std::unique_ptr<host::DataObject> dob, const QString& error) {
                waiting_ = false;
                opened(path, std::move(dob), error);
                if (!looping_) open_next();
            });
        // A worker has the file: its answer goes on from the event loop.
        if (waiting_) break;
    }
    looping_ = false;
}

void DataOpener::opened(const QString& path, std::unique_ptr<host::DataObject> loaded,
                        const QString& error) {
    Batch& batch = batches_.front();
    host::DataObject* dob = nullptr;
    try {
        if (!loaded) throw std::runtime_error(error.toStdString());
        dob = tree_.model().add_object(std::move(loaded));
        logger().info(format("Loaded {} from {}", dob->name(), path));
    } catch (const std::exception& e) {
        logger().error(format("Cannot load {}: {}", path, e.what()));
    }
    try {
        if (dob) tree_.set_checked(dob->name(), true);
    } catch (const std::exception& e) {
        logger().error(format("Showing {} failed: {}", path, e.what()));
        dob = nullptr;
    }
    if (dob) ++batch.shown;
    if (batch.each) batch.each(path, dob);
}

}  // namespace korvex::app

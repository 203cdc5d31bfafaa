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

void DataOpener::open(const QString& path, const QVariantMap& settings, Loaded done) {
    const DataObjectFactory::DataType* type = factory_.type_for_file(path);
    const QFileInfo file(path);
    // Checked first: a folder or a mistyped name says nothing by its suffix.
    if (file.isDir()) {
        logger().error(format("Cannot load {}: it is a folder, not a data file", path));
    } else if (!file.exists()) {
        logger().error(format("Cannot load {}: {}: no such file", path, file.absoluteFilePath()));
    } else if (type) {
        return open_typed(*type, path, settings, std::move(done));
    } else {
        logger().error(
            format("Cannot load {}: {} is not a kind of file korvex can read", path, path));
    }
    if (done) done(nullptr);
}

void DataOpener::open_typed(const DataObjectFactory::DataType& type, const QString& path,
                            QVariantMap settings, Loaded done) {
    const auto fail = [path, done](const QString& why) {
        logger().error(format("Cannot load {}: {}", path, why));
        if (done) done(nullptr);
    };
    try {
        if (settings.isEmpty() && type.ask) settings = type.ask(path);
    } catch (const DataObjectFactory::Cancelled&) {
        logger().info(format("Opening {} cancelled", path));
        if (done) done(nullptr);
        return;
    } catch (const std::exception& e) {
        return fail(QString::fromStdString(e.what()));
    }
    factory_.load_async(
        type.name, QFileInfo(path).absoluteFilePath(), settings, this,
        [this, path, done, fail](std::unique_ptr<host::DataObject> loaded, const QString& error) {
            if (!loaded) return fail(error);
            host::DataObject* dob = nullptr;
            try {
                dob = tree_.model().add_object(std::move(loaded));
            } catch (const std::exception& e) {
                return fail(QString::fromStdString(e.what()));
            }
            logger().info(format("Loaded {} from {}", dob->name(), path));
            if (done) done(dob);
        });
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
        const auto next = [this, path](host::DataObject* dob) {
            waiting_ = false;
            show(path, dob);
            if (!looping_) open_next();
        };
        waiting_ = true;
        if (const DataObjectFactory::DataType* type = factory_.type_for_file(path))
            open_typed(*type, path, settings_for(*type, path, batch.settings), next);
        else
            open(path, {}, next);
        // A worker has the file: its answer goes on from the event loop.
        if (waiting_) break;
    }
    looping_ = false;
}

void DataOpener::show(const QString& path, host::DataObject* dob) {
    Batch& batch = batches_.front();
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

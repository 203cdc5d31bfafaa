#include "korvex/app/data_opener.h"

#include <QFileInfo>
#include <algorithm>
#include <stdexcept>

#include "korvex/app/data_model.h"
#include "korvex/app/data_object_factory.h"
#include "korvex/app/data_tree.h"
#include "korvex/app/viewer_area.h"
#include "korvex/host/data_object.h"
#include "korvex/utils/logger.h"

namespace korvex::app {

using utils::format;
using utils::logger;

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

host::DataObject* DataOpener::open_and_show(const QString& path, const QVariantMap& settings) {
    host::DataObject* dob = load(path, settings);
    if (!dob) return nullptr;
    try {
        tree_.set_checked(dob->name(), true);
        return dob;
    } catch (const std::exception& error) {
        logger().error(format("Showing {} failed: {}", path, error.what()));
        return nullptr;
    }
}

std::vector<host::DataObject*> DataOpener::open_and_show(const QStringList& paths,
                                                         Settings settings) {
    std::vector<host::DataObject*> opened;
    for (const QString& path : paths)
        opened.push_back(open_and_show(path, settings_for(path, settings)));
    const int failures = static_cast<int>(std::count(opened.begin(), opened.end(), nullptr));
    const int shown = static_cast<int>(opened.size()) - failures;
    if (shown > 0) viewers_.frame_active_viewer();
    emit sig_opened(shown, failures);
    return opened;
}

QVariantMap DataOpener::settings_for(const QString& path, Settings settings) const {
    const DataObjectFactory::DataType* type = factory_.type_for_file(path);
    if (settings == Settings::asked || !type || !type->guess) return {};
    try {
        return type->guess(path);
    } catch (const std::exception&) {
        // The load that follows meets the same fault and names it.
        return {};
    }
}

}  // namespace korvex::app

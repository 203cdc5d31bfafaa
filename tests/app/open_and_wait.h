#pragma once

#include <QTest>
#include <memory>
#include <optional>

#include "korvex/app/window/main_window.h"

namespace korvex::testing {

// Opens a data file in the window as a script does, waiting for it by its answer: the
// object added, or nullptr when it failed.
inline host::DataObject* load_data(app::MainWindow& window, const QString& path,
                                   const QVariantMap& settings = {}) {
    auto loaded = std::make_shared<std::optional<host::DataObject*>>();
    window.load_data_file(path, settings, [loaded](host::DataObject* dob) { *loaded = dob; });
    (void)QTest::qWaitFor([&] { return loaded->has_value(); }, 60000);
    return loaded->value_or(nullptr);
}

// Opens a project, waiting until every object it holds has arrived and is shown; false
// when the file was refused.
template <typename Session>
bool open_project(Session& session, const QString& path) {
    auto restored = std::make_shared<bool>(false);
    if (!session.open_project(path, [restored] { *restored = true; })) return false;
    return QTest::qWaitFor([&] { return *restored; }, 60000);
}

}  // namespace korvex::testing

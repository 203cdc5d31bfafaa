#pragma once

// How the benchmarks of the whole window wait for its work, which goes on from the event
// loop: they serve the loop until the work says it has ended.
#include <QCoreApplication>
#include <QEventLoop>
#include <functional>

#include "korvex/app/window/main_window.h"

namespace korvex::bench {

inline void serve_until(const std::function<bool()>& ended) {
    while (!ended()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

inline void load_data(app::MainWindow& window, const QString& path,
                      const QVariantMap& settings = {}) {
    bool loaded = false;
    window.load_data_file(path, settings, [&loaded](host::DataObject*) { loaded = true; });
    serve_until([&] { return loaded; });
}

inline void open_project(app::MainWindow& window, const QString& path) {
    bool restored = false;
    if (window.open_project(path, [&restored] { restored = true; }))
        serve_until([&] { return restored; });
}

}  // namespace korvex::bench

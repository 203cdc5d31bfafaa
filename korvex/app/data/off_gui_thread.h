#pragma once

#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent>
#include <exception>
#include <optional>
#include <utility>

namespace korvex::app::data {

// Runs `work` on a worker thread and returns its result, or rethrows its exception, here.
// Meanwhile the calling (GUI) thread keeps serving its event loop, so the window stays
// responsive while a file is read; callers must expect events to be handled during the call.
template <typename Work>
auto run_off_gui_thread(Work work) -> decltype(work()) {
    using Value = decltype(work());
    struct Outcome {
        std::optional<Value> value;
        std::exception_ptr error;
    };
    QFutureWatcher<Outcome> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcher<Outcome>::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(QtConcurrent::run([work = std::move(work)]() mutable {
        Outcome outcome;
        try {
            outcome.value.emplace(work());
        } catch (...) {
            outcome.error = std::current_exception();
        }
        return outcome;
    }));
    if (!watcher.isFinished()) loop.exec();
    Outcome outcome = watcher.result();
    if (outcome.error) std::rethrow_exception(outcome.error);
    return std::move(*outcome.value);
}

}  // namespace korvex::app::data

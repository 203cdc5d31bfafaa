#include "korvex/utils/undo_service.h"

#include <utility>

#include "korvex/utils/qthelpers.h"

namespace korvex::utils {

namespace {

class RecordedStep final : public QUndoCommand {
public:
    RecordedStep(const QString& text, std::function<void()> undo, std::function<void()> redo)
        : QUndoCommand(text), undo_(std::move(undo)), redo_(std::move(redo)) {}

    void undo() override { run(undo_); }
    void redo() override {
        // The change was made before it was recorded.
        if (std::exchange(applied_, false)) return;
        run(redo_);
    }

private:
    void run(const std::function<void()>& step) {
        // The stack drops an obsolete step instead of moving past it.
        if (!call_guarded(QStringLiteral("Going back or forth: ") + text(), step))
            setObsolete(true);
    }

    std::function<void()> undo_;
    std::function<void()> redo_;
    bool applied_ = true;
};

}  // namespace

UndoService::UndoService(QObject* parent) : QObject(parent) {}

void UndoService::record(const QString& text, const QString& line, std::function<void()> undo,
                         std::function<void()> redo) {
    if (!line.isEmpty()) logger().info(line);
    stack_.push(new RecordedStep(text, std::move(undo), std::move(redo)));
}

void UndoService::undo() {
    if (!stack_.canUndo()) return;
    logger().info(format("Undo {}", stack_.undoText()));
    stack_.undo();
}

void UndoService::redo() {
    if (!stack_.canRedo()) return;
    logger().info(format("Redo {}", stack_.redoText()));
    stack_.redo();
}

void UndoService::clear() { stack_.clear(); }

}  // namespace korvex::utils

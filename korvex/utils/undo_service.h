#pragma once

#include <QObject>
#include <QPointer>
#include <QUndoStack>
#include <QVariant>
#include <functional>
#include <stdexcept>

#include "korvex/utils/logger.h"
#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// The user's changes that can be taken back (Undo) and made again (Redo), newest first,
// and the journal line each leaves. Changes are recorded after they took effect, so that
// one that fails is neither applied twice nor kept.
class KORVEX_UTILS_EXPORT UndoService final : public QObject {
    Q_OBJECT

public:
    explicit UndoService(QObject* parent = nullptr);

    // Keeps a change just made, named `text` in the Edit menu, and writes `line` to the
    // journal unless it is empty. A step whose `undo` or `redo` throws (its object has
    // gone) is logged and dropped.
    void record(const QString& text, const QString& line, std::function<void()> undo,
                std::function<void()> redo);

    // Sets a value of `object` through its setter and records the change when the value
    // differs afterwards: "Changed the <what> from <before> to <after>". The setter's
    // exceptions reach the caller, and nothing is recorded then.
    template <class Object, class Value, class Arg>
    void change(Object& object, const QString& what, Value (Object::*get)() const,
                void (Object::*set)(Arg), const Value& value) {
        const Value before = (object.*get)();
        (object.*set)(value);
        const Value after = (object.*get)();
        if (after == before) return;
        QPointer<Object> target(&object);
        const auto put = [target, set](const Value& kept) {
            if (!target) throw std::runtime_error("its object is closed");
            ((*target).*set)(kept);
        };
        record(
            what,
            format("Changed the {} from {} to {}", what, QVariant(before).toString(),
                   QVariant(after).toString()),
            [put, before] { put(before); }, [put, after] { put(after); });
    }

    // Both log what they do; a step that fails is dropped.
    void undo();
    void redo();
    // Forgets every step, as a project replaces the session.
    void clear();

    const QUndoStack& stack() const { return stack_; }

private:
    QUndoStack stack_;
};

// As UndoService::change, or the setter alone where nothing keeps the user's changes.
template <class Object, class Value, class Arg>
void apply_change(UndoService* undo, Object& object, const QString& what,
                  Value (Object::*get)() const, void (Object::*set)(Arg), const Value& value) {
    if (undo)
        undo->change(object, what, get, set, value);
    else
        (object.*set)(value);
}

}  // namespace korvex::utils

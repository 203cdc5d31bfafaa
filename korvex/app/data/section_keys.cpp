#include "korvex/app/data/section_keys.h"

#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

#include "korvex/app/data/seismic_volume.h"
#include "korvex/scene/scene_canvas.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

namespace {
constexpr int SHIFT_STEP = 10;
}

SectionKeys::SectionKeys(QObject* parent) : QObject(parent) {}

SectionKeys* SectionKeys::of(scene::SceneCanvas& canvas) {
    QWidget* native = canvas.native();
    if (!native) return nullptr;
    auto* keys = native->findChild<SectionKeys*>(QString(), Qt::FindDirectChildrenOnly);
    if (!keys) {
        keys = new SectionKeys(native);
        // Picks arrive through the canvas's own filter on this widget; installing another
        // while Qt walks that list would run the canvas's filter twice for the press.
        QMetaObject::invokeMethod(
            keys, [native, keys] { native->installEventFilter(keys); }, Qt::QueuedConnection);
    }
    return keys;
}

void SectionKeys::select(SeismicVolume& volume, const QString& section_type) {
    volume_ = &volume;
    section_type_ = section_type;
}

bool SectionKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !volume_) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const int direction = key->key() == Qt::Key_PageUp     ? -1
                          : key->key() == Qt::Key_PageDown ? 1
                                                           : 0;
    if (direction == 0) return QObject::eventFilter(watched, event);
    const int step = key->modifiers() & Qt::ShiftModifier ? SHIFT_STEP : 1;
    utils::call_guarded(QStringLiteral("Moving a section"), [&] {
        const int last = volume_->frame().count(section_type_) - 1;
        const int index =
            std::clamp(volume_->section_index(section_type_) + direction * step, 0, last);
        volume_->set_section_index(section_type_, index);
    });
    return true;
}

}  // namespace korvex::app::data

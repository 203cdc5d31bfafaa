#include "korvex/app/viewers/viewer_area.h"

#include <QMenu>
#include <QScopeGuard>
#include <QShortcut>
#include <QTabBar>
#include <QToolButton>

#include "korvex/app/catalog/data_tree.h"
#include "korvex/app/viewers/canvas_display_target.h"
#include "korvex/app/viewers/display_router.h"
#include "korvex/config/base.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"

namespace korvex::app {

using config::_;

ViewerArea::ViewerArea(host::MainHolder* owner, DataTree* tree, QWidget* parent)
    : QTabWidget(parent), owner_(owner), tree_(tree) {
    setObjectName(QStringLiteral("viewer_area"));
    setDocumentMode(true);
    setTabsClosable(true);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (!tree_ || index < 0 || index >= int(entries_.size())) return;
        utils::call_guarded(_("Switching viewers"), [&] {
            tree_->router().set_active_target(entries_[index].target.get());
        });
    });
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        utils::call_guarded(_("Closing a viewer"), [&] { close_viewer(index); });
    });
    connect(tree_, &DataTree::sig_unchecked_all, this, [this] {
        utils::call_guarded(_("Clearing the viewer"), [&] {
            if (auto* target = static_cast<CanvasDisplayTarget*>(tree_->router().active_target()))
                target->clear_all();
        });
    });
}

// The tree must not keep viewers that are gone.
ViewerArea::~ViewerArea() {
    while (!entries_.empty()) remove_entry(int(entries_.size()) - 1);
}

widgets::CubeViewer* ViewerArea::add_viewer(const QString& name) {
    const int index = append_viewer(name);
    setCurrentIndex(index);
    return entries_.at(index).viewer;
}

int ViewerArea::append_viewer(const QString& name) {
    const QString viewer_name = name.isEmpty() ? free_name() : name;
    auto* viewer = new widgets::CubeViewer(this, make_options_button(), viewer_name);
    viewer->setObjectName(viewer_name);
    release_reserved_keys(viewer);
    auto target = std::make_unique<CanvasDisplayTarget>(viewer->base());
    const CanvasDisplayTarget* raw = target.get();
    connect(&viewer->base(), &widgets::CanvasWidget::sig_hide_all, this,
            [this, raw] { utils::call_guarded(_("Hide all"), [&] { hide_all_in(raw); }); });
    widgets::CanvasWidget* canvas = &viewer->base();
    connect(canvas, &widgets::CanvasWidget::sig_picked_sample, this,
            [this, canvas](const widgets::PickedSample& pick) {
                emit sig_picked_sample(canvas, pick);
            });
    if (tree_) tree_->router().add_target(target.get());
    entries_.push_back({viewer, std::move(target)});
    const int index = addTab(viewer, viewer_name);
    tabBar()->setTabsClosable(entries_.size() > 1);
    emit sig_viewer_added(canvas);
    return index;
}

void ViewerArea::close_viewer(int index) {
    if (entries_.size() <= 1) return;
    if (tree_) tree_->router().take_all_out(*entries_.at(index).target);
    const QString name = entries_.at(index).target->viewer_name();
    remove_entry(index);
    emit sig_viewer_closed(name);
}

void ViewerArea::reset_viewers(const QStringList& names) {
    // Only the viewer in front is drawn. Each viewer brought to the front on its way in or
    // out cost a frame, and a project of many viewers opened many times slower than a few.
    setUpdatesEnabled(false);
    const auto resume = qScopeGuard([this] { setUpdatesEnabled(true); });
    if (!entries_.empty()) setCurrentIndex(0);
    while (!entries_.empty()) remove_entry(int(entries_.size()) - 1);
    for (const QString& name : names) append_viewer(name);
    if (entries_.empty()) append_viewer(QString());
    setCurrentIndex(0);
}

void ViewerArea::set_active_index(int index) {
    if (index >= 0 && index < count()) setCurrentIndex(index);
}

void ViewerArea::reserve_keys(const QList<QKeySequence>& keys) {
    reserved_keys_ = keys;
    for (const Entry& entry : entries_) release_reserved_keys(entry.viewer);
}

void ViewerArea::release_reserved_keys(QWidget* viewer) const {
    // A key both a viewer and the window answer would be ambiguous while the viewer has
    // the keyboard, and Qt then runs neither.
    for (QShortcut* shortcut : viewer->findChildren<QShortcut*>()) {
        if (reserved_keys_.contains(shortcut->key())) delete shortcut;
    }
}

void ViewerArea::frame_active_viewer() {
    widgets::CanvasWidget& canvas = active_viewer()->base();
    canvas.set_view_all();
    canvas.set_elevation(scene::TurntableCamera::DEFAULT_ELEVATION);
    canvas.set_azimuth(scene::TurntableCamera::DEFAULT_AZIMUTH);
}

widgets::CubeViewer* ViewerArea::viewer(int index) const { return entries_.at(index).viewer; }

widgets::CubeViewer* ViewerArea::active_viewer() const {
    const int index = currentIndex();
    return index < 0 ? nullptr : entries_.at(index).viewer;
}

std::vector<DisplayTarget*> ViewerArea::targets() const {
    std::vector<DisplayTarget*> result;
    for (const Entry& entry : entries_) result.push_back(entry.target.get());
    return result;
}

QWidget* ViewerArea::make_options_button() {
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setIcon(utils::icon("options"));
    button->setToolTip(_("Viewer options"));
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    utils::add_actions(menu,
                       {utils::create_action(menu, _("New 3D viewer"), [this] { add_viewer(); }),
                        utils::create_action(menu, _("Close this viewer"), [this, button] {
                            close_viewer(indexOf(button->parentWidget()));
                        })});
    button->setMenu(menu);
    return button;
}

// "Hide all" in the viewer in front goes through the tree, which unchecks everything;
// in a viewer behind, the tree's marks are not about it, so it is emptied directly.
void ViewerArea::hide_all_in(const CanvasDisplayTarget* target) {
    if (!tree_) return;
    if (target == tree_->router().active_target()) {
        tree_->uncheck_all();
        return;
    }
    for (Entry& entry : entries_) {
        if (entry.target.get() != target) continue;
        tree_->router().take_all_out(*entry.target);
        entry.target->clear_all();
    }
}

void ViewerArea::remove_entry(int index) {
    Entry entry = std::move(entries_.at(index));
    entries_.erase(entries_.begin() + index);
    if (tree_) tree_->router().remove_target(entry.target.get());
    removeTab(index);
    // The viewer may be the one whose menu asked for this: it goes once the event is over.
    entry.viewer->hide();
    entry.viewer->deleteLater();
    tabBar()->setTabsClosable(entries_.size() > 1);
    if (tree_ && currentIndex() >= 0)
        tree_->router().set_active_target(entries_.at(currentIndex()).target.get());
}

QString ViewerArea::free_name() const {
    for (int n = 1;; ++n) {
        const QString name = _("3D View %1").arg(n);
        bool taken = false;
        for (const Entry& entry : entries_) taken = taken || entry.target->viewer_name() == name;
        if (!taken) return name;
    }
}

}  // namespace korvex::app

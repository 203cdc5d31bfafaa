#pragma once

#include <QKeySequence>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTabWidget>
#include <memory>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/viewer_set.h"
#include "korvex/host/main_holder.h"
#include "korvex/host/panel_host.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::widgets {
class CanvasWidget;
class CubeViewer;
}  // namespace korvex::widgets

namespace korvex::app {

class CanvasDisplayTarget;
class DataTree;

// The 3D viewers in the centre of the main window, one per tab, each under its own
// name so that one object can be shown in several at once. It is the owner the viewer
// panels are mounted in, and it keeps the data tree and the viewers in step: the
// tree's check marks follow the viewer in front, "Uncheck all" clears that viewer,
// and a viewer's "Hide all" unchecks what it shows.
class KORVEX_APP_EXPORT ViewerArea final : public QTabWidget,
                                           public host::PanelHost,
                                           public ViewerSet {
    Q_OBJECT

public:
    ViewerArea(host::MainHolder* owner, DataTree* tree, QWidget* parent = nullptr);
    ~ViewerArea() override;

    QWidget* widget() const override { return const_cast<ViewerArea*>(this); }
    host::MainHolder* owner() const override { return owner_; }

    // Opens a viewer in a new tab and brings it to the front. Without a name it gets the
    // next free "3D View <n>".
    widgets::CubeViewer* add_viewer(const QString& name = QString());
    // Takes everything shown out of the viewer, then closes it. The last viewer stays.
    void close_viewer(int index);
    // Replaces every viewer with new ones of these names (at least one), as a project
    // is opened: fresh cameras, nothing shown.
    void reset_viewers(const QStringList& names) override;

    // Keys the window's own actions answer: the viewers' buttons give them up, now and
    // in every viewer opened later, so that one key never means two things.
    void reserve_keys(const QList<QKeySequence>& keys);

    // Fits the viewer in front to everything it shows, seen from the usual angle.
    void frame_active_viewer();

    widgets::CubeViewer* viewer(int index) const;
    widgets::CubeViewer* active_viewer() const;
    // The viewers in tab order, as the tree and the project see them.
    std::vector<DisplayTarget*> targets() const override;
    int active_index() const override { return currentIndex(); }
    void set_active_index(int index) override;

signals:
    // A sample picked in one of the viewers.
    void sig_picked_sample(widgets::CanvasWidget* viewer,
                           const korvex::widgets::PickedSample& pick);
    // A viewer was opened.
    void sig_viewer_added(widgets::CanvasWidget* viewer);
    // The user closed the viewer of this name; the first viewer is still open.
    void sig_viewer_closed(const QString& name);

private:
    struct Entry {
        widgets::CubeViewer* viewer;
        std::unique_ptr<CanvasDisplayTarget> target;
    };

    // Opens a viewer in a new tab, leaving the one in front there; returns its index.
    int append_viewer(const QString& name);
    QWidget* make_options_button();
    void hide_all_in(const CanvasDisplayTarget* target);
    void remove_entry(int index);
    QString free_name() const;
    void release_reserved_keys(QWidget* viewer) const;

    host::MainHolder* owner_;
    QPointer<DataTree> tree_;
    std::vector<Entry> entries_;
    QList<QKeySequence> reserved_keys_;
};

}  // namespace korvex::app

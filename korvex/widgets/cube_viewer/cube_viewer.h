#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include "korvex/host/panel_host.h"
#include "korvex/widgets/cube_viewer/cube_viewer_export.h"

class QToolButton;

namespace korvex::widgets {

class CanvasWidget;

// The 3D viewer as the host mounts it: a row of tool buttons (visibility, named
// views, projection, restrictive view, pick mode, background, export, help) above
// the canvas widget. `parent` is where the host mounts it; its owner must reach the
// main window. The host's `options_button` goes to the right end of the row.
class KORVEX_CUBE_VIEWER_EXPORT CubeViewer final : public QWidget, public host::HostedPanel {
    Q_OBJECT

public:
    explicit CubeViewer(host::PanelHost* parent = nullptr, QWidget* options_button = nullptr,
                        const QString& name = QString());

    QWidget* widget() override { return this; }
    host::PanelHost* owner() const override { return owner_; }

    CanvasWidget& base() const { return *base_; }
    QToolButton* pick_btn() const { return pick_btn_; }

    // The 14 buttons of the row, in order; the pick-mode button is the 11th.
    QList<QToolButton*> setup_buttons();

    void toggle_orthogonal_view(bool checked);
    // Restrictive view is not implemented: both directions throw utils::NotImplementedError
    // (its button says so and springs back).
    void toggle_restrictive_view(bool checked);
    void show_help();

private:
    QToolButton* make_restrictive_btn();

    host::PanelHost* owner_;
    CanvasWidget* base_;
    QToolButton* pick_btn_ = nullptr;
};

}  // namespace korvex::widgets

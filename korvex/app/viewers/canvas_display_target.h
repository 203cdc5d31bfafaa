#pragma once

#include "korvex/app/app_export.h"
#include "korvex/app/viewers/display_target.h"

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

// A cube viewer's canvas widget as the data tree and the project drive it.
class KORVEX_APP_EXPORT CanvasDisplayTarget final : public DisplayTarget {
public:
    explicit CanvasDisplayTarget(widgets::CanvasWidget& canvas) : canvas_(canvas) {}

    widgets::CanvasWidget& canvas() const { return canvas_; }

    QString viewer_name() const override;
    void add_item_agent(host::DataObject& dob) override;
    void remove_item_agent(host::DataObject& dob) override;
    void add_item_prop(host::DataObject& dob, const QString& prop) override;
    void remove_item_prop(host::DataObject& dob, const QString& prop) override;
    void add_cube_section(host::DataObject& dob, const QString& section) override;
    void remove_cube_section(host::DataObject& dob, const QString& section) override;
    const utils::DisplayState& display_state() const override;
    void clear_all() override;
    QByteArray view_state() const override;
    // Checks the whole state (a missing or bad key throws, naming it, and nothing
    // changes), then applies camera, background and aspect.
    void set_view_state(const QByteArray& state) override;
    void view_all() override;
    // "z_scale" once chosen.
    QVariantMap viewer_settings() const override;
    void set_viewer_settings(const QVariantMap& settings) override;

private:
    widgets::CanvasWidget& canvas_;
};

}  // namespace korvex::app

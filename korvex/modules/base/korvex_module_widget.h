#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

#include "korvex/host/dockable.h"
#include "korvex/host/main_holder.h"
#include "korvex/modules/base/module_base_export.h"

class QAction;
class QDockWidget;
class QMenu;
class QToolButton;

namespace korvex::modules {

// Base of the modules that live in a dock of the main window. A module is created with
// the main window as `parent`, calls initialize_module() in its constructor, and is
// docked when the host calls register_module().
class KORVEX_MODULE_BASE_EXPORT KorvexModuleWidget : public QWidget,
                                                     public host::MainHolder,
                                                     public host::Dockable {
    Q_OBJECT

public:
    // The configuration section of the module; each module names its own.
    static constexpr const char* CONF_SECTION = "";

    explicit KorvexModuleWidget(host::WindowHost* parent);

    host::WindowHost* main() const override;

    // Creates options_button(): a tool button whose menu offers the module's own actions
    // and floating/closing its dock.
    void initialize_module();
    QToolButton* options_button() const;

    // The dock that holds the module once docked, else nullptr.
    QDockWidget* dockwidget() const;

    QWidget* widget() override { return this; }
    QString get_module_title() const override = 0;
    // The widget to give focus to when the module's dock is raised.
    QWidget* get_focus_widget() const override = 0;
    QList<QAction*> get_module_actions() const override = 0;
    virtual void register_module() = 0;
    virtual void refresh_module(const std::optional<QString>& new_path = std::nullopt,
                                bool force_current = true) = 0;
    // Whether the main window may close.
    bool closing_module(bool cancelable = false) override = 0;

protected:
    // main(), or AttributeError when the module was made without a main window.
    host::WindowHost& require_main() const;

private:
    void fill_options_menu(QMenu* menu);

    host::WindowHost* main_;
    QToolButton* options_button_ = nullptr;
};

}  // namespace korvex::modules

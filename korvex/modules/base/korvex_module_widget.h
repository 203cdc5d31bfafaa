#pragma once

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

#include "korvex/host/main_window.h"

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QToolButton;

namespace korvex::modules {

class KorvexModuleWidget;
QDockWidget* dock_module(QMainWindow*, KorvexModuleWidget*, QMenu*, Qt::DockWidgetArea);

// Base of the modules that live in a dock of the main window. A module is created with
// the main window as `parent`, calls initialize_module() in its constructor, and is
// docked when the host calls register_module().
class KorvexModuleWidget : public QWidget, public host::MainHolder {
    Q_OBJECT

public:
    // The configuration section of the module; each module names its own.
    static constexpr const char* CONF_SECTION = "";

    explicit KorvexModuleWidget(host::MainWindowInterface* parent);

    host::MainWindowInterface* main() const override;

    // Creates options_button(): a tool button whose menu offers the module's own actions
    // and floating/closing its dock.
    void initialize_module();
    QToolButton* options_button() const;

    // The dock that holds the module once docked, else nullptr.
    QDockWidget* dockwidget() const;

    virtual QString get_module_title() const = 0;
    // The widget to give focus to when the module's dock is raised.
    virtual QWidget* get_focus_widget() const = 0;
    virtual QList<QAction*> get_module_actions() const = 0;
    virtual void register_module() = 0;
    virtual void refresh_module(const std::optional<QString>& new_path = std::nullopt,
                                bool force_current = true) = 0;
    // Whether the main window may close.
    virtual bool closing_module(bool cancelable = false) = 0;

protected:
    // main(), or AttributeError when the module was made without a main window.
    host::MainWindowInterface& require_main() const;

private:
    friend QDockWidget* dock_module(QMainWindow*, KorvexModuleWidget*, QMenu*, Qt::DockWidgetArea);

    void fill_options_menu(QMenu* menu);

    host::MainWindowInterface* main_;
    QToolButton* options_button_ = nullptr;
    QDockWidget* dockwidget_ = nullptr;
};

}  // namespace korvex::modules

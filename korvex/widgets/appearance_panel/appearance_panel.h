#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "korvex/widgets/appearance_panel/appearance_panel_export.h"

class QTableWidget;

namespace korvex::host {
class AppearanceOwner;
class DataObject;
}  // namespace korvex::host

namespace korvex::widgets {

// Base of the pages that set how one data object is drawn. The owner (the Qt parent
// given at construction) must be a host::AppearanceOwner naming the data tree and the
// object; the page finds that object as dob(). A concrete page makes its widgets in
// setup_page(), fills them in load_style(), and creates prop_table before calling
// refresh_prop_table().
class KORVEX_APPEARANCE_PANEL_EXPORT AppearancePanel : public QWidget {
    Q_OBJECT

public:
    explicit AppearancePanel(QWidget* parent = nullptr);

    // The page's name and icon name; each concrete page gives its own.
    virtual std::optional<QString> NAME() const;
    virtual std::optional<QString> ICON() const;

    host::AppearanceOwner* owner() const;
    host::DataObject* dob() const;

    // Initialize configuration page: set up the GUI widgets, then load the settings
    // and change the widgets accordingly.
    void initialize();
    virtual void setup_page();
    // Load style settings from data
    virtual void load_style();

    // Configuration page name
    std::optional<QString> get_name() const;
    // The icon's name; the page does not load the icon itself.
    std::optional<QString> get_icon() const;

    // Shows the object's properties, read afresh, in prop_table.
    void refresh_prop_table();

protected:
    QTableWidget* prop_table = nullptr;

private:
    host::AppearanceOwner* owner_ = nullptr;
    host::DataObject* dob_ = nullptr;
};

}  // namespace korvex::widgets

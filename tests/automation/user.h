#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <functional>

#include "korvex/automation/bot.h"

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace korvex::testing {

// Someone at the application, reaching it only through what is on screen: tree check
// boxes, tool buttons found by their tooltips, menus found by their texts, the dialogs
// those open. Every click and key goes through the bot.
class User final {
public:
    explicit User(QWidget* window) : window_(window) {}

    const automation::Bot& bot() const { return bot_; }

    // Opens `item` in the tree by its arrow, when it is closed.
    void expand(QTreeWidget* tree, QTreeWidgetItem* item) const;
    // Clicks the check box of `item`.
    void toggle(QTreeWidget* tree, QTreeWidgetItem* item) const;
    // Clicks the visible tool button with the tooltip `tip` inside `area`; false when
    // there is none.
    bool click_tool(QWidget* area, const QString& tip) const;
    // Opens the menu `menu` of the window's menu bar and clicks its entry `entry` (both
    // as shown, without their "&" marks); false when either is missing.
    bool choose(const QString& menu, const QString& entry) const;
    // Replaces the text of a line edit by typing.
    void retype(QWidget* line_edit, const QString& text) const;

    // The answers below wait for their dialog, which opens inside the event loop of the
    // action that opens it: arm them first, then act.
    // Puts `path` into the next file dialog and accepts it.
    void answer_file_dialog(const QString& path) const;
    // Clicks `button` in the next modal dialog of class `dialog_class`.
    void answer_dialog(const char* dialog_class, QDialogButtonBox::StandardButton button) const;

private:
    // Offers every modal widget that shows up to `answer` until it takes one.
    void on_next_modal(std::function<bool(QWidget*)> answer) const;

    QWidget* window_;
    automation::Bot bot_;
};

}  // namespace korvex::testing

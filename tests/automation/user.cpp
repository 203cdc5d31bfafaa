#include "tests/automation/user.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "tests/support/modal_answer.h"

namespace korvex::testing {

namespace {

QString shown_text(const QAction* action) { return action->text().remove('&'); }

QAction* find_action(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (shown_text(action) == text) return action;
    }
    return nullptr;
}

QAbstractButton* accept_button(const QDialogButtonBox* box) {
    for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QDialogButtonBox::AcceptRole) return button;
    }
    return nullptr;
}

}  // namespace

void User::expand(QTreeWidget* tree, QTreeWidgetItem* item) const {
    if (item->isExpanded()) return;
    tree->scrollToItem(item);
    const QRect rect = tree->visualItemRect(item);
    bot_.mouseClick(tree->viewport(), Qt::LeftButton, -1,
                    QPoint(rect.left() - tree->indentation() / 2, rect.center().y()));
}

void User::toggle(QTreeWidget* tree, QTreeWidgetItem* item) const {
    tree->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box =
        tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    bot_.mouseClick(tree->viewport(), Qt::LeftButton, -1, box.center());
}

bool User::click_tool(QWidget* area, const QString& tip) const {
    for (QToolButton* button : area->findChildren<QToolButton*>()) {
        if (button->toolTip() == tip && button->isVisible()) {
            bot_.mouseClick(button, Qt::LeftButton);
            return true;
        }
    }
    return false;
}

bool User::choose(const QString& menu, const QString& entry) const {
    auto* main = qobject_cast<QMainWindow*>(window_);
    if (!main) return false;
    QMenuBar* bar = main->menuBar();
    QAction* title = find_action(bar->actions(), menu);
    if (!title || !title->menu()) return false;
    bot_.mouseClick(bar, Qt::LeftButton, -1, bar->actionGeometry(title).center());
    QMenu* popup = title->menu();
    if (!QTest::qWaitForWindowExposed(popup)) return false;
    QAction* action = find_action(popup->actions(), entry);
    if (!action) {
        popup->close();
        return false;
    }
    bot_.mouseClick(popup, Qt::LeftButton, -1, popup->actionGeometry(action).center());
    return true;
}

void User::retype(QWidget* line_edit, const QString& text) const {
    bot_.keyClick(line_edit, Qt::Key_A, Qt::ControlModifier);
    bot_.keyClick(line_edit, Qt::Key_Delete);
    bot_.keyClicks(line_edit, text);
}

void User::answer_file_dialog(const QString& path) const {
    const User user = *this;
    on_next_modal([user, path](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QAbstractButton* accept = buttons ? accept_button(buttons) : nullptr;
        if (!name || !accept) {
            dialog->reject();
            return true;
        }
        // Pasted whole: typed key by key, the dialog completes and selects names on the way.
        name->setText(path);
        user.bot().mouseClick(accept, Qt::LeftButton);
        return true;
    });
}

void User::answer_dialog(const char* dialog_class, QDialogButtonBox::StandardButton button) const {
    const automation::Bot bot = bot_;
    on_next_modal([bot, dialog_class, button](QWidget* modal) {
        if (!modal->inherits(dialog_class)) return false;
        for (auto* box : modal->findChildren<QDialogButtonBox*>()) {
            if (QPushButton* pressed = box->button(button)) {
                // As a user waits for a button that a dialog enables once it has looked.
                if (!QTest::qWaitFor([pressed] { return pressed->isEnabled(); })) return false;
                bot.mouseClick(pressed, Qt::LeftButton);
                return true;
            }
        }
        return false;
    });
}

void User::on_next_modal(std::function<bool(QWidget*)> answer) const {
    answer_modal_when(std::move(answer));
}

}  // namespace korvex::testing

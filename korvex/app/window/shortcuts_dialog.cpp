#include "korvex/app/window/shortcuts_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QSet>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

namespace {

QString key_text(const QKeySequence& key) { return key.toString(QKeySequence::NativeText); }

// "&Save as..." reads "Save as" in a list.
QString plain(QString text) {
    text.remove('&');
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    return text;
}

}  // namespace

ShortcutsDialog::ShortcutsDialog(QWidget* window) : QDialog(window) {
    setWindowTitle(_("Keyboard shortcuts"));
    table_ = new QTableWidget(0, 2, this);
    table_->setHorizontalHeaderLabels({_("Key"), _("Does")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QSet<QString> listed;
    auto add = [&](const QKeySequence& key, const QString& what) {
        const QString row = key_text(key) + '\n' + what;
        if (key.isEmpty() || what.isEmpty() || listed.contains(row)) return;
        listed.insert(row);
        add_row(key_text(key), what);
    };
    for (const QAction* action : window->findChildren<QAction*>())
        add(action->shortcut(), plain(action->text()));
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        add(button->shortcut(), button->toolTip());
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>())
        add(shortcut->key(), shortcut->whatsThis());
    table_->resizeColumnToContents(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(480, 520);
}

void ShortcutsDialog::add_row(const QString& key, const QString& what) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(key));
    table_->setItem(row, 1, new QTableWidgetItem(what));
}

}  // namespace korvex::app

#include "korvex/app/project/recent_files.h"

#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "korvex/config/base.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app {

using config::_;

namespace {

const QString KEY = QStringLiteral("recent_files");

}  // namespace

RecentFiles::RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), menu_(menu), open_(std::move(open)) {
    // Filled as it opens, never while one of its actions runs.
    connect(menu_, &QMenu::aboutToShow, this, [this] { fill_menu(); });
    fill_menu();
}

QStringList RecentFiles::files() const { return QSettings().value(KEY).toStringList(); }

void RecentFiles::add(const QString& path) {
    QStringList list = files();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings().setValue(KEY, QStringList(list.mid(0, MAX_FILES)));
}

void RecentFiles::fill_menu() {
    menu_->clear();
    const QStringList list = files();
    for (const QString& path : list) {
        QAction* action =
            utils::create_action(menu_, QFileInfo(path).fileName(), [this, path] { open_(path); });
        action->setToolTip(path);
        menu_->addAction(action);
    }
    if (list.isEmpty()) menu_->addAction(_("No recent files"))->setEnabled(false);
}

}  // namespace korvex::app

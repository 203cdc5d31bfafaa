#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "korvex/app/app_export.h"

class QMenu;

namespace korvex::app {

// File > Open recent: the projects and data files the user opened or saved last, newest
// first, kept in the user's settings (QSettings) from one run to the next.
class KORVEX_APP_EXPORT RecentFiles final : public QObject {
    Q_OBJECT

public:
    static constexpr int MAX_FILES = 10;

    // `open` is called with the path the user chooses from `menu`.
    RecentFiles(QMenu* menu, std::function<void(const QString&)> open, QObject* parent);

    QStringList files() const;
    // Puts `path` first (once).
    void add(const QString& path);

private:
    void fill_menu();

    QMenu* menu_;
    std::function<void(const QString&)> open_;
};

}  // namespace korvex::app

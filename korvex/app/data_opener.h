#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <vector>

namespace korvex::host {
class DataObject;
}

namespace korvex::app {

class DataObjectFactory;
class DataTree;
class ViewerArea;

// Opens data files and shows them in the viewer in front: the one way in for the File
// menu and the command line, so both load, tick and frame alike.
class DataOpener final : public QObject {
    Q_OBJECT

public:
    // Where a fresh file's settings come from: the user, or the guess each type makes
    // without asking (a SEG-Y file's usual header bytes, say).
    enum class Settings { asked, guessed };

    DataOpener(const DataObjectFactory& factory, DataTree& tree, ViewerArea& viewers,
               QObject* parent = nullptr);

    // Loads one file, its type chosen by the suffix, and adds it to the tree; `settings`
    // as a project gives them, empty to ask. Failures are logged; nullptr then.
    host::DataObject* load(const QString& path, const QVariantMap& settings = {});
    // Loads the file and ticks it, so that the viewer in front shows it with its
    // sections. Failures are logged; nullptr then.
    host::DataObject* open_and_show(const QString& path, const QVariantMap& settings = {});
    // Each path as open_and_show(), then the viewer in front framed on what it shows when
    // any was shown; sig_opened tells the end. The objects in the order of `paths`,
    // nullptr for each that failed.
    std::vector<host::DataObject*> open_and_show(const QStringList& paths, Settings settings);

signals:
    // Every file of a batch has been shown or has failed.
    void sig_opened(int shown, int failures);

private:
    QVariantMap settings_for(const QString& path, Settings settings) const;

    const DataObjectFactory& factory_;
    DataTree& tree_;
    ViewerArea& viewers_;
};

}  // namespace korvex::app

#pragma once

#include <QStringList>

namespace korvex::utils {
class FileIntake;
}

namespace korvex::app {

class DataObjectFactory;

// File > Open data: the intake's dialog, listing every kind of file korvex reads, opened
// in the folder the user last took data from (kept in the user's settings from one run
// to the next), else in the work directory.
class OpenDataDialog {
public:
    static constexpr const char* FOLDER_KEY = "open/data_folder";

    OpenDataDialog(utils::FileIntake& intake, const DataObjectFactory& factory)
        : intake_(intake), factory_(factory) {}

    // The files chosen; none when the user cancels, which leaves the folder as it was.
    QStringList choose(const QString& workdir);

private:
    utils::FileIntake& intake_;
    const DataObjectFactory& factory_;
};

}  // namespace korvex::app

#pragma once

#include <QStringList>

namespace korvex::utils {
class FileIntake;
}

namespace korvex::app {

// File > Open data: the intake's dialog, listing every kind of file korvex reads, opened
// in the folder the user last took data from (kept in the user's settings from one run
// to the next), else in the work directory.
class OpenDataDialog {
public:
    static constexpr const char* FOLDER_KEY = "open/data_folder";

    explicit OpenDataDialog(utils::FileIntake& intake) : intake_(intake) {}

    // The files chosen; none when the user cancels, which leaves the folder as it was.
    QStringList choose(const QString& workdir);

private:
    utils::FileIntake& intake_;
};

}  // namespace korvex::app

#pragma once

#include <QString>
#include <stdexcept>

namespace korvex::app {

// A project file could not be created, read or written. The message is meant for the
// user: it names the file and what is wrong with it.
class ProjectError : public std::runtime_error {
public:
    explicit ProjectError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

}  // namespace korvex::app

#pragma once

#include <QByteArray>
#include <QString>

namespace korvex::fuzz {

// The path of a file in a private temporary folder, holding `bytes`, for readers that
// take a path. The folder lives as long as the process; each call replaces the file.
QString scratch_file(const QString& name, const QByteArray& bytes);

}  // namespace korvex::fuzz

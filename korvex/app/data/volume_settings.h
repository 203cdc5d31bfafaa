#pragma once

#include <QString>
#include <QVariantMap>

#include "korvex/seismic/segy_volume_file.h"

namespace korvex::app::data {

class SeismicVolume;

// A project is a file anyone can edit: its header bytes are checked before segyio sees
// them. Without them the volume's geometry is unknown, and a restore must not stop to ask,
// so a missing or impossible byte throws utils::ValueError naming the file.
seismic::SegyHeaderBytes saved_header_bytes(const QString& path, const QVariantMap& settings);

// The section positions and look a project saved, each snapped to the nearest line or
// sample; a value that cannot be applied is logged and skipped.
void restore_volume(SeismicVolume& volume, const QVariantMap& settings);

}  // namespace korvex::app::data

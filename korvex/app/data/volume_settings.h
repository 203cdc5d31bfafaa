#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

#include "korvex/seismic/segy_volume_file.h"
#include "korvex/seismic/survey_grid.h"

namespace korvex::app::data {

class SeismicVolume;

// A project is a file anyone can edit: its header bytes are checked before segyio sees
// them. Without them the volume's geometry is unknown, and a restore must not stop to ask,
// so a missing or impossible byte throws utils::ValueError naming the file.
seismic::SegyHeaderBytes saved_header_bytes(const QString& path, const QVariantMap& settings);

// Settings for a file named without a question (on the command line): its header bytes
// are found as it opens, off the GUI thread, with the rest of its headers.
QVariantMap bytes_found_on_opening();
// The bytes to open `path` with: those the settings name or, where they ask for it, the
// usual pair when it gives a grid, else the pair a scan of the trace headers finds (said
// in the log). Reads the file: call it where the file is opened, never on the GUI thread.
seismic::SegyHeaderBytes header_bytes_to_open(const QString& path, const QVariantMap& settings);

// The bytes a scan of `path`'s trace headers finds when they differ from `failed`, those
// it would not open with: the file was rewritten with its line numbers elsewhere since a
// project saved them. Reads the file, as header_bytes_to_open does.
std::optional<seismic::SegyHeaderBytes> other_header_bytes(const QString& path,
                                                           const seismic::SegyHeaderBytes& failed);

// A grid set by hand as a project keeps it, and back. A value missing or not a number
// throws utils::ValueError, as SurveyGrid::check does for a grid that cannot be.
QVariantMap grid_settings(const seismic::SurveyGrid& grid);
seismic::SurveyGrid saved_grid(const QVariant& value);

// The map grid, section positions and look a project saved, each snapped to the nearest line or
// sample; a value that cannot be applied is logged and skipped.
void restore_volume(SeismicVolume& volume, const QVariantMap& settings);

}  // namespace korvex::app::data

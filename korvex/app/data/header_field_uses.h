#pragma once

#include <QColor>
#include <QString>
#include <optional>

#include "korvex/config/base.h"
#include "korvex/seismic/coordinate_bytes.h"
#include "korvex/seismic/segy_volume_file.h"

namespace korvex::app::data {

// The trace header fields a volume reads its line numbers and map coordinates from.
struct HeaderFieldUses {
    seismic::SegyHeaderBytes lines;
    // Absent before the file is opened: then the pair its headers give, as opening finds it.
    std::optional<seismic::CoordinateBytes> coordinates;

    // What the field at `byte` is used as, empty when unused.
    QString of(int byte) const {
        using config::_;
        if (byte == lines.iline) return _("inline");
        if (byte == lines.xline) return _("crossline");
        if (coordinates && byte == coordinates->x) return _("map X");
        if (coordinates && byte == coordinates->y) return _("map Y");
        return {};
    }
};

// The shade of fields that vary from trace to trace.
inline QColor varying_field_colour() { return {255, 243, 196}; }

}  // namespace korvex::app::data

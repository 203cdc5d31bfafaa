#pragma once

#include <QString>
#include <array>

#include "korvex/app/data/data_export.h"
#include "korvex/seismic/section_kind.h"
#include "korvex/seismic/segy_geometry.h"

namespace korvex::app::data {

// A volume in its own coordinates: x is the inline number, y the crossline number and
// z the time (or depth) pointing down, z = -time. Sections are planes at one line or
// sample; the volume's placement puts them on the map.
class KORVEX_DATA_EXPORT SurveyFrame final {
public:
    // A section's plane: normal to `axis` at `position`, spanning u0..u1 and v0..v1 along
    // its in-plane axes ((y, z) for x, (x, z) for y, (x, y) for z), from the first to the
    // last sample centre.
    struct Plane {
        char axis = 'x';
        double position = 0.0;
        double u0 = 0.0, u1 = 0.0, v0 = 0.0, v1 = 0.0;
    };

    // A sample of the volume by its indices, with its line numbers and time.
    struct Sample {
        int iline_index = 0;
        int xline_index = 0;
        int sample_index = 0;
        int iline = 0;
        int xline = 0;
        double time = 0.0;
    };

    explicit SurveyFrame(const seismic::SegyGeometry& geometry);

    // How many positions a section of `kind` can take.
    int count(seismic::SectionKind kind) const;
    // An index out of range throws utils::LookupError.
    Plane plane(seismic::SectionKind kind, int index) const;
    // The line number or time of the section at `index`.
    double position_value(seismic::SectionKind kind, int index) const;
    // The index whose line number or time is nearest to `value`.
    int index_of(seismic::SectionKind kind, double value) const;

    // The sample nearest to a world point, clamped into the volume.
    Sample nearest(const std::array<double, 3>& world) const;

    double sample_interval() const { return geometry_.sample_interval_ms; }

    // xmin, xmax, ymin, ymax, zmin, zmax of the sample centres.
    std::array<double, 6> bounds() const;

private:
    seismic::SegyGeometry geometry_;
};

}  // namespace korvex::app::data

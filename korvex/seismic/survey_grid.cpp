#include "korvex/seismic/survey_grid.h"

#include <cmath>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

void SurveyGrid::check() const {
    for (const double value : {origin[0], origin[1], azimuth})
        if (!std::isfinite(value))
            throw utils::ValueError(
                _("the grid's origin and azimuth must be numbers").toStdString());
    if (!(iline_bin > 0.0 && xline_bin > 0.0 && std::isfinite(iline_bin) &&
          std::isfinite(xline_bin)))
        throw utils::ValueError(_("the grid's bins must be positive").toStdString());
}

QString SurveyGrid::text() const {
    return (clockwise ? _("first inline and crossline at %1, %2; bins %3 x %4; inlines toward "
                          "%5 degrees, crosslines clockwise of them")
                      : _("first inline and crossline at %1, %2; bins %3 x %4; inlines toward "
                          "%5 degrees, crosslines counterclockwise of them"))
        .arg(origin[0], 0, 'f', 2)
        .arg(origin[1], 0, 'f', 2)
        .arg(iline_bin, 0, 'g', 10)
        .arg(xline_bin, 0, 'g', 10)
        .arg(azimuth, 0, 'g', 10);
}

}  // namespace korvex::seismic

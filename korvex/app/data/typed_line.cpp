#include "korvex/app/data/typed_line.h"

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/config/base.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;

TypedLine TypedLine::nearest(const SeismicVolume& volume, seismic::SectionKind kind, double typed) {
    const SurveyFrame& frame = volume.frame();
    TypedLine line{frame.index_of(kind, typed), QString()};
    const double found = frame.position_value(kind, line.index);
    if (found != typed) {
        line.note = _("%1 %2 is not in %3: showing %4")
                        .arg(seismic::section_title(kind), exact_text(typed), volume.name(),
                             exact_text(found));
        utils::logger().info(line.note);
    }
    return line;
}

}  // namespace korvex::app::data

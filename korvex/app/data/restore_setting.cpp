#include "korvex/app/data/restore_setting.h"

#include <cmath>
#include <exception>

#include "korvex/app/data/number_text.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

void restore_setting(const QString& object, const QVariantMap& settings, const QString& key,
                     const std::function<void(const QVariant&)>& set) {
    if (!settings.contains(key)) return;
    try {
        set(settings[key]);
    } catch (const std::exception& error) {
        utils::logger().warning(
            utils::format("{}: saved {} ignored: {}", object, key, error.what()));
    }
}

int restored_section_index(const QString& owner, const SeismicVolume& volume,
                           seismic::SectionKind kind, double value) {
    const SurveyFrame& frame = volume.frame();
    const int index = frame.index_of(kind, value);
    const double shown = frame.position_value(kind, index);
    if (std::abs(shown - value) <= 1e-9 * (1.0 + std::abs(value))) return index;
    const auto text = [&](double position) {
        return kind == seismic::SectionKind::depth ? time_text(position, frame.sample_interval())
                                                   : exact_text(position);
    };
    const QString what = seismic::section_title(kind).toLower();
    utils::logger().warning(utils::format("{}: the saved {} {} is not in {} now; {} {} is shown",
                                          owner, what, text(value), volume.source_path(), what,
                                          text(shown)));
    return index;
}

}  // namespace korvex::app::data

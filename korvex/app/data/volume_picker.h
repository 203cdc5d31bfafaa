#pragma once

#include <QString>
#include <array>
#include <optional>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/survey_frame.h"
#include "korvex/seismic/section.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::app::data {

class SeismicVolume;

// Answers which sample of a volume lies at a place: on a drawn section from its image,
// elsewhere from the file, and turns the answer into a pick as the viewers keep it.
class KORVEX_DATA_EXPORT VolumePicker final {
public:
    struct Pick {
        SurveyFrame::Sample sample;
        float amplitude = 0.0f;
    };

    explicit VolumePicker(const SeismicVolume& volume) : volume_(volume) {}

    // The sample of the section of `kind` nearest to a scene point on it; throws
    // utils::LookupError when no section of that kind is drawn.
    Pick pick(seismic::SectionKind kind, const std::array<double, 3>& world) const;
    // The sample nearest to an inline, crossline and time, read from the file (one trace);
    // none when the place lies outside the volume.
    std::optional<Pick> sample_at(double iline, double xline, double time) const;
    // What a pick at `sample` answers where the survey has no trace: "no trace at inline N,
    // crossline M"; none where a trace is. A hole holds no sample to keep as a pick.
    std::optional<QString> no_trace(const SurveyFrame::Sample& sample) const;
    // A pick as the viewers and the Picks dock keep it.
    widgets::PickedSample picked_sample(const Pick& pick) const;

private:
    const SeismicVolume& volume_;
};

}  // namespace korvex::app::data

#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "korvex/app/data/survey_frame.h"
#include "korvex/scene/image_section.h"
#include "korvex/seismic/section.h"
#include "korvex/widgets/cube_viewer/sample_query.h"

namespace korvex::app::data {

class LiveOutlineVisual;
class SeismicVolume;

// One section of a volume in one viewer. A right-button pick reports the sample under
// the mouse in one log line and answers with it, which the viewer passes on through
// sig_picked_sample; the viewer then gives the section its keys: Page
// Up and Page Down step one line or sample back and forth, ten with Shift. A time slice
// carries the survey's live area, which moves with it.
class KORVEX_DATA_EXPORT VolumeSectionVisual final : public scene::ImageSection,
                                                     public widgets::SampleQuery {
public:
    VolumeSectionVisual(SeismicVolume& volume, seismic::SectionKind kind,
                        const seismic::Section& image, const SurveyFrame::Plane& plane,
                        const QString& colormap, double clip);

    // Shows another section of the same type.
    void show(const seismic::Section& image, const SurveyFrame::Plane& plane);
    // The outline of the live area on a time slice; nullptr on other sections.
    const std::shared_ptr<LiveOutlineVisual>& outline() const { return outline_; }

    std::optional<widgets::PickedSample> query_sample(const scene::PickResult& pick) override;
    bool on_key_press(const scene::KeyEvent& event) override;

    // Gone once the volume is closed.
    SeismicVolume* volume() const { return volume_; }
    seismic::SectionKind kind() const { return kind_; }

private:
    QPointer<SeismicVolume> volume_;
    seismic::SectionKind kind_;
    std::shared_ptr<LiveOutlineVisual> outline_;
};

}  // namespace korvex::app::data

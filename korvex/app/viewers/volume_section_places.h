#pragma once

#include "korvex/app/viewers/section_places.h"

namespace korvex::widgets {
class SectionCanvas;
}

namespace korvex::app {

class VolumeSectionFeed;

// The places of an inline, a crossline or a time slice shown flat.
class VolumeSectionPlaces final : public SectionPlaces {
public:
    VolumeSectionPlaces(const VolumeSectionFeed& feed, const widgets::SectionCanvas& canvas)
        : feed_(feed), canvas_(canvas) {}

    const data::SeismicVolume* volume() const override;
    std::optional<data::SurveyFrame::Sample> sample_at(int column, int row) const override;
    std::optional<widgets::SectionMarks::Cursor> mark_of(double iline, double xline,
                                                         std::optional<double> time) const override;

private:
    const VolumeSectionFeed& feed_;
    const widgets::SectionCanvas& canvas_;
};

}  // namespace korvex::app

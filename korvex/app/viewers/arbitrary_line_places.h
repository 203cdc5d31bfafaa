#pragma once

#include "korvex/app/viewers/section_places.h"

namespace korvex::widgets {
class SectionCanvas;
}

namespace korvex::app {

class ArbitraryLineFeed;

// The places of an arbitrary line shown flat: a column per trace it crosses.
class ArbitraryLinePlaces final : public SectionPlaces {
public:
    ArbitraryLinePlaces(const ArbitraryLineFeed& feed, const widgets::SectionCanvas& canvas)
        : feed_(feed), canvas_(canvas) {}

    const data::SeismicVolume* volume() const override;
    std::optional<data::SurveyFrame::Sample> sample_at(int column, int row) const override;
    // At the column whose trace is nearest to the place, within NEAR_STEPS bins.
    std::optional<widgets::SectionMarks::Cursor> mark_of(double iline, double xline,
                                                         std::optional<double> time) const override;

private:
    const ArbitraryLineFeed& feed_;
    const widgets::SectionCanvas& canvas_;
};

}  // namespace korvex::app

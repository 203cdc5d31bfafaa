#pragma once

#include <optional>

#include "korvex/app/data/survey_frame.h"
#include "korvex/widgets/section_view/section_marks.h"

namespace korvex::app {

namespace data {
class SeismicVolume;
}

// What the columns and rows of a section view are in its volume, both ways: the sample
// drawn at a cell, and where a place given by line numbers and time shows.
class SectionPlaces {
public:
    // How many lines (or samples, across a time slice) off the section a place still shows.
    static constexpr double NEAR_STEPS = 2.0;

    virtual ~SectionPlaces() = default;

    // None once the volume is closed.
    virtual const data::SeismicVolume* volume() const = 0;
    // The sample drawn at a cell of the section shown; none where no trace is drawn.
    virtual std::optional<data::SurveyFrame::Sample> sample_at(int column, int row) const = 0;
    // Where a place shows, when on or near the section: down a whole trace where its time
    // is not known.
    virtual std::optional<widgets::SectionMarks::Cursor> mark_of(
        double iline, double xline, std::optional<double> time) const = 0;
};

}  // namespace korvex::app

#pragma once

#include <QString>

#include "korvex/seismic/seismic_export.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

// A trace whose line numbers do not match its place on the survey grid: drawing the
// file's sections would put it (and the trace it displaces) at the wrong position.
// Found by the full header check; what() names the file, the trace and its lines.
class KORVEX_SEISMIC_EXPORT IrregularGeometryError final : public utils::ValueError {
public:
    enum class Fault {
        off_grid,   // its line numbers are not lines of the survey
        duplicate,  // an earlier trace has the same line numbers
        misplaced,  // its line numbers belong to a later trace's place
    };

    IrregularGeometryError(const QString& message, Fault fault, long long trace, int iline,
                           int xline, int expected_iline, int expected_xline)
        : utils::ValueError(message.toStdString()),
          fault_(fault),
          trace_(trace),
          iline_(iline),
          xline_(xline),
          expected_iline_(expected_iline),
          expected_xline_(expected_xline) {}

    Fault fault() const { return fault_; }
    // The trace's number in the file, counting from 1, and the lines its header gives.
    long long trace() const { return trace_; }
    int iline() const { return iline_; }
    int xline() const { return xline_; }
    // The lines whose trace belongs at its place, missing there.
    int expected_iline() const { return expected_iline_; }
    int expected_xline() const { return expected_xline_; }

private:
    Fault fault_;
    long long trace_;
    int iline_;
    int xline_;
    int expected_iline_;
    int expected_xline_;
};

}  // namespace korvex::seismic

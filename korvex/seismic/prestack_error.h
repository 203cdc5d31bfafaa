#pragma once

#include "korvex/seismic/seismic_export.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

// A file of gathers: several traces at each inline/crossline position, at their offsets.
// No other header bytes make a volume of it; those that seem to spread its gathers over a
// grid of offsets.
class KORVEX_SEISMIC_EXPORT PrestackError final : public utils::ValueError {
public:
    using utils::ValueError::ValueError;
};

}  // namespace korvex::seismic

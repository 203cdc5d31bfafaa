#include "korvex/seismic/coordinate_bytes.h"

#include "korvex/config/base.h"

namespace korvex::seismic {

using config::_;

const std::array<CoordinateBytes, 3>& CoordinateBytes::candidates() {
    static const std::array<CoordinateBytes, 3> pairs{{{181, 185}, {73, 77}, {81, 85}}};
    return pairs;
}

CoordinateBytes CoordinateBytes::find(const std::function<int32_t(std::size_t, int)>& field,
                                      std::size_t count) {
    // A pair left at zero, or filled with one value for every trace, places nothing.
    for (const CoordinateBytes& pair : candidates())
        for (std::size_t n = 1; n < count; ++n)
            if (field(n, pair.x) != field(0, pair.x) || field(n, pair.y) != field(0, pair.y))
                return pair;
    return candidates().front();
}

QString CoordinateBytes::describe() const {
    const QString name = x == 73 ? _("source X/Y") : x == 81 ? _("group X/Y") : _("CDP X/Y");
    return _("%1 (bytes %2 and %3)").arg(name).arg(x).arg(y);
}

}  // namespace korvex::seismic

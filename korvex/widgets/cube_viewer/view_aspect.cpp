#include "korvex/widgets/cube_viewer/view_aspect.h"

#include "korvex/utils/logger.h"

namespace korvex::widgets {

void ViewAspect::apply(const QString& method, std::optional<double> ratio) {
    std::optional<double> stored;
    if (method == "Equal") {
        stored = 1.0;
    } else if (method == "Fixed") {
        stored = ratio;
    } else {
        utils::logger().error("Unknown value");
    }
    method_ = method;
    ratio_ = stored;
}

void ViewAspect::apply(const ViewState& state) {
    const AspectSetting aspect = read_aspect(state);
    apply(aspect.method, aspect.ratio);
}

}  // namespace korvex::widgets

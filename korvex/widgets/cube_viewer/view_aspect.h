#pragma once

#include <QString>
#include <optional>

#include "korvex/widgets/cube_viewer/view_state.h"

namespace korvex::widgets {

// The aspect pair a viewer records with its view state: "Equal" (ratio 1) or "Fixed"
// with a ratio. Recorded only: nothing is drawn differently for it.
class ViewAspect {
public:
    // An unknown method is logged as an error and kept, with no ratio.
    void apply(const QString& method, std::optional<double> ratio);
    // The pair as read_aspect reads it; when that throws, nothing changes.
    void apply(const ViewState& state);

    const QString& method() const { return method_; }
    std::optional<double> ratio() const { return ratio_; }

private:
    QString method_ = "Equal";
    std::optional<double> ratio_ = 1.0;
};

}  // namespace korvex::widgets

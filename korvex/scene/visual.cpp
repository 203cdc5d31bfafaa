#include "korvex/scene/visual.h"

#include <vtkProp.h>

#include "korvex/scene/view_box.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::scene {

Visual::Visual(vtkSmartPointer<vtkProp> prop) : prop_(std::move(prop)) {}

Visual::~Visual() { set_parent(nullptr); }

void Visual::set_parent(ViewBox* view) {
    if (view == parent_) return;
    if (parent_) parent_->detach(*this);
    parent_ = view;
    if (parent_) parent_->attach(*this);
}

vtkProp* Visual::prop() const { return prop_; }

bool Visual::visible() const { return prop_->GetVisibility() != 0; }

void Visual::set_visible(bool visible) {
    prop_->SetVisibility(visible);
    update();
}

std::array<double, 6> Visual::bounds() const {
    std::array<double, 6> result{};
    if (const double* b = prop_->GetBounds()) std::copy(b, b + 6, result.begin());
    return result;
}

void Visual::query_in_3d(SceneCanvas&, const MouseEvent&) {
    throw utils::NotImplementedError(utils::format("{} has no query in 3D", text()).toStdString());
}

QString Visual::text() const {
    const auto address = reinterpret_cast<quintptr>(this);
    if (name.isEmpty()) return utils::format("<{} at 0x{:x}>", type_name(), address);
    return utils::format("<{} '{}' at 0x{:x}>", type_name(), name, address);
}

void Visual::update() const {
    if (parent_) parent_->update();
}

}  // namespace korvex::scene

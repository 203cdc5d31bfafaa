#include "tests/support/fake_data_object.h"

#include <vector>

#include "korvex/scene/image_section.h"
#include "tests/support/recording_section.h"

namespace korvex::testing {

FakeDataObject::FakeDataObject(const QString& name, bool viewable)
    : name_(name), viewable_(viewable) {
    make_item = [this] { return scene::Item(std::make_shared<RecordingSection>(this, -1.0, 1.0)); };
    for (const char* type : {"iline", "xline", "depth"}) section_image3d[type];
}

void FakeDataObject::make_visuals_in_volume(const QString& parent) {
    ++visuals_made;
    visuals_in_volume[parent] = make_item();
}

void FakeDataObject::make_image_3d(const QString& section_type, const QString& parent) {
    images_made << section_type;
    const char axis = section_type == "iline" ? 'y' : section_type == "xline" ? 'x' : 'z';
    auto section = std::make_shared<scene::ImageSection>(
        std::vector<float>{0.f, 1.f, 1.f, 0.f}, 2, 2, axis, 0.0, scene::PlaneExtent{0, 1, 0, 1});
    section->name = section_type;
    section->host_dob = this;
    section_image3d[section_type][parent] = scene::Item(section);
}

}  // namespace korvex::testing

#include "bench/section_scene.h"

#include <QSurfaceFormat>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

#include "korvex/scene/surface_format.h"
#include "korvex/scene/turntable_camera.h"
#include "korvex/scene/view_box.h"

namespace korvex::bench {

namespace {

std::vector<float> synthetic_section(int samples, double phase) {
    std::vector<float> data(static_cast<std::size_t>(samples) * samples);
    for (int row = 0; row < samples; ++row) {
        for (int col = 0; col < samples; ++col) {
            data[static_cast<std::size_t>(row) * samples + col] =
                static_cast<float>(std::sin(row * 0.05 + phase) * std::cos(col * 0.013));
        }
    }
    return data;
}

}  // namespace

std::vector<std::vector<float>> synthetic_sections(int samples) {
    std::vector<std::vector<float>> sections;
    for (const char axis : {'x', 'y', 'z'}) sections.push_back(synthetic_section(samples, axis));
    return sections;
}

SectionScene::SectionScene(int width, int height) {
    canvas_.add_view()->add(axis_);
    compass_ = std::make_unique<scene::OrientationMarker>(*canvas_.view());
    auto* layout = new QVBoxLayout(&window_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(canvas_.create_native());
    window_.resize(width, height);
    window_.show();
    (void)QTest::qWaitForWindowExposed(&window_);
    canvas_.render();
}

SectionScene::SectionScene(int width, int height, int samples) : SectionScene(width, height) {
    add_sections(samples, synthetic_sections(samples));
}

void SectionScene::add_sections(int samples, std::vector<std::vector<float>> sections) {
    scene::ViewBox* view = canvas_.view();
    const double size = samples - 1;
    const scene::PlaneExtent extent{0.0, size, 0.0, size};
    const char axes[] = {'x', 'y', 'z'};
    for (std::size_t i = 0; i < 3; ++i) {
        sections_.push_back(std::make_unique<scene::ImageSection>(
            std::move(sections.at(i)), samples, samples, axes[i], size / 2, extent));
        view->add(*sections_.back());
    }
    view->camera().set_range();
    canvas_.render();
}

void prepare_opengl() {
    QSurfaceFormat format = scene::view_surface_format();
    format.setSamples(0);
    QSurfaceFormat::setDefaultFormat(format);
}

}  // namespace korvex::bench

#pragma once

// Draws a section's rectangle coloured on the GPU. The samples stay in a one-channel float
// texture, uploaded only when they change; the colormap is a 256 x 1 RGBA texture and the
// colour limit a uniform, so a new colormap, limit or opacity costs no pass over the
// samples. Values are interpolated between sample centres, then mapped; a NaN sample's
// cell, up to half-way to its neighbours, is not drawn, at a cost paid only by sections
// that hold one.
//
//   auto mapper = vtkSmartPointer<SectionMapper>::New();
//   mapper->samples()->...;                 // dimensions, origin, spacing, float scalars
//   mapper->place({normal, u, v});          // the rectangle through the first and last samples
//   mapper->set_colors(table->GetTable());  // 256 RGBA entries
//   mapper->set_clim({-1.0, 1.0});

#include <array>

#include <vtkOpenGLPolyDataMapper.h>
#include <vtkSmartPointer.h>
#include <vtkTimeStamp.h>

class vtkImageData;
class vtkOpenGLRenderWindow;
class vtkTextureObject;
class vtkUnsignedCharArray;

namespace korvex::scene {

class SectionMapper : public vtkOpenGLPolyDataMapper {
public:
    static SectionMapper* New();
    vtkTypeMacro(SectionMapper, vtkOpenGLPolyDataMapper)
        SectionMapper(const SectionMapper&) = delete;
    SectionMapper& operator=(const SectionMapper&) = delete;

    // The samples, one sample thick along the plane's normal, float scalars.
    vtkImageData* samples() const { return samples_; }
    // Spans the rectangle over the samples' first and last centres along the in-plane axes
    // (world axes: normal, u, v); call after changing the samples' geometry.
    void place(const std::array<int, 3>& axes);
    // 256 RGBA entries, from the colour of the lowest value to that of the highest.
    void set_colors(vtkUnsignedCharArray* rgba);
    void set_clim(const std::array<double, 2>& clim);

    void ReleaseGraphicsResources(vtkWindow* window) override;

protected:
    SectionMapper();
    ~SectionMapper() override;

    void RenderPieceStart(vtkRenderer* renderer, vtkActor* actor) override;
    void RenderPieceFinish(vtkRenderer* renderer, vtkActor* actor) override;
    void ReplaceShaderValues(std::map<vtkShader::Type, vtkShader*> shaders, vtkRenderer* renderer,
                             vtkActor* actor) override;
    bool GetNeedToRebuildShaders(vtkOpenGLHelper& cells, vtkRenderer* renderer,
                                 vtkActor* actor) override;
    void SetMapperShaderParameters(vtkOpenGLHelper& cells, vtkRenderer* renderer,
                                   vtkActor* actor) override;

private:
    void upload(vtkOpenGLRenderWindow* window);

    vtkSmartPointer<vtkImageData> samples_;
    vtkSmartPointer<vtkUnsignedCharArray> colors_;
    std::array<float, 2> clim_{-1.0f, 1.0f};
    std::array<int, 3> axes_{2, 0, 1};
    vtkSmartPointer<vtkTextureObject> samples_texture_;
    vtkSmartPointer<vtkTextureObject> colors_texture_;
    vtkTimeStamp samples_loaded_;
    vtkTimeStamp colors_loaded_;
    // Whether the samples last uploaded hold a NaN, which chooses the fragment shader.
    bool holes_ = false;
    vtkTimeStamp holes_changed_;
};

}  // namespace korvex::scene

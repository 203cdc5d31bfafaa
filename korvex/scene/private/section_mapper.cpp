#include "korvex/scene/private/section_mapper.h"

#include <array>
#include <cmath>
#include <numeric>

#include <vtkCellArray.h>
#include <vtkFloatArray.h>
#include <vtkImageData.h>
#include <vtkObjectFactory.h>
#include <vtkOpenGLHelper.h>
#include <vtkOpenGLRenderWindow.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkRenderer.h>
#include <vtkShader.h>
#include <vtkShaderProgram.h>
#include <vtkTextureObject.h>
#include <vtkUnsignedCharArray.h>

namespace korvex::scene {

namespace {

constexpr int COLORS = 256;

// The rectangle's texture coordinates run in the vertex shader's `tcoord` attribute to
// the fragment shader, which looks the value up and maps it through the colour texture.
// Its colour replaces what lighting made of the property's colour; later stages (picking,
// translucency) still see it in gl_FragData[0].
constexpr const char* VERTEX_DECLARATIONS = "in vec2 tcoord;\nout vec2 sectionCoord;\n";
constexpr const char* VERTEX_CODE = "sectionCoord = tcoord;\n";
constexpr const char* FRAGMENT_DECLARATIONS =
    "in vec2 sectionCoord;\n"
    "uniform sampler2D sectionSamples;\n"
    "uniform sampler2D sectionColors;\n"
    "uniform vec2 sectionClim;\n";
// A section with holes (NaN samples, no trace there) leaves each hole's cell undrawn, up
// to half-way to its neighbours, and keeps it out of theirs: filtering alone would spread
// the NaN a whole sample into the traces around it. Where filtering meets a NaN, the four
// samples about the fragment are fetched and the live ones weighted as filtering would
// weigh them. A section without holes is drawn by a shader without that code: on a
// software rasteriser it made every frame about 40 % dearer even where it never ran (its
// branch and discard are compiled for every pixel block).
constexpr const char* HOLE_FREE_VALUE =
    "float sectionValue = texture(sectionSamples, sectionCoord).r;\n";
constexpr const char* HOLE_AWARE_VALUE =
    "float sectionValue = texture(sectionSamples, sectionCoord).r;\n"
    "  if (isnan(sectionValue)) {\n"
    "    ivec2 sectionLast = textureSize(sectionSamples, 0) - 1;\n"
    "    vec2 sectionAt = sectionCoord * vec2(sectionLast + 1) - 0.5;\n"
    "    ivec2 sectionNearest = clamp(ivec2(floor(sectionAt + 0.5)), ivec2(0), sectionLast);\n"
    "    if (isnan(texelFetch(sectionSamples, sectionNearest, 0).r)) discard;\n"
    "    ivec2 sectionLow = ivec2(floor(sectionAt));\n"
    "    vec2 sectionPart = sectionAt - vec2(sectionLow);\n"
    "    float sectionSum = 0.0;\n"
    "    float sectionWeight = 0.0;\n"
    "    for (int j = 0; j < 2; ++j) {\n"
    "      for (int i = 0; i < 2; ++i) {\n"
    "        ivec2 texel = clamp(sectionLow + ivec2(i, j), ivec2(0), sectionLast);\n"
    "        float value = texelFetch(sectionSamples, texel, 0).r;\n"
    "        float weight = mix(1.0 - sectionPart.x, sectionPart.x, float(i)) *\n"
    "                       mix(1.0 - sectionPart.y, sectionPart.y, float(j));\n"
    "        if (!isnan(value)) {\n"
    "          sectionSum += weight * value;\n"
    "          sectionWeight += weight;\n"
    "        }\n"
    "      }\n"
    "    }\n"
    "    sectionValue = sectionSum / sectionWeight;\n"
    "  }\n";
constexpr const char* FRAGMENT_COLOR =
    "  float sectionIndex = (sectionValue - sectionClim.x) / (sectionClim.y - sectionClim.x);\n"
    "  gl_FragData[0] = vec4(texture(sectionColors, vec2(sectionIndex, 0.5)).rgb, "
    "opacityUniform);\n";

// Scanned at every upload of new samples, so kept to one quick pass: a NaN (or an infinity,
// no amplitude either) makes value - value NaN, and eight running sums keep the additions
// independent of one another. A million samples fresh from memory take 0.3-0.5 ms, where
// testing them one by one took 1.3-2.2 ms.
bool has_holes(vtkDataArray* values) {
    const auto* at = static_cast<const float*>(values->GetVoidPointer(0));
    const auto* end = at + values->GetNumberOfValues();
    std::array<float, 8> sums{};
    for (; end - at >= 8; at += 8)
        for (std::size_t i = 0; i < sums.size(); ++i) sums[i] += at[i] - at[i];
    float sum = std::accumulate(sums.begin(), sums.end(), 0.0f);
    for (; at != end; ++at) sum += *at - *at;
    return std::isnan(sum);
}

void make_texture(vtkSmartPointer<vtkTextureObject>& texture, vtkOpenGLRenderWindow* window) {
    if (!texture) texture = vtkSmartPointer<vtkTextureObject>::New();
    texture->SetContext(window);
}

}  // namespace

vtkStandardNewMacro(SectionMapper);

SectionMapper::SectionMapper()
    : samples_(vtkSmartPointer<vtkImageData>::New()),
      colors_(vtkSmartPointer<vtkUnsignedCharArray>::New()) {
    colors_->SetNumberOfComponents(4);
    colors_->SetNumberOfTuples(COLORS);
    colors_->FillValue(255);
    SetInputData(vtkSmartPointer<vtkPolyData>::New());
}

SectionMapper::~SectionMapper() = default;

void SectionMapper::place(const std::array<int, 3>& axes) {
    axes_ = axes;
    const int* dims = samples_->GetDimensions();
    const double* origin = samples_->GetOrigin();
    const double* step = samples_->GetSpacing();
    const int cols = dims[axes[1]];
    const int rows = dims[axes[2]];
    const double u[2] = {origin[axes[1]], origin[axes[1]] + (cols - 1) * step[axes[1]]};
    const double v[2] = {origin[axes[2]], origin[axes[2]] + (rows - 1) * step[axes[2]]};
    // Corners sit on the first and last sample centres, as texel centres.
    const float s[2] = {0.5f / cols, 1.0f - 0.5f / cols};
    const float t[2] = {0.5f / rows, 1.0f - 0.5f / rows};

    auto points = vtkSmartPointer<vtkPoints>::New();
    points->SetDataTypeToDouble();  // the bounds are the extent as given
    auto coords = vtkSmartPointer<vtkFloatArray>::New();
    coords->SetNumberOfComponents(2);
    for (const auto& [i, j] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
        double corner[3];
        corner[axes[0]] = origin[axes[0]];
        corner[axes[1]] = u[i];
        corner[axes[2]] = v[j];
        points->InsertNextPoint(corner);
        const float st[2] = {s[i], t[j]};
        coords->InsertNextTypedTuple(st);
    }
    auto quad = vtkSmartPointer<vtkCellArray>::New();
    const vtkIdType ids[4] = {0, 1, 2, 3};
    quad->InsertNextCell(4, ids);
    auto rectangle = vtkSmartPointer<vtkPolyData>::New();
    rectangle->SetPoints(points);
    rectangle->SetPolys(quad);
    rectangle->GetPointData()->SetTCoords(coords);
    SetInputData(rectangle);
}

void SectionMapper::set_colors(vtkUnsignedCharArray* rgba) {
    colors_->DeepCopy(rgba);
    colors_->Modified();  // a copy of equal size keeps the array's time
}

void SectionMapper::set_clim(const std::array<double, 2>& clim) {
    // A uniform, set at every draw: nothing to rebuild.
    clim_ = {static_cast<float>(clim[0]), static_cast<float>(clim[1])};
}

void SectionMapper::upload(vtkOpenGLRenderWindow* window) {
    const bool new_context = window->GetContextCreationTime() > samples_loaded_ ||
                             !samples_texture_ || samples_texture_->GetContext() != window;
    vtkDataArray* values = samples_->GetPointData()->GetScalars();
    if (values && (new_context || values->GetMTime() > samples_loaded_)) {
        make_texture(samples_texture_, window);
        const int* dims = samples_->GetDimensions();
        const bool holes = has_holes(values);
        if (holes != holes_) {
            holes_ = holes;
            holes_changed_.Modified();
        }
        samples_texture_->Create2DFromRaw(static_cast<unsigned>(dims[axes_[1]]),
                                          static_cast<unsigned>(dims[axes_[2]]), 1, VTK_FLOAT,
                                          values->GetVoidPointer(0));
        samples_texture_->SetMinificationFilter(vtkTextureObject::Linear);
        samples_texture_->SetMagnificationFilter(vtkTextureObject::Linear);
        samples_texture_->SetWrapS(vtkTextureObject::ClampToEdge);
        samples_texture_->SetWrapT(vtkTextureObject::ClampToEdge);
        samples_loaded_.Modified();
    }
    if (new_context || colors_->GetMTime() > colors_loaded_) {
        make_texture(colors_texture_, window);
        colors_texture_->Create2DFromRaw(COLORS, 1, 4, VTK_UNSIGNED_CHAR,
                                         colors_->GetVoidPointer(0));
        // Nearest: one colour per table entry, as a lookup table on the CPU would give.
        colors_texture_->SetMinificationFilter(vtkTextureObject::Nearest);
        colors_texture_->SetMagnificationFilter(vtkTextureObject::Nearest);
        colors_texture_->SetWrapS(vtkTextureObject::ClampToEdge);
        colors_texture_->SetWrapT(vtkTextureObject::ClampToEdge);
        colors_loaded_.Modified();
    }
}

void SectionMapper::RenderPieceStart(vtkRenderer* renderer, vtkActor* actor) {
    auto* window = static_cast<vtkOpenGLRenderWindow*>(renderer->GetRenderWindow());
    upload(window);
    if (samples_texture_) samples_texture_->Activate();
    if (colors_texture_) colors_texture_->Activate();
    Superclass::RenderPieceStart(renderer, actor);
}

void SectionMapper::RenderPieceFinish(vtkRenderer* renderer, vtkActor* actor) {
    Superclass::RenderPieceFinish(renderer, actor);
    if (colors_texture_) colors_texture_->Deactivate();
    if (samples_texture_) samples_texture_->Deactivate();
}

void SectionMapper::ReplaceShaderValues(std::map<vtkShader::Type, vtkShader*> shaders,
                                        vtkRenderer* renderer, vtkActor* actor) {
    std::string vertex = shaders[vtkShader::Vertex]->GetSource();
    std::string fragment = shaders[vtkShader::Fragment]->GetSource();
    vtkShaderProgram::Substitute(vertex, "//VTK::TCoord::Dec", VERTEX_DECLARATIONS);
    vtkShaderProgram::Substitute(vertex, "//VTK::TCoord::Impl", VERTEX_CODE);
    vtkShaderProgram::Substitute(fragment, "//VTK::TCoord::Dec", FRAGMENT_DECLARATIONS);
    vtkShaderProgram::Substitute(
        fragment, "//VTK::TCoord::Impl",
        std::string(holes_ ? HOLE_AWARE_VALUE : HOLE_FREE_VALUE) + FRAGMENT_COLOR);
    shaders[vtkShader::Vertex]->SetSource(vertex);
    shaders[vtkShader::Fragment]->SetSource(fragment);
    Superclass::ReplaceShaderValues(shaders, renderer, actor);
}

bool SectionMapper::GetNeedToRebuildShaders(vtkOpenGLHelper& cells, vtkRenderer* renderer,
                                            vtkActor* actor) {
    return cells.ShaderSourceTime < holes_changed_ ||
           Superclass::GetNeedToRebuildShaders(cells, renderer, actor);
}

void SectionMapper::SetMapperShaderParameters(vtkOpenGLHelper& cells, vtkRenderer* renderer,
                                              vtkActor* actor) {
    Superclass::SetMapperShaderParameters(cells, renderer, actor);
    vtkShaderProgram* program = cells.Program;
    if (!program || !samples_texture_ || !colors_texture_) return;
    program->SetUniformi("sectionSamples", samples_texture_->GetTextureUnit());
    program->SetUniformi("sectionColors", colors_texture_->GetTextureUnit());
    program->SetUniform2f("sectionClim", clim_.data());
}

void SectionMapper::ReleaseGraphicsResources(vtkWindow* window) {
    if (samples_texture_) samples_texture_->ReleaseGraphicsResources(window);
    if (colors_texture_) colors_texture_->ReleaseGraphicsResources(window);
    samples_loaded_ = vtkTimeStamp();
    colors_loaded_ = vtkTimeStamp();
    Superclass::ReleaseGraphicsResources(window);
}

}  // namespace korvex::scene

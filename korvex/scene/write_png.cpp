#include "korvex/scene/write_png.h"

#include <QSaveFile>
#include <stdexcept>

#include <vtkErrorCode.h>
#include <vtkImageData.h>
#include <vtkPNGWriter.h>
#include <vtkSmartPointer.h>
#include <vtkUnsignedCharArray.h>

#include "korvex/utils/logger.h"

namespace korvex::scene {

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw std::runtime_error(utils::format("cannot write '{}': {}", path, reason).toStdString());
}

vtkSmartPointer<vtkImageData> to_vtk(const QImage& image) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    auto pixels = vtkSmartPointer<vtkImageData>::New();
    pixels->SetDimensions(rgba.width(), rgba.height(), 1);
    pixels->AllocateScalars(VTK_UNSIGNED_CHAR, 4);
    auto* out = static_cast<unsigned char*>(pixels->GetScalarPointer());
    const int row_bytes = rgba.width() * 4;
    for (int row = 0; row < rgba.height(); ++row) {
        // VTK's rows run bottom-up.
        std::copy_n(rgba.constScanLine(rgba.height() - 1 - row), row_bytes,
                    out + static_cast<std::ptrdiff_t>(row) * row_bytes);
    }
    return pixels;
}

}  // namespace

void write_png(const QString& path, const QImage& image) {
    if (image.isNull()) fail(path, "the image is empty");
    auto writer = vtkSmartPointer<vtkPNGWriter>::New();
    writer->SetInputData(to_vtk(image));
    writer->WriteToMemoryOn();
    writer->Write();
    vtkUnsignedCharArray* encoded = writer->GetResult();
    if (writer->GetErrorCode() != vtkErrorCode::NoError || !encoded) {
        fail(path, utils::format("PNG encoding failed ({})",
                                 vtkErrorCode::GetStringFromErrorCode(writer->GetErrorCode())));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) fail(path, file.errorString());
    const auto size = static_cast<qint64>(encoded->GetNumberOfValues());
    if (file.write(reinterpret_cast<const char*>(encoded->GetPointer(0)), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(path, reason);
    }
    if (!file.commit()) fail(path, file.errorString());
}

}  // namespace korvex::scene

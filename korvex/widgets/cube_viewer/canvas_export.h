#pragma once

#include <QString>

namespace korvex::scene {
class SceneCanvas;
}

namespace korvex::widgets {

// A picture of a viewer's canvas written to a PNG file, its path then copied to the
// clipboard when asked. A picture that cannot be written is logged as an error, and the
// clipboard is then left alone.
class CanvasExport {
public:
    explicit CanvasExport(const scene::SceneCanvas& canvas) : canvas_(canvas) {}

    // Whether the picture was written.
    bool save(const QString& fn, bool copy2clipboard) const;

private:
    const scene::SceneCanvas& canvas_;
};

}  // namespace korvex::widgets

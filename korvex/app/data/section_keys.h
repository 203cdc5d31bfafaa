#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace korvex::scene {
class SceneCanvas;
}

namespace korvex::app::data {

class SeismicVolume;

// Keys that move the section last picked in a viewer: Page Up and Page Down step one
// line or sample back and forth, ten with Shift. Lives on the viewer's native widget.
class SectionKeys final : public QObject {
    Q_OBJECT

public:
    // The keys of `canvas`, made on first use and listening from the next turn of the
    // event loop; nullptr while the canvas has no native widget.
    static SectionKeys* of(scene::SceneCanvas& canvas);

    void select(SeismicVolume& volume, const QString& section_type);
    SeismicVolume* volume() const { return volume_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit SectionKeys(QObject* parent);

    QPointer<SeismicVolume> volume_;
    QString section_type_;
};

}  // namespace korvex::app::data

#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/data/line_traces.h"
#include "korvex/app/data/seismic_volume.h"

template <typename T>
class QFutureWatcher;

namespace korvex::widgets {
class SectionView;
}

namespace korvex::app {

// Feeds a section view with a volume's traces along an arbitrary line, read on a worker and
// drawn in the volume's colours as they change: distance along the line across, its points
// named at their places, time down. The line stays on its map points: when its survey is
// laid on another grid, the traces it crosses there are read.
class KORVEX_APP_EXPORT ArbitraryLineFeed final : public QObject {
    Q_OBJECT

public:
    ArbitraryLineFeed(widgets::SectionView& view, data::SeismicVolume& volume,
                      std::vector<data::LinePoint> points, data::LineTraces traces);
    ~ArbitraryLineFeed() override;

    // Gone when the volume was closed.
    data::SeismicVolume* volume() const { return volume_; }
    const std::vector<data::LinePoint>& points() const { return points_; }
    const data::LineTraces& traces() const { return traces_; }
    bool drawn() const { return drawn_; }

    // What a project keeps: the volume's name, the line's points, how the traces are drawn
    // and the view's zoom.
    QByteArray state() const;

signals:
    void sig_drawn();

private:
    struct Read;

    // Reads the traces the line crosses now; of reads asked for meanwhile, only the newest
    // is drawn.
    void read();
    void draw();
    void show_style();

    widgets::SectionView& view_;
    QPointer<data::SeismicVolume> volume_;
    std::vector<data::LinePoint> points_;
    data::LineTraces traces_;
    QFutureWatcher<Read>* reading_;
    bool drawn_ = false;
};

}  // namespace korvex::app

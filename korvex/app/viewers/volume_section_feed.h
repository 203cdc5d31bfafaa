#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include "korvex/app/app_export.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/section_view_state.h"
#include "korvex/seismic/section.h"

namespace korvex::widgets {
class SectionView;
}

namespace korvex::app {

namespace data {
class SectionReader;
}

// Feeds one section view from one volume: the view's own line, read on a worker by a
// reader of the volume's (its file and its section cache, as the 3D sections are read),
// drawn in the volume's colours as they change. Of the lines asked for meanwhile, only
// the newest is read. The view keeps the samples of the one section it shows.
class KORVEX_APP_EXPORT VolumeSectionFeed final : public QObject {
    Q_OBJECT

public:
    // Shows the section of `kind` at `index` (out of range: the nearest end).
    VolumeSectionFeed(widgets::SectionView& view, data::SeismicVolume& volume,
                      seismic::SectionKind kind, int index);

    // Gone when the volume was closed.
    data::SeismicVolume* volume() const { return volume_; }
    seismic::SectionKind kind() const { return kind_; }
    // As last asked for.
    int index() const { return index_; }
    // The line number or time of index().
    double position() const;
    // Whether the section asked for is the one drawn.
    bool drawn() const { return drawn_kind_ == kind_ && drawn_ == index_; }

    // Another section; the index out of range is taken to the nearest end.
    void show_section(seismic::SectionKind kind, int index);
    // The line (or time) nearest to `value`; when it is not `value` itself, the view says
    // which is shown instead.
    void go_to(double value);
    // Forward (positive) or back, stopping at the volume's ends.
    void step(int lines);
    // Whether the volume's section of the same kind in the 3D views goes where this goes.
    void set_following(bool on);
    bool following() const { return following_; }

    // What a project keeps: the volume's name, the kind, the line, how the traces are
    // drawn and the view's zoom.
    QByteArray state() const;

signals:
    // Another section was asked for; it is drawn when read.
    void sig_asked();
    // The section asked for is drawn.
    void sig_drawn();

private:
    void draw(seismic::SectionKind kind, int index, const seismic::Section& image);
    void show_style();

    widgets::SectionView& view_;
    QPointer<data::SeismicVolume> volume_;
    data::SectionReader* reader_;
    seismic::SectionKind kind_;
    int index_ = 0;
    seismic::SectionKind drawn_kind_ = seismic::SectionKind::iline;
    int drawn_ = -1;
    bool following_ = false;
};

}  // namespace korvex::app

#pragma once

#include <QTabWidget>
#include <vector>

#include "korvex/app/app_export.h"
#include "korvex/app/data/line_traces.h"
#include "korvex/app/viewers/section_view_set.h"
#include "korvex/seismic/section_kind.h"

namespace korvex::widgets {
class SectionView;
}

namespace korvex::app {

namespace data {
class SeismicVolume;
}
class ArbitraryLineFeed;
class VolumeSectionFeed;

// The section views beside the 3D viewers, one per tab, each under its own name; hidden
// while there are none. A view goes when its volume is closed.
class KORVEX_APP_EXPORT SectionViewArea final : public QTabWidget, public SectionViewSet {
    Q_OBJECT

public:
    explicit SectionViewArea(QWidget* parent = nullptr);

    // Opens a view of `volume`'s section of `kind` at `index` in a new tab in front.
    // Without a name it gets the next free "Section View <n>".
    widgets::SectionView* add_view(data::SeismicVolume& volume, seismic::SectionKind kind,
                                   int index, const QString& name = QString());
    // Opens a view of `volume` along an arbitrary line through `points` (map X/Y), in a new
    // tab in front. Throws utils::ValueError for a line it cannot take (see LineTraces),
    // opening nothing.
    widgets::SectionView* add_line_view(data::SeismicVolume& volume,
                                        const std::vector<data::LinePoint>& points,
                                        const QString& name = QString());
    void close_view(int index);
    widgets::SectionView* view(int index) const;
    // The feed of a view of a line or time slice; none for an arbitrary line.
    VolumeSectionFeed* feed(int index) const;
    // The feed of a view of an arbitrary line; none for the others.
    ArbitraryLineFeed* line_feed(int index) const;

    std::vector<SectionViewRecord> section_view_records() const override;
    void close_section_views() override;
    bool restore_section_views(const std::vector<SectionViewRecord>& records,
                               const DataModel& model) override;

signals:
    // A view was opened, fed by `feed` (a VolumeSectionFeed or an ArbitraryLineFeed).
    void sig_view_added(widgets::SectionView* view, QObject* feed);

private:
    widgets::SectionView* mount(data::SeismicVolume& volume, const QString& name);
    QWidget* make_options_button();
    QString free_name() const;
    void restore_view(const SectionViewRecord& record, const DataModel& model);
};

}  // namespace korvex::app

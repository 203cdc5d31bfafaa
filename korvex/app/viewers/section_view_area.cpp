#include "korvex/app/viewers/section_view_area.h"

#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/data/restore_setting.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/app/viewers/section_view_state.h"
#include "korvex/app/viewers/view_tabs.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;

SectionViewArea::SectionViewArea(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("section_view_area"));
    setDocumentMode(true);
    setTabsClosable(true);
    hide();
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        utils::call_guarded(_("Closing a section view"), [&] { close_view(index); });
    });
}

widgets::SectionView* SectionViewArea::add_view(data::SeismicVolume& volume,
                                                seismic::SectionKind kind, int index,
                                                const QString& name) {
    widgets::SectionView* view = mount(volume, name);
    auto* feed = new VolumeSectionFeed(*view, volume, kind, index);
    emit sig_view_added(view, feed);
    return view;
}

widgets::SectionView* SectionViewArea::add_line_view(data::SeismicVolume& volume,
                                                     const std::vector<data::LinePoint>& points,
                                                     const QString& name) {
    data::LineTraces traces(points, volume.file().geometry(), volume.geometry());
    widgets::SectionView* view = mount(volume, name);
    auto* feed = new ArbitraryLineFeed(*view, volume, points, std::move(traces));
    // No 3D section lies along an arbitrary line.
    view->follow_button()->hide();
    emit sig_view_added(view, feed);
    return view;
}

widgets::SectionView* SectionViewArea::mount(data::SeismicVolume& volume, const QString& name) {
    const QString view_name = name.isEmpty() ? free_name() : name;
    auto* view = new widgets::SectionView(make_options_button());
    view->setObjectName(view_name);
    // The view goes with its volume: it has nothing left to show.
    connect(&volume, &QObject::destroyed, view, [this, view] {
        utils::call_guarded(_("Closing a section view"), [&] { close_view(indexOf(view)); });
    });
    setCurrentIndex(addTab(view, view_name));
    show();
    return view;
}

void SectionViewArea::close_view(int index) { close_view_tab(*this, index); }

widgets::SectionView* SectionViewArea::view(int index) const {
    return qobject_cast<widgets::SectionView*>(widget(index));
}

VolumeSectionFeed* SectionViewArea::feed(int index) const {
    widgets::SectionView* shown = view(index);
    return shown ? shown->findChild<VolumeSectionFeed*>(QString(), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

ArbitraryLineFeed* SectionViewArea::line_feed(int index) const {
    widgets::SectionView* shown = view(index);
    return shown ? shown->findChild<ArbitraryLineFeed*>(QString(), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

std::vector<SectionViewRecord> SectionViewArea::section_view_records() const {
    std::vector<SectionViewRecord> records;
    for (int i = 0; i < count(); ++i) {
        const ArbitraryLineFeed* line = line_feed(i);
        records.push_back({tabText(i), line ? line->state() : feed(i)->state()});
    }
    return records;
}

void SectionViewArea::close_section_views() {
    while (count() > 0) close_view(count() - 1);
}

bool SectionViewArea::restore_section_views(const std::vector<SectionViewRecord>& records,
                                            const DataModel& model) {
    bool complete = true;
    for (const SectionViewRecord& record : records) {
        complete &= utils::call_guarded(_("Restoring the section view %1").arg(record.name),
                                        [&] { restore_view(record, model); });
    }
    if (count() > 0) setCurrentIndex(0);
    return complete;
}

void SectionViewArea::restore_view(const SectionViewRecord& record, const DataModel& model) {
    const SectionViewState state = SectionViewState::from_json(record.state);
    auto* volume = dynamic_cast<data::SeismicVolume*>(model.object(state.volume));
    if (!volume)
        throw utils::LookupError(
            utils::format("its volume {} is not in the project", state.volume).toStdString());
    widgets::SectionView* view =
        state.line.empty() ? add_view(*volume, state.kind,
                                      data::restored_section_index(record.name, *volume, state.kind,
                                                                   state.position),
                                      record.name)
                           : add_line_view(*volume, state.line, record.name);
    view->set_trace_display(state.traces);
    if (!state.zoom.isEmpty()) view->canvas().set_zoom_state(state.zoom);
    view->follow_button()->setChecked(state.follow);
}

QWidget* SectionViewArea::make_options_button() {
    return make_view_options_button(this, _("Section view options"), _("Close this section view"),
                                    [this](int index) { close_view(index); });
}

QString SectionViewArea::free_name() const { return free_tab_name(*this, _("Section View %1")); }

}  // namespace korvex::app

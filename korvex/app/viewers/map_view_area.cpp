#include "korvex/app/viewers/map_view_area.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <algorithm>
#include <numeric>

#include "korvex/app/viewers/map_view_feed.h"
#include "korvex/app/viewers/view_tabs.h"
#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/icon_manager.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/map_view/map_view.h"

namespace korvex::app {

using config::_;

namespace {

const QString ZOOM = QStringLiteral("zoom");

}  // namespace

MapViewArea::MapViewArea(const MapSources& sources, QWidget* parent)
    : QTabWidget(parent), sources_(sources) {
    setObjectName(QStringLiteral("map_view_area"));
    setDocumentMode(true);
    setTabsClosable(true);
    hide();
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int index) {
        utils::call_guarded(_("Closing a map view"), [&] { close_view(index); });
    });
}

widgets::MapView* MapViewArea::add_view(const QString& name) {
    const QString view_name = name.isEmpty() ? free_name() : name;
    auto* view = new widgets::MapView(make_options_button());
    view->setObjectName(view_name);
    new MapViewFeed(*view, sources_);
    setCurrentIndex(addTab(view, view_name));
    if (isHidden()) take_room();
    return view;
}

void MapViewArea::take_room() {
    show();
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter) return;
    // A splitter gives a pane shown late no more than its least size: a third of the
    // width, from the widest of the others, lets the map be read.
    QList<int> sizes = splitter->sizes();
    const int mine = splitter->indexOf(this);
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    const auto widest = std::max_element(sizes.begin(), sizes.end());
    const int wanted = std::max(0, total / 3 - sizes[mine]);
    if (widest - sizes.begin() == mine || wanted == 0) return;
    const int taken = std::min(
        wanted, *widest - splitter->widget(int(widest - sizes.begin()))->minimumSizeHint().width());
    *widest -= std::max(0, taken);
    sizes[mine] += std::max(0, taken);
    splitter->setSizes(sizes);
}

void MapViewArea::close_view(int index) { close_view_tab(*this, index); }

widgets::MapView* MapViewArea::view(int index) const {
    return qobject_cast<widgets::MapView*>(widget(index));
}

MapViewFeed* MapViewArea::feed(int index) const {
    widgets::MapView* shown = view(index);
    return shown ? shown->findChild<MapViewFeed*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

std::vector<MapViewRecord> MapViewArea::map_view_records() const {
    std::vector<MapViewRecord> records;
    for (int i = 0; i < count(); ++i) {
        const QJsonObject state{{ZOOM, view(i)->canvas().zoom_state()}};
        records.push_back({tabText(i), QJsonDocument(state).toJson(QJsonDocument::Compact)});
    }
    return records;
}

void MapViewArea::close_map_views() {
    while (count() > 0) close_view(count() - 1);
}

bool MapViewArea::restore_map_views(const std::vector<MapViewRecord>& records) {
    bool complete = true;
    for (const MapViewRecord& record : records) {
        complete &= utils::call_guarded(_("Restoring the map view %1").arg(record.name),
                                        [&] { restore_view(record); });
    }
    return complete;
}

void MapViewArea::restore_view(const MapViewRecord& record) {
    const QJsonDocument document = QJsonDocument::fromJson(record.state);
    const QJsonValue zoom = document.object().value(ZOOM);
    if (!document.isObject() || !zoom.isObject())
        throw utils::ValueError("a map view's state must be a JSON object with its zoom");
    widgets::MapView* view = add_view(record.name);
    try {
        view->canvas().set_zoom_state(zoom.toObject());
    } catch (...) {
        close_view(indexOf(view));
        throw;
    }
}

QWidget* MapViewArea::make_options_button() {
    return make_view_options_button(this, _("Map view options"), _("Close this map view"),
                                    [this](int index) { close_view(index); });
}

QString MapViewArea::free_name() const { return free_tab_name(*this, _("Map View %1")); }

}  // namespace korvex::app

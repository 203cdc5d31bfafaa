#include "korvex/app/viewers/map_view_feed.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "korvex/app/catalog/data_model.h"
#include "korvex/app/data/line_traces.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/picks/picks_panel.h"
#include "korvex/app/viewers/arbitrary_line_feed.h"
#include "korvex/app/viewers/linked_cursor.h"
#include "korvex/app/viewers/section_view_area.h"
#include "korvex/app/viewers/viewer_area.h"
#include "korvex/app/viewers/volume_section_feed.h"
#include "korvex/config/base.h"
#include "korvex/scene/colormap.h"
#include "korvex/seismic/section_kind.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/functions.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"
#include "korvex/widgets/cube_viewer/canvas_widget.h"
#include "korvex/widgets/cube_viewer/cube_viewer.h"
#include "korvex/widgets/map_view/map_view.h"
#include "korvex/widgets/section_view/section_view.h"

namespace korvex::app {

using config::_;
using seismic::SectionKind;

namespace {

// Names label a few wells or tops; over thousands of points they would hide the map.
constexpr int MAX_NAMES = 500;

widgets::MapLines lines_of(const std::vector<int>& numbers) {
    const int step = numbers.size() > 1 ? numbers[1] - numbers[0] : 1;
    return {numbers.front(), step == 0 ? 1 : step, static_cast<int>(numbers.size())};
}

widgets::MapSurvey survey_of(const data::SeismicVolume& volume) {
    const seismic::SegyGeometry& grid = volume.file().geometry();
    widgets::MapSurvey survey{volume.name(),         {}, lines_of(grid.ilines),
                              lines_of(grid.xlines), {}, {}};
    // Three corners of the grid fix the affine map from grid indices to the map.
    const seismic::SurveyGeometry& geometry = volume.geometry();
    const auto map_of = [&](double i, double j) {
        const auto [x, y] = geometry.to_map(survey.ilines.number_at(i), survey.xlines.number_at(j));
        return QPointF(x, y);
    };
    const QPointF origin = map_of(0, 0);
    const QPointF along_i = map_of(1, 0) - origin;
    const QPointF along_j = map_of(0, 1) - origin;
    survey.grid_to_map =
        QTransform(along_i.x(), along_i.y(), along_j.x(), along_j.y(), origin.x(), origin.y());
    // A survey without holes is its grid, which the map outlines and fills itself. The fill
    // is the volume's, made as its traces were placed: shared, not copied, by every map.
    if (grid.live_trace_count() < grid.position_count()) {
        for (const auto& s : volume.live_area())
            survey.edges.emplace_back(s.iline0, s.xline0, s.iline1, s.xline1);
        survey.live = volume.live_fill();
    }
    return survey;
}

std::vector<widgets::MapPoint> points_of(const data::PointSet& points) {
    const data::PointTable& table = points.table();
    const std::vector<double>& values = table.column(points.color_by());
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const std::vector<QRgb> colors = scene::colormap_colors(points.colormap());
    const auto origin = points.open_surveys() ? points.open_surveys()->origin() : std::nullopt;
    const auto [x0, y0] = origin.value_or(std::array<double, 2>{0.0, 0.0});
    const auto names = table.size() <= MAX_NAMES ? table.label_column() : std::nullopt;
    std::vector<widgets::MapPoint> result;
    for (int i = 0; i < table.size(); ++i) {
        // The colour the 3D markers take: the value's place in the column's range.
        const double share = *high > *low ? (values[i] - *low) / (*high - *low) : 0.5;
        const auto bin = std::clamp(static_cast<std::size_t>(share * colors.size()), std::size_t{0},
                                    colors.size() - 1);
        const auto place = points.position(i);
        result.push_back({place[0] + x0, place[1] + y0, names ? table.texts(*names)[i] : QString(),
                          QColor(colors[bin])});
    }
    return result;
}

std::vector<widgets::MapPoint> picks_of(const PicksPanel& picks, const DataModel& model) {
    std::vector<widgets::MapPoint> result;
    for (int row = 0; row < picks.count(); ++row) {
        const widgets::PickedSample& pick = picks.pick(row);
        if (pick.map_x && pick.map_y) {
            result.push_back({*pick.map_x, *pick.map_y, {}, {}});
        } else if (const auto* volume =
                       dynamic_cast<const data::SeismicVolume*>(model.object(pick.volume))) {
            const auto [x, y] = volume->geometry().to_map(pick.iline, pick.xline);
            result.push_back({x, y, {}, {}});
        }
    }
    return result;
}

// How many of a volume's traces a line crosses; none when it cannot take the line.
int traces_crossed(const std::vector<data::LinePoint>& points, const data::SeismicVolume& volume) {
    try {
        const data::LineTraces traces(points, volume.file().geometry(), volume.geometry());
        return int(std::count_if(traces.positions().begin(), traces.positions().end(),
                                 [](const data::LineTraces::Position& p) { return p.inside(); }));
    } catch (const utils::ValueError&) {
        return 0;
    }
}

// Whether a 3D viewer of the window shows the volume's section of that kind.
bool shown_in_3d(const ViewerArea& viewers, const QString& volume, SectionKind kind) {
    for (int i = 0; i < viewers.count(); ++i)
        if (utils::is_shown(viewers.viewer(i)->base().dpState(), volume, QStringLiteral("sections"),
                            seismic::section_type(kind)))
            return true;
    return false;
}

}  // namespace

MapViewFeed::MapViewFeed(widgets::MapView& view, const MapSources& sources)
    : QObject(&view), view_(view), sources_(sources) {
    DataModel& model = sources_.model;
    connect(&model, &DataModel::sig_added, this, [this](host::DataObject* dob) {
        watch_volume(dob);
        schedule();
    });
    connect(&model, &DataModel::sig_removed, this, &MapViewFeed::schedule);
    connect(&model, &DataModel::sig_changed, this, &MapViewFeed::schedule);
    for (host::DataObject* dob : model.objects()) watch_volume(dob);
    // A section view comes in front as it opens; one closed leaves its tab.
    connect(&sources_.sections, &QTabWidget::currentChanged, this, &MapViewFeed::schedule);
    connect(&sources_.viewers, &QTabWidget::currentChanged, this, &MapViewFeed::schedule);
    if (sources_.tree)
        connect(sources_.tree, &QTreeWidget::itemChanged, this, &MapViewFeed::schedule);
    if (QAbstractItemModel* picks = sources_.picks ? sources_.picks->table()->model() : nullptr) {
        connect(picks, &QAbstractItemModel::rowsInserted, this, &MapViewFeed::schedule);
        connect(picks, &QAbstractItemModel::rowsRemoved, this, &MapViewFeed::schedule);
        connect(picks, &QAbstractItemModel::modelReset, this, &MapViewFeed::schedule);
    }
    widgets::MapCanvas& canvas = view_.canvas();
    connect(&canvas, &widgets::MapCanvas::sig_open_section, this,
            [this](int survey, const QString& type, int index) {
                utils::call_guarded(_("Opening a section view from the map"),
                                    [&] { open_section(survey, type, index); });
            });
    connect(&canvas, &widgets::MapCanvas::sig_section_moved, this, [this](int section, int index) {
        utils::call_guarded(_("Moving a section on the map"),
                            [&] { move_section(section, index); });
    });
    connect(&canvas, &widgets::MapCanvas::sig_line_drawn, this, [this](const QPolygonF& points) {
        utils::call_guarded(_("Opening an arbitrary line drawn on the map"),
                            [&] { open_line(points); });
    });
    if (data::OpenSurveys* surveys = sources_.surveys) {
        connect(surveys, &data::OpenSurveys::sig_crs_changed, this,
                [this] { utils::call_guarded(_("Naming the map's unit"), [&] { show_unit(); }); });
        show_unit();
    }
    if (LinkedCursor* cursor = sources_.cursor) {
        connect(&canvas, &widgets::MapCanvas::sig_cursor_moved, this,
                [this](const std::optional<QPointF>& map) {
                    utils::call_guarded(_("Following the mouse on the map"),
                                        [&] { tell_cursor(map); });
                });
        connect(cursor, &LinkedCursor::sig_moved, this,
                [this](const std::optional<CursorPlace>& place) {
                    // The map the mouse is in shows the mouse pointer, not a mark.
                    const bool elsewhere = place && place->map && place->source != &view_.canvas();
                    view_.canvas().set_cursor(
                        elsewhere ? std::optional(QPointF((*place->map)[0], (*place->map)[1]))
                                  : std::nullopt);
                });
    }
    refresh();
}

void MapViewFeed::tell_cursor(const std::optional<QPointF>& map) {
    widgets::MapCanvas& canvas = view_.canvas();
    if (!map) return sources_.cursor->clear(&canvas);
    CursorPlace place;
    place.map = std::array<double, 2>{map->x(), map->y()};
    place.source = &canvas;
    if (const auto at = canvas.survey_at(*map); at && volumes_.at(at->survey)) {
        const widgets::MapSurvey& survey = canvas.scene().surveys.at(at->survey);
        place.survey = volumes_[at->survey]->name();
        place.iline = survey.ilines.number_at(std::round(at->grid.x()));
        place.xline = survey.xlines.number_at(std::round(at->grid.y()));
    }
    sources_.cursor->move_to(place);
}

void MapViewFeed::schedule() {
    if (scheduled_) return;
    scheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            scheduled_ = false;
            utils::call_guarded(_("Drawing the map"), [this] { refresh(); });
        },
        Qt::QueuedConnection);
}

void MapViewFeed::refresh() {
    widgets::MapScene scene;
    volumes_.clear();
    movers_.clear();
    for (host::DataObject* dob : sources_.model.objects()) {
        if (auto* volume = dynamic_cast<data::SeismicVolume*>(dob)) {
            const int survey = static_cast<int>(scene.surveys.size());
            scene.surveys.push_back(survey_of(*volume));
            volumes_.emplace_back(volume);
            for (const SectionKind kind : {SectionKind::iline, SectionKind::xline}) {
                if (!shown_in_3d(sources_.viewers, volume->name(), kind)) continue;
                scene.sections.push_back(
                    {survey, seismic::section_type(kind), volume->section_index(kind), _("3D")});
                movers_.push_back([volume = QPointer(volume), kind](int index) {
                    if (volume) volume->set_section_index(kind, index);
                });
            }
        } else if (const auto* points = dynamic_cast<const data::PointSet*>(dob)) {
            const auto more = points_of(*points);
            scene.points.insert(scene.points.end(), more.begin(), more.end());
        }
    }
    watch_section_views();
    SectionViewArea& views = sources_.sections;
    for (int i = 0; i < views.count(); ++i) {
        if (const ArbitraryLineFeed* line = views.line_feed(i)) {
            widgets::MapPolyline polyline{{}, views.tabText(i)};
            for (const data::LinePoint& point : line->points())
                polyline.points << QPointF(point.x, point.y);
            scene.lines.push_back(std::move(polyline));
        }
        VolumeSectionFeed* feed = views.feed(i);
        const auto at =
            feed ? std::find(volumes_.begin(), volumes_.end(), feed->volume()) : volumes_.end();
        if (at == volumes_.end() || feed->kind() == SectionKind::depth) continue;
        scene.sections.push_back({static_cast<int>(at - volumes_.begin()),
                                  seismic::section_type(feed->kind()), feed->index(),
                                  views.tabText(i)});
        movers_.push_back([feed = QPointer(feed)](int index) {
            if (feed) feed->show_section(feed->kind(), index);
        });
    }
    if (sources_.picks) scene.picks = picks_of(*sources_.picks, sources_.model);
    view_.canvas().set_scene(std::move(scene));
}

void MapViewFeed::watch_volume(host::DataObject* dob) {
    auto* volume = dynamic_cast<data::SeismicVolume*>(dob);
    if (!volume) return;
    // Where a section was asked for is known at once; its read may take a while.
    connect(volume, &data::SeismicVolume::sig_section_asked, this, &MapViewFeed::schedule);
    connect(volume, &data::SeismicVolume::sig_section_moved, this, &MapViewFeed::schedule);
    connect(volume, &data::SeismicVolume::sig_placed, this, &MapViewFeed::schedule);
    connect(volume, &data::SeismicVolume::sig_geometry_changed, this, &MapViewFeed::schedule);
}

void MapViewFeed::watch_section_views() {
    SectionViewArea& views = sources_.sections;
    for (int i = 0; i < views.count(); ++i) {
        VolumeSectionFeed* feed = views.feed(i);
        if (!feed || !watched_.insert(feed).second) continue;
        connect(feed, &VolumeSectionFeed::sig_asked, this, &MapViewFeed::schedule);
        connect(feed, &QObject::destroyed, this, [this, feed] {
            watched_.erase(feed);
            schedule();
        });
    }
}

void MapViewFeed::open_section(int survey, const QString& type, int index) {
    data::SeismicVolume* volume = volumes_.at(survey);
    const auto kind = seismic::section_kind(type);
    if (!volume || !kind) return;
    const auto* view = sources_.sections.add_view(*volume, *kind, index);
    utils::logger().info(utils::format("New section view: {} of {}, {} {}", view->objectName(),
                                       volume->name(), seismic::section_title(*kind),
                                       volume->frame().position_value(*kind, index)));
}

void MapViewFeed::move_section(int section, int index) { movers_.at(section)(index); }

void MapViewFeed::open_line(const QPolygonF& points) {
    std::vector<data::LinePoint> line;
    for (const QPointF& point : points)
        line.push_back({_("P%1").arg(line.size() + 1), point.x(), point.y()});
    data::SeismicVolume* chosen = nullptr;
    int most = 0;
    for (const auto& volume : volumes_) {
        const int crossed = volume ? traces_crossed(line, *volume) : 0;
        if (crossed > most) chosen = volume, most = crossed;
    }
    if (!chosen) {
        utils::logger().warning(_("The line drawn on the map crosses no survey: nothing to show"));
        return;
    }
    const widgets::SectionView* view = sources_.sections.add_line_view(*chosen, line);
    utils::logger().info(utils::format("New section view: {} of {} along {}", view->objectName(),
                                       chosen->name(), view->line_edit()->text()));
}

void MapViewFeed::show_unit() {
    const auto crs = sources_.surveys->crs();
    view_.canvas().set_unit(crs ? crs->length_unit().value_or(QString()) : QString());
}

}  // namespace korvex::app

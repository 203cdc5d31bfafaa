#include "korvex/app/data/point_set.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <functional>

#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/number_text.h"
#include "korvex/app/data/open_surveys.h"
#include "korvex/app/data/point_set_visual.h"
#include "korvex/app/data/restore_setting.h"
#include "korvex/config/base.h"
#include "korvex/scene/colormap.h"
#include "korvex/scene/text_visual.h"
#include "korvex/seismic/coordinate_system.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using config::_;

namespace {

std::array<double, 2> range_of(const std::vector<double>& values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    // A constant column still needs a colour range.
    return *low < *high ? std::array<double, 2>{*low, *high}
                        : std::array<double, 2>{*low - 0.5, *low + 0.5};
}

const QString COLUMNS = QStringLiteral("columns");
const QString SURVEY = QStringLiteral("survey");
const QString CRS = QStringLiteral("crs");

// Names label a few wells or tops; over thousands of points they would hide the picture
// and cost a text actor each.
constexpr int MAX_LABELS = 500;
constexpr int LABEL_FONT_SIZE = 12;

PointSet::Columns columns_from(const QString& path, const QVariantMap& settings) {
    const QString key = settings.value(COLUMNS).toString();
    // Projects saved before point files said so hold inline/crossline points.
    if (key.isEmpty() || key == PointSet::columns_key(PointSet::Columns::lines))
        return PointSet::Columns::lines;
    if (key == PointSet::columns_key(PointSet::Columns::map)) return PointSet::Columns::map;
    throw utils::ValueError(
        _("%1: unknown point columns \"%2\" (lines or map)").arg(path, key).toStdString());
}

// Where a point of a file lies in a survey's line numbers.
std::array<double, 2> lines_in(const LoadedSurvey& survey, PointSet::Columns columns, double x,
                               double y) {
    return columns == PointSet::Columns::map ? survey.transform.to_lines(x, y)
                                             : std::array<double, 2>{x, y};
}

bool every_point(const PointTable& table, const std::function<bool(double, double)>& test) {
    for (int i = 0; i < table.size(); ++i)
        if (!test(table.column(0)[i], table.column(1)[i])) return false;
    return true;
}

// Whether the points lie near one of the surveys read as line numbers, and read as map X/Y.
struct Readings {
    bool as_lines = false;
    bool as_map = false;
};

Readings near_readings(const PointTable& table, const std::vector<LoadedSurvey>& surveys) {
    Readings readings;
    for (const LoadedSurvey& survey : surveys) {
        for (const auto columns : {PointSet::Columns::lines, PointSet::Columns::map}) {
            const bool near = every_point(table, [&](double x, double y) {
                const auto lines = lines_in(survey, columns, x, y);
                return survey.near(lines[0], lines[1]);
            });
            (columns == PointSet::Columns::map ? readings.as_map : readings.as_lines) |= near;
        }
    }
    return readings;
}

QStringList names_of(const std::vector<LoadedSurvey>& surveys) {
    QStringList names;
    for (const LoadedSurvey& survey : surveys) names << survey.name;
    return names;
}

// The survey that places a file's points: the one named, else the one holding them. Line
// numbers are only meaningful in their own survey, so guessing among several is refused.
std::optional<LoadedSurvey> placing_survey(const QString& path, const PointTable& table,
                                           PointSet::Columns columns, const OpenSurveys* surveys,
                                           const QString& name) {
    const auto open = surveys ? surveys->surveys() : std::vector<LoadedSurvey>{};
    if (!name.isEmpty()) {
        for (const LoadedSurvey& survey : open)
            if (survey.name == name) return survey;
        throw utils::ValueError(_("%1 belongs to the survey %2, which is not open: open it first")
                                    .arg(path, name)
                                    .toStdString());
    }
    if (open.empty()) {
        if (columns == PointSet::Columns::lines) return std::nullopt;
        throw utils::ValueError(_("%1 holds map X/Y: open a survey whose traces carry CDP "
                                  "coordinates first, it places them")
                                    .arg(path)
                                    .toStdString());
    }
    const QStringList holding = PointSet::surveys_holding(table, columns, open);
    for (const LoadedSurvey& survey : open)
        if (holding.size() == 1 && survey.name == holding.front()) return survey;
    throw utils::ValueError(
        (holding.isEmpty() ? _("%1: no open survey holds its points; name the one they belong "
                               "to among %2")
                           : _("%1: its points lie in several surveys; name the one they belong "
                               "to among %2"))
            .arg(path, (holding.isEmpty() ? names_of(open) : holding).join(", "))
            .toStdString());
}

// A file's points in the project's coordinate reference system: moved when the file is
// in another one.
PointTable read_in_project(const QString& path, const QString& delimiter, const QString& crs,
                           const OpenSurveys* surveys) {
    PointTable table = PointTable::read(path, delimiter);
    const auto project = surveys ? surveys->crs() : std::nullopt;
    if (crs.isEmpty() || (project && project->definition() == crs.trimmed())) return table;
    if (!project) {
        utils::logger().warning(
            utils::format("{} is in {}, but the project has no coordinate reference system: "
                          "its points are taken as they are",
                          path, crs));
        return table;
    }
    std::vector<double> xs = table.column(0), ys = table.column(1);
    try {
        project->transform_from(seismic::CoordinateSystem(crs), xs, ys);
    } catch (const std::exception& e) {
        throw utils::ValueError(QStringLiteral("%1: %2").arg(path, e.what()).toStdString());
    }
    table.set_xy(std::move(xs), std::move(ys));
    return table;
}

}  // namespace

QString PointSet::columns_key(Columns columns) {
    return columns == Columns::map ? QStringLiteral("map") : QStringLiteral("lines");
}

std::optional<PointSet::Columns> PointSet::guess_columns(const PointTable& table,
                                                         const std::vector<LoadedSurvey>& surveys) {
    if (surveys.empty()) return Columns::lines;
    const Readings near = near_readings(table, surveys);
    if (near.as_lines == near.as_map) return std::nullopt;
    return near.as_map ? Columns::map : Columns::lines;
}

QVariantMap PointSet::guessed_settings(const QString& path, const OpenSurveys* surveys) {
    const auto open = surveys ? surveys->surveys() : std::vector<LoadedSurvey>{};
    Columns columns = Columns::lines;
    try {
        const PointTable table = PointTable::read(path, PointTable::sniff_delimiter(path));
        const auto guess = guess_columns(table, open);
        columns = guess ? *guess
                        : (open.empty() || near_readings(table, open).as_lines ? Columns::lines
                                                                               : Columns::map);
    } catch (const std::exception&) {
        // A file that cannot be read is the loader's to report, with its reason.
    }
    return {{COLUMNS, columns_key(columns)}};
}

QStringList PointSet::surveys_holding(const PointTable& table, Columns columns,
                                      const std::vector<LoadedSurvey>& surveys) {
    QStringList names;
    for (const LoadedSurvey& survey : surveys)
        if (every_point(table, [&](double x, double y) {
                const auto lines = lines_in(survey, columns, x, y);
                return survey.holds(lines[0], lines[1]);
            }))
            names << survey.name;
    return names;
}

PointSet::PointSet(const QString& path, const QString& delimiter, Columns columns,
                   OpenSurveys* surveys, const QString& survey, const QString& crs, QObject* parent)
    : StyledObject(parent),
      path_(path),
      delimiter_(delimiter.isEmpty() ? PointTable::sniff_delimiter(path) : delimiter),
      crs_(crs),
      table_(read_in_project(path, delimiter_, crs, surveys)),
      columns_(columns),
      survey_(placing_survey(path, table_, columns, surveys, survey)),
      color_by_(table_.names()[2]),
      open_surveys_(surveys) {
    if (!surveys || columns != Columns::lines) return;
    connect(surveys, &OpenSurveys::sig_survey_moved, this, [this](const QString& moved) {
        utils::call_guarded(_("Moving %1 with its survey").arg(name()),
                            [&] { follow_survey(moved); });
    });
}

PointSet::~PointSet() {
    for (const auto& [viewer, item] : visuals_in_volume)
        for (const auto& visual : item.visuals()) {
            visual->set_parent(nullptr);
            visual->host_dob = nullptr;
            visual->queryable_in_3d = false;
        }
}

std::unique_ptr<PointSet> PointSet::load(const QString& path, const QVariantMap& settings,
                                         OpenSurveys* surveys) {
    auto points = std::make_unique<PointSet>(
        path, settings.value(QStringLiteral("delimiter")).toString(), columns_from(path, settings),
        surveys, settings.value(SURVEY).toString(), settings.value(CRS).toString());
    const auto restore = [&](const QString& key, const std::function<void(const QVariant&)>& set) {
        restore_setting(points->name(), settings, key, set);
    };
    restore(QStringLiteral("color_by"),
            [&](const QVariant& value) { points->set_color_by(value.toString()); });
    restore(QStringLiteral("colormap"),
            [&](const QVariant& value) { points->set_colormap(value.toString()); });
    restore(QStringLiteral("point_size"),
            [&](const QVariant& value) { points->set_point_size(value.toDouble()); });
    return points;
}

OpenSurveys* PointSet::open_surveys() const { return open_surveys_; }

QString PointSet::survey_name() const { return survey_ ? survey_->name : QString(); }

QString PointSet::source_path() const { return QFileInfo(path_).absoluteFilePath(); }

QVariantMap PointSet::settings() const {
    QVariantMap settings{
        {QStringLiteral("delimiter"), delimiter_}, {QStringLiteral("color_by"), color_by_},
        {QStringLiteral("colormap"), colormap_},   {QStringLiteral("point_size"), point_size_},
        {COLUMNS, columns_key(columns_)},
    };
    // Map points lie where they say whichever survey is open.
    if (survey_ && columns_ == Columns::lines) settings.insert(SURVEY, survey_->name);
    if (!crs_.isEmpty()) settings.insert(CRS, crs_);
    return settings;
}

QString PointSet::name() const { return QFileInfo(path_).completeBaseName(); }

QVariantMap PointSet::prop() const {
    QVariantMap properties{
        {_("File"), path_},
        {_("Points"), table_.size()},
        {_("Columns"), table_.names().join(", ")},
        {_("Colour by"), color_by_},
        {_("X and Y hold"), columns_ == Columns::map ? _("map X/Y, placed through the survey")
                                                     : _("inline and crossline numbers")},
    };
    if (survey_) properties.insert(_("Survey"), survey_->name);
    if (!crs_.isEmpty()) properties.insert(_("Coordinate reference system"), crs_);
    if (const auto labels = table_.label_column())
        properties.insert(_("Names from"), table_.names()[*labels]);
    for (int column = 0; column < table_.names().size(); ++column) {
        if (table_.is_text(column)) continue;
        const auto [low, high] =
            std::minmax_element(table_.column(column).begin(), table_.column(column).end());
        properties.insert(
            _("%1 range").arg(table_.names()[column]),
            QStringLiteral("%1 .. %2").arg(number_text(column, *low), number_text(column, *high)));
    }
    return properties;
}

QString PointSet::value_text(int column, int index) const {
    return table_.is_text(column) ? table_.texts(column)[index]
                                  : number_text(column, table_.column(column)[index]);
}

QString PointSet::number_text(int column, double value) const {
    return columns_ == Columns::map && column < 2 ? map_text(value) : exact_text(value);
}

std::array<double, 2> PointSet::map_position(int index) const {
    const double x = table_.column(0)[index], y = table_.column(1)[index];
    // Without a survey, line numbers lie on the unit grid of a survey without coordinates.
    return survey_ && columns_ == Columns::lines ? survey_->transform.to_map(x, y)
                                                 : std::array<double, 2>{x, y};
}

QString PointSet::point_name(int index) const {
    const auto labels = table_.label_column();
    return labels ? table_.texts(*labels)[index] : _("Point %1").arg(index + 1);
}

std::array<double, 3> PointSet::position(int index) const {
    const auto map = map_position(index);
    const auto origin = open_surveys_ ? open_surveys_->origin() : std::nullopt;
    const auto [x0, y0] = origin.value_or(std::array<double, 2>{0.0, 0.0});
    return {map[0] - x0, map[1] - y0, -table_.column(2)[index]};
}

void PointSet::make_visuals_in_volume(const QString& parent) {
    std::vector<scene::Point3> positions(table_.size());
    for (int i = 0; i < table_.size(); ++i) positions[i] = position(i);
    auto visual = std::make_shared<PointSetVisual>(*this, positions, point_size_);
    recolor(*visual);
    const auto labels = table_.label_column();
    if (!labels || table_.size() > MAX_LABELS) {
        visuals_in_volume[parent] = scene::Item(visual);
        return;
    }
    std::vector<scene::Item> items{scene::Item(visual)};
    for (int i = 0; i < table_.size(); ++i)
        items.emplace_back(std::make_shared<scene::TextVisual>(
            table_.texts(*labels)[i], positions[i], scene::Color(0.0, 0.0, 0.0), LABEL_FONT_SIZE));
    visuals_in_volume[parent] = scene::Item(std::move(items));
}

void PointSet::follow_survey(const QString& moved) {
    const auto survey = open_surveys_ ? open_surveys_->find(moved) : std::nullopt;
    const bool placed_by_it = survey_ && survey_->name == moved;
    if (!placed_by_it &&
        (survey_ || !survey || surveys_holding(table_, columns_, {*survey}).isEmpty()))
        return;
    // A survey without its grid lies at its line numbers again, and so do its points.
    survey_ = survey;
    reposition();
}

void PointSet::reposition() {
    std::vector<scene::Point3> positions(table_.size());
    for (int i = 0; i < table_.size(); ++i) positions[i] = position(i);
    for (const auto& [viewer, item] : visuals_in_volume) {
        std::size_t label = 0;
        for (const auto& visual : item.visuals()) {
            if (auto points = std::dynamic_pointer_cast<PointSetVisual>(visual))
                points->set_data(positions);
            else if (auto text = std::dynamic_pointer_cast<scene::TextVisual>(visual))
                text->set_position(positions[label++]);
        }
    }
}

void PointSet::make_image_3d(const QString& section_type, const QString&) {
    throw utils::NotImplementedError(
        utils::format("{} is a point set and has no {} section", name(), section_type)
            .toStdString());
}

void PointSet::recolor(PointSetVisual& visual) const {
    const auto& column = table_.column(color_by_);
    visual.set_scalars(std::vector<float>(column.begin(), column.end()), colormap_,
                       range_of(column));
}

std::vector<std::shared_ptr<PointSetVisual>> PointSet::visuals() const {
    std::vector<std::shared_ptr<PointSetVisual>> result;
    for (const auto& [viewer, item] : visuals_in_volume)
        for (const auto& any : item.visuals())
            if (auto visual = std::dynamic_pointer_cast<PointSetVisual>(any))
                result.push_back(std::move(visual));
    return result;
}

void PointSet::set_color_by(const QString& property) {
    table_.column(property);  // throws for an unknown column
    color_by_ = property;
    for (const auto& visual : visuals()) recolor(*visual);
    emit sig_style_changed();
}

void PointSet::set_colormap(const QString& name) {
    if (!scene::colormap_names().contains(name))
        throw utils::ValueError(_("unknown colormap \"%1\"").arg(name).toStdString());
    colormap_ = name;
    for (const auto& visual : visuals()) visual->set_colormap(name);
    emit sig_style_changed();
}

void PointSet::set_point_size(double size) {
    if (!std::isfinite(size) || size <= 0.0)
        throw utils::ValueError(_("the point size must be positive").toStdString());
    point_size_ = size;
    for (const auto& visual : visuals()) visual->set_size(size);
    emit sig_style_changed();
}

int PointSet::nearest_point(const std::array<double, 3>& world) const {
    int best = 0;
    double best_distance = INFINITY;
    for (int i = 0; i < table_.size(); ++i) {
        const auto p = position(i);
        const double d = std::hypot(p[0] - world[0], p[1] - world[1], p[2] - world[2]);
        if (d < best_distance) best = i, best_distance = d;
    }
    return best;
}

}  // namespace korvex::app::data

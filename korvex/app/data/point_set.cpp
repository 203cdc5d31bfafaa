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
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

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

}  // namespace

QString PointSet::columns_key(Columns columns) {
    return columns == Columns::map ? QStringLiteral("map") : QStringLiteral("lines");
}

std::optional<PointSet::Columns> PointSet::guess_columns(
    const PointTable& table, const std::optional<LoadedSurvey>& survey) {
    if (!survey) return Columns::lines;
    bool as_lines = true, as_map = true;
    for (int i = 0; i < table.size(); ++i) {
        const double x = table.column(0)[i], y = table.column(1)[i];
        as_lines = as_lines && survey->near(x, y);
        const auto lines = survey->transform.to_lines(x, y);
        as_map = as_map && survey->near(lines[0], lines[1]);
    }
    if (as_lines == as_map) return std::nullopt;
    return as_map ? Columns::map : Columns::lines;
}

QVariantMap PointSet::guessed_settings(const QString& path, const OpenSurveys* surveys) {
    const auto survey = surveys ? surveys->newest() : std::nullopt;
    Columns columns = Columns::lines;
    try {
        const PointTable table = PointTable::read(path, PointTable::sniff_delimiter(path));
        bool near_lines = true;
        for (int i = 0; survey && i < table.size(); ++i)
            near_lines = near_lines && survey->near(table.column(0)[i], table.column(1)[i]);
        const auto guess = guess_columns(table, survey);
        columns = guess ? *guess : (near_lines ? Columns::lines : Columns::map);
    } catch (const std::exception&) {
        // A file that cannot be read is the loader's to report, with its reason.
    }
    return {{COLUMNS, columns_key(columns)}};
}

PointSet::PointSet(const QString& path, const QString& delimiter, Columns columns,
                   OpenSurveys* surveys, QObject* parent)
    : StyledObject(parent),
      path_(path),
      delimiter_(delimiter.isEmpty() ? PointTable::sniff_delimiter(path) : delimiter),
      table_(PointTable::read(path, delimiter_)),
      columns_(columns),
      color_by_(table_.names()[2]),
      open_surveys_(surveys) {
    if (columns_ != Columns::map) return;
    const auto survey = surveys ? surveys->newest() : std::nullopt;
    if (!survey)
        throw utils::ValueError(_("%1 holds map X/Y: open a survey whose traces carry CDP "
                                  "coordinates first, it places them")
                                    .arg(path)
                                    .toStdString());
    survey_ = survey->transform;
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
    auto points =
        std::make_unique<PointSet>(path, settings.value(QStringLiteral("delimiter")).toString(),
                                   columns_from(path, settings), surveys);
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

QString PointSet::source_path() const { return QFileInfo(path_).absoluteFilePath(); }

QVariantMap PointSet::settings() const {
    return {
        {QStringLiteral("delimiter"), delimiter_}, {QStringLiteral("color_by"), color_by_},
        {QStringLiteral("colormap"), colormap_},   {QStringLiteral("point_size"), point_size_},
        {COLUMNS, columns_key(columns_)},
    };
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

std::array<double, 3> PointSet::position(int index) const {
    const double x = table_.column(0)[index], y = table_.column(1)[index];
    const double z = -table_.column(2)[index];
    if (!survey_) return {x, y, z};
    const auto lines = survey_->to_lines(x, y);
    return {lines[0], lines[1], z};
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

#include "korvex/seismic/coordinate_system.h"

#include <proj.h>

#include <QRegularExpression>
#include <cmath>
#include <map>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

// One context per system: PROJ contexts are not to be shared between threads, and a
// system is read where it was made.
struct CoordinateSystem::Proj {
    PJ_CONTEXT* context = proj_context_create();
    PJ* crs = nullptr;
    // To WGS 84 longitude and latitude, found on first use: finding a transformation takes
    // PROJ milliseconds, and the cursor's read-out asks once a frame.
    PJ* to_lon_lat = nullptr;

    ~Proj() {
        if (to_lon_lat) proj_destroy(to_lon_lat);
        if (crs) proj_destroy(crs);
        proj_context_destroy(context);
    }
    QString error() const {
        return QString::fromUtf8(proj_context_errno_string(context, proj_context_errno(context)));
    }
    // A transformation from `from` to this system with x east, y north on both sides.
    PJ* transformation_from(PJ* from) const { return transformation(from, crs); }
    // From this system to WGS 84 longitude and latitude.
    PJ* transformation_to_lon_lat() const {
        PJ* wgs84 = proj_create(context, "EPSG:4326");
        if (!wgs84) return nullptr;
        PJ* lon_lat = transformation(crs, wgs84);
        proj_destroy(wgs84);
        return lon_lat;
    }
    PJ* transformation(PJ* from, PJ* to) const {
        PJ* raw = proj_create_crs_to_crs_from_pj(context, from, to, nullptr, nullptr);
        if (!raw) return nullptr;
        PJ* ordered = proj_normalize_for_visualization(context, raw);
        proj_destroy(raw);
        return ordered;
    }
};

namespace {

bool is_crs(PJ* crs) {
    const PJ_TYPE type = proj_get_type(crs);
    return type == PJ_TYPE_PROJECTED_CRS || type == PJ_TYPE_GEOGRAPHIC_2D_CRS ||
           type == PJ_TYPE_COMPOUND_CRS;
}

}  // namespace

CoordinateSystem::CoordinateSystem(const QString& definition)
    : definition_(definition.trimmed()), crs_(std::make_shared<Proj>()) {
    crs_->crs = proj_create(crs_->context, definition_.toUtf8().constData());
    if (!crs_->crs || !is_crs(crs_->crs))
        throw utils::ValueError(
            _("\"%1\" is not a coordinate reference system PROJ knows%2")
                .arg(definition_, crs_->crs ? QString() : QStringLiteral(": ") + crs_->error())
                .toStdString());
}

QString CoordinateSystem::name() const { return QString::fromUtf8(proj_get_name(crs_->crs)); }

std::optional<QString> CoordinateSystem::length_unit() const {
    PJ_CONTEXT* context = crs_->context;
    // A compound system's first part is the horizontal one.
    PJ* horizontal = proj_get_type(crs_->crs) == PJ_TYPE_COMPOUND_CRS
                         ? proj_crs_get_sub_crs(context, crs_->crs, 0)
                         : proj_clone(context, crs_->crs);
    PJ* axes = horizontal ? proj_crs_get_coordinate_system(context, horizontal) : nullptr;
    const char* unit = nullptr;
    const bool lengths = axes && proj_cs_get_type(context, axes) == PJ_CS_TYPE_CARTESIAN &&
                         proj_cs_get_axis_info(context, axes, 0, nullptr, nullptr, nullptr, nullptr,
                                               &unit, nullptr, nullptr) &&
                         unit;
    const QString name = lengths ? QString::fromUtf8(unit) : QString();
    if (axes) proj_destroy(axes);
    if (horizontal) proj_destroy(horizontal);
    if (!lengths) return std::nullopt;
    static const std::map<QString, QString> symbols{
        {QStringLiteral("metre"), QStringLiteral("m")},
        {QStringLiteral("foot"), QStringLiteral("ft")},
        {QStringLiteral("US survey foot"), QStringLiteral("US ft")}};
    const auto symbol = symbols.find(name);
    return symbol != symbols.end() ? symbol->second : name;
}

std::array<double, 2> CoordinateSystem::to_lon_lat(double x, double y) const {
    if (!crs_->to_lon_lat) {
        crs_->to_lon_lat = crs_->transformation_to_lon_lat();
        if (!crs_->to_lon_lat)
            throw utils::ValueError(_("PROJ has no transformation from %1 to longitude and "
                                      "latitude: %2")
                                        .arg(definition_, crs_->error())
                                        .toStdString());
    }
    const PJ_COORD lon_lat = proj_trans(crs_->to_lon_lat, PJ_FWD, proj_coord(x, y, 0.0, 0.0));
    return {lon_lat.xy.x, lon_lat.xy.y};
}

void CoordinateSystem::transform_from(const CoordinateSystem& from, std::vector<double>& xs,
                                      std::vector<double>& ys) const {
    PJ* transformation = crs_->transformation_from(from.crs_->crs);
    if (!transformation)
        throw utils::ValueError(_("PROJ has no transformation from %1 to %2: %3")
                                    .arg(from.definition_, definition_, crs_->error())
                                    .toStdString());
    const size_t count = xs.size();
    proj_trans_generic(transformation, PJ_FWD, xs.data(), sizeof(double), count, ys.data(),
                       sizeof(double), count, nullptr, 0, 0, nullptr, 0, 0);
    proj_destroy(transformation);
    for (size_t i = 0; i < count; ++i)
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i]))
            throw utils::ValueError(_("point %1 cannot be transformed from %2 to %3")
                                        .arg(i + 1)
                                        .arg(from.definition_, definition_)
                                        .toStdString());
}

std::optional<QString> CoordinateSystem::named_in(const QString& text) {
    static const QRegularExpression epsg(QStringLiteral("EPSG\\s*[:#]?\\s*(\\d{4,6})"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (const auto match = epsg.match(text); match.hasMatch())
        return QStringLiteral("EPSG:") + match.captured(1);
    // A name as the EPSG registry gives it, "datum / projection", among other words on a
    // card: the shortest tail of the words before the slash that PROJ finds.
    static const QRegularExpression named(
        QStringLiteral("([A-Za-z0-9()\\- ]+?)\\s*/\\s*([A-Za-z0-9()\\- ]*\\d+\\s*[NS]?)\\b"));
    Proj proj;
    for (auto it = named.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QStringList words = match.captured(1).split(' ', Qt::SkipEmptyParts);
        for (int first = words.size() - 1; first >= 0; --first) {
            const QString name = QStringList(words.mid(first)).join(' ') + QStringLiteral(" / ") +
                                 match.captured(2).trimmed();
            PJ_TYPE types[] = {PJ_TYPE_PROJECTED_CRS};
            PJ_OBJ_LIST* found = proj_create_from_name(
                proj.context, "EPSG", name.toUtf8().constData(), types, 1, false, 1, nullptr);
            if (!found) continue;
            PJ* crs = proj_list_get_count(found) ? proj_list_get(proj.context, found, 0) : nullptr;
            proj_list_destroy(found);
            if (!crs) continue;
            const QString code = QString::fromUtf8(proj_get_id_code(crs, 0));
            proj_destroy(crs);
            return QStringLiteral("EPSG:") + code;
        }
    }
    return std::nullopt;
}

}  // namespace korvex::seismic

#include "korvex/app/data/volume_settings.h"

#include <QFileInfo>
#include <functional>

#include "korvex/app/data/restore_setting.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/config/base.h"
#include "korvex/seismic/line_number_scan.h"
#include "korvex/seismic/prestack_error.h"
#include "korvex/seismic/trace_header_sample.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/excerpt.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;
using seismic::SectionKind;

namespace {

const QString FIND_BYTES = QStringLiteral("find_header_bytes");
const QString GRID_KEYS[] = {QStringLiteral("origin_x"), QStringLiteral("origin_y"),
                             QStringLiteral("iline_bin"), QStringLiteral("xline_bin"),
                             QStringLiteral("azimuth")};
const QString CLOCKWISE = QStringLiteral("crosslines_clockwise");

// Whether the file needs no other bytes than these: it opens with them, its traces placed
// one by one where the sample saw no grid (padding traces, say), or it holds gathers, which
// other bytes would only spread over a grid of their offsets (a CDP number and the offset).
bool opens_with(const QString& path, const seismic::SegyHeaderBytes& bytes) {
    try {
        const seismic::SegyVolumeFile file(path, bytes);
        return true;
    } catch (const seismic::PrestackError&) {
        return true;
    } catch (const std::exception&) {
        // Another fault of these bytes: the scan may find better ones.
    }
    return false;
}

seismic::SegyHeaderBytes found_header_bytes(const QString& path) {
    const seismic::SegyHeaderBytes usual;
    try {
        const auto sample = seismic::TraceHeaderSample::read(path);
        const seismic::LineNumberScan scan(sample);
        if (scan.grid_at(usual) || opens_with(path, usual)) return usual;
        const auto found = scan.best();
        if (!found) {
            utils::logger().warning(
                utils::format("{}: no pair of trace header fields puts the traces on a grid; {}",
                              path, scan.tried()));
            return usual;
        }
        utils::logger().info(
            utils::format("Line numbers found at bytes {} (inline) and {} (crossline) in {}",
                          found->bytes.iline, found->bytes.xline, path));
        return found->bytes;
    } catch (const std::exception&) {
        // The opening that follows meets the same fault and names it.
        return usual;
    }
}

int saved_header_byte(const QString& path, const QVariantMap& settings, const QString& key) {
    if (!settings.contains(key))
        throw utils::ValueError(_("%1: the project gives no %2")
                                    .arg(QFileInfo(path).completeBaseName(), key)
                                    .toStdString());
    bool number = false;
    const double byte = settings[key].toDouble(&number);
    if (!number || !seismic::SegyHeaderBytes::holds_field(byte))
        throw utils::ValueError(_("%1: saved %2 \"%3\" is not a trace header byte from %4 to %5")
                                    .arg(QFileInfo(path).completeBaseName(), key,
                                         utils::excerpt(settings[key].toString()))
                                    .arg(seismic::SegyHeaderBytes::FIRST)
                                    .arg(seismic::SegyHeaderBytes::LAST)
                                    .toStdString());
    return int(byte);
}

}  // namespace

seismic::SegyHeaderBytes saved_header_bytes(const QString& path, const QVariantMap& settings) {
    seismic::SegyHeaderBytes bytes;
    bytes.iline = saved_header_byte(path, settings, QStringLiteral("iline_byte"));
    bytes.xline = saved_header_byte(path, settings, QStringLiteral("xline_byte"));
    return bytes;
}

QVariantMap bytes_found_on_opening() { return {{FIND_BYTES, true}}; }

seismic::SegyHeaderBytes header_bytes_to_open(const QString& path, const QVariantMap& settings) {
    if (settings.value(FIND_BYTES).toBool()) return found_header_bytes(path);
    return saved_header_bytes(path, settings);
}

std::optional<seismic::SegyHeaderBytes> other_header_bytes(const QString& path,
                                                           const seismic::SegyHeaderBytes& failed) {
    const seismic::SegyHeaderBytes found = found_header_bytes(path);
    if (found.iline == failed.iline && found.xline == failed.xline) return std::nullopt;
    return found;
}

QVariantMap grid_settings(const seismic::SurveyGrid& grid) {
    const double values[] = {grid.origin[0], grid.origin[1], grid.iline_bin, grid.xline_bin,
                             grid.azimuth};
    QVariantMap kept{{CLOCKWISE, grid.clockwise}};
    for (int i = 0; i < 5; ++i) kept.insert(GRID_KEYS[i], values[i]);
    return kept;
}

seismic::SurveyGrid saved_grid(const QVariant& value) {
    const QVariantMap kept = value.toMap();
    double values[5];
    for (int i = 0; i < 5; ++i) {
        bool number = false;
        values[i] = kept.value(GRID_KEYS[i]).toDouble(&number);
        if (!number)
            throw utils::ValueError(_("its %1 is not a number").arg(GRID_KEYS[i]).toStdString());
    }
    const seismic::SurveyGrid grid{
        {values[0], values[1]}, values[2], values[3], values[4], kept.value(CLOCKWISE).toBool()};
    grid.check();
    return grid;
}

void restore_volume(SeismicVolume& volume, const QVariantMap& settings) {
    const auto restore = [&](const QString& key, const std::function<void(const QVariant&)>& set) {
        restore_setting(volume.name(), settings, key, set);
    };
    restore(QStringLiteral("map_grid"),
            [&](const QVariant& value) { volume.set_grid(saved_grid(value)); });
    for (const SectionKind kind : seismic::SECTION_KINDS) {
        restore(seismic::section_type(kind), [&](const QVariant& value) {
            volume.set_section_index(
                kind, restored_section_index(volume.name(), volume, kind, value.toDouble()));
        });
    }
    restore(QStringLiteral("colormap"),
            [&](const QVariant& value) { volume.set_colormap(value.toString()); });
    restore(QStringLiteral("clip"),
            [&](const QVariant& value) { volume.restore_clip(value.toDouble()); });
    restore(QStringLiteral("opacity"),
            [&](const QVariant& value) { volume.set_opacity(value.toDouble()); });
}

}  // namespace korvex::app::data

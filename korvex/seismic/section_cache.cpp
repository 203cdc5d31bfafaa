#include "korvex/seismic/section_cache.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cstring>

#include "korvex/config/base.h"
#include "korvex/seismic/cache_header.h"
#include "korvex/seismic/mapped_file.h"
#include "korvex/seismic/plane_checksum.h"
#include "korvex/seismic/section_cache_builder.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/errors.h"

namespace korvex::seismic {

using config::_;

namespace {

// Rows of a crossline-sorted plane are crosslines: blocks keep both sides in cache lines.
constexpr int TRANSPOSE_BLOCK = 32;

void transpose(const float* source, int rows, int columns, float* target) {
    for (int row0 = 0; row0 < rows; row0 += TRANSPOSE_BLOCK) {
        for (int column0 = 0; column0 < columns; column0 += TRANSPOSE_BLOCK) {
            const int row_end = std::min(rows, row0 + TRANSPOSE_BLOCK);
            const int column_end = std::min(columns, column0 + TRANSPOSE_BLOCK);
            for (int row = row0; row < row_end; ++row)
                for (int column = column0; column < column_end; ++column)
                    target[std::size_t(column) * rows + row] =
                        source[std::size_t(row) * columns + column];
        }
    }
}

}  // namespace

QString SectionCache::default_folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("korvex/sections"));
}

std::unique_ptr<SectionCache> SectionCache::open(const SegyVolumeFile& volume, const QString& path,
                                                 QString* why_not) {
    const auto refuse = [&](const QString& reason) {
        if (why_not) *why_not = QStringLiteral("%1: %2").arg(path, reason);
        return nullptr;
    };
    QFile file(path);
    if (!file.exists()) return refuse(_("no section cache yet"));
    if (!file.open(QIODevice::ReadOnly))
        return refuse(_("cannot be read: %1").arg(file.errorString()));
    CacheHeader found;
    if (file.read(reinterpret_cast<char*>(&found), sizeof found) != qint64(sizeof found) ||
        found.checksum != found.own_checksum())
        return refuse(_("not a section cache, or a damaged one"));

    CacheHeader expected;
    try {
        expected = CacheHeader::for_volume(volume);
    } catch (const utils::ValueError& error) {
        return refuse(QString::fromStdString(error.what()));
    }
    if (!found.same_as(expected)) return refuse(_("built from another version of the SEG-Y file"));
    const auto amplitudes = found.amplitudes();
    if (!amplitudes) return refuse(_("not a section cache, or a damaged one"));
    if (uint64_t(file.size()) != expected.file_size())
        return refuse(
            _("%1 bytes where %2 belong: damaged").arg(file.size()).arg(expected.file_size()));

    std::vector<uint64_t> checksums(expected.samples);
    const qint64 checksum_bytes = qint64(checksums.size() * sizeof(uint64_t));
    if (!file.seek(qint64(expected.checksums_offset())) ||
        file.read(reinterpret_cast<char*>(checksums.data()), checksum_bytes) != checksum_bytes)
        return refuse(_("cannot be read: %1").arg(file.errorString()));
    try {
        return std::unique_ptr<SectionCache>(
            new SectionCache(volume, path, std::make_unique<MappedFile>(path),
                             expected.plane_stride(), std::move(checksums), *amplitudes));
    } catch (const utils::ValueError& error) {
        return refuse(QString::fromStdString(error.what()));
    }
}

std::unique_ptr<SectionCache> SectionCache::build(const SegyVolumeFile& volume, const QString& path,
                                                  const Progress& progress) {
    // The pass also maps the file while it has it in the page cache.
    if (!SectionCacheBuilder(volume, path, progress).run()) return nullptr;
    QString why_not;
    auto cache = open(volume, path, &why_not);
    if (!cache) throw utils::ValueError(why_not.toStdString());
    return cache;
}

SectionCache::SectionCache(const SegyVolumeFile& volume, const QString& path,
                           std::unique_ptr<MappedFile> map, std::size_t plane_stride,
                           std::vector<uint64_t> checksums, AmplitudeStats amplitudes)
    : volume_(volume),
      path_(path),
      map_(std::move(map)),
      plane_stride_(plane_stride),
      checksums_(std::move(checksums)),
      amplitudes_(std::move(amplitudes)) {}

SectionCache::~SectionCache() = default;

void SectionCache::read(SectionKind kind, int index, float* out) const {
    if (kind != SectionKind::depth) {
        volume_.read(kind, index, out);
        return;
    }
    if (index < 0 || index >= volume_.geometry().samples)
        throw utils::LookupError(QStringLiteral("%1: time slice %2 is outside the volume")
                                     .arg(path_)
                                     .arg(index)
                                     .toStdString());
    read_plane(index, out);
}

Section SectionCache::read(SectionKind kind, int index) const {
    const SegyGeometry& g = volume_.geometry();
    Section section{g.section_rows(kind), g.section_columns(kind), {}};
    section.values.resize(g.section_size(kind));
    read(kind, index, section.values.data());
    return section;
}

void SectionCache::read_plane(int sample, float* out) const {
    const SegyGeometry& g = volume_.geometry();
    const bool by_inline = g.sorting == SegyGeometry::Sorting::inline_sorted;
    const int slow = by_inline ? g.iline_count() : g.xline_count();
    const int fast = by_inline ? g.xline_count() : g.iline_count();
    const std::size_t count = std::size_t(slow) * fast;
    const QString what = _("the time slice at %1 ms").arg(g.time_at(sample));
    const std::size_t offset = CacheHeader::SIZE + std::size_t(sample) * plane_stride_;
    // The pass writes past the page cache, so a plane's first read comes from the disk:
    // asked for whole, it arrives in a few large reads instead of the megabytes of
    // read-around each page fault would fetch.
    map_->will_need(static_cast<long long>(offset), static_cast<long long>(plane_stride_));
    PlaneChecksum checksum;
    map_->copy(what, [&](const char* data) {
        const auto* plane = reinterpret_cast<const float*>(data + offset);
        checksum.add(plane, count);
        if (by_inline)
            std::memcpy(out, plane, count * sizeof(float));
        else
            transpose(plane, slow, fast, out);
    });
    if (checksum.value() != checksums_[sample])
        throw utils::ValueError(
            QStringLiteral("%1: %2")
                .arg(path_, _("the section cache is damaged: %1 fails its checksum").arg(what))
                .toStdString());
}

}  // namespace korvex::seismic

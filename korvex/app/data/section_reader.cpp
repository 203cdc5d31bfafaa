#include "korvex/app/data/section_reader.h"

#include <QtConcurrent>

#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

SectionReader::SectionReader(std::shared_ptr<const seismic::SegyVolumeFile> file, QObject* parent)
    : QObject(parent), file_(std::move(file)) {}

// Reads still running keep the file and the cache alive through their own references;
// their watchers go with us, so nothing is delivered to a dead reader.
SectionReader::~SectionReader() = default;

void SectionReader::use_cache(std::shared_ptr<const seismic::SectionCache> cache) {
    cache_ = std::move(cache);
}

void SectionReader::use_file(std::shared_ptr<const seismic::SegyVolumeFile> file) {
    file_ = std::move(file);
    cache_.reset();
}

void SectionReader::request(seismic::SectionKind kind, int index) {
    Slot& slot = slots_[kind];
    slot.wanted = index;
    if (!slot.running) start(kind);
}

bool SectionReader::busy() const {
    for (const auto& [kind, slot] : slots_)
        if (slot.running || slot.wanted) return true;
    return false;
}

void SectionReader::start(seismic::SectionKind kind) {
    Slot& slot = slots_[kind];
    const int index = *slot.wanted;
    slot.wanted.reset();
    // Lines are runs of whole traces in the file; only time slices gain from the cache.
    auto cache = kind == seismic::SectionKind::depth ? cache_ : nullptr;
    slot.running = new QFutureWatcher<Result>(this);
    connect(slot.running, &QFutureWatcher<Result>::finished, this, [this, kind] {
        utils::call_guarded(
            QStringLiteral("Drawing the %1 section").arg(seismic::section_type(kind)),
            [&] { finish(kind); });
    });
    slot.running->setFuture(QtConcurrent::run([file = file_, cache, kind, index] {
        Result result{index, {}, {}, {}, {}};
        try {
            seismic::Section section;
            try {
                if (cache) section = cache->read(kind, index);
            } catch (const std::exception& error) {
                result.failed_cache = cache;
                result.cache_error = QString::fromStdString(error.what());
            }
            if (!cache || result.failed_cache) section = file->read(kind, index);
            result.image = std::make_shared<const seismic::Section>(section.transposed());
        } catch (const std::exception& error) {
            result.error = QString::fromStdString(error.what());
        } catch (...) {
            result.error = QStringLiteral("unknown failure");
        }
        return result;
    }));
}

void SectionReader::finish(seismic::SectionKind kind) {
    Slot& slot = slots_[kind];
    const Result result = slot.running->result();
    slot.running->deleteLater();
    slot.running = nullptr;
    if (result.failed_cache && result.failed_cache == cache_) {
        cache_.reset();
        emit sig_cache_failed(result.failed_cache, result.cache_error);
    }
    if (slot.wanted) {
        start(kind);  // overtaken: what was asked for since matters, not this
        return;
    }
    if (result.error.isEmpty())
        emit sig_section_read(kind, result.index, *result.image);
    else
        emit sig_read_failed(kind, result.index, result.error);
    if (!busy()) emit sig_idle();
}

}  // namespace korvex::app::data

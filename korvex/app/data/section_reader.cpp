#include "korvex/app/data/section_reader.h"

#include <QtConcurrent>

#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_volume_file.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"
#include "korvex/utils/qthelpers.h"

namespace korvex::app::data {

using utils::appconsts::SECTION_TYPES;

namespace {

seismic::SectionKind kind_of(const QString& type) {
    if (type == SECTION_TYPES[0]) return seismic::SectionKind::iline;
    if (type == SECTION_TYPES[1]) return seismic::SectionKind::xline;
    if (type == SECTION_TYPES[2]) return seismic::SectionKind::depth;
    throw utils::LookupError(utils::format("unknown section type {}", type).toStdString());
}

}  // namespace

SectionReader::SectionReader(std::shared_ptr<const seismic::SegyVolumeFile> file, QObject* parent)
    : QObject(parent), file_(std::move(file)) {}

// Reads still running keep the file and the cache alive through their own references;
// their watchers go with us, so nothing is delivered to a dead reader.
SectionReader::~SectionReader() = default;

void SectionReader::use_cache(std::shared_ptr<const seismic::SectionCache> cache) {
    cache_ = std::move(cache);
}

void SectionReader::request(const QString& type, int index) {
    kind_of(type);  // refuses unknown types before anything is kept
    Slot& slot = slots_[type];
    slot.wanted = index;
    if (!slot.running) start(type);
}

bool SectionReader::busy() const {
    for (const auto& [type, slot] : slots_)
        if (slot.running || slot.wanted) return true;
    return false;
}

void SectionReader::start(const QString& type) {
    Slot& slot = slots_[type];
    const int index = *slot.wanted;
    slot.wanted.reset();
    const auto kind = kind_of(type);
    // Lines are runs of whole traces in the file; only time slices gain from the cache.
    auto cache = kind == seismic::SectionKind::depth ? cache_ : nullptr;
    slot.running = new QFutureWatcher<Result>(this);
    connect(slot.running, &QFutureWatcher<Result>::finished, this, [this, type] {
        utils::call_guarded(QStringLiteral("Drawing the %1 section").arg(type),
                            [&] { finish(type); });
    });
    slot.running->setFuture(QtConcurrent::run([file = file_, cache, kind, index] {
        Result result{index, {}, {}};
        try {
            const seismic::Section section =
                cache ? cache->read(kind, index) : file->read(kind, index);
            result.image = section.transposed();
        } catch (const std::exception& error) {
            result.error = QString::fromStdString(error.what());
        } catch (...) {
            result.error = QStringLiteral("unknown failure");
        }
        return result;
    }));
}

void SectionReader::finish(const QString& type) {
    Slot& slot = slots_[type];
    const Result result = slot.running->result();
    slot.running->deleteLater();
    slot.running = nullptr;
    if (slot.wanted) {
        start(type);  // overtaken: what was asked for since matters, not this
        return;
    }
    if (result.error.isEmpty())
        emit sig_section_read(type, result.index, result.image);
    else
        emit sig_read_failed(type, result.index, result.error);
    if (!busy()) emit sig_idle();
}

}  // namespace korvex::app::data

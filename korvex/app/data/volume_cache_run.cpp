#include "korvex/app/data/volume_cache_run.h"

#include <QMainWindow>

#include "korvex/app/data/status_progress.h"
#include "korvex/app/data/volume_cache_pass.h"
#include "korvex/config/base.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/utils/logger.h"

namespace korvex::app::data {

using config::_;

namespace {
// The journal hears of a cache build at each quarter.
constexpr int PROGRESS_LOG_STEPS = 4;
}  // namespace

VolumeCacheRun::VolumeCacheRun(std::shared_ptr<const seismic::SegyVolumeFile> file,
                               const QString& name, const QStringList& folders,
                               long long limit_bytes, QMainWindow* host, QObject* parent)
    : QObject(parent),
      name_(name),
      host_(host),
      pass_(new VolumeCachePass(std::move(file), folders, limit_bytes, this)) {
    connect(pass_, &VolumeCachePass::sig_progress, this, &VolumeCacheRun::show_progress);
    connect(pass_, &VolumeCachePass::sig_ready, this,
            [this](std::shared_ptr<const seismic::SectionCache> cache, bool built) {
                emit sig_ready(std::move(cache));
                utils::logger().info(built ? utils::format("{}: section cache built; every trace "
                                                           "is where its line numbers say",
                                                           name_)
                                           : utils::format("{}: section cache reused", name_));
                end(true, {});
            });
    connect(pass_, &VolumeCachePass::sig_cancelled, this, [this] {
        const QString message =
            _("%1: section cache cancelled; time slices are read from the file").arg(name_);
        utils::logger().warning(message);
        end(false, message);
    });
    connect(pass_, &VolumeCachePass::sig_failed, this, [this](const QString& message) {
        utils::logger().error(utils::format(
            "{}: no section cache, time slices are read from the file: {}", name_, message));
        end(false, message);
    });
    connect(pass_, &VolumeCachePass::sig_irregular, this, [this](const QString& message) {
        delete progress_;
        emit sig_irregular(message);
    });
    pass_->start();
}

VolumeCacheRun::~VolumeCacheRun() { delete progress_; }

void VolumeCacheRun::show_progress(double fraction) {
    if (fraction <= 0.0) return;  // still looking for a cache to reuse
    if (!announced_) {
        announced_ = true;
        utils::logger().info(
            utils::format("{}: building the section cache and checking every trace header", name_));
        progress_ =
            StatusProgress::add(host_, _("Caching %1").arg(name_), [this] { pass_->cancel(); });
    }
    if (progress_) progress_->set_fraction(fraction);
    const int step = int(fraction * PROGRESS_LOG_STEPS);
    if (step > logged_step_ && step < PROGRESS_LOG_STEPS) {
        logged_step_ = step;
        utils::logger().info(
            utils::format("{}: section cache {}% built", name_, step * 100 / PROGRESS_LOG_STEPS));
    }
}

void VolumeCacheRun::end(bool cached, const QString& message) {
    delete progress_;
    emit sig_ended(cached, message);
}

}  // namespace korvex::app::data

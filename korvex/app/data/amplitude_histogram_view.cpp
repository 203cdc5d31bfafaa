#include "korvex/app/data/amplitude_histogram_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "korvex/config/base.h"

namespace korvex::app::data {

using config::_;

namespace {
constexpr int HEIGHT = 60;
}

AmplitudeHistogramView::AmplitudeHistogramView(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(HEIGHT);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void AmplitudeHistogramView::set_counts(std::vector<uint64_t> counts) {
    counts_ = std::move(counts);
    setToolTip(counts_.empty()
                   ? QString()
                   : _("How many samples of the volume have each amplitude, from its "
                       "minimum (left) to its maximum (right), on a logarithmic scale"));
    update();
}

void AmplitudeHistogramView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (counts_.empty()) {
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         _("The histogram comes once every trace has been read"));
        return;
    }
    // Logarithmic: a few spikes among millions of samples stay visible.
    const double top = std::log1p(double(*std::max_element(counts_.begin(), counts_.end())));
    const double width = double(this->width()) / double(counts_.size());
    for (std::size_t bin = 0; bin < counts_.size(); ++bin) {
        const double height =
            top > 0.0 ? std::log1p(double(counts_[bin])) / top * this->height() : 0;
        painter.fillRect(QRectF(bin * width, this->height() - height, width, height),
                         palette().highlight());
    }
}

}  // namespace korvex::app::data

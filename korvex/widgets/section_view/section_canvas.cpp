#include "korvex/widgets/section_view/section_canvas.h"

#include <QJsonArray>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>
#include <cmath>

#include "korvex/config/base.h"
#include "korvex/utils/errors.h"
#include "korvex/widgets/section_view/axis_ticks.h"
#include "korvex/widgets/section_view/bend_marks.h"

namespace korvex::widgets {

using config::_;

namespace {

constexpr int TICK = 4;
constexpr int GAP = 4;
constexpr int BAR_WIDTH = 14;
// A drag shorter than this is a click, not a rectangle to zoom to.
constexpr int LEAST_BAND = 4;

QString number(double value) { return QString::number(value, 'g', 6); }

double positive(const QJsonValue& value, const char* what) {
    const double number = value.toDouble(-1.0);
    if (!(number > 0.0) || !std::isfinite(number))
        throw utils::ValueError(std::string("a section view's ") + what +
                                " must be a positive number");
    return number;
}

}  // namespace

SectionCanvas::SectionCanvas(QWidget* parent)
    : QWidget(parent), band_(new QRubberBand(QRubberBand::Rectangle, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void SectionCanvas::set_section(SectionSamples samples, const SectionAxis& horizontal,
                                const SectionAxis& vertical) {
    const QSizeF size(samples.columns, samples.rows);
    const bool reshaped = size != transform_.data_size();
    const bool renamed = horizontal.knots.empty() != horizontal_.knots.empty();
    picture_.set_samples(std::move(samples));
    horizontal_ = horizontal;
    vertical_ = vertical;
    if (renamed) place_plot();
    // A first section keeps a zoom restored with the project before it arrived.
    if (reshaped && !transform_.data_size().isEmpty()) fitted_ = true;
    transform_.set_data_size(size);
    if (fitted_) fit();
    update();
}

void SectionCanvas::set_style(const QString& colormap, double clip) {
    picture_.set_style(colormap, clip);
    update();
}

void SectionCanvas::set_trace_display(TraceDisplay display) {
    trace_display_ = display;
    update();
}

bool SectionCanvas::wiggles_shown() const {
    return trace_display_ != TraceDisplay::density && WigglePainter::fits(transform_);
}

void SectionCanvas::set_cursor_mark(const std::optional<SectionMarks::Cursor>& cursor) {
    marks_.set_cursor(cursor);
    update();
}

void SectionCanvas::set_pick_marks(std::vector<QPointF> picks) {
    marks_.set_picks(std::move(picks));
    update();
}

std::optional<QPointF> SectionCanvas::on_section(const QPoint& pixel) const {
    const QPointF data = transform_.to_data(pixel);
    const QRectF whole(QPointF(0, 0), transform_.data_size());
    if (!has_section() || !transform_.plot().contains(pixel) || !whole.contains(data))
        return std::nullopt;
    return data;
}

void SectionCanvas::set_outline(std::vector<QLineF> lines) {
    outline_.set_lines(std::move(lines));
    update();
}

void SectionCanvas::reset_view() {
    fitted_ = true;
    fit();
    update();
}

void SectionCanvas::fit() {
    const auto before = transform_.exaggeration();
    if (chosen_exaggeration_)
        transform_.fit();
    else
        transform_.fill();
    const auto after = transform_.exaggeration();
    if (after && after != before) emit sig_exaggeration_changed(*after);
}

void SectionCanvas::set_exaggeration(double exaggeration) {
    chosen_exaggeration_ = true;
    if (transform_.exaggeration() == exaggeration) return;
    transform_.set_exaggeration(exaggeration);
    if (fitted_) fit();
    update();
    emit sig_exaggeration_changed(exaggeration);
}

QJsonObject SectionCanvas::zoom_state() const {
    QJsonObject state;
    if (fitted_) {
        state[QStringLiteral("fitted")] = true;
    } else {
        const QPointF centre = transform_.centre();
        state[QStringLiteral("centre")] = QJsonArray{centre.x(), centre.y()};
        state[QStringLiteral("scale")] = transform_.scale();
    }
    if (transform_.exaggeration() && (chosen_exaggeration_ || !fitted_))
        state[QStringLiteral("exaggeration")] = *transform_.exaggeration();
    return state;
}

void SectionCanvas::set_zoom_state(const QJsonObject& state) {
    const bool fitted = state.value(QStringLiteral("fitted")).toBool(false);
    const QJsonValue exaggeration = state.value(QStringLiteral("exaggeration"));
    const bool chosen = !exaggeration.isUndefined();
    if (!fitted && !chosen)
        throw utils::ValueError("a section view's zoom needs its vertical exaggeration");
    const double ve = chosen ? positive(exaggeration, "vertical exaggeration") : 1.0;
    if (!fitted) {
        const QJsonArray centre = state.value(QStringLiteral("centre")).toArray();
        if (centre.size() != 2 || !centre[0].isDouble() || !centre[1].isDouble())
            throw utils::ValueError("a section view's centre must be two numbers");
        transform_.set_view({centre[0].toDouble(), centre[1].toDouble()},
                            positive(state.value(QStringLiteral("scale")), "scale"), ve);
    } else if (chosen) {
        transform_.set_exaggeration(ve);
    }
    fitted_ = fitted;
    chosen_exaggeration_ = chosen;
    if (fitted_) fit();
    update();
    if (transform_.exaggeration()) emit sig_exaggeration_changed(*transform_.exaggeration());
}

void SectionCanvas::place_plot() {
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const int left = line + GAP + metrics.horizontalAdvance(QStringLiteral("00000.0")) + TICK;
    // An arbitrary line names its points in a row between the title and the numbers.
    const int top = (horizontal_.knots.empty() ? 2 : 3) * line + GAP + TICK;
    const int right = 3 * GAP + BAR_WIDTH + metrics.horizontalAdvance(QStringLiteral("-0.00000"));
    transform_.set_plot(QRectF(rect()).adjusted(left, top, -right, -GAP - line / 2));
}

void SectionCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_plot();
    if (fitted_) fit();
}

void SectionCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRectF plot = transform_.plot();
    painter.fillRect(plot, palette().mid());
    if (has_section()) {
        const QRectF whole(QPointF(0, 0), transform_.data_size());
        const QRectF shown = transform_.visible().intersected(whole);
        painter.save();
        painter.setClipRect(plot);
        // Too close for wiggles, the colours stand in for them.
        const bool wiggles = wiggles_shown();
        const WigglePainter wiggle(picture_.samples(), transform_, picture_.clip());
        if (wiggles && trace_display_ == TraceDisplay::wiggles) {
            painter.fillRect(transform_.to_pixel(shown), Qt::white);
            wiggle.paint_holes(painter, palette().mid().color());
        } else {
            painter.drawImage(transform_.to_pixel(shown), picture_.image(), shown);
        }
        if (wiggles) wiggle.paint(painter);
        outline_.paint(painter, transform_, palette().windowText().color());
        painter.restore();
        marks_.paint(painter, transform_);
        paint_axes(painter);
    }
    paint_color_bar(painter);
}

void SectionCanvas::paint_axes(QPainter& painter) const {
    const QRectF plot = transform_.plot();
    const QRectF shown =
        transform_.visible().intersected(QRectF(QPointF(0, 0), transform_.data_size()));
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    painter.setPen(palette().windowText().color());

    // Room for a number of six digits between two, over the part of the plot the section
    // covers.
    const QRectF covered = transform_.to_pixel(shown);
    const int across =
        std::max(2, int(covered.width() / metrics.horizontalAdvance(QStringLiteral("000000"))));
    for (const double value : axis_ticks(horizontal_.value_at(shown.left()),
                                         horizontal_.value_at(shown.right()), across)) {
        const double x = transform_.to_pixel(QPointF(horizontal_.data_at(value), 0)).x();
        painter.drawLine(QPointF(x, plot.top() - TICK), QPointF(x, plot.top()));
        painter.drawText(QRectF(x - 50, plot.top() - TICK - line, 100, line), Qt::AlignCenter,
                         number(value));
    }
    painter.drawText(QRectF(plot.left(), 0, plot.width(), line), Qt::AlignCenter,
                     horizontal_.title);
    BendMarks(horizontal_, transform_)
        .paint(painter, QRectF(plot.left(), line, plot.width(), line));

    const int down = std::max(2, int(covered.height() / (2 * line)));
    for (const double value :
         axis_ticks(vertical_.value_at(shown.top()), vertical_.value_at(shown.bottom()), down)) {
        const double y = transform_.to_pixel(QPointF(0, vertical_.data_at(value))).y();
        painter.drawLine(QPointF(plot.left() - TICK, y), QPointF(plot.left(), y));
        painter.drawText(QRectF(0, y - line, plot.left() - TICK - GAP, 2 * line),
                         Qt::AlignRight | Qt::AlignVCenter, number(value));
    }
    painter.save();
    painter.translate(0, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), line), Qt::AlignCenter,
                     vertical_.title);
    painter.restore();
}

void SectionCanvas::paint_color_bar(QPainter& painter) const {
    const QRectF plot = transform_.plot();
    const std::vector<QRgb>& colors = picture_.colors();
    // One pixel per colour, the high end at the top, stretched over the bar.
    QImage ramp(1, static_cast<int>(colors.size()), QImage::Format_RGB32);
    for (std::size_t i = 0; i < colors.size(); ++i)
        ramp.setPixel(0, static_cast<int>(colors.size() - 1 - i), colors[i]);
    const QRectF bar(plot.right() + 2 * GAP, plot.top(), BAR_WIDTH, plot.height());
    painter.drawImage(bar, ramp);
    painter.setPen(palette().windowText().color());
    painter.drawRect(bar);
    const int line = fontMetrics().height();
    const double clip = picture_.clip();
    const QRectF labels(bar.right() + GAP, bar.top() - line / 2, width() - bar.right(),
                        bar.height() + line);
    const auto label = [](double value) { return QString::number(value, 'g', 4); };
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignTop, label(clip));
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, label(0));
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignBottom, label(-clip));
    painter.drawText(QRectF(bar.left(), 0, width() - bar.left(), line), Qt::AlignLeft,
                     _("Amplitude"));
}

void SectionCanvas::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    transform_.zoom_about(event->position(), std::pow(WHEEL_FACTOR, notches));
    fitted_ = false;
    update();
    event->accept();
}

void SectionCanvas::mousePressEvent(QMouseEvent* event) {
    drag_from_ = event->pos();
    const bool band = event->button() == Qt::RightButton ||
                      (event->button() == Qt::LeftButton && event->modifiers() & Qt::ShiftModifier);
    drag_ = band ? Drag::band : event->button() == Qt::LeftButton ? Drag::pan : Drag::none;
    if (drag_ == Drag::band) {
        band_->setGeometry(QRect(drag_from_, QSize()));
        band_->show();
    }
}

void SectionCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (drag_ == Drag::pan) {
        transform_.pan(event->pos() - drag_from_);
        drag_from_ = event->pos();
        fitted_ = false;
        update();
    } else if (drag_ == Drag::band) {
        band_->setGeometry(QRect(drag_from_, event->pos()).normalized());
    }
    if (const auto data = on_section(event->pos()))
        emit sig_hovered(*data);
    else
        emit sig_left();
}

void SectionCanvas::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit sig_left();
}

void SectionCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ == Drag::band) {
        band_->hide();
        const QRect drawn = QRect(drag_from_, event->pos()).normalized();
        if (drawn.width() >= LEAST_BAND && drawn.height() >= LEAST_BAND) {
            transform_.zoom_to(
                {transform_.to_data(drawn.topLeft()), transform_.to_data(drawn.bottomRight())});
            fitted_ = false;
            update();
        } else if (event->button() == Qt::RightButton) {
            if (const auto data = on_section(event->pos())) emit sig_pick_clicked(*data);
        }
    }
    drag_ = Drag::none;
}

void SectionCanvas::mouseDoubleClickEvent(QMouseEvent*) { reset_view(); }

}  // namespace korvex::widgets

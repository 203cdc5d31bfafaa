#include "korvex/widgets/section_view/elided_label.h"

#include <algorithm>

namespace korvex::widgets {

ElidedLabel::ElidedLabel(const QString& least, QWidget* parent) : QLabel(parent), least_(least) {}

void ElidedLabel::set_whole_text(const QString& text) {
    whole_ = text;
    setToolTip(text);
    updateGeometry();
    fit();
}

QSize ElidedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(whole_) + margins.left() + margins.right(),
            QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    const int least = fontMetrics().horizontalAdvance(least_) + margins.left() + margins.right();
    return {std::min(least, sizeHint().width()), QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fit();
}

void ElidedLabel::fit() {
    setText(fontMetrics().elidedText(whole_, Qt::ElideRight, contentsRect().width()));
}

}  // namespace korvex::widgets

#pragma once

#include <QLabel>
#include <QString>

#include "korvex/widgets/section_view/section_view_export.h"

namespace korvex::widgets {

// A one-line text in a crowded row. A plain label's least width is its whole text, so a
// long volume name or note widened the row and with it the whole window, past the
// screen; this one asks for its whole text but settles for `least` (the width of that
// text), shortens the text with an ellipsis to the room it gets, and gives it whole as
// its tooltip. The status bar's message is one too, beside the mouse's read-out.
class KORVEX_SECTION_VIEW_EXPORT ElidedLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(const QString& least, QWidget* parent = nullptr);

    void set_whole_text(const QString& text);
    // The text whole, however much of it shows.
    const QString& whole_text() const { return whole_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QString least_;
    QString whole_;
};

}  // namespace korvex::widgets

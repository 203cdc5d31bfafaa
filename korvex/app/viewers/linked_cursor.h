#pragma once

#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <array>
#include <optional>

#include "korvex/app/app_export.h"
#include "korvex/widgets/cube_viewer/picked_sample.h"

namespace korvex::app {

// A place the mouse points at in one view, in each of the terms the other views draw it
// by. A view fills in what it knows: a section view all of it, a map only its X/Y.
struct KORVEX_APP_EXPORT CursorPlace {
    // The survey by its volume's name, as the open surveys name it; empty off any survey.
    QString survey;
    std::optional<double> iline;
    std::optional<double> xline;
    // Milliseconds; none on a map.
    std::optional<double> time;
    // NaN where the file holds no sample there (a hole).
    std::optional<double> amplitude;
    // Map X/Y, when the survey's are known.
    std::optional<std::array<double, 2>> map;
    // The view the mouse is in: it has the mouse pointer and draws no mark of its own.
    QPointer<QObject> source;

    // A sample of a volume under the mouse in `source`.
    static CursorPlace of(const widgets::PickedSample& sample, QObject* source);
};

// Where the mouse is, shared by every view of a window: each view writes the place under
// the mouse as it moves, and draws the mark of the others' (a cross on a map, a line in a
// section view crossing it, a small marker in 3D). A sweep of the mouse gives many moves a
// frame, and each mark can cost a redraw, so the views hear of the latest place at most
// once a frame.
class KORVEX_APP_EXPORT LinkedCursor final : public QObject {
    Q_OBJECT

public:
    static constexpr int FRAME_MS = 16;

    explicit LinkedCursor(QObject* parent = nullptr);

    // The mouse is at `place` in `place.source`.
    void move_to(const CursorPlace& place);
    // The mouse left `source` (or points at nothing in it): no mark anywhere. A leave from
    // a view the mouse is no longer in does not clear the place another view wrote.
    void clear(const QObject* source);
    // The place the views were last told of; none while the mouse is in no view.
    const std::optional<CursorPlace>& place() const { return told_; }

signals:
    // The mouse is at `place`, or it left every view (none).
    void sig_moved(const std::optional<korvex::app::CursorPlace>& place);

private:
    void tell();

    QTimer frame_;
    std::optional<CursorPlace> latest_;
    std::optional<CursorPlace> told_;
};

}  // namespace korvex::app

Q_DECLARE_METATYPE(std::optional<korvex::app::CursorPlace>)

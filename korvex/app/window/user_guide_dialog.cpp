#include "korvex/app/window/user_guide_dialog.h"

#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

namespace {

QString guide() {
    return _(
        "<h3>Opening data</h3>"
        "<p>File &gt; Open data... (Ctrl+D) reads SEG-Y volumes and point files (X, Y "
        "and Z in columns). Each file becomes an entry of "
        "the Data tree on the left: tick it to show it in the 3D view in front, tick the "
        "inline, crossline and time entries below a volume to show its sections. "
        "Double-click an entry to change how it is drawn.</p>"
        "<p>A volume is placed on the map by the coordinates in its trace headers. Where "
        "they are all zero, or lie more than half a bin off a grid, the volume lies at one "
        "map unit per line number, and the log and its page say why; the Map grid on its "
        "page places it: the map X/Y where its first inline and crossline meet, the bins, "
        "the compass direction of its inlines and the side its crosslines run to.</p>"
        "<p>A project (File &gt; Save, Ctrl+S) keeps the data loaded, what each view "
        "shows, its camera and your picks; File &gt; Open project... (Ctrl+O) brings it "
        "back.</p>"
        "<h3>The views</h3>"
        "<p>Drag with the left button to turn the view, with Shift to move it; the wheel "
        "or a right-button drag zooms. The buttons above each view fit everything in "
        "(Ctrl+A), look from the top, bottom, north, south, west or east, switch between "
        "perspective and orthographic projection (O), set the background colour and save "
        "the picture. The view is a map: east is x, north is y, and the compass in its "
        "lower left corner shows which way they point. View &gt; New 3D viewer opens "
        "another view of the same data; View &gt; Vertical scale... stretches times and "
        "depths; View &gt; Map grid draws lines at round map coordinates over the view in "
        "front.</p>"
        "<h3>Section views</h3>"
        "<p>View &gt; New section view shows a volume's inline, crossline or time slice "
        "flat beside the 3D views. An arbitrary line runs through points of a point set, "
        "wells say: right-click the point set in the Data tree, choose Arbitrary line "
        "through points... and tick the points in the order the line runs through them. "
        "Its section shows the nearest trace about every bin along the line, the distance "
        "along the top, a dashed line and the point's name at each bend. The button "
        "beside the vertical exaggeration draws the traces in colour, as wiggles with "
        "their positive lobes filled, or both; wiggles appear once the traces are at "
        "least 4 pixels apart.</p>"
        "<h3>Map views</h3>"
        "<p>View &gt; New map view draws the surveys where they lie, north up, with their "
        "inline and crossline numbers, the sections the other views show, wells by name, "
        "picks, a scale bar in the project's length unit and a north arrow. The wheel zooms "
        "about the mouse and a drag pans; drag a section's line to move it; double-click a "
        "survey to open the inline there in a section view (the crossline with Shift). The "
        "line button above the map draws an arbitrary line: click its points, then "
        "double-click or press Enter (Backspace takes the last point back, Escape gives the "
        "line up); it opens in a section view of the survey it crosses most.</p>"
        "<h3>Picking</h3>"
        "<p>Turn on Pick mode (P). A left click on an object selects it in the Data tree; "
        "a right click on a section reports the inline, crossline, time, amplitude and "
        "map X/Y there and keeps the pick in the Picks dock, from which picks can be deleted or "
        "exported as CSV.</p>"
        "<h3>Keys</h3>"
        "<p>The keys of a view work while the keyboard is in that view. Help &gt; "
        "Keyboard shortcuts (F1) lists every key of the window. The Run journal at the "
        "bottom records what happened, warnings and errors included.</p>");
}

}  // namespace

UserGuideDialog::UserGuideDialog(QWidget* window) : QDialog(window) {
    setWindowTitle(_("User guide"));
    text_ = new QTextBrowser(this);
    text_->setHtml(guide());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(560, 600);
}

}  // namespace korvex::app

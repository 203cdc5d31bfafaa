#pragma once

#include <QImage>
#include <QObject>
#include <QTimer>
#include <string>

#include "korvex/app/app_export.h"
#include "korvex/app/start_up/command_line.h"

namespace korvex::widgets {
class CanvasWidget;
}

namespace korvex::app {

class MainWindow;

// Does what the command line asks of a window set up but not yet shown. It opens the
// project, then the demo survey and the files, each shown in the active viewer with the
// settings its type guesses (never asking). Without --export the window is shown first
// and the run ends there. With it, each step waits for the signal that the one before has
// ended: everything opened, every volume's sections drawn, the canvas drawn at the
// picture's size; then the picture is written and sig_finished tells the exit code.
class KORVEX_APP_EXPORT CommandLineRun final : public QObject {
    Q_OBJECT

public:
    CommandLineRun(CommandLine line, MainWindow& window, QObject* parent = nullptr);

    void start();

signals:
    // 0 when the picture is written; otherwise the failure is on standard error.
    void sig_finished(int exit_code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Stage { opening, sections, canvas, writing, done };

    void open_files();
    void on_opened(int shown, int failures);
    void check_sections();
    void await_canvas();
    void check_canvas();
    void write_picture();
    // With a section view's --view: opens one on the first volume and writes its picture
    // once its section is drawn.
    void show_section_view();
    void write_section_picture(QWidget& canvas);
    // With --view map: a map view of everything opened, written at once.
    void show_map_view();
    void written(const QImage& image);
    // Fits the view to what is shown, then looks from the chosen direction.
    void frame();
    // Ends the run once; later calls are ignored.
    void finish(int exit_code, const std::string& failure = {});
    // Runs a step; what it throws ends a picture run, and is logged in any case.
    template <typename Step>
    void guarded(Step step);
    widgets::CanvasWidget& viewer() const;

    const CommandLine line_;
    MainWindow& window_;
    Stage stage_ = Stage::opening;
    // Whether the project opened with everything it holds, and the demo survey was written.
    bool opened_whole_ = true;
    // Whether the canvas had to take the picture's size only when shown.
    bool resized_ = false;
    QTimer draw_timeout_;
};

}  // namespace korvex::app

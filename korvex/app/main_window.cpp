#include "korvex/app/main_window.h"

#include "korvex/config/base.h"

namespace korvex::app {

using config::_;

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(_("korvex"));
    resize(1280, 800);
}

}  // namespace korvex::app

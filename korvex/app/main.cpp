#include <QApplication>
#include <QLocale>

#include "korvex/app/main_window.h"
#include "korvex/config/base.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("korvex");
    korvex::config::install_translator(app, QLocale().name());
    korvex::app::MainWindow window;
    window.show();
    return QApplication::exec();
}

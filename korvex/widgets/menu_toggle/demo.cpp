// Shows the mode switcher on its own, in a plain main window: "Plugout Mode" only,
// since without an owner there is no plug-in manager to ask.
#include <QApplication>
#include <QMainWindow>

#include "korvex/widgets/menu_toggle/menu_toggle.h"

int main() {
    int argc = 0;
    QApplication app(argc, nullptr);
    QMainWindow window;
    window.addToolBar(new korvex::widgets::MenuToggle());
    window.show();
    return QApplication::exec();
}

#pragma once

#include <QPointer>
#include <QWidgetAction>

class QMenuBar;

namespace korvex::widgets {

// Shows a menu bar in a toolbar without taking it over. Qt's widget actions delete
// their widget, but these bars belong elsewhere: a plug-in's to the plug-in manager,
// the built-in one to the switcher. Taken out of the toolbar, a bar is hidden and
// goes back to the parent it had when the action was made.
class MenuBarAction final : public QWidgetAction {
    Q_OBJECT

public:
    MenuBarAction(QMenuBar* bar, QObject* parent);

protected:
    QWidget* createWidget(QWidget* parent) override;
    void deleteWidget(QWidget* widget) override;

private:
    QMenuBar* bar_;
    QPointer<QWidget> home_;
};

}  // namespace korvex::widgets

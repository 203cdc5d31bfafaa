#pragma once

#include <QMainWindow>

namespace korvex::app {

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace korvex::app

#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QKeySequence;

namespace korvex::app {

// Lets buttons of one window share a shortcut. The log's "clear" and each viewer's
// "Hide all" both answer Ctrl+L; Qt finds the key ambiguous and clicks neither. Here
// an ambiguous key clicks the button whose panel holds the keyboard focus, else the
// one inside the preferred panel (the viewer in front).
class ShortcutSharing final : public QObject {
    Q_OBJECT

public:
    ShortcutSharing(QWidget* window, std::function<QWidget*()> preferred);
    ~ShortcutSharing() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton* choose(const QKeySequence& key) const;

    QPointer<QWidget> window_;
    std::function<QWidget*()> preferred_;
};

}  // namespace korvex::app

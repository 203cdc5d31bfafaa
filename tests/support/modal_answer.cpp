#include "tests/support/modal_answer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace korvex::testing {

void answer_next_modal(std::function<void(QWidget*)> answer, int timeout_ms) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout,
                     [timer, clock, answer = std::move(answer), timeout_ms] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (!modal && clock->elapsed() < timeout_ms) return;
                         timer->stop();
                         timer->deleteLater();
                         delete clock;
                         if (modal) answer(modal);
                     });
    timer->start(20);
}

}  // namespace korvex::testing

#include "tests/support/modal_answer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace korvex::testing {

namespace {
constexpr int POLL_MS = 20;
}

void answer_modal_when(std::function<bool(QWidget*)> answer, int timeout_ms) {
    auto* poll = new QTimer;
    poll->setInterval(POLL_MS);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(
        poll, &QTimer::timeout, poll, [poll, clock, answer = std::move(answer), timeout_ms] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) {
                if (clock.elapsed() < timeout_ms) return;
                qWarning("no modal dialog came up to be answered within %d ms", timeout_ms);
                poll->deleteLater();
                return;
            }
            // Stopped first: the answer may run the next dialog's event loop.
            poll->stop();
            if (answer(modal)) {
                poll->deleteLater();
            } else {
                poll->start();
            }
        });
    poll->start();
}

void answer_next_modal(std::function<void(QWidget*)> answer, int timeout_ms) {
    answer_modal_when(
        [answer = std::move(answer)](QWidget* modal) {
            answer(modal);
            return true;
        },
        timeout_ms);
}

}  // namespace korvex::testing

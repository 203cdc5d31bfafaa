#pragma once

#include <QWidget>
#include <functional>

namespace korvex::testing {

// Answers the next modal dialog as soon as it is up (a modal dialog's call returns only
// once it is closed): `answer` gets the dialog and should close it. Gives up silently
// after `timeout_ms`.
void answer_next_modal(std::function<void(QWidget*)> answer, int timeout_ms = 20000);

}  // namespace korvex::testing

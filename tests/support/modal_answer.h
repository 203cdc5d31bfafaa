#pragma once

#include <QWidget>
#include <functional>

namespace korvex::testing {

// A modal dialog's call returns only once the dialog is closed, so a test arms its
// answer before the call. These are the only ways tests answer dialogs.

// Offers each modal dialog that comes up to `answer` until it takes one (returns true);
// `answer` should close the dialog it takes. Warns, naming the wait, when none is taken
// within `timeout_ms`, so a test that hangs on no dialog says so.
void answer_modal_when(std::function<bool(QWidget*)> answer, int timeout_ms = 20000);

// Answers the next modal dialog as soon as it is up: `answer` gets it and should close it.
void answer_next_modal(std::function<void(QWidget*)> answer, int timeout_ms = 20000);

}  // namespace korvex::testing

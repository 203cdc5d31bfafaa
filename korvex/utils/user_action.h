#pragma once

#include "korvex/utils/utils_export.h"

namespace korvex::utils {

// Marks the span of an action the user asked for (a menu command, a dialog's OK), so
// that what goes wrong inside it can be told to the user and not only to the log.
// Scopes nest; only the thread that opened one is inside it.
class KORVEX_UTILS_EXPORT UserAction {
public:
    UserAction();
    ~UserAction();
    UserAction(const UserAction&) = delete;
    UserAction& operator=(const UserAction&) = delete;

    // Whether the calling thread is inside a user's action.
    static bool active();
};

}  // namespace korvex::utils

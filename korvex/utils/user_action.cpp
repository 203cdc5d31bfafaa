#include "korvex/utils/user_action.h"

namespace korvex::utils {

namespace {

thread_local int depth = 0;

}  // namespace

UserAction::UserAction() { ++depth; }

UserAction::~UserAction() { --depth; }

bool UserAction::active() { return depth > 0; }

}  // namespace korvex::utils

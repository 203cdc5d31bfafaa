#pragma once

#include <stdexcept>

#include "korvex/utils/utils_export.h"

// The error kinds of the application. Direct calls throw them where an operation's
// contract says it fails; code wired to the event loop catches them and logs.
namespace korvex::utils {

class KORVEX_UTILS_EXPORT NotImplementedError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

class KORVEX_UTILS_EXPORT LookupError : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

class KORVEX_UTILS_EXPORT ValueError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class KORVEX_UTILS_EXPORT AttributeError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

}  // namespace korvex::utils

#pragma once

#include <string>
#include <string_view>

#include "korvex/utils/dispatch_mail/dispatch_mail_export.h"

namespace korvex::utils::dispatch_mail {

// True for exactly one plain address "user@domain": a dot-atom user name (RFC 5322)
// and a host name of letters, digits and hyphens, at most 254 characters in all.
// Display names, brackets, lists ("a@x, b@x", "a@x;b@x"), blanks and quoted user
// names are refused: the text goes verbatim into a header and an SMTP command.
KORVEX_DISPATCH_MAIL_EXPORT bool is_mail_address(std::string_view address);

// Throws ValueError naming `what` when `address` is not one plain address.
void check_address(const std::string& what, const std::string& address);

}  // namespace korvex::utils::dispatch_mail

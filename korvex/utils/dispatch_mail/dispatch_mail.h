#pragma once

#include <string>
#include <vector>

#include "korvex/utils/dispatch_mail/dispatch_mail_export.h"
#include "korvex/utils/dispatch_mail/mail_error.h"

// Sends one plain-text e-mail through an SMTP server.
namespace korvex::utils::dispatch_mail {

// The SMTP server on this machine, at the standard port 25.
inline const std::string DEFAULT_SERVER = "localhost";

// What `main` sends.
inline const std::string DEMO_SENDER = "korvex@localhost";
inline const std::vector<std::string> DEMO_RECEIVERS = {DEMO_SENDER, "viewer@localhost"};
inline const std::string DEMO_SUBJECT = "This is subject";
inline const std::string DEMO_BODY = "This is content";

// Sends `body` (UTF-8 text) from `sender` to `receivers` with headers "Subject", "From"
// and "To" (the receivers joined with ", "), then writes "Successfully sent email" to
// standard output. `server` is "host" or "host:port" (an IPv6 address in brackets:
// "[::1]:2525"); the port defaults to 25.
//
// Throws ValueError, before any connection is opened, when the receiver list is
// empty, when the sender or a receiver is not exactly one plain address "user@domain"
// (no display name, brackets, blanks or second address), when the subject holds CR
// or LF, when a text is not UTF-8, or when `server` is malformed. Throws MailError when the server
// cannot be reached or does not greet, refuses the sender, every receiver or the data, or fails
// QUIT. Refusals of only some receivers are not errors.
KORVEX_DISPATCH_MAIL_EXPORT void dispatch_mail(const std::string& sender,
                                               const std::vector<std::string>& receivers,
                                               const std::string& subject, const std::string& body,
                                               const std::string& server = DEFAULT_SERVER);

// Sends the demonstration message to DEMO_RECEIVERS through the default server.
KORVEX_DISPATCH_MAIL_EXPORT void main();

}  // namespace korvex::utils::dispatch_mail

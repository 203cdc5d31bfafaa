#pragma once

#include <string>
#include <vector>

#include "korvex/utils/dispatch_mail/dispatch_mail_export.h"

namespace korvex::utils::dispatch_mail {

// The whole message as sent: a single-part text/plain MIME message (charset us-ascii
// when the body allows it, else UTF-8, always in a 7-bit-safe transfer encoding),
// then "Subject", "From" and "To" in that order, then the body. Lines end in CRLF. The
// texts are UTF-8; the subject is encoded where it cannot travel verbatim, so that no
// input ends the header block early. Throws ValueError when the sender or a receiver
// is not exactly one plain address.
KORVEX_DISPATCH_MAIL_EXPORT std::string compose_message(const std::string& sender,
                                                        const std::vector<std::string>& receivers,
                                                        const std::string& subject,
                                                        const std::string& body);

}  // namespace korvex::utils::dispatch_mail

#pragma once

#include <string>
#include <vector>

namespace korvex::utils::dispatch_mail {

// The whole message as sent: a single-part text/plain MIME message (charset us-ascii
// when the body allows it, else UTF-8, always in a 7-bit-safe transfer encoding),
// then "Subject", "From" and "To" in that order. Lines end in CRLF. The texts are
// UTF-8 and must already be free of CR/LF where they go into a header.
std::string compose_message(const std::string& sender, const std::vector<std::string>& receivers,
                            const std::string& subject, const std::string& body);

}  // namespace korvex::utils::dispatch_mail

#pragma once

#include <string>
#include <vector>

#include "korvex/utils/dispatch_mail/server_address.h"

namespace korvex::utils::dispatch_mail {

// One SMTP session without TLS or authentication: greeting, envelope sender, the
// receivers in order (refusals of some are tolerated), the message, QUIT. A refused
// sender, data or every receiver ends the session without QUIT. Throws MailError
// naming the step that failed and the server's reply there.
void smtp_submit(const ServerAddress& server, const std::string& sender,
                 const std::vector<std::string>& receivers, const std::string& message);

}  // namespace korvex::utils::dispatch_mail

#include "korvex/utils/dispatch_mail/dispatch_mail.h"

#include <glib.h>

#include <iostream>

#include "korvex/utils/dispatch_mail/compose_message.h"
#include "korvex/utils/dispatch_mail/mail_address.h"
#include "korvex/utils/dispatch_mail/server_address.h"
#include "korvex/utils/dispatch_mail/smtp_submit.h"
#include "korvex/utils/errors.h"

namespace korvex::utils::dispatch_mail {

namespace {

void check_utf8(const std::string& what, const std::string& text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        throw ValueError(what + " is not valid UTF-8 text");
    }
}

// A subject is one line: a line break in it is a mistake or an attempt to add headers.
void check_header_text(const std::string& what, const std::string& text) {
    check_utf8(what, text);
    if (text.find_first_of("\r\n") != std::string::npos) {
        throw ValueError(what + " must not contain CR or LF: \"" + text + "\"");
    }
}

void check_arguments(const std::string& sender, const std::vector<std::string>& receivers,
                     const std::string& subject, const std::string& body) {
    check_address("the sender", sender);
    if (receivers.empty()) throw ValueError("the receiver list is empty");
    for (const auto& receiver : receivers) check_address("a receiver", receiver);
    check_header_text("the subject", subject);
    check_utf8("the body", body);
}

}  // namespace

void dispatch_mail(const std::string& sender, const std::vector<std::string>& receivers,
                   const std::string& subject, const std::string& body, const std::string& server) {
    check_arguments(sender, receivers, subject, body);
    const ServerAddress address(server);
    smtp_submit(address, sender, receivers, compose_message(sender, receivers, subject, body));
    std::cout << "Successfully sent email" << std::endl;
}

void main() { dispatch_mail(DEMO_SENDER, DEMO_RECEIVERS, DEMO_SUBJECT, DEMO_BODY); }

}  // namespace korvex::utils::dispatch_mail

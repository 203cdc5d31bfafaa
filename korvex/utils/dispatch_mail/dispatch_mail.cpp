#include "korvex/utils/dispatch_mail/dispatch_mail.h"

#include <glib.h>

#include <algorithm>
#include <iostream>

#include "korvex/utils/dispatch_mail/compose_message.h"
#include "korvex/utils/dispatch_mail/server_address.h"
#include "korvex/utils/dispatch_mail/smtp_submit.h"
#include "korvex/utils/errors.h"

namespace korvex::utils::dispatch_mail {

namespace {

bool is_control(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

void check_utf8(const std::string& what, const std::string& text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        throw ValueError(what + " is not valid UTF-8 text");
    }
}

// CR or LF would end the header or the SMTP command the text goes into and let the
// caller's text inject headers or commands of its own.
void check_header_text(const std::string& what, const std::string& text) {
    check_utf8(what, text);
    if (text.find_first_of("\r\n") != std::string::npos) {
        throw ValueError(what + " must not contain CR or LF: \"" + text + "\"");
    }
}

// An address goes into a header and, bracketed, into MAIL FROM or RCPT TO.
void check_address(const std::string& what, const std::string& address) {
    check_header_text(what, address);
    const bool plain = std::none_of(address.begin(), address.end(), [](unsigned char c) {
        return is_control(c) || c >= 0x80 || c == '<' || c == '>';
    });
    if (!plain) {
        throw ValueError(what + " must be a plain ASCII address without control characters, \"<\" or \">\": \"" +
                         address + "\"");
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

void main() {
    dispatch_mail(DEMO_SENDER, DEMO_RECEIVERS, DEMO_SUBJECT, DEMO_BODY);
}

}  // namespace korvex::utils::dispatch_mail

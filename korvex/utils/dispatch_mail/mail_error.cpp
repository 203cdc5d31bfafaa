#include "korvex/utils/dispatch_mail/mail_error.h"

namespace korvex::utils::dispatch_mail {

namespace {

std::string describe(MailStep step, const std::string& reply, const std::string& detail) {
    std::string text = std::string("sending mail failed at the ") + step_name(step) + " step: ";
    text += reply.empty() ? "no reply from the server" : "the server replied \"" + reply + "\"";
    if (!detail.empty()) text += " (" + detail + ")";
    return text;
}

}  // namespace

const char* step_name(MailStep step) {
    switch (step) {
        case MailStep::Connect:
            return "connect";
        case MailStep::Sender:
            return "sender";
        case MailStep::Receivers:
            return "receivers";
        case MailStep::Data:
            return "data";
        case MailStep::Quit:
            return "quit";
    }
    return "unknown";
}

MailError::MailError(MailStep step, std::string reply, std::string detail)
    : std::runtime_error(describe(step, reply, detail)),
      step_(step),
      reply_(std::move(reply)),
      detail_(std::move(detail)) {}

}  // namespace korvex::utils::dispatch_mail

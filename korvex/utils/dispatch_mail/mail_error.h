#pragma once

#include <stdexcept>
#include <string>

namespace korvex::utils::dispatch_mail {

// The SMTP exchange a failed send stopped at.
enum class MailStep {
    Connect,    // connection, greeting and EHLO/HELO
    Sender,     // MAIL FROM
    Receivers,  // RCPT TO, every receiver refused
    Data,       // DATA and the message itself
    Quit,       // QUIT; the message has been delivered by then
};

const char* step_name(MailStep step);

// A send that failed at one step. `reply` is what the server answered there (the
// replies to every RCPT for the receivers step), empty when it answered nothing;
// `detail` is the client's own account (connection refused, timeout, ...).
class MailError : public std::runtime_error {
public:
    MailError(MailStep step, std::string reply, std::string detail);

    MailStep step() const { return step_; }
    const std::string& reply() const { return reply_; }
    const std::string& detail() const { return detail_; }

private:
    MailStep step_;
    std::string reply_;
    std::string detail_;
};

}  // namespace korvex::utils::dispatch_mail

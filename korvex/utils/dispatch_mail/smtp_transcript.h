#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "korvex/utils/dispatch_mail/mail_error.h"

namespace korvex::utils::dispatch_mail {

// The SMTP conversation as the client saw it: which step each command opened and
// what the server answered there. It tells where a failed send stopped.
class SmtpTranscript {
public:
    // `receivers`: how many RCPT commands the submission sends.
    explicit SmtpTranscript(std::size_t receivers) : receivers_(receivers) {}

    // One command line the client sent.
    void sent(std::string_view command);
    // One reply line; the lines of a multi-line reply are joined into one reply.
    void received(std::string_view line);

    // The step a failed submission stopped at (a QUIT the client sends after another
    // failure does not count).
    MailStep failed_step() const;
    // The server's replies at a step: every reply to RCPT for the receivers step,
    // the last one for the others; empty when there was none.
    std::string reply_at(MailStep step) const;
    bool quit_accepted() const;
    // Whether the last reply refused the sender, the last receiver with none accepted
    // before it, or the data: the submission ends there.
    bool refused() const;

private:
    std::size_t receivers_;
    MailStep step_ = MailStep::Connect;
    MailStep step_before_quit_ = MailStep::Connect;
    std::map<MailStep, std::vector<std::string>> replies_;
    std::string partial_reply_;
};

}  // namespace korvex::utils::dispatch_mail

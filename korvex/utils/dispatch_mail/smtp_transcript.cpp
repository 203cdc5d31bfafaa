#include "korvex/utils/dispatch_mail/smtp_transcript.h"

#include <algorithm>
#include <cctype>

namespace korvex::utils::dispatch_mail {

namespace {

std::string_view without_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

std::string verb(std::string_view command) {
    std::string word(command.substr(0, command.find_first_of(" \r\n")));
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    return word;
}

}  // namespace

void SmtpTranscript::sent(std::string_view command) {
    const std::string word = verb(command);
    if (word == "EHLO" || word == "HELO") {
        step_ = MailStep::Connect;
    } else if (word == "MAIL") {
        step_ = MailStep::Sender;
    } else if (word == "RCPT") {
        step_ = MailStep::Receivers;
    } else if (word == "DATA") {
        step_ = MailStep::Data;
    } else if (word == "QUIT") {
        step_before_quit_ = step_;
        step_ = MailStep::Quit;
    }
}

void SmtpTranscript::received(std::string_view line) {
    line = without_line_end(line);
    if (!partial_reply_.empty()) partial_reply_ += '\n';
    partial_reply_ += line;
    // "250-..." continues a reply, "250 ..." ends it.
    if (line.size() < 4 || line[3] != '-') {
        replies_[step_].push_back(partial_reply_);
        partial_reply_.clear();
    }
}

MailStep SmtpTranscript::failed_step() const {
    return step_ == MailStep::Quit ? step_before_quit_ : step_;
}

std::string SmtpTranscript::reply_at(MailStep step) const {
    const auto found = replies_.find(step);
    if (found == replies_.end()) return {};
    if (step != MailStep::Receivers) return found->second.back();
    std::string joined;
    for (const auto& reply : found->second) joined += (joined.empty() ? "" : "; ") + reply;
    return joined;
}

bool SmtpTranscript::refused() const {
    const auto found = replies_.find(step_);
    if (found == replies_.end() || !partial_reply_.empty()) return false;
    const auto& replies = found->second;
    const auto refusal = [](const std::string& reply) {
        return !reply.empty() && (reply.front() == '4' || reply.front() == '5');
    };
    switch (step_) {
        case MailStep::Sender:
        case MailStep::Data:
            return refusal(replies.back());
        case MailStep::Receivers:
            return replies.size() == receivers_ &&
                   std::all_of(replies.begin(), replies.end(), refusal);
        default:
            return false;
    }
}

bool SmtpTranscript::quit_accepted() const {
    const std::string reply = reply_at(MailStep::Quit);
    return !reply.empty() && reply.front() == '2';
}

}  // namespace korvex::utils::dispatch_mail
